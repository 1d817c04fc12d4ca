#pragma once

// The per-thread message queue under windows, sent messages and synchronized calls. For the
// layer's own use (messages and threads); the layers above use messages.h, application.h and
// platform/threads/.
//
// Why no message is left unseen. Every Post and Call adds its work to the queue and signals
// under the queue's lock; signalling notifies the condition variable (an owner sleeping in
// WaitServing) and, when the owner runs a toolkit loop, posts one wake event unless one is
// already on its way (`wakePending_`). The owner clears `wakePending_` under the same lock
// before it looks at the queue. So work added before the clearing is found by that look, and
// work added after it finds the flag clear and posts a new wake event: in either case the owner
// sees it. The owner's waiting awake (SpinWait) only ever shortens a wait; it never stands in
// for a signal.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/messages/spin_wait.h"

namespace rv::detail {

class ThreadQueue : public std::enable_shared_from_this<ThreadQueue> {
public:
    ThreadQueue();
    ~ThreadQueue();

    // The calling thread's queue, made on first use and closed when the thread ends.
    static std::shared_ptr<ThreadQueue> Current();
    // The GUI thread's queue (set by the application object), or nullptr.
    static std::shared_ptr<ThreadQueue> Main();
    static void SetMain(std::shared_ptr<ThreadQueue> queue);

    bool IsOwnerThread() const;

    // Queues a task to run in the owner thread's message loop; false when the thread has ended.
    bool Post(std::function<void()> task);

    // Runs `task` in the owner thread and waits for it, meanwhile serving the calling thread's
    // own sent calls. The task's exception is rethrown here. False (task not run) when the owner
    // thread has ended.
    bool Call(std::function<void()> task);

    // Owner thread: runs the sent calls, then the posted tasks, that are waiting; true when it
    // ran anything.
    bool ProcessPending();
    // Owner thread: runs the sent calls that are waiting. Having run one, it stays a moment for
    // the next, so that a thread calling in quick succession is served without a wake-up each
    // time; never longer than a few milliseconds in all, so the loop keeps its turn.
    bool ServeSent();
    bool HasPending();

    // Owner thread: waits until `done` holds, serving sent calls meanwhile. `done` is evaluated
    // under the queue's lock and must read sequentially consistent atomics; whoever makes it true
    // must call Wake afterwards.
    void WaitServing(const std::function<bool()>& done);
    void Wake();

    // Owner thread: lets the toolkit's event loop of this thread run the queue (posting wakes it)
    // and host timers. Needs the toolkit's application object.
    void AttachToolkit();
    // Owner thread: a toolkit timer calling `tick` with its id; 0 without a toolkit.
    int StartTimer(unsigned ms, std::function<void(int timerId)> tick);
    void StopTimer(int timerId);

    // Owner thread: gives up the toolkit (before the toolkit's application object goes).
    void DetachToolkit();

    // Ends the queue: pending sent calls are released unrun, posted tasks dropped.
    void Close();

private:
    struct SentCall;
    struct Toolkit;
    void Signal(std::unique_lock<std::mutex>& lock);
    std::shared_ptr<SentCall> TakeSent(std::unique_lock<std::mutex>& lock);
    static void RunSent(const std::shared_ptr<SentCall>& call);

    // Fields that two threads touch by turns lie on cache lines of their own, so that a call
    // moves as few lines between the processors as it can.
    static constexpr std::size_t kLine = 64;

    alignas(kLine) std::mutex mutex_;
    std::deque<std::shared_ptr<SentCall>> sent_;
    std::deque<std::function<void()>> posted_;
    bool closed_ = false;
    bool wakePending_ = false;  // a wake event is posted and its handler has not yet begun
    alignas(kLine) std::atomic<std::size_t> sentCount_{0};  // sent_.size(), watched unlocked
    alignas(kLine) std::condition_variable cv_;
    std::atomic<bool> asleep_{false};  // the owner sleeps in WaitServing
    // Owner thread only: waiting awake for the answer to a call, and for the next call, which
    // also covers a worker's short stretches of work between calls (a search reading a folder
    // of a hundred entries: some sixty microseconds).
    alignas(kLine) SpinWait answerWait_{std::chrono::microseconds(50)};
    SpinWait nextCallWait_{std::chrono::microseconds(100)};
    std::unique_ptr<Toolkit> toolkit_;  // owner thread only
};

// Passes the exception being handled (inside a catch block) to the application object, or to
// standard error when there is none. Never throws.
void ReportLoopException() noexcept;

}  // namespace rv::detail
