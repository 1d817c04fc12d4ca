#include "platform/messages/thread_queue.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimerEvent>

#include <chrono>
#include <map>
#include <utility>
#include <vector>

namespace rv::detail {

struct ThreadQueue::SentCall {
    std::function<void()> task;
    std::shared_ptr<ThreadQueue> waiter;
    std::exception_ptr error;
    bool ran = false;
    alignas(64) std::atomic<bool> done{false};  // watched by the waiting caller
};

namespace {

using Clock = std::chrono::steady_clock;

// The longest the owner serves calls on end before its loop gets a turn (input, painting).
constexpr auto kServeSlice = std::chrono::milliseconds(5);

QEvent::Type WakeEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

// Lives in the queue's thread: the toolkit's loop hands it the wake events posted for the queue
// and the timers started on it.
class Waker : public QObject {
public:
    int Start(unsigned ms, std::function<void(int)> tick) {
        const int id = startTimer(std::chrono::milliseconds(ms), Qt::PreciseTimer);
        if (id != 0) ticks_[id] = std::move(tick);
        return id;
    }

    void Stop(int id) {
        if (ticks_.erase(id) != 0) killTimer(id);
    }

    std::function<void()> onWake;

    // Makes the wake event another thread posts. The event is recognised by its address under
    // this lock, so its hand-over is ordered by a lock of ours and not only by Qt's own.
    QEvent* MakeWake() {
        auto* e = new QEvent(WakeEventType());
        std::lock_guard lock(wakeMutex_);
        pendingWake_ = e;
        return e;
    }

protected:
    bool event(QEvent* e) override {
        bool wake = false;
        {
            std::lock_guard lock(wakeMutex_);
            wake = e == pendingWake_;
            if (wake) pendingWake_ = nullptr;
        }
        // Other events (timers) run window procedures, which may post and so take the lock.
        if (!wake) return QObject::event(e);
        if (onWake) onWake();
        return true;
    }

