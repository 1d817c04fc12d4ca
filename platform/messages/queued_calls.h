#pragma once

// Calls that one worker thread hands to the GUI thread to run there in the order it queued
// them, without waiting for each: for a worker with many results to report and no answer to
// wait for. The calls go over in batches, so that the GUI thread is woken once for many of them:
// a batch is handed over once kBatch calls wait, once the first of them has waited kDelay (seen
// by the worker's next Queue or Poll), and whenever the worker flushes or waits. At most `bound`
// calls wait to run at a time (Queue waits for room). The calls of one queue never run inside
// each other: a call that runs a message loop of its own (a dialog) holds the later ones back
// until it returns. A long run of calls gives the loop its turn every few milliseconds.
//
// Why no call is left unseen. Calls are added under the queue's lock. A batch is handed over by
// setting `owed` and posting a delivery to the GUI thread, whose own queue says why a posted
// message is always run (platform/messages/thread_queue.h); while `owed` is set, added calls
// need no post of their own. A delivery takes the calls one by one under the lock; only when it
// finds none left does it clear `owed`, in the same locked section. So a call added before the
// clearing is taken by that delivery, and one added after it waits for the next hand-over,
// which the worker makes at the latest when it waits (for room, or for the calls to have run):
// it never waits with calls not handed over. A delivery that stops early (its time is up, or
// another one runs on the stack below it) leaves `owed` set for the one it leaves the calls to:
// a delivery posted before it returns, or the running one, which looks again before it stops.
// The worker's waits are woken under the lock after each call has run, and by Cancel.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>

namespace rv {

class TQueuedCalls {
public:
    // A batch is handed over once this many calls wait, or once the first has waited kDelay.
    static constexpr std::size_t kBatch = 16;
    static constexpr std::chrono::milliseconds kDelay{2};

    // Calls run in the GUI thread of the application object that exists now.
    explicit TQueuedCalls(std::size_t bound);
    // Cancels: calls not yet run never run.
    ~TQueuedCalls();
    TQueuedCalls(const TQueuedCalls&) = delete;
    TQueuedCalls& operator=(const TQueuedCalls&) = delete;

    // Worker: queues `call`, first waiting while `bound` calls wait to run. False (and the call
    // dropped) once the queue is cancelled, or when there is no GUI thread to run it.
    bool Queue(std::function<void()> call);
    // Worker: hands over the calls queued so far.
    void Flush();
    // Worker: hands them over when the first has waited kDelay; cheap enough to call often.
    void Poll();
    // Worker: hands over and waits until every call queued has run; false when the queue was
    // cancelled first. A synchronized call made after it returns true comes after all of them.
    bool WaitUntilRun();

    // Any thread: calls not yet run are dropped, and the worker's waits return false.
    void Cancel();
    bool Cancelled() const;
    // The exception a call raised, which cancelled the queue; null when none did.
    std::exception_ptr Error() const;

    // Whether the queue was cancelled, for a call that goes on a while to ask between its steps
    // (it may outlive the queue: it holds the queue's state).
    class Watch {
    public:
        bool Cancelled() const { return cancelled_->load(); }

    private:
        friend class TQueuedCalls;
        Watch(std::shared_ptr<const void> state, const std::atomic<bool>* cancelled);
        std::shared_ptr<const void> state_;
        const std::atomic<bool>* cancelled_;
    };
    Watch Watcher() const;

private:
    struct State;
    static void Deliver(const std::shared_ptr<State>& state);
    // Under `lock`: hands the gathered calls over unless a delivery is owed already; false once
    // the queue is cancelled (also when the GUI thread is gone).
    bool HandOver(std::unique_lock<std::mutex>& lock);
    // Posts a delivery; false when the GUI thread is gone (the queue is then cancelled).
    static bool Post(const std::shared_ptr<State>& state);
    std::shared_ptr<State> state_;
};

}  // namespace rv
