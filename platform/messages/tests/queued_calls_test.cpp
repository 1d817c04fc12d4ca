#include <gtest/gtest.h>

#include <QEventLoop>
#include <QMetaObject>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/messages/messages.h"
#include "platform/messages/queued_calls.h"
#include "platform/messages/tests/loop_fixture.h"
#include "platform/messages/tests/stress_helpers.h"

namespace rv {
namespace {

using QueuedCallsTest = test::LoopTest;

void Gap(std::mt19937& random) {
    test::RandomGap(random, 3000);
}

// Workers, each with a queue of its own, queue calls with random gaps, now and then polling,
// flushing or waiting for them to have run; the GUI thread runs the calls with gaps of its own,
// and some calls run a loop of their own inside. Every call must run once, in the order of its
// queue, never inside another call of its queue, every wait must end, and no round may stall:
// some rounds run the toolkit's own loop without timers, where nothing but the hand-off wakes
// the GUI thread. A watchdog thread turns a stall into a failure.
TEST_F(QueuedCallsTest, EveryCallRunsOnceInOrderAndEveryRoundEnds) {
    struct Round {
        unsigned seed;
        int workers;
        int calls;
        std::size_t bound;
        bool toolkitLoop;
    };
    const Round rounds[] = {{1, 1, 3000, 4, true},  {2, 3, 1500, 64, false}, {3, 2, 2000, 1, true},
                            {4, 3, 1500, 16, true}, {5, 1, 3000, 2, false},  {6, 2, 2000, 8, true}};
    constexpr int kMostWorkers = 3;
    for (const Round& round : rounds) {
        SCOPED_TRACE(::testing::Message() << "seed " << round.seed);
        std::vector<int> ran[kMostWorkers];
        int depth[kMostWorkers] = {};
        bool nested = false;
        std::atomic<int> done{0}, finished{0}, failedWaits{0};
        std::atomic<bool> giveUp{false};
        QEventLoop toolkitLoop;
        auto quit = [&] {
            if (round.toolkitLoop)
                QMetaObject::invokeMethod(&toolkitLoop, &QEventLoop::quit, Qt::QueuedConnection);
            else
                app->Terminate();
        };
        std::mt19937 guiRandom(round.seed);
        const int total = round.workers * round.calls;
        std::vector<std::thread> workers;
        for (int w = 0; w < round.workers; ++w)
            workers.emplace_back([&, w] {
                std::mt19937 random(round.seed * 100 + unsigned(w));
                TQueuedCalls calls(round.bound);
                for (int i = 0; i < round.calls && !giveUp; ++i) {
                    Gap(random);
                    calls.Queue([&, w, i] {
                        nested = nested || depth[w] > 0;
                        ++depth[w];
                        ran[w].push_back(i);
                        if (guiRandom() % 200 == 0) app->ProcessMessages();  // a loop inside
                        Gap(guiRandom);
                        --depth[w];
                        if (++done == total) quit();
                    });
                    switch (random() % 8) {
                        case 0:
                            calls.Poll();
                            break;
                        case 1:
                            calls.Flush();
                            break;
                        case 2:
                            if (random() % 10 == 0 && !calls.WaitUntilRun()) ++failedWaits;
                            break;
                        default:
                            break;
                    }
                }
                if (!calls.WaitUntilRun() && !giveUp) ++failedWaits;
                ++finished;
            });

        test::StallWatchdog watchdog(done, std::chrono::seconds(10), [&] {
            giveUp = true;
            quit();
        });
        if (round.toolkitLoop)
            toolkitLoop.exec();
        else
            app->Run();
        const bool stalled = watchdog.Stop();
        // The workers' last waits end once the GUI thread has run their last calls.
        while (finished.load() < round.workers) app->ProcessMessages();
        for (auto& worker : workers) worker.join();

        ASSERT_FALSE(stalled) << done.load() << " of " << total << " calls ran";
        EXPECT_EQ(failedWaits.load(), 0);
        EXPECT_FALSE(nested);
        for (int w = 0; w < round.workers; ++w) {
            ASSERT_EQ(ran[w].size(), std::size_t(round.calls));
            for (int i = 0; i < round.calls; ++i) EXPECT_EQ(ran[w][std::size_t(i)], i);
        }
    }
}

// Calls not handed over wait for the worker's next step, and then the GUI thread's loop; those
// not run when the queue is cancelled never run, and the worker learns of it. A call's error
// cancels the queue too and is kept; a call may ask whether its queue is cancelled after it
// has gone.
TEST_F(QueuedCallsTest, HandsOverInBatchesAndStopsOnCancelOrError) {
    std::vector<int> ran;
    {
        // Queued from the GUI thread itself here, with room for all, so that nothing waits.
        TQueuedCalls calls(64);
        ASSERT_TRUE(calls.Queue([&] { ran.push_back(1); }));
        app->ProcessMessages();
        EXPECT_TRUE(ran.empty());  // gathered, not yet handed over
        std::this_thread::sleep_for(TQueuedCalls::kDelay);
        calls.Poll();
        app->ProcessMessages();
        EXPECT_EQ(ran, (std::vector<int>{1}));

        for (int i = 2; i < 2 + int(TQueuedCalls::kBatch); ++i)
            ASSERT_TRUE(calls.Queue([&, i] { ran.push_back(i); }));
        app->ProcessMessages();  // a whole batch goes over at once
        EXPECT_EQ(ran.size(), 1 + TQueuedCalls::kBatch);

        ASSERT_TRUE(calls.Queue([&] { ran.push_back(100); }));
        calls.Cancel();
        app->ProcessMessages();
        EXPECT_EQ(ran.back(), int(TQueuedCalls::kBatch) + 1);
        EXPECT_TRUE(calls.Cancelled());
        EXPECT_FALSE(calls.Queue([&] { ran.push_back(101); }));
        EXPECT_FALSE(calls.WaitUntilRun());
        EXPECT_EQ(calls.Error(), nullptr);
    }

    std::optional<TQueuedCalls::Watch> watch;
    {
        TQueuedCalls calls(8);
        watch = calls.Watcher();
        std::thread worker([&] {
            calls.Queue([] { throw std::runtime_error("handler failed"); });
            calls.Queue([&] { ran.push_back(200); });
            calls.Flush();
        });
        worker.join();
        EXPECT_FALSE(watch->Cancelled());
        app->ProcessMessages();
        EXPECT_TRUE(watch->Cancelled());
        EXPECT_NE(ran.back(), 200);
        ASSERT_NE(calls.Error(), nullptr);
        try {
            std::rethrow_exception(calls.Error());
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "handler failed");
        }
    }
    EXPECT_TRUE(watch->Cancelled());
}

}  // namespace
}  // namespace rv
