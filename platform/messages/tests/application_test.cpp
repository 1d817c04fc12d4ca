#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/base/exception.h"
#include "platform/messages/messages.h"
#include "platform/messages/tests/loop_fixture.h"

namespace rv {
namespace {

using ApplicationTest = test::LoopTest;

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
