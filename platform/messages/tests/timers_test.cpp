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
using test::LoopTest;

using TimersTest = LoopTest;

long MsSince(Clock::time_point t) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count());
}

TEST_F(TimersTest, TimerRestartedBeforeExpiryFiresOnceAfterTheNewInterval) {
    std::vector<long> ticks;
    Clock::time_point restarted;
    HWND wnd = 0;
    wnd = AllocateHWnd([&](TMessage& m) {
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
    EXPECT_TRUE(KillTimer(wnd, 5));
    DeallocateHWnd(wnd);
}

TEST_F(TimersTest, TimersAreKeptPerWindowAndIdAndStopWhenKilled) {
    std::vector<std::pair<HWND, WPARAM>> ticks;
    HWND first = 0, second = 0;
    auto proc = [&](HWND* self) {
        return [&ticks, self](TMessage& m) {
            if (m.Msg != WM_TIMER) return;
            ticks.emplace_back(*self, m.WParam);
            KillTimer(*self, m.WParam);  // one-shot, from inside the tick
        };
    };
    first = AllocateHWnd(proc(&first));
    second = AllocateHWnd(proc(&second));
    SetTimer(first, 1, 20);
    SetTimer(first, 2, 20);
    SetTimer(second, 1, 20);
    SetTimer(second, 3, 20);
    EXPECT_TRUE(KillTimer(second, 3));
    EXPECT_FALSE(KillTimer(second, 3));
    EXPECT_FALSE(KillTimer(second, 99));
    const auto start = Clock::now();
    RunUntil([&] { return MsSince(start) >= 150; });
    std::sort(ticks.begin(), ticks.end());
    const std::vector<std::pair<HWND, WPARAM>> expected{{first, 1}, {first, 2}, {second, 1}};
    EXPECT_EQ(ticks, expected);

    // A destroyed window's timers die with it.
    SetTimer(first, 4, 10);
    DeallocateHWnd(first);
    ticks.clear();
    const auto later = Clock::now();
    RunUntil([&] { return MsSince(later) >= 60; });
    EXPECT_TRUE(ticks.empty());
    DeallocateHWnd(second);
}

TEST_F(TimersTest, SetTimerNeedsALiveWindowOfTheCallingThread) {
    const HWND wnd = AllocateHWnd([](TMessage&) {});
    UINT_PTR fromWorker = 1;
    std::thread([&] { fromWorker = SetTimer(wnd, 1, 10); }).join();
    EXPECT_EQ(fromWorker, 0u);
    DeallocateHWnd(wnd);
    EXPECT_EQ(SetTimer(wnd, 1, 10), 0u);
    EXPECT_FALSE(KillTimer(wnd, 1));
}

}  // namespace
}  // namespace rv
