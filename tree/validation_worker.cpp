// The process's one validation worker: a thread that takes trees from a queue and builds their
// position caches, started with the first tree and ended with the last.

#include "tree/validation_worker.h"

#include <algorithm>
#include <iterator>
#include <new>

#include "platform/threads/sync_objects.h"
#include "platform/threads/thread.h"

namespace rv {

namespace {

constexpr TVirtualTreeState kValidationStates[] = {tsStopValidation, tsUseCache, tsValidating,
                                                   tsValidationNeeded};

}  // namespace

WPARAM ValidationStateBits(TVirtualTreeStates states) {
    WPARAM bits = 0;
    for (std::size_t i = 0; i < std::size(kValidationStates); ++i)
        if (states.Contains(kValidationStates[i])) bits |= WPARAM(1) << i;
    return bits;
}

TVirtualTreeStates ValidationStatesOf(WPARAM bits) {
    TVirtualTreeStates states;
    for (std::size_t i = 0; i < std::size(kValidationStates); ++i)
        if (bits & (WPARAM(1) << i)) states.Include(kValidationStates[i]);
    return states;
}

void TTreeQueue::Add(TTreeValidation* tree) {
    std::lock_guard guard(lock_);
    if (std::find(trees_.begin(), trees_.end(), tree) == trees_.end()) trees_.push_back(tree);
}

bool TTreeQueue::Remove(TTreeValidation* tree) {
    std::lock_guard guard(lock_);
    const auto it = std::find(trees_.begin(), trees_.end(), tree);
    if (it == trees_.end()) return false;
    trees_.erase(it);
    return true;
}

std::size_t TTreeQueue::Count() const {
    std::lock_guard guard(lock_);
    return trees_.size();
}

class TValidationWorker final : public TThread {
public:
    TValidationWorker() { Start(); }

    TTreeQueue Queue;

    void Wake() { work_.SetEvent(); }
    // Ends the loop; deleting the object then waits for the thread.
    void Stop() {
        Terminate();
        Wake();
    }

protected:
    void Execute() override {
        for (;;) {
            work_.WaitFor();
            if (Terminated()) return;
            while (TTreeValidation* tree = Take()) tree->Run();
        }
    }

private:
    // The next tree, with its validation lock already taken: between leaving the queue and the
    // lock, the tree could otherwise be interrupted and destroyed.
    TTreeValidation* Take() {
        std::lock_guard guard(Queue.lock_);
        if (Queue.trees_.empty()) return nullptr;
        TTreeValidation* tree = Queue.trees_.front();
        Queue.trees_.pop_front();
        tree->lock_.lock();
        return tree;
    }

    TEvent work_{false, false};
};

namespace {

std::mutex g_referenceLock;
unsigned g_references = 0;
TValidationWorker* g_worker = nullptr;
std::uint64_t g_workerNumber = 0;
std::uint64_t g_workersStarted = 0;

TValidationWorker* AddThreadReference() {
    std::lock_guard guard(g_referenceLock);
    if (!g_worker) {
        g_worker = new TValidationWorker;
        g_workerNumber = ++g_workersStarted;
    }
    ++g_references;
    return g_worker;
}

void ReleaseThreadReference() {
    TValidationWorker* ending = nullptr;
    {
        std::lock_guard guard(g_referenceLock);
        if (--g_references > 0) return;
        ending = g_worker;
        g_worker = nullptr;
        g_workerNumber = 0;
    }
    ending->Stop();
    delete ending;  // waits for the thread
}

// Every round of every tree gets its own number, so that no notice is ever taken for another.
std::atomic<std::uint64_t> g_generations{0};

}  // namespace

std::uint64_t ValidationWorkerNumber() {
    std::lock_guard guard(g_referenceLock);
    return g_workerNumber;
}

TTreeValidation::TTreeValidation(const TBaseVirtualTree& tree)
    : tree_(tree), worker_(AddThreadReference()) {}

TTreeValidation::~TTreeValidation() {
    Interrupt();
    ReleaseThreadReference();
}

void TTreeValidation::Start(HWND window) {
    Interrupt();
    stop_.store(false, std::memory_order_relaxed);
    generation_ = ++g_generations;
    window_ = window;
    pending_ = true;
    worker_->Queue.Add(this);
    worker_->Wake();
}

void TTreeValidation::Interrupt() {
    if (!pending_) return;
    stop_.store(true, std::memory_order_relaxed);
    // Once out of the queue the worker holds the lock until it has left the tree.
    if (!worker_->Queue.Remove(this)) std::lock_guard wait(lock_);
    pending_ = false;
}

bool TTreeValidation::Accept(std::uint64_t generation, bool last) {
    if (!pending_ || generation != generation_) return false;
    if (last) pending_ = false;
    return true;
}

void TTreeValidation::Run() {
    const HWND window = window_;
    const WPARAM round = WPARAM(generation_) << kChangeStateGenerationShift;
    PostMessage(window, WM_CHANGESTATE, round | ValidationStateBits({tsValidating}),
                LPARAM(ValidationStateBits({tsUseCache})));
    bool complete = false;
    try {
        complete = cache_.Build(tree_, stop_);
    } catch (const std::bad_alloc&) {
        // Without memory for the entries the tree goes on without a cache.
    }
    lock_.unlock();
    const TVirtualTreeStates enter =
        complete ? TVirtualTreeStates{tsUseCache} : TVirtualTreeStates{};
    TVirtualTreeStates leave{tsStopValidation, tsValidating};
    if (complete) leave.Include(tsValidationNeeded);
    PostMessage(window, WM_CHANGESTATE, round | ValidationStateBits(enter),
                LPARAM(ValidationStateBits(leave)));
}

}  // namespace rv
