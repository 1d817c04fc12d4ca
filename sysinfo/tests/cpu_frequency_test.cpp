#include <gtest/gtest.h>

#include "platform/text/round.h"
#include "recorded_processor.h"
#include "sysinfo/cpu_frequency.h"

namespace rv {
namespace {

TEST(CpuFrequencyTest, SnapsToTheUsualClockSteps) {
    const struct {
        int measured;
        int snapped;
    } cases[] = {
        {1398, 1400}, {1432, 1433}, {1010, 1020}, {1000, 1000}, {1055, 1060}, {1041, 1033},
        {1042, 1050}, {1063, 1066}, {1072, 1066}, {1073, 1080}, {1085, 1090}, {1094, 1090},
        {1096, 1100}, {2445, 2450}, {99, 100},    {7, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(SnapFrequency(c.measured), c.snapped) << c.measured;
    EXPECT_EQ(SnapFrequency(static_cast<int>(Round(1398.6))), 1400);
}

TEST(CpuFrequencyTest, DividesByTheTimeReallyElapsed) {
    // Both sleeps end 40 ms late, as on a busy machine: the counter ran 140 ms, not 100.
    test::SteadyCounter late(1398.6, 40);
    EXPECT_NEAR(MeasureFrequency(late), 1398.6, 0.01);

    // An interruption between reading the clock and the counter is not taken for counter time.
    test::SteadyCounter interrupted(2000.0, 0);
    interrupted.InterruptOnce(20'000'000);
    EXPECT_NEAR(MeasureFrequency(interrupted), 2000.0, 0.1);
}

}  // namespace
}  // namespace rv
