#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/threads/sync_objects.h"

namespace rv {
namespace {

TEST(SyncObjectsTest, AutoResetReleasesOneWaiterPerSignalManualResetReleasesAll) {
    TEvent automatic(false, false);
    EXPECT_EQ(automatic.WaitFor(10), wrTimeout);
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] { released += automatic.WaitFor(5000) == wrSignaled; });
    for (int i = 1; i <= 3; ++i) {
        automatic.SetEvent();
        while (released < i) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(released, i);
    }
    for (auto& t : waiters) t.join();
    EXPECT_EQ(automatic.WaitFor(0), wrTimeout) << "a release resets the event";

    TEvent manual(true, false);
    waiters.clear();
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] { released += manual.WaitFor() == wrSignaled; });
    manual.SetEvent();
    for (auto& t : waiters) t.join();
    EXPECT_EQ(released, 6);
    EXPECT_EQ(manual.WaitFor(0), wrSignaled);
    manual.ResetEvent();
    EXPECT_EQ(manual.WaitFor(5), wrTimeout);
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
