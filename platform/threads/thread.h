#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

namespace rv {

namespace detail {
class ThreadQueue;
}

// Scheduling priority of a thread. Below normal the thread is niced (idle: 19, lowest: 10,
// lower: 5); above normal needs privileges that a desktop program lacks, and then stays normal.
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// A worker thread: derive, put the work in Execute, create the object with `new` and Start it.
// Deleting the object (also through a smart pointer) first asks a running thread to terminate and
// waits for it to end (as WaitFor does), before any part of the object is destroyed.
class TThread {
public:
    // The thread is created suspended: it runs once Start (or Resume) is called, which a derived
    // class that wants to run at once does at the end of its own constructor.
    TThread();
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Terminates and waits for the thread before the destructors run (see above).
    static void operator delete(TThread* thread, std::destroying_delete_t);
    static void* operator new(std::size_t size);
    static void operator delete(void* memory);  // a constructor that throws

    void Start();
    // Starts a thread created suspended, or lets a suspended one go on.
    void Resume();
    // Suspends the thread at its next pause point: entering or leaving Synchronize, Sleep or
    // CheckSuspended (at once when the thread suspends itself). A terminated thread is never
    // suspended.
    void Suspend();
    bool Suspended() const { return suspended_.load(); }

    // Asks the thread to end: Terminated becomes true, Sleep returns early, a suspended thread
    // goes on. Execute is expected to look at Terminated and return.
    void Terminate();
    bool Terminated() const { return terminated_.load(); }

    // Waits until the thread has ended (after OnTerminate) and returns ReturnValue. In the GUI
    // thread the wait goes on serving the worker's Synchronize calls and messages sent to the GUI
    // thread's windows, so a worker that synchronizes cannot deadlock it. Returns at once for a
    // thread never started. The thread cannot wait for itself.
    int WaitFor();

    // Takes effect at once on a running thread, else when it starts.
    void SetPriority(TThreadPriority priority);
    TThreadPriority Priority() const { return priority_.load(); }

    bool Finished() const { return finished_.load(); }
    int ReturnValue() const { return returnValue_.load(); }
    // The exception that ended Execute, if one did; the thread ends quietly with it.
    std::exception_ptr FatalException() const;

    // When set, the object deletes itself once the thread has ended; nobody else may then delete
    // it or wait for it.
    void SetFreeOnTerminate(bool value) { freeOnTerminate_.store(value); }
    bool FreeOnTerminate() const { return freeOnTerminate_.load(); }

    // Fired in the GUI thread after Execute has returned, before the thread ends. The thread
    // waits for it, so the handler must not delete the thread object.
    std::function<void(TThread* sender)> OnTerminate;

    // Runs `method` in the GUI thread while this thread waits; an exception it raises is raised
    // again here. Called in the GUI thread it runs at once. Raises rv::Exception when there is no
    // application object.
    void Synchronize(const std::function<void()>& method);

protected:
    virtual void Execute() = 0;
    // Fires OnTerminate through Synchronize.
    virtual void DoTerminate();
    void SetReturnValue(int value) { returnValue_.store(value); }
    // Sleeps `ms` milliseconds or until Terminate, whichever comes first; a pause point.
    void Sleep(unsigned ms);
    // A pause point: waits here while the thread is suspended.
    void CheckSuspended();

private:
    void ThreadProc();
    void ApplyPriority();
    void Shutdown();
    bool OnOwnThread() const;
    void PausePoint();

    std::thread thread_;
    std::atomic<std::thread::id> threadId_{};
    std::atomic<bool> started_{false};
    std::atomic<bool> terminated_{false};
    std::atomic<bool> suspended_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> freeOnTerminate_{false};
    std::atomic<int> returnValue_{0};
    std::atomic<TThreadPriority> priority_{tpNormal};
    std::atomic<int> systemId_{0};  // the kernel's id of the running thread
    std::exception_ptr fatal_;

    std::mutex joinMutex_;
    std::mutex mutex_;  // guards the waits below, waiters_ and the start of the thread
    std::condition_variable wake_;
    std::vector<std::shared_ptr<detail::ThreadQueue>> waiters_;
};

}  // namespace rv
