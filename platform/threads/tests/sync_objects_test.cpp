#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/threads/sync_objects.h"

namespace rv {
namespace {

TEST(SyncObjectsTest, AutoResetEventReleasesOneWaiterPerSignal) {
    TEvent event(false, false);
    EXPECT_EQ(event.WaitFor(10), wrTimeout);
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] {
            if (event.WaitFor(2000) == wrSignaled) ++released;
        });
    for (int i = 0; i < 3; ++i) {
        event.SetEvent();
        while (released <= i) std::this_thread::yield();
        EXPECT_EQ(released, i + 1);
    }
    for (auto& t : waiters) t.join();
    EXPECT_EQ(event.WaitFor(0), wrTimeout) << "a release resets the event";

    TEvent initiallySet(false, true);
    EXPECT_EQ(initiallySet.WaitFor(0), wrSignaled);
    EXPECT_EQ(initiallySet.WaitFor(0), wrTimeout);
}

TEST(SyncObjectsTest, ManualResetEventStaysSignalledUntilReset) {
    TEvent event(true, false);
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] {
            if (event.WaitFor() == wrSignaled) ++released;
        });
    event.SetEvent();
    for (auto& t : waiters) t.join();
    EXPECT_EQ(released, 3);
    EXPECT_EQ(event.WaitFor(0), wrSignaled);
    event.ResetEvent();
    EXPECT_EQ(event.WaitFor(5), wrTimeout);
}

TEST(SyncObjectsTest, CriticalSectionIsReentrantAndExcludesOtherThreads) {
    TCriticalSection lock;
    lock.Enter();
    EXPECT_TRUE(lock.TryEnter());  // the holder may enter again
    bool otherGotIn = true;
    std::thread([&] { otherGotIn = lock.TryEnter(); }).join();
    EXPECT_FALSE(otherGotIn);
    lock.Leave();
    lock.Leave();

    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                lock.Acquire();
                ++counter;
                lock.Release();
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(counter, 40000);
}

}  // namespace
}  // namespace rv
