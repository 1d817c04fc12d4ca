#pragma once

#include <chrono>
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

}  // namespace rv::test
