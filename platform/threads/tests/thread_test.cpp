#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/base/exception.h"
#include "platform/messages/tests/loop_fixture.h"
#include "platform/threads/thread.h"

namespace rv {
namespace {

using ThreadTest = test::LoopTest;

// Calls into the GUI thread `count` times, then ends with ReturnValue = count.
class Synchronizer : public TThread {
public:
    explicit Synchronizer(int count) : count_(count) {}
    int calls = 0;  // touched in the GUI thread only
    int offGuiThread = 0;

protected:
    void Execute() override {
        for (int i = 0; i < count_; ++i) {
            Synchronize([this] {
                ++calls;
                if (!IsMainThread()) ++offGuiThread;
            });
        }
        SetReturnValue(count_);
    }

private:
    const int count_;
};

TEST_F(ThreadTest, WaitForInTheGuiThreadServesAThousandSynchronizeCalls) {
    auto thread = std::make_unique<Synchronizer>(1000);
    bool terminatedInGui = false;
    int callsAtTerminate = -1;
    thread->OnTerminate = [&](TThread* sender) {
        EXPECT_EQ(sender, thread.get());
        terminatedInGui = IsMainThread();
        callsAtTerminate = thread->calls;
    };
    thread->Start();
    EXPECT_EQ(thread->WaitFor(), 1000);
    EXPECT_TRUE(thread->Finished());
    EXPECT_EQ(thread->calls, 1000);
    EXPECT_EQ(thread->offGuiThread, 0);
    EXPECT_TRUE(terminatedInGui);
    EXPECT_EQ(callsAtTerminate, 1000);
    EXPECT_EQ(thread->WaitFor(), 1000) << "waiting again returns at once";
}

// Runs until asked to terminate; records whether Execute was still running when the derived
// destructor began.
class Looper : public TThread {
public:
    explicit Looper(std::atomic<int>& log, bool synchronize)
        : log_(log), synchronize_(synchronize) {}
    ~Looper() override { log_ = running_ ? -1 : log_.load() + 1; }
    std::atomic<bool> started{false};

protected:
    void Execute() override {
        running_ = true;
        started = true;
        while (!Terminated()) {
            if (synchronize_)
                Synchronize([] {});
            else
                Sleep(1000);
        }
        running_ = false;
    }

private:
    std::atomic<int>& log_;
    const bool synchronize_;
    std::atomic<bool> running_{false};
};

TEST_F(ThreadTest, DeletingARunningThreadTerminatesAndJoinsItFirst) {
    for (bool synchronize : {false, true}) {
        std::atomic<int> log{0};
        auto* thread = new Looper(log, synchronize);
        thread->Start();
        ASSERT_TRUE(RunUntil([&] { return thread->started.load(); }));
        const auto before = std::chrono::steady_clock::now();
        delete thread;  // a worker synchronizing meanwhile must not deadlock the GUI thread
        EXPECT_EQ(log, 1) << "Execute had ended before the destructors ran";
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500))
            << "Sleep gives way to Terminate";
    }
    // Through a smart pointer as well, and a thread never started.
    std::atomic<int> log{0};
    std::unique_ptr<TThread> owned(new Looper(log, false));
    owned->Start();
    owned.reset();
    EXPECT_EQ(log, 1);
    delete new Looper(log, false);
    EXPECT_EQ(log, 2);
}

class Failing : public TThread {
public:
    bool caughtInWorker = false;

protected:
    void Execute() override {
        try {
            Synchronize([] { throw Exception("from the GUI thread"); });
        } catch (const Exception& e) {
            caughtInWorker = e.Message() == "from the GUI thread";
        }
        throw std::runtime_error("worker failed");
    }
};

TEST_F(ThreadTest, ExceptionsEndTheThreadQuietlyAndSynchronizedOnesReachTheWorker) {
    auto thread = std::make_unique<Failing>();
    bool terminated = false;
    thread->OnTerminate = [&](TThread*) { terminated = true; };
    thread->Start();
    thread->WaitFor();
    EXPECT_TRUE(thread->caughtInWorker);
    EXPECT_TRUE(terminated);
    ASSERT_TRUE(thread->FatalException());
    EXPECT_THROW(std::rethrow_exception(thread->FatalException()), std::runtime_error);

    // Synchronize in the GUI thread runs at once.
    bool ran = false;
    thread->Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

class SelfFreeing : public TThread {
public:
    explicit SelfFreeing(std::atomic<bool>& freed) : freed_(freed) { SetFreeOnTerminate(true); }
    ~SelfFreeing() override { freed_ = true; }

protected:
    void Execute() override {
        Synchronize([] {});
    }

private:
    std::atomic<bool>& freed_;
};

TEST_F(ThreadTest, FreeOnTerminateDeletesTheObjectAfterOnTerminateInTheGuiThread) {
    std::atomic<bool> freed{false};
    bool notified = false;
    auto* thread = new SelfFreeing(freed);
    thread->OnTerminate = [&](TThread*) { notified = IsMainThread() && !freed; };
    thread->Start();
    EXPECT_TRUE(RunUntil([&] { return freed.load(); }));
    EXPECT_TRUE(notified);
}

class Counter : public TThread {
public:
    std::atomic<int> count{0};

protected:
    void Execute() override {
        while (!Terminated()) {
            if (++count == 5) Suspend();  // itself: at once
            Sleep(1);
        }
    }
};

TEST_F(ThreadTest, SuspendParksTheThreadUntilResumeOrTerminate) {
    Counter thread;
    auto staysAt = [&](int n) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        return thread.count == n;
    };
    thread.Resume();  // starts a thread never started
    ASSERT_TRUE(RunUntil([&] { return thread.count == 5; }));
    EXPECT_TRUE(staysAt(5));
    thread.Resume();
    ASSERT_TRUE(RunUntil([&] { return thread.count > 10; }));
    thread.Suspend();  // from outside: at its next pause point
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(staysAt(thread.count));
    thread.Terminate();  // releases the parked thread
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished());
}

class NiceReader : public TThread {
public:
    int nice = -100;

protected:
    void Execute() override { nice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())); }
};

TEST_F(ThreadTest, APriorityBelowNormalNicesTheThread) {
    NiceReader thread;
    thread.SetPriority(tpIdle);
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(thread.nice, 19);
}

}  // namespace
}  // namespace rv
