#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/base/exception.h"
#include "platform/messages/tests/loop_fixture.h"
#include "platform/threads/sync_objects.h"
#include "platform/threads/thread.h"

namespace rv {
namespace {

using ThreadTest = test::LoopTest;

// A thread whose work is given as a function; `onDestroy` runs when the derived destructor begins.
class Worker : public TThread {
public:
    explicit Worker(std::function<void(Worker&)> work) : work_(std::move(work)) {}
    ~Worker() override {
        if (onDestroy) onDestroy();
    }
    using TThread::SetReturnValue;
    using TThread::Sleep;
    std::function<void()> onDestroy;

protected:
    void Execute() override { work_(*this); }

private:
    std::function<void(Worker&)> work_;
};

TEST_F(ThreadTest, WaitForInTheGuiThreadServesAThousandSynchronizeCalls) {
    int calls = 0, offGuiThread = 0, callsAtTerminate = -1;  // touched in the GUI thread only
    bool terminatedInGui = false;
    auto thread = std::make_unique<Worker>([&](Worker& self) {
        for (int i = 0; i < 1000; ++i)
            self.Synchronize([&] {
                ++calls;
                offGuiThread += !IsMainThread();
            });
        self.SetReturnValue(1000);
    });
    thread->OnTerminate = [&](TThread* sender) {
        EXPECT_EQ(sender, thread.get());
        terminatedInGui = IsMainThread();
        callsAtTerminate = calls;
    };
    thread->Start();
    EXPECT_EQ(thread->WaitFor(), 1000);
    EXPECT_TRUE(thread->Finished());
    EXPECT_EQ(calls, 1000);
    EXPECT_EQ(offGuiThread, 0);
    EXPECT_TRUE(terminatedInGui);
    EXPECT_EQ(callsAtTerminate, 1000);
    EXPECT_EQ(thread->WaitFor(), 1000) << "waiting again returns at once";
}

TEST_F(ThreadTest, DeletingARunningThreadTerminatesAndJoinsItFirst) {
    // Counts the destructions that began after Execute had ended; -1 once one began while it ran.
    std::atomic<int> log{0};
    std::atomic<bool> running{false};
    // A sleep no test run waits out: only Terminate can end it in time.
    constexpr unsigned kHour = 3600 * 1000;
    auto looper = [&](bool synchronize) {  // runs until asked to terminate
        auto* w = new Worker([&running, synchronize](Worker& self) {
            running = true;
            while (!self.Terminated()) synchronize ? self.Synchronize([] {}) : self.Sleep(kHour);
            running = false;
        });
        w->onDestroy = [&] { log = running ? -1 : log + 1; };
        return w;
    };
    for (bool synchronize : {false, true}) {
        Worker* thread = looper(synchronize);
        thread->Start();
        ASSERT_TRUE(RunUntil([&] { return running.load(); }));
        const auto before = std::chrono::steady_clock::now();
        delete thread;  // a worker synchronizing meanwhile must not deadlock the GUI thread
        EXPECT_EQ(log, synchronize ? 2 : 1) << "Execute had ended before the destructors ran";
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(kHour))
            << "Sleep gives way to Terminate";
    }
    // Through a smart pointer as well, and a thread never started.
    std::unique_ptr<TThread> owned(looper(false));
    owned->Start();
    owned.reset();
    EXPECT_EQ(log, 3);
    delete looper(false);
    EXPECT_EQ(log, 4);
}

TEST_F(ThreadTest, ExceptionsEndTheThreadQuietlyAndSynchronizedOnesReachTheWorker) {
    bool caughtInWorker = false, terminated = false;
    auto thread = std::make_unique<Worker>([&](Worker& self) {
        try {
            self.Synchronize([] { throw Exception("from the GUI thread"); });
        } catch (const Exception& e) {
            caughtInWorker = e.Message() == "from the GUI thread";
        }
        throw std::runtime_error("worker failed");
    });
    thread->OnTerminate = [&](TThread*) { terminated = true; };
    thread->Start();
    thread->WaitFor();
    EXPECT_TRUE(caughtInWorker);
    EXPECT_TRUE(terminated);
    ASSERT_TRUE(thread->FatalException());
    EXPECT_THROW(std::rethrow_exception(thread->FatalException()), std::runtime_error);

    // Synchronize in the GUI thread runs at once.
    bool ran = false;
    thread->Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST_F(ThreadTest, FreeOnTerminateDeletesTheObjectAfterOnTerminateInTheGuiThread) {
    std::atomic<bool> freed{false};
    bool notified = false;
    auto* thread = new Worker([](Worker& self) { self.Synchronize([] {}); });
    thread->onDestroy = [&] { freed = true; };
    thread->SetFreeOnTerminate(true);
    thread->OnTerminate = [&](TThread*) { notified = IsMainThread() && !freed; };
    thread->Start();
    EXPECT_TRUE(RunUntil([&] { return freed.load(); }));
    EXPECT_TRUE(notified);
}

TEST_F(ThreadTest, SuspendParksTheThreadUntilResumeOrTerminate) {
    std::atomic<int> count{0};
    Worker thread([&](Worker& self) {
        while (!self.Terminated()) {
            if (++count == 5) self.Suspend();  // itself: at once
            // From the GUI thread: at the next pause point, here on leaving Synchronize.
            if (count == 10) self.Synchronize([&] { self.Suspend(); });
            self.Sleep(1);
        }
    });
    // A parked thread's count stands while another worker makes a hundred round trips through
    // the GUI thread: time measured in events, not in a clock.
    auto standsAt = [&](int n) {
        Worker pacer([](Worker& self) {
            for (int i = 0; i < 100; ++i) self.Synchronize([] {});
        });
        pacer.Start();
        pacer.WaitFor();
        return count == n;
    };
    thread.Resume();  // starts a thread never started
    ASSERT_TRUE(RunUntil([&] { return count == 5; }));
    EXPECT_TRUE(standsAt(5));
    thread.Resume();
    ASSERT_TRUE(RunUntil([&] { return count == 10 && thread.Suspended(); }));
    EXPECT_TRUE(standsAt(10));
    thread.Terminate();  // releases the parked thread
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished());
}

TEST_F(ThreadTest, APriorityBelowNormalNicesTheThread) {
    int nice = -100;
    Worker thread([&](Worker&) { nice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())); });
    thread.SetPriority(tpIdle);
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(nice, 19);
}

