#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/exception.h"
#include "platform/messages/messages.h"
#include "platform/messages/tests/loop_fixture.h"

namespace rv {
namespace {

constexpr UINT kMsg = WM_USER + 1;
using MessagesTest = test::LoopTest;
using Clock = std::chrono::steady_clock;
using TimersTest = test::LoopTest;
using ApplicationTest = test::LoopTest;

TEST_F(MessagesTest, PostedMessagesArriveInOrderPerThread) {
    constexpr WPARAM kCount = 2000;
    std::vector<WPARAM> got[3];
    const HWND wnd = AllocateHWnd([&](TMessage& m) { got[m.LParam].push_back(m.WParam); });
    for (WPARAM i = 0; i < 100; ++i) ASSERT_TRUE(PostMessage(wnd, kMsg, i, 0));
    EXPECT_TRUE(got[0].empty()) << "posting must not deliver at once";
    auto poster = [wnd](LPARAM which) {
        for (WPARAM i = 0; i < kCount; ++i) PostMessage(wnd, kMsg, i, which);
    };
    std::thread a(poster, 1), b(poster, 2);
    EXPECT_TRUE(RunUntil([&] { return got[1].size() == kCount && got[2].size() == kCount; }));
    a.join();
    b.join();
    ASSERT_EQ(got[0].size(), 100u);
    for (const auto& sequence : got)
        for (WPARAM i = 0; i < sequence.size(); ++i) ASSERT_EQ(sequence[i], i);
    DeallocateHWnd(wnd);
}

TEST_F(MessagesTest, SendMessageRunsInTheWindowsThreadAndThreadsSendingToEachOtherDoNotDeadlock) {
    const auto mainThread = std::this_thread::get_id();
    std::atomic<int> wrongThread{0};
    const HWND wnd = AllocateHWnd([&](TMessage& m) {
        if (std::this_thread::get_id() != mainThread) ++wrongThread;
        m.Result = static_cast<LRESULT>(m.WParam) * 2 + m.LParam;
    });
    // Same thread: a direct call, ahead of anything queued.
    bool posted = false;
    const HWND other = AllocateHWnd([&](TMessage&) { posted = true; });
    PostMessage(other, kMsg, 0, 0);
    EXPECT_EQ(SendMessage(wnd, kMsg, 20, 2), 42);
    EXPECT_FALSE(posted);

    std::vector<LRESULT> results;
    EXPECT_TRUE(RunAlongside([&] {
        for (int i = 0; i < 200; ++i) results.push_back(SendMessage(wnd, kMsg, i, 1));
    }));
    for (int i = 0; i < 200; ++i) ASSERT_EQ(results.at(i), i * 2 + 1);
    EXPECT_EQ(wrongThread, 0);
    DeallocateHWnd(wnd);
    DeallocateHWnd(other);

    // Handling the worker's send, the main thread sends back to the worker's window, which the
    // worker serves while it waits for its own send.
    std::atomic<HWND> workerWnd{0};
    const HWND mainWnd = AllocateHWnd(
        [&](TMessage& m) { m.Result = SendMessage(workerWnd.load(), kMsg, m.WParam, 0) + 1; });
    LRESULT answer = 0;
    EXPECT_TRUE(RunAlongside([&] {
        workerWnd = AllocateHWnd([](TMessage& m) { m.Result = m.WParam * 10; });
        answer = SendMessage(mainWnd, kMsg, 4, 0);
        DeallocateHWnd(workerWnd);
    }));
    EXPECT_EQ(answer, 41);
    DeallocateHWnd(mainWnd);
}

TEST_F(MessagesTest, MessagesToADestroyedWindowAreDropped) {
    int delivered = 0;
    HWND wnd = 0;
    wnd = AllocateHWnd([&](TMessage& m) {
        ++delivered;
        if (m.WParam == 1) DeallocateHWnd(wnd);  // from inside its own procedure
    });
    for (WPARAM i = 1; i <= 3; ++i) PostMessage(wnd, kMsg, i, 0);
    app->ProcessMessages();
    EXPECT_EQ(delivered, 1);
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_FALSE(PostMessage(wnd, kMsg, 4, 0));
    EXPECT_EQ(SendMessage(wnd, kMsg, 5, 0), 0);
    DeallocateHWnd(wnd);  // twice is harmless

    // A new window never gets an old handle, so it cannot receive the old window's messages.
    const HWND fresh = AllocateHWnd([&](TMessage&) { ++delivered; });
    EXPECT_NE(fresh, wnd);

    // A cross-thread send whose window goes before its turn returns 0 instead of hanging; so
    // does one to a window whose thread has ended.
    LRESULT result = -1;
    EXPECT_TRUE(RunAlongside([&] { result = SendMessage(fresh, kMsg, 0, 0); },
                             [&] { DeallocateHWnd(fresh); }));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(delivered, 1);

    HWND orphan = 0;
    std::thread([&] { orphan = AllocateHWnd([](TMessage& m) { m.Result = 7; }); }).join();
    std::thread([&] { result = SendMessage(orphan, kMsg, 0, 0); }).join();
    EXPECT_EQ(result, 0);
    DeallocateHWnd(orphan);
}

TEST_F(MessagesTest, ExceptionInAWindowProcedureReachesHandleExceptionAndTheLoopGoesOn) {
    std::vector<std::string> errors;
    app->OnException = [&](const std::exception& e) { errors.push_back(e.what()); };
    std::vector<WPARAM> handled;
    const HWND wnd = AllocateHWnd([&](TMessage& m) {
        handled.push_back(m.WParam);
        if (m.WParam == 1) throw std::runtime_error("bad message");
        if (m.WParam == 2) throw 42;
    });
    for (WPARAM i = 1; i <= 3; ++i) PostMessage(wnd, kMsg, i, 0);
    EXPECT_TRUE(RunUntil([&] { return handled.size() == 3; }));
    EXPECT_EQ(errors, (std::vector<std::string>{"bad message", "Unknown exception"}));

    // Sent from another thread: the window's thread handles it, the sender gets 0.
    LRESULT result = -1;
    EXPECT_TRUE(RunAlongside([&] { result = SendMessage(wnd, kMsg, 1, 0); }));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(errors.size(), 3u);

    // Sent in the same thread: an ordinary call, the caller gets the exception.
    EXPECT_THROW(SendMessage(wnd, kMsg, 1, 0), std::runtime_error);

    // A handler that throws cannot break the loop either.
    app->OnException = [](const std::exception&) { throw std::logic_error("handler failed"); };
    PostMessage(wnd, kMsg, 1, 0);
    PostMessage(wnd, kMsg, 4, 0);
    EXPECT_TRUE(RunUntil([&] { return handled.back() == 4; }));
    DeallocateHWnd(wnd);
}

long MsSince(Clock::time_point t) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count());
}

