#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "platform/messages/messages.h"
#include "platform/messages/tests/loop_fixture.h"

namespace rv {
namespace {

using WindowProcTest = test::LoopTest;

TEST_F(WindowProcTest, AReplacedProcedurePassesMessagesOnAndMayBeReplacedWhileItRuns) {
    std::string log;
    const HWND wnd = AllocateHWnd([&](TMessage& m) {
        log += "own ";
        m.Result = 1;
    });
    TWndMethod own = GetWindowProc(wnd);
    ASSERT_TRUE(own);
    ASSERT_TRUE(SetWindowProc(wnd, [&, own](TMessage& m) {
        log += "front ";
        own(m);
        m.Result += 10;
    }));
    EXPECT_EQ(SendMessage(wnd, WM_USER, 0, 0), 11);
    EXPECT_EQ(log, "front own ");

    // A procedure that puts the old one back while it runs finishes with its own captures alive.
    auto marker = std::make_shared<std::string>("still here");
    log.clear();
    SetWindowProc(wnd, [&, own, marker](TMessage& m) {
        SetWindowProc(wnd, own);
        log += *marker + " ";
        own(m);
    });
    marker.reset();
    SendMessage(wnd, WM_USER, 0, 0);
    SendMessage(wnd, WM_USER, 0, 0);
    EXPECT_EQ(log, "still here own own ");

    // Another thread may neither read nor replace it; an unknown window has none.
    bool otherGot = true, otherSet = true;
    std::thread([&] {
        otherGot = bool(GetWindowProc(wnd));
        otherSet = SetWindowProc(wnd, [](TMessage&) {});
    }).join();
    EXPECT_FALSE(otherGot);
    EXPECT_FALSE(otherSet);
    DeallocateHWnd(wnd);
    EXPECT_FALSE(GetWindowProc(wnd));
    EXPECT_FALSE(SetWindowProc(wnd, [](TMessage&) {}));
}

}  // namespace
}  // namespace rv
