#include "platform/threads/thread.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "platform/base/exception.h"
#include "platform/messages/application.h"
#include "platform/messages/thread_queue.h"

namespace rv {

TThread::TThread() = default;

TThread::~TThread() {
    // Only reached with a live thread when the object was not deleted with `delete` (a thread
    // object on the stack): the derived part is gone already, but at least nothing is left
    // running on the freed object.
    Shutdown();
}

void TThread::operator delete(TThread* thread, std::destroying_delete_t) {
    void* whole = dynamic_cast<void*>(thread);
    thread->Shutdown();
    thread->~TThread();
    ::operator delete(whole);
}

void* TThread::operator new(std::size_t size) {
    return ::operator new(size);
}

void TThread::operator delete(void* memory) {
    ::operator delete(memory);
}

void TThread::Shutdown() {
    if (!started_.load()) return;
    if (OnOwnThread()) {
        // The thread frees its own object (FreeOnTerminate): it ends right after.
        std::lock_guard lock(joinMutex_);
        if (thread_.joinable()) thread_.detach();
        return;
    }
    Terminate();
    WaitFor();
}

bool TThread::OnOwnThread() const {
    return std::this_thread::get_id() == threadId_.load();
}

void TThread::Start() {
    std::lock_guard lock(mutex_);
    if (started_.exchange(true)) return;
    std::lock_guard join(joinMutex_);
    thread_ = std::thread(&TThread::ThreadProc, this);
    threadId_.store(thread_.get_id());
}

void TThread::ThreadProc() {
    { std::lock_guard lock(mutex_); }  // Start has stored thread_
    systemId_.store(static_cast<int>(gettid()));
    ApplyPriority();
    if (!Terminated()) {
        try {
            Execute();
        } catch (...) {
            fatal_ = std::current_exception();
        }
    }
    const bool freeIt = FreeOnTerminate();
    try {
        DoTerminate();
    } catch (...) {
        // No GUI thread to tell: the thread ends all the same.
    }
    // Ids of ended threads are handed out again; only a thread freeing itself still needs its own.
    if (!freeIt) threadId_.store(std::thread::id{});
    std::vector<std::shared_ptr<detail::ThreadQueue>> waiters;
    {
        std::lock_guard lock(mutex_);
        finished_.store(true);
        waiters = waiters_;
    }
    wake_.notify_all();
    for (const auto& queue : waiters) queue->Wake();
    if (freeIt) delete this;
}

void TThread::SetPriority(TThreadPriority priority) {
    priority_.store(priority);
    ApplyPriority();
}

void TThread::ApplyPriority() {
    const int id = systemId_.load();
    if (id == 0 || Finished()) return;
    int nice = 0;
    switch (priority_.load()) {
        case tpIdle:
            nice = 19;
            break;
        case tpLowest:
            nice = 10;
            break;
        case tpLower:
            nice = 5;
            break;
        case tpNormal:
            nice = 0;
            break;
        case tpHigher:
            nice = -5;
            break;
        case tpHighest:
            nice = -10;
            break;
        case tpTimeCritical:
            nice = -20;
            break;
    }
    // Without the right to raise it, a higher priority stays normal.
    if (setpriority(PRIO_PROCESS, static_cast<id_t>(id), nice) != 0 && nice < 0)
        setpriority(PRIO_PROCESS, static_cast<id_t>(id), 0);
}

void TThread::DoTerminate() {
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::Resume() {
    if (!started_.load()) {
        Start();
        return;
    }
    {
        std::lock_guard lock(mutex_);
        suspended_.store(false);
    }
    wake_.notify_all();
}

void TThread::Suspend() {
    if (Terminated()) return;
    suspended_.store(true);
    if (OnOwnThread()) CheckSuspended();
}

void TThread::Terminate() {
    {
        std::lock_guard lock(mutex_);
        terminated_.store(true);
    }
    wake_.notify_all();
}

void TThread::CheckSuspended() {
    if (!suspended_.load()) return;
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return !suspended_.load() || terminated_.load(); });
}

void TThread::PausePoint() {
    if (OnOwnThread()) CheckSuspended();
}

void TThread::Sleep(unsigned ms) {
    PausePoint();
    {
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return terminated_.load(); });
    }
    PausePoint();
}

int TThread::WaitFor() {
    if (!started_.load()) return ReturnValue();
    if (OnOwnThread()) throw Exception("A thread cannot wait for itself");
    auto queue = detail::ThreadQueue::Current();
    {
        std::lock_guard lock(mutex_);
        waiters_.push_back(queue);
    }
    queue->WaitServing([this] { return finished_.load(); });
    {
        std::lock_guard lock(mutex_);
        waiters_.erase(std::find(waiters_.begin(), waiters_.end(), queue));
    }
    std::lock_guard join(joinMutex_);
    if (thread_.joinable()) thread_.join();
    return ReturnValue();
}

std::exception_ptr TThread::FatalException() const {
    return finished_.load() ? fatal_ : nullptr;
}

void TThread::Synchronize(const std::function<void()>& method) {
    if (IsMainThread()) {
        method();
        return;
    }
    const auto main = detail::ThreadQueue::Main();
    if (!main) throw Exception("Synchronize needs the application object");
    PausePoint();
    if (!main->Call([&method] { method(); })) throw Exception("The GUI thread has ended");
    PausePoint();
}

}  // namespace rv
