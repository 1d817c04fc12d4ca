#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

#include "platform/messages/messages.h"
#include "tree/position_cache.h"
#include "tree/tree_types.h"

namespace rv {

class TBaseVirtualTree;
class TTreeValidation;
class TValidationWorker;

// The worker's notice to a tree's window: WParam holds the states to enter, LParam those to
// leave (bit 0 tsStopValidation, bit 1 tsUseCache, bit 2 tsValidating, bit 3
// tsValidationNeeded); WParam carries the validation round's generation from bit 8 up.
inline constexpr UINT WM_CHANGESTATE = WM_APP + 32;
// The tree's own notice to itself: start a validation round, unless an update bracket is open.
inline constexpr UINT WM_STARTVALIDATION = WM_APP + 33;
inline constexpr unsigned kChangeStateGenerationShift = 8;
// The four validation states as that small bit set, and back (other states are left out).
WPARAM ValidationStateBits(TVirtualTreeStates states);
TVirtualTreeStates ValidationStatesOf(WPARAM bits);

// The trees waiting for the worker, in order, none twice; safe from any thread.
class TTreeQueue {
public:
    void Add(TTreeValidation* tree);
    // False when the tree was not queued.
    bool Remove(TTreeValidation* tree);
    std::size_t Count() const;

private:
    friend class TValidationWorker;
    mutable std::mutex lock_;
    std::deque<TTreeValidation*> trees_;
};

// One tree's side of the background validation of its position cache. The GUI thread queues the
// tree and interrupts the worker; the worker walks the tree holding the tree's validation lock,
// checking the stop flag at every node, and reports by posted notices. Every notice carries the
// generation of the round it belongs to, and only the notices of the current round count, so a
// tree never takes a cache from a walk that a later change overtook. The worker reads nodes only,
// never initialises or measures one and never runs the tree's events.
//
// Constructing one takes a reference on the process's single worker thread, which starts with the
// first tree and ends when the last one goes.
class TTreeValidation {
public:
    explicit TTreeValidation(const TBaseVirtualTree& tree);
    ~TTreeValidation();
    TTreeValidation(const TTreeValidation&) = delete;
    TTreeValidation& operator=(const TTreeValidation&) = delete;

    // ---- GUI thread --------------------------------------------------------------------------
    // A round is queued, running, or its last notice has not arrived yet.
    bool Pending() const { return pending_; }
    // Queues a new round whose notices go to `window`.
    void Start(HWND window);
    // Ends the current round: when this returns, the worker is off the tree and stays off until
    // the next Start.
    void Interrupt();
    // Whether a notice of `generation` belongs to the current round; the round ends with its last
    // notice.
    bool Accept(std::uint64_t generation, bool last);
    // The entries; read them only while the tree is in tsUseCache, change them only while no
    // round is pending.
    TPositionCache& Cache() { return cache_; }
    const TPositionCache& Cache() const { return cache_; }

private:
    friend class TValidationWorker;
    // Worker thread, with lock_ taken: walks the tree, leaves the lock and posts the notices.
    void Run();

    const TBaseVirtualTree& tree_;
    TPositionCache cache_;
    std::atomic<bool> stop_{false};
    std::mutex lock_;               // held by the worker for a whole walk
    std::uint64_t generation_ = 0;  // written before queuing, read by the worker under lock_
    HWND window_ = 0;               // likewise
    bool pending_ = false;          // GUI thread only
    TValidationWorker* worker_;
};

// The worker thread's number in this process (counting from 1), 0 while none runs.
std::uint64_t ValidationWorkerNumber();

}  // namespace rv
