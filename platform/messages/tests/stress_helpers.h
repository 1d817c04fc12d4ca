#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <random>
#include <thread>

namespace rv::test {

// A gap between two steps of a thread: mostly none, sometimes a spin of a few microseconds, now
// and then a sleep of up to `longestSleep` microseconds, long enough for the other thread to fall
// asleep.
inline void RandomGap(std::mt19937& random, unsigned longestSleep) {
    const unsigned pick = random() % 100;
    if (pick < 60) return;
    if (pick < 95) {
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::microseconds(1 + random() % 150);
        while (std::chrono::steady_clock::now() < until) {
        }
        return;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(50 + random() % longestSleep));
}

// A thread watching a count of progress: once it has not moved for `limit`, the round counts as
// stalled and `onStall` runs (in the watching thread), to end the round.
class StallWatchdog {
public:
    StallWatchdog(const std::atomic<int>& progress, std::chrono::milliseconds limit,
                  std::function<void()> onStall)
        : thread_([this, &progress, limit, onStall = std::move(onStall)] {
              int last = -1;
              auto since = std::chrono::steady_clock::now();
              while (!ended_) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
                  const int now = progress.load();
                  if (now != last) {
                      last = now;
                      since = std::chrono::steady_clock::now();
                  } else if (std::chrono::steady_clock::now() - since > limit) {
                      stalled_ = true;
                      onStall();
                      return;
                  }
              }
          }) {}
    ~StallWatchdog() { Stop(); }
    StallWatchdog(const StallWatchdog&) = delete;
    StallWatchdog& operator=(const StallWatchdog&) = delete;

    // Ends the watch; whether the round stalled.
    bool Stop() {
        ended_ = true;
        if (thread_.joinable()) thread_.join();
        return stalled_;
    }

private:
    std::atomic<bool> ended_{false};
    std::atomic<bool> stalled_{false};
    std::thread thread_;  // last: it starts once the flags are made
};

}  // namespace rv::test