TEST_F(TimersTest, ATimersHandlerMayPost) {
    int posted = 0;
    HWND wnd = 0;
    wnd = AllocateHWnd([&](TMessage& m) {
        if (m.Msg == WM_TIMER) {
            KillTimer(wnd, m.WParam);
            PostMessage(wnd, WM_USER, 0, 0);
        } else if (m.Msg == WM_USER) {
            ++posted;
        }
    });
    SetTimer(wnd, 1, 10);
    EXPECT_TRUE(RunUntil([&] { return posted == 1; }));
    DeallocateHWnd(wnd);
}

TEST_F(TimersTest, TimersAreKeptPerWindowAndIdRestartAndStopWhenKilled) {
    // A timer restarted before expiry fires once, after the new interval.
    std::vector<long> sinceRestart;
    Clock::time_point restarted;
    const HWND wnd = AllocateHWnd([&](TMessage& m) {
        if (m.Msg == WM_TIMER && m.WParam == 5) sinceRestart.push_back(MsSince(restarted));
    });
    ASSERT_EQ(SetTimer(wnd, 5, 150), 5u);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    app->ProcessMessages();
    restarted = Clock::now();
    ASSERT_EQ(SetTimer(wnd, 5, 150), 5u);  // the same id: a restart, not a second timer
    // Had the first timer survived, it would tick about 90 ms from now.
    RunUntil([&] { return MsSince(restarted) >= 240; });
    ASSERT_EQ(sinceRestart.size(), 1u);
    EXPECT_GE(sinceRestart[0], 140);
    DeallocateHWnd(wnd);

    // Timers are kept per window and id.

    std::vector<std::pair<HWND, WPARAM>> ticks;
    HWND first = 0, second = 0;
    auto oneShot = [&](const HWND& self) {
        return [&ticks, &self](TMessage& m) {
            ticks.emplace_back(self, m.WParam);
            KillTimer(self, m.WParam);  // from inside the tick
        };
    };
    first = AllocateHWnd(oneShot(first));
    second = AllocateHWnd(oneShot(second));
    for (UINT_PTR id : {1, 2}) SetTimer(first, id, 20);
    for (UINT_PTR id : {1, 3}) SetTimer(second, id, 20);
    EXPECT_TRUE(KillTimer(second, 3));
    EXPECT_FALSE(KillTimer(second, 3));
    UINT_PTR fromWorker = 1;
    std::thread([&] { fromWorker = SetTimer(first, 9, 10); }).join();
    EXPECT_EQ(fromWorker, 0u) << "timers belong to the window's thread";
    RunUntil([] { return false; }, 150);
    std::sort(ticks.begin(), ticks.end());
    EXPECT_EQ(ticks, (std::vector<std::pair<HWND, WPARAM>>{{first, 1}, {first, 2}, {second, 1}}));

    // A destroyed window's timers die with it.
    SetTimer(first, 4, 10);
    DeallocateHWnd(first);
    EXPECT_EQ(SetTimer(first, 4, 10), 0u);
    ticks.clear();
    RunUntil([] { return false; }, 60);
    EXPECT_TRUE(ticks.empty());
    DeallocateHWnd(second);
}

