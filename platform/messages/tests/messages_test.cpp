#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/messages/messages.h"
#include "platform/messages/tests/loop_fixture.h"

namespace rv {
namespace {

using test::LoopTest;

constexpr UINT kMsgA = WM_USER + 1;
constexpr UINT kMsgB = WM_APP + 7;

using MessagesTest = LoopTest;

TEST_F(MessagesTest, PostedMessagesArriveInOrderPerThread) {
    std::vector<WPARAM> fromMain, fromWorkerA, fromWorkerB;
    const HWND wnd = AllocateHWnd([&](TMessage& m) {
        if (m.Msg == kMsgA) fromMain.push_back(m.WParam);
        if (m.Msg == kMsgB) (m.LParam == 1 ? fromWorkerA : fromWorkerB).push_back(m.WParam);
    });
    for (WPARAM i = 0; i < 100; ++i) ASSERT_TRUE(PostMessage(wnd, kMsgA, i, 0));
    EXPECT_TRUE(fromMain.empty()) << "posting must not deliver at once";

    constexpr WPARAM kCount = 2000;
    auto poster = [wnd](LPARAM which) {
        for (WPARAM i = 0; i < kCount; ++i) PostMessage(wnd, kMsgB, i, which);
    };
    std::thread a(poster, 1), b(poster, 2);
    EXPECT_TRUE(
        RunUntil([&] { return fromWorkerA.size() == kCount && fromWorkerB.size() == kCount; }));
    a.join();
    b.join();

    ASSERT_EQ(fromMain.size(), 100u);
    for (WPARAM i = 0; i < 100; ++i) EXPECT_EQ(fromMain[i], i);
    for (WPARAM i = 0; i < kCount; ++i) {
        ASSERT_EQ(fromWorkerA[i], i);
        ASSERT_EQ(fromWorkerB[i], i);
    }
    DeallocateHWnd(wnd);
}

TEST_F(MessagesTest, SendMessageRunsInTheWindowsThreadAndReturnsItsResult) {
    const auto mainThread = std::this_thread::get_id();
    std::atomic<int> wrongThread{0};
    const HWND wnd = AllocateHWnd([&](TMessage& m) {
        if (std::this_thread::get_id() != mainThread) ++wrongThread;
        m.Result = static_cast<LRESULT>(m.WParam) * 2 + m.LParam;
    });

    // Same thread: a direct call, before anything queued.
    bool posted = false;
    const HWND other = AllocateHWnd([&](TMessage&) { posted = true; });
    PostMessage(other, kMsgA, 0, 0);
    EXPECT_EQ(SendMessage(wnd, kMsgA, 20, 2), 42);
    EXPECT_FALSE(posted);

    std::atomic<bool> finished{false};
    std::vector<LRESULT> results;
    std::thread worker([&] {
        for (int i = 0; i < 200; ++i) results.push_back(SendMessage(wnd, kMsgA, i, 1));
        finished = true;
    });
    EXPECT_TRUE(RunUntil([&] { return finished.load(); }));
    worker.join();
    ASSERT_EQ(results.size(), 200u);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(results[i], i * 2 + 1);
    EXPECT_EQ(wrongThread, 0);
    DeallocateHWnd(wnd);
    DeallocateHWnd(other);
}

TEST_F(MessagesTest, ThreadsSendingToEachOtherDoNotDeadlock) {
    // The worker owns a window and sends to the main window; handling that, the main thread sends
    // back to the worker's window, which the worker serves while it waits for its own send.
    std::atomic<HWND> workerWnd{0};
    std::atomic<bool> workerDone{false};
    const HWND mainWnd = AllocateHWnd(
        [&](TMessage& m) { m.Result = SendMessage(workerWnd.load(), kMsgB, m.WParam, 0) + 1; });
    LRESULT answer = 0;
    std::thread worker([&] {
        const HWND own = AllocateHWnd([](TMessage& m) { m.Result = m.WParam * 10; });
        workerWnd = own;
        answer = SendMessage(mainWnd, kMsgA, 4, 0);
        DeallocateHWnd(own);
        workerDone = true;
    });
    EXPECT_TRUE(RunUntil([&] { return workerDone.load(); }));
    worker.join();
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
    PostMessage(wnd, kMsgA, 1, 0);
    PostMessage(wnd, kMsgA, 2, 0);
    PostMessage(wnd, kMsgA, 3, 0);
    app->ProcessMessages();
    EXPECT_EQ(delivered, 1);
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_FALSE(PostMessage(wnd, kMsgA, 4, 0));
    EXPECT_EQ(SendMessage(wnd, kMsgA, 5, 0), 0);
    DeallocateHWnd(wnd);  // twice is harmless

    // Destroyed between posting and delivery; a new window never gets the old handle.
    int second = 0;
    const HWND gone = AllocateHWnd([&](TMessage&) { ++second; });
    PostMessage(gone, kMsgA, 0, 0);
    DeallocateHWnd(gone);
    const HWND fresh = AllocateHWnd([&](TMessage&) { ++second; });
    EXPECT_NE(fresh, gone);
    EXPECT_NE(fresh, wnd);
    app->ProcessMessages();
    EXPECT_EQ(second, 0);

    // A cross-thread send whose window goes before its turn returns 0 instead of hanging.
    std::atomic<bool> sent{false};
    LRESULT result = -1;
    std::thread worker([&] {
        result = SendMessage(fresh, kMsgA, 0, 0);
        sent = true;
    });
    DeallocateHWnd(fresh);
    EXPECT_TRUE(RunUntil([&] { return sent.load(); }));
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(second, 0);
}

TEST_F(MessagesTest, SendToAWindowOfAnEndedThreadReturns) {
    HWND orphan = 0;
    std::thread([&] { orphan = AllocateHWnd([](TMessage& m) { m.Result = 7; }); }).join();
    LRESULT result = -1;
    std::thread([&] { result = SendMessage(orphan, kMsgA, 0, 0); }).join();
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
    PostMessage(wnd, kMsgA, 1, 0);
    PostMessage(wnd, kMsgA, 2, 0);
    PostMessage(wnd, kMsgA, 3, 0);
    EXPECT_TRUE(RunUntil([&] { return handled.size() == 3; }));
    EXPECT_EQ(errors, (std::vector<std::string>{"bad message", "Unknown exception"}));

    // A cross-thread send whose procedure throws: the window's thread handles it, the sender
    // gets 0.
    LRESULT result = -1;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        result = SendMessage(wnd, kMsgA, 1, 0);
        done = true;
    });
    EXPECT_TRUE(RunUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(errors.size(), 3u);

    // Same-thread send: an ordinary call, the exception reaches the caller.
    EXPECT_THROW(SendMessage(wnd, kMsgA, 1, 0), std::runtime_error);

    // A handler that throws cannot break the loop either.
    app->OnException = [](const std::exception&) { throw std::logic_error("handler failed"); };
    PostMessage(wnd, kMsgA, 1, 0);
    PostMessage(wnd, kMsgA, 4, 0);
    EXPECT_TRUE(RunUntil([&] { return handled.back() == 4; }));
    DeallocateHWnd(wnd);
}

}  // namespace
}  // namespace rv