    void timerEvent(QTimerEvent* e) override {
        const auto it = ticks_.find(e->timerId());
        if (it == ticks_.end()) {
            killTimer(e->timerId());
            return;
        }
        auto tick = it->second;  // the tick may stop or restart its own timer
        try {
            tick(e->timerId());
        } catch (...) {
            ReportLoopException();
        }
    }

private:
    std::map<int, std::function<void(int)>> ticks_;
    std::mutex wakeMutex_;
    QEvent* pendingWake_ = nullptr;
};

struct Holder {
    std::shared_ptr<ThreadQueue> queue;
    ~Holder() {
        if (queue) queue->Close();
    }
};

std::mutex g_mainMutex;
std::shared_ptr<ThreadQueue> g_main;

// Thread ids are reused once a thread has ended, so ownership is the identity of the queue.
thread_local const ThreadQueue* t_current = nullptr;

}  // namespace

struct ThreadQueue::Toolkit {
    Waker waker;
};

ThreadQueue::ThreadQueue() = default;

ThreadQueue::~ThreadQueue() = default;

std::shared_ptr<ThreadQueue> ThreadQueue::Current() {
    thread_local Holder holder;
    if (!holder.queue) {
        holder.queue = std::make_shared<ThreadQueue>();
        t_current = holder.queue.get();
    }
    return holder.queue;
}

std::shared_ptr<ThreadQueue> ThreadQueue::Main() {
    std::lock_guard lock(g_mainMutex);
    return g_main;
}

void ThreadQueue::SetMain(std::shared_ptr<ThreadQueue> queue) {
    std::lock_guard lock(g_mainMutex);
    g_main = std::move(queue);
}

bool ThreadQueue::IsOwnerThread() const {
    return t_current == this;
}

void ThreadQueue::Signal(std::unique_lock<std::mutex>&) {
    cv_.notify_all();
    if (toolkit_ && !wakePending_) {
        wakePending_ = true;
        QCoreApplication::postEvent(&toolkit_->waker, toolkit_->waker.MakeWake());
    }
}

bool ThreadQueue::Post(std::function<void()> task) {
    std::unique_lock lock(mutex_);
    if (closed_) return false;
    posted_.push_back(std::move(task));
    Signal(lock);
    return true;
}

bool ThreadQueue::Call(std::function<void()> task) {
    if (IsOwnerThread()) {
        task();
        return true;
    }
    // A thread waits for each of its calls, so it keeps the records of its finished calls for
    // the next ones (calls nest only while it serves calls sent to it).
    thread_local std::vector<std::shared_ptr<SentCall>> spare;
    std::shared_ptr<SentCall> call;
    if (spare.empty()) {
        call = std::make_shared<SentCall>();
        call->waiter = Current();
    } else {
        call = std::move(spare.back());
        spare.pop_back();
    }
    call->task = std::move(task);
    {
        std::unique_lock lock(mutex_);
        if (closed_) {
            call->task = nullptr;
            spare.push_back(std::move(call));
            return false;
        }
        sent_.push_back(call);
        sentCount_.store(sent_.size());
        Signal(lock);
    }
    // Most answers come within microseconds; meanwhile the caller's own sent calls are watched
    // too, as it must serve them.
    ThreadQueue& waiter = *call->waiter;
    waiter.answerWait_.Until([&] { return call->done.load() || waiter.sentCount_.load() != 0; });
    if (!call->done.load()) waiter.WaitServing([&] { return call->done.load(); });
    const std::exception_ptr error = std::exchange(call->error, nullptr);
    const bool ran = std::exchange(call->ran, false);
    call->done.store(false);
    spare.push_back(std::move(call));
    if (error) std::rethrow_exception(error);
    return ran;
}

void ThreadQueue::RunSent(const std::shared_ptr<SentCall>& call) {
    try {
        call->task();
        call->ran = true;
    } catch (...) {
        call->error = std::current_exception();
    }
    call->task = nullptr;  // whatever it captured goes in this thread
    call->done.store(true);
    call->waiter->Wake();
}

std::shared_ptr<ThreadQueue::SentCall> ThreadQueue::TakeSent(std::unique_lock<std::mutex>&) {
    if (sent_.empty()) return nullptr;
    auto call = std::move(sent_.front());
    sent_.pop_front();
    sentCount_.store(sent_.size());
    return call;
}

bool ThreadQueue::ServeSent() {
    bool any = false;
    Clock::time_point start;
    std::unique_lock lock(mutex_);
    for (unsigned served = 0;; ++served) {
        // The loop's turn, now and then; the clock is read every few calls only.
        if (any && served % 8 == 0 && Clock::now() - start >= kServeSlice) return true;
        const auto call = TakeSent(lock);
        if (!call) {
            if (!any) return false;
            // Stay awake a moment for the next call. Callers still signal as ever: this only
            // saves the owner a trip through its loop, never replaces a wake-up.
            lock.unlock();
            nextCallWait_.Until([this] { return sentCount_.load() != 0; });
            lock.lock();
            if (sent_.empty()) return true;
            continue;
        }
        lock.unlock();
        if (!any) start = Clock::now();
        any = true;
        RunSent(call);
        lock.lock();
    }
}

bool ThreadQueue::ProcessPending() {
    bool any = ServeSent();
    // Only what is queued now: a message that posts itself again waits for the next turn, so the
    // toolkit's own events are not starved.
    std::size_t count;
    {
        std::lock_guard lock(mutex_);
        count = posted_.size();
    }
    for (; count > 0; --count) {
        std::function<void()> task;
        {
            std::lock_guard lock(mutex_);
            if (posted_.empty()) break;
            task = std::move(posted_.front());
            posted_.pop_front();
        }
        any = true;
        try {
            task();
        } catch (...) {
            ReportLoopException();
        }
        ServeSent();
    }
    return any;
}

bool ThreadQueue::HasPending() {
    std::lock_guard lock(mutex_);
    return !sent_.empty() || !posted_.empty();
}

void ThreadQueue::WaitServing(const std::function<bool()>& done) {
    std::unique_lock lock(mutex_);
    bool served = false;
    for (;;) {
        if (done()) return;
        if (const auto call = TakeSent(lock)) {
            lock.unlock();
            RunSent(call);
            lock.lock();
            served = true;
            continue;
        }
        if (served) {
            // As in ServeSent: stay awake a moment for the next call.
            served = false;
            lock.unlock();
            nextCallWait_.Until([this] { return sentCount_.load() != 0; });
            lock.lock();
            continue;
        }
        // Wake skips the lock and the notification unless it sees this flag: either it does, or
        // the look at `done` after setting it sees what the waker made true.
        asleep_.store(true);
        if (!done()) cv_.wait(lock);
        asleep_.store(false);
    }
}

void ThreadQueue::Wake() {
    if (!asleep_.load()) return;
    { std::lock_guard lock(mutex_); }
    cv_.notify_all();
}

void ThreadQueue::AttachToolkit() {
    if (!QCoreApplication::instance()) return;
    std::unique_lock lock(mutex_);
    if (toolkit_ || closed_) return;
    toolkit_ = std::make_unique<Toolkit>();
    std::weak_ptr<ThreadQueue> weak = weak_from_this();
    toolkit_->waker.onWake = [weak] {
        auto self = weak.lock();
        if (!self) return;
        {
            std::lock_guard lock(self->mutex_);
            self->wakePending_ = false;
        }
        self->ProcessPending();
    };
    wakePending_ = false;
    if (!sent_.empty() || !posted_.empty()) Signal(lock);
}

void ThreadQueue::DetachToolkit() {
    std::unique_ptr<Toolkit> toolkit;
    {
        std::lock_guard lock(mutex_);
        toolkit = std::move(toolkit_);
        wakePending_ = false;
    }
}

int ThreadQueue::StartTimer(unsigned ms, std::function<void(int)> tick) {
    AttachToolkit();
    if (!toolkit_) return 0;
    return toolkit_->waker.Start(ms, std::move(tick));
}

void ThreadQueue::StopTimer(int timerId) {
    if (toolkit_) toolkit_->waker.Stop(timerId);
}

void ThreadQueue::Close() {
    std::deque<std::shared_ptr<SentCall>> sent;
    std::deque<std::function<void()>> posted;
    std::unique_ptr<Toolkit> toolkit;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        sent.swap(sent_);
        sentCount_.store(0);
        posted.swap(posted_);
        toolkit = std::move(toolkit_);
    }
    for (auto& call : sent) {
        call->task = nullptr;
        call->done.store(true);
        call->waiter->Wake();
    }
}

}  // namespace rv::detail