TEST_F(ApplicationTest, IdleHookRunsWheneverTheQueueFallsEmpty) {
    std::vector<std::string> trace;
    const HWND wnd =
        AllocateHWnd([&](TMessage& m) { trace.push_back("msg" + std::to_string(m.WParam)); });
    int idles = 0;
    app->OnIdle = [&](bool&) {
        trace.push_back("idle");
        if (++idles == 1) {
            PostMessage(wnd, WM_USER, 1, 0);
            PostMessage(wnd, WM_USER, 2, 0);
        } else {
            app->Terminate();
        }
    };
    PostMessage(wnd, WM_USER, 0, 0);
    app->Run();
    EXPECT_EQ(trace, (std::vector<std::string>{"msg0", "idle", "msg1", "msg2", "idle"}));
    EXPECT_FALSE(app->Terminated()) << "Run uses the request up";

    // Done = false asks for the hook again without waiting; its exceptions are handled.
    std::vector<std::string> errors;
    app->OnException = [&](const std::exception& e) { errors.push_back(e.what()); };
    idles = 0;
    app->OnIdle = [&](bool& done) {
        done = false;
        if (++idles == 3) app->Terminate();
        throw Exception("idle failed");
    };
    app->Run();
    EXPECT_EQ(errors, std::vector<std::string>(3, "idle failed"));
    app->HandleException();  // outside a catch block: nothing to report, no crash
    EXPECT_EQ(errors.size(), 3u);
    DeallocateHWnd(wnd);
}

TEST_F(ApplicationTest, ProcessMessagesHandlesWhatWaitsWithoutIdling) {
    app->OnIdle = [&](bool&) { ADD_FAILURE() << "idled"; };
    std::vector<WPARAM> got;
    HWND wnd = 0;
    wnd = AllocateHWnd([&](TMessage& m) {
        got.push_back(m.WParam);
        if (m.WParam < 3) PostMessage(wnd, WM_USER, m.WParam + 1, 0);
    });
    PostMessage(wnd, WM_USER, 0, 0);
    app->ProcessMessages();
    EXPECT_EQ(got, (std::vector<WPARAM>{0, 1, 2, 3}));
    DeallocateHWnd(wnd);
}

TEST_F(ApplicationTest, TerminateFromAnotherThreadAndDestroyingTheMainWindowEndTheLoop) {
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        app->Terminate();
    });
    app->Run();  // would hang without the cross-thread wake-up
    stopper.join();

    HWND main = 0;
    main = AllocateHWnd([&](TMessage& m) {
        if (m.Msg == WM_CLOSE) DeallocateHWnd(main);
    });
    app->SetMainWindow(main);
    PostMessage(main, WM_CLOSE, 0, 0);
    app->Run();
    EXPECT_FALSE(IsWindow(main));

    app->Terminate();  // a request made before Run is not lost
    app->Run();
}

}  // namespace
}  // namespace rv
