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

TEST_F(TimersTest, TimersAreKeptPerWindowAndIdRestartAndStopWhenKilled) {
    // A timer restarted before it falls due ticks a whole new interval after the restart, and
    // not at its first time. The restart comes from the tick of a timer due half-way; another
    // timer, due after the first time but before the new one, must tick between the two. Only the
    // order of the ticks counts, which holds however late the loop runs.
    std::vector<std::string> order;
    HWND restarted = 0, fences = 0;
    restarted = AllocateHWnd([&](TMessage& m) {
        order.push_back("restarted");
        KillTimer(restarted, m.WParam);
    });
    fences = AllocateHWnd([&](TMessage& m) {
        order.push_back("fence " + std::to_string(m.WParam));
        KillTimer(fences, m.WParam);
        if (m.WParam == 1) {
            EXPECT_EQ(SetTimer(restarted, 5, 120), 5u);  // the same id: a restart
            SetTimer(fences, 2, 90);
        }
    });
    ASSERT_EQ(SetTimer(restarted, 5, 120), 5u);
    SetTimer(fences, 1, 60);
    EXPECT_TRUE(RunUntil([&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<std::string>{"fence 1", "fence 2", "restarted"}));
    DeallocateHWnd(restarted);
    DeallocateHWnd(fences);

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
    RunPastTimer(60);
    std::sort(ticks.begin(), ticks.end());
    EXPECT_EQ(ticks, (std::vector<std::pair<HWND, WPARAM>>{{first, 1}, {first, 2}, {second, 1}}));

    // A destroyed window's timers die with it.
    SetTimer(first, 4, 10);
    DeallocateHWnd(first);
    EXPECT_EQ(SetTimer(first, 4, 10), 0u);
    ticks.clear();
    RunPastTimer(30);
    EXPECT_TRUE(ticks.empty());
    DeallocateHWnd(second);
}

TEST_F(TimersTest, ATickMayPostToItsOwnThread) {
    std::vector<UINT> got;
    HWND wnd = 0;
    wnd = AllocateHWnd([&](TMessage& m) {
        got.push_back(m.Msg);
        if (m.Msg != WM_TIMER) return;
        KillTimer(wnd, m.WParam);
        PostMessage(wnd, kMsg, 0, 0);
    });
    SetTimer(wnd, 1, 10);
    EXPECT_TRUE(RunUntil([&] { return got.size() == 2; }));
    EXPECT_EQ(got, (std::vector<UINT>{WM_TIMER, kMsg}));
    DeallocateHWnd(wnd);
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

// A loop of the form `while (!condition) HandleMessage();` ends once a message has made the
// condition true: a turn that handled something returns without idling or waiting, whether the
// message was queued before the turn (from this thread or another) or came while it waited.
TEST_F(ApplicationTest, ATurnThatHandledAMessageReturnsWithoutWaiting) {
    bool got = false;
    int idles = 0;
    const HWND wnd = AllocateHWnd([&](TMessage&) { got = true; });
    app->OnIdle = [&](bool&) { ++idles; };
    std::atomic<bool> ended{false}, stalled{false};
    std::thread watchdog([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!ended && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (ended) return;
        stalled = true;
        PostMessage(wnd, WM_USER, 0, 0);  // the only way out of a wait that should not be
    });
    for (int round = 0; round < 3; ++round) {
        got = false;
        idles = 0;
        if (round == 0) PostMessage(wnd, WM_USER, 0, 0);
        std::thread poster;
        if (round == 1) std::thread([wnd] { PostMessage(wnd, WM_USER, 0, 0); }).join();
        if (round == 2)
            poster = std::thread([wnd] {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                PostMessage(wnd, WM_USER, 0, 0);
            });
        while (!got) app->HandleMessage();
        if (poster.joinable()) poster.join();
        EXPECT_FALSE(stalled) << "round " << round;
        if (round < 2) {
            EXPECT_EQ(idles, 0) << "round " << round;
        }
    }
    ended = true;
    watchdog.join();
    app->OnIdle = nullptr;
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
