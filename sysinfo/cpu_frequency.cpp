#include "sysinfo/cpu_frequency.h"

#include <cstdint>
#include <iterator>
#include <limits>

namespace rv {
namespace {

constexpr int kSettleMilliseconds = 10;
constexpr int kMeasureMilliseconds = 100;
constexpr int kSampleTries = 5;

struct TSample {
    std::uint64_t Counter = 0;
    std::int64_t Nanoseconds = 0;
};

// The counter and the clock read together. The counter is read between two clock readings;
// of a few tries the one with the closest readings wins, so an interruption between them
// does not count.
bool ReadSample(TTimingSource& timing, TSample& sample) {
    std::int64_t narrowest = std::numeric_limits<std::int64_t>::max();
    for (int i = 0; i < kSampleTries; ++i) {
        const std::int64_t before = timing.NowNanoseconds();
        std::uint64_t counter = 0;
        if (!timing.ReadCounter(counter)) return false;
        const std::int64_t after = timing.NowNanoseconds();
        if (after - before < narrowest) {
            narrowest = after - before;
            sample.Counter = counter;
            sample.Nanoseconds = before + (after - before) / 2;
        }
    }
    return true;
}

}  // namespace

double MeasureFrequency(TTimingSource& timing) {
    timing.Sleep(kSettleMilliseconds);
    TSample start, end;
    if (!ReadSample(timing, start)) return 0;
    timing.Sleep(kMeasureMilliseconds);
    if (!ReadSample(timing, end)) return 0;
    // A counter that went back (another processor's, not kept in step) measures nothing.
    const std::int64_t elapsed = end.Nanoseconds - start.Nanoseconds;
    if (elapsed <= 0 || end.Counter < start.Counter) return 0;
    // Counts per microsecond are MHz.
    return static_cast<double>(end.Counter - start.Counter) * 1000.0 / static_cast<double>(elapsed);
}

int SnapFrequency(int mhz) {
    static constexpr int kSteps[] = {0, 20, 33, 50, 60, 66, 80, 90, 100};
    const int rest = mhz % 100;
    const int hundreds = mhz - rest;
    for (std::size_t i = 1; i < std::size(kSteps); ++i) {
        if (kSteps[i] > rest) {
            const int lower = kSteps[i - 1];
            const int upper = kSteps[i];
            return hundreds + (upper - rest <= rest - lower ? upper : lower);
        }
    }
    return mhz;
}

}  // namespace rv