TEST(SyncObjectsTest, AutoResetReleasesOneWaiterPerSignalManualResetReleasesAll) {
    TEvent automatic(false, false);
    EXPECT_EQ(automatic.WaitFor(10), wrTimeout);
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] { released += automatic.WaitFor(5000) == wrSignaled; });
    for (int i = 1; i <= 3; ++i) {
        automatic.SetEvent();
        while (released < i) std::this_thread::yield();
        // The waiter that took the signal reset the event: nobody else can follow it.
        EXPECT_EQ(automatic.WaitFor(0), wrTimeout);
        EXPECT_EQ(released, i);
    }
    for (auto& t : waiters) t.join();
    EXPECT_EQ(automatic.WaitFor(0), wrTimeout) << "a release resets the event";

    TEvent manual(true, false);
    waiters.clear();
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] { released += manual.WaitFor() == wrSignaled; });
    manual.SetEvent();
    for (auto& t : waiters) t.join();
    EXPECT_EQ(released, 6);
    EXPECT_EQ(manual.WaitFor(0), wrSignaled);
    manual.ResetEvent();
    EXPECT_EQ(manual.WaitFor(5), wrTimeout);
}

TEST(SyncObjectsTest, CriticalSectionIsReentrantAndExcludesOtherThreads) {
    TCriticalSection lock;
    lock.Enter();
    EXPECT_TRUE(lock.TryEnter());  // the holder may enter again
    bool otherGotIn = true;
    std::thread([&] { otherGotIn = lock.TryEnter(); }).join();
    EXPECT_FALSE(otherGotIn);
    lock.Leave();
    lock.Leave();

    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                lock.Acquire();
                ++counter;
                lock.Release();
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(counter, 40000);
}

}  // namespace
}  // namespace rv
