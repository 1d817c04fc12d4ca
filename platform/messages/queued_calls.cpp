#include "platform/messages/queued_calls.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <utility>

#include "platform/messages/thread_queue.h"

namespace rv {

namespace {

using Clock = std::chrono::steady_clock;

// A run of calls gives the loop its turn (input, painting) after this long.
constexpr auto kSlice = std::chrono::milliseconds(5);

}  // namespace

struct TQueuedCalls::State {
    std::mutex mutex;
    std::condition_variable ran;  // a call has run, or the queue was cancelled
    std::deque<std::function<void()>> calls;
    std::size_t waiting = 0;  // queued and not yet run, the one running included
    std::size_t bound = 1;
    bool owed = false;         // a delivery will look at `calls` before it stops
    bool running = false;      // a delivery runs (in the GUI thread)
    std::size_t gathered = 0;  // calls queued since the last hand-over (none while owed)
    // When the gathered calls are due (steady clock ticks; 0: none gathered). The worker's own,
    // read by Poll without the lock.
    std::atomic<Clock::rep> dueAt{0};
    std::atomic<bool> cancelled{false};
    std::exception_ptr error;
    std::shared_ptr<detail::ThreadQueue> gui;

    // Under the lock: drops the calls not yet run into `dropped`, to be freed outside it.
    void CancelLocked(std::deque<std::function<void()>>& dropped) {
        if (!cancelled.load()) {
            cancelled.store(true);
            waiting -= calls.size();
            dropped.swap(calls);
            gathered = 0;
            dueAt.store(0);
        }
        ran.notify_all();
    }
};

TQueuedCalls::TQueuedCalls(std::size_t bound) : state_(std::make_shared<State>()) {
    state_->bound = std::max<std::size_t>(bound, 1);
    state_->gui = detail::ThreadQueue::Main();
}

TQueuedCalls::~TQueuedCalls() {
    Cancel();
}

bool TQueuedCalls::Post(const std::shared_ptr<State>& state) {
    if (state->gui && state->gui->Post([state] { Deliver(state); })) return true;
    std::deque<std::function<void()>> dropped;
    std::lock_guard lock(state->mutex);
    state->CancelLocked(dropped);  // the GUI thread has ended
    return false;
}

bool TQueuedCalls::HandOver(std::unique_lock<std::mutex>& lock) {
    State& s = *state_;
    if (s.cancelled.load()) return false;
    if (s.owed || s.calls.empty()) return true;
    // Owed before the post: a delivery cannot clear it without having looked at the calls.
    s.owed = true;
    s.gathered = 0;
    s.dueAt.store(0);
    lock.unlock();
    const bool posted = Post(state_);
    lock.lock();
    return posted;
}

bool TQueuedCalls::Queue(std::function<void()> call) {
    State& s = *state_;
    std::unique_lock lock(s.mutex);
    while (!s.cancelled.load() && s.waiting >= s.bound) {
        // Never wait with calls not handed over.
        if (!HandOver(lock)) return false;
        s.ran.wait(lock, [&] { return s.cancelled.load() || s.waiting < s.bound; });
    }
    if (s.cancelled.load()) return false;
    s.calls.push_back(std::move(call));
    ++s.waiting;
    if (s.owed) return true;
    const Clock::rep now = Clock::now().time_since_epoch().count();
    if (s.gathered++ == 0)
        s.dueAt.store(now + std::chrono::duration_cast<Clock::duration>(kDelay).count());
    if (s.gathered < kBatch && now < s.dueAt.load()) return true;
    return HandOver(lock);
}

void TQueuedCalls::Flush() {
    std::unique_lock lock(state_->mutex);
    HandOver(lock);
}

void TQueuedCalls::Poll() {
    const Clock::rep due = state_->dueAt.load();
    if (due != 0 && Clock::now().time_since_epoch().count() >= due) Flush();
}

bool TQueuedCalls::WaitUntilRun() {
    State& s = *state_;
    std::unique_lock lock(s.mutex);
    if (!HandOver(lock)) return false;
    s.ran.wait(lock, [&] { return s.cancelled.load() || s.waiting == 0; });
    return !s.cancelled.load();
}

void TQueuedCalls::Cancel() {
    std::deque<std::function<void()>> dropped;
    std::lock_guard lock(state_->mutex);
    state_->CancelLocked(dropped);
}

bool TQueuedCalls::Cancelled() const {
    return state_->cancelled.load();
}

std::exception_ptr TQueuedCalls::Error() const {
    std::lock_guard lock(state_->mutex);
    return state_->error;
}

TQueuedCalls::Watch::Watch(std::shared_ptr<const void> state, const std::atomic<bool>* cancelled)
    : state_(std::move(state)), cancelled_(cancelled) {}

TQueuedCalls::Watch TQueuedCalls::Watcher() const {
    return Watch(state_, &state_->cancelled);
}

void TQueuedCalls::Deliver(const std::shared_ptr<State>& state) {
    State& s = *state;
    std::unique_lock lock(s.mutex);
    // One runs further down the stack (a call's own loop): it looks again before it stops.
    if (s.running) return;
    s.running = true;
    const Clock::time_point start = Clock::now();
    for (;;) {
        if (s.cancelled.load() || s.calls.empty()) {
            s.owed = false;
            break;
        }
        if (Clock::now() - start >= kSlice) {
            // The loop's turn: the rest goes to a delivery behind what is queued now.
            s.running = false;
            lock.unlock();
            Post(state);
            return;
        }
        std::function<void()> call = std::move(s.calls.front());
        s.calls.pop_front();
        lock.unlock();
        std::exception_ptr error;
        try {
            call();
        } catch (...) {
            error = std::current_exception();
        }
        call = nullptr;  // what it holds goes here, outside the lock
        std::deque<std::function<void()>> dropped;
        lock.lock();
        --s.waiting;
        if (error && !s.cancelled.load()) {
            s.error = error;
            s.CancelLocked(dropped);
        }
        s.ran.notify_all();
        if (!dropped.empty()) {
            lock.unlock();
            dropped.clear();
            lock.lock();
        }
    }
    s.running = false;
}

}  // namespace rv
