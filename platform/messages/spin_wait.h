#pragma once

#include <algorithm>
#include <chrono>
#include <thread>

namespace rv::detail {

// Waiting awake for another thread, for spans too short to be worth sleeping and being woken
// (which costs microseconds each way, and far more on a busy machine). How long it waits adapts:
// the most at first and after each wait that ended in time, half as long after each that did
// not, down to a trifle, so that little is lost where answers are slow in coming or where the
// other thread cannot run meanwhile (both on one processor); now and then it tries the most
// again, to notice when things are better. For one thread's use.
class SpinWait {
public:
    explicit SpinWait(std::chrono::nanoseconds most) : most_(most), span_(most) {}

    // Waits until `ready` holds or the time is up; whether it holds.
    template <class Ready>
    bool Until(Ready ready) {
        using Clock = std::chrono::steady_clock;
        if (ready()) return true;
        if (!Worthwhile()) return false;
        const bool probe = span_ == kLeast && ++leastWaits_ % kProbeEvery == 0;
        // Most waits end within the first few turns, before the clock is worth reading.
        Clock::time_point deadline{};
        for (unsigned i = 1;; ++i) {
            Relax();
            if (ready()) {
                span_ = most_;
                return true;
            }
            if (i == 8) deadline = Clock::now() + (probe ? most_ : span_);
            if (i % 8 == 0 && Clock::now() >= deadline) {
                span_ = std::max(span_ / 2, kLeast);
                return false;
            }
        }
    }

private:
    static constexpr std::chrono::nanoseconds kLeast = std::chrono::microseconds(1);
    static constexpr unsigned kProbeEvery = 64;

    // Not on a single processor, where the other thread cannot run meanwhile.
    static bool Worthwhile() {
        static const bool worthwhile = std::thread::hardware_concurrency() > 1;
        return worthwhile;
    }

    static void Relax() {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#elif defined(__aarch64__)
        asm volatile("yield");
#endif
    }

    const std::chrono::nanoseconds most_;
    std::chrono::nanoseconds span_;
    unsigned leastWaits_ = 0;
};

}  // namespace rv::detail
