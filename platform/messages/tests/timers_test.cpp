#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/messages/messages.h"
#include "platform/messages/tests/loop_fixture.h"

namespace rv {
namespace {

using Clock = std::chrono::steady_clock;
using TimersTest = test::LoopTest;

long MsSince(Clock::time_point t) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count());
}

TEST_F(TimersTest, TimerRestartedBeforeExpiryFiresOnceAfterTheNewInterval) {
    std::vector<long> ticks;
    Clock::time_point restarted;
    const HWND wnd = AllocateHWnd([&](TMessage& m) {
        if (m.Msg == WM_TIMER && m.WParam == 5) ticks.push_back(MsSince(restarted));
    });
    ASSERT_EQ(SetTimer(wnd, 5, 150), 5u);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    app->ProcessMessages();
    restarted = Clock::now();
    ASSERT_EQ(SetTimer(wnd, 5, 150), 5u);  // the same id: a restart, not a second timer
    // Had the first timer survived, it would tick about 90 ms from now.
    RunUntil([&] { return MsSince(restarted) >= 240; });
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_GE(ticks[0], 140);
    DeallocateHWnd(wnd);
}

TEST_F(TimersTest, TimersAreKeptPerWindowAndIdAndStopWhenKilled) {
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
    const auto start = Clock::now();
    RunUntil([&] { return MsSince(start) >= 150; });
    std::sort(ticks.begin(), ticks.end());
    EXPECT_EQ(ticks, (std::vector<std::pair<HWND, WPARAM>>{{first, 1}, {first, 2}, {second, 1}}));

    // A destroyed window's timers die with it.
    SetTimer(first, 4, 10);
    DeallocateHWnd(first);
    EXPECT_EQ(SetTimer(first, 4, 10), 0u);
    ticks.clear();
    const auto later = Clock::now();
    RunUntil([&] { return MsSince(later) >= 60; });
    EXPECT_TRUE(ticks.empty());
    DeallocateHWnd(second);
}

}  // namespace
}  // namespace rv
