#include <gtest/gtest.h>

#include <QEventLoop>
#include <QMetaObject>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "platform/messages/messages.h"
#include "platform/messages/tests/loop_fixture.h"
#include "platform/messages/tests/stress_helpers.h"

namespace rv {
namespace {

// Threads post and send to one owner with random gaps between their messages, while the owner
// runs timers and idle work. Every message must arrive once, posts in order per thread, and
// every round must end. Senders work in bursts that end with a post, and wait until the owner
// has taken the whole burst (as a worker's last matches and its finish notice). Some rounds run
// the toolkit's own loop, as a modal dialog does, and have no timers: there nothing but the
// hand-off itself wakes the owner, so a wake-up lost between a sender and the owner stalls the
// round; a watchdog thread turns the stall into a failure.
using HandOffStressTest = test::LoopTest;

constexpr UINT kPost = WM_USER + 1;
constexpr UINT kSend = WM_USER + 2;
constexpr int kMostSenders = 4;

enum class Loop { Application, Toolkit };

struct Round {
    unsigned seed;
    int senders;
    int perSender;
    Loop loop;
    bool timers;
};

void Gap(std::mt19937& random) {
    test::RandomGap(random, 400);
}

TEST_F(HandOffStressTest, EveryMessageArrivesOnceAndEveryRoundEnds) {
    constexpr auto kApp = Loop::Application;
    constexpr auto kToolkit = Loop::Toolkit;
    const Round rounds[] = {{1, 1, 4000, kToolkit, false}, {2, 4, 3000, kApp, true},
                            {3, 4, 3000, kToolkit, false}, {4, 1, 4000, kApp, false},
                            {5, 2, 4000, kToolkit, false}, {6, 4, 2000, kApp, true},
                            {7, 1, 4000, kToolkit, false}, {8, 3, 3000, kApp, false}};
    for (const Round& round : rounds) {
        SCOPED_TRACE(::testing::Message() << "seed " << round.seed);
        const int total = round.senders * round.perSender;
        std::vector<int> posts[kMostSenders], sends[kMostSenders];
        std::atomic<int> taken[kMostSenders] = {};
        std::atomic<int> delivered{0};
        std::atomic<bool> giveUp{false};
        QEventLoop toolkitLoop;
        auto quit = [&] {
            if (round.loop == kApp)
                app->Terminate();
            else
                QMetaObject::invokeMethod(&toolkitLoop, &QEventLoop::quit, Qt::QueuedConnection);
        };
        std::mt19937 ownerRandom(round.seed);
        const HWND owner = AllocateHWnd([&](TMessage& m) {
            if (m.Msg == WM_TIMER) return;
            (m.Msg == kPost ? posts : sends)[m.LParam].push_back(static_cast<int>(m.WParam));
            // Work of its own now and then, so that calls queue up behind a posted message.
            if (m.Msg == kPost) Gap(ownerRandom);
            m.Result = static_cast<LRESULT>(m.WParam) + 1;
            ++taken[m.LParam];
            if (++delivered == total) quit();
        });
        if (round.timers) {
            SetTimer(owner, 1, 10);
            SetTimer(owner, 2, 17);
        }
        int idleWork = 0;
        app->OnIdle = [&](bool&) { ++idleWork; };

        std::atomic<int> wrongAnswers{0};
        std::vector<std::thread> senders;
        for (int s = 0; s < round.senders; ++s)
            senders.emplace_back([&, s] {
                std::mt19937 random(round.seed * 100 + s);
                for (int i = 0; i < round.perSender && !giveUp;) {
                    const int burst = std::min<int>(1 + random() % 6, round.perSender - i);
                    for (int k = 0; k < burst; ++k, ++i) {
                        Gap(random);
                        if (k + 1 < burst && random() % 2 == 0) {
                            if (SendMessage(owner, kSend, i, s) != i + 1) ++wrongAnswers;
                        } else {
                            PostMessage(owner, kPost, i, s);
                        }
                    }
                    while (taken[s].load() < i && !giveUp) std::this_thread::yield();
                }
            });

        // A round that makes no progress for seconds has stalled.
        test::StallWatchdog watchdog(delivered, std::chrono::seconds(5), [&] {
            giveUp = true;
            quit();
        });
        if (round.loop == kApp)
            app->Run();
        else
            toolkitLoop.exec();
        const bool stalled = watchdog.Stop();
        giveUp = true;
        for (auto& sender : senders) sender.join();
        app->OnIdle = nullptr;
        DeallocateHWnd(owner);

        ASSERT_FALSE(stalled) << "the owner slept with " << total - delivered << " of " << total
                              << " messages not taken";
        EXPECT_EQ(delivered.load(), total);
        EXPECT_EQ(wrongAnswers.load(), 0);
        for (int s = 0; s < round.senders; ++s) {
            // Posts in the order they were posted; sends each once (a sender waits for each).
            EXPECT_TRUE(std::is_sorted(posts[s].begin(), posts[s].end()));
            EXPECT_TRUE(std::adjacent_find(posts[s].begin(), posts[s].end()) == posts[s].end());
            EXPECT_TRUE(std::is_sorted(sends[s].begin(), sends[s].end()));
            EXPECT_EQ(posts[s].size() + sends[s].size(), static_cast<std::size_t>(round.perSender));
        }
    }
}

}  // namespace
}  // namespace rv
