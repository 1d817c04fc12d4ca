#include "import/stream_fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

namespace rv {
namespace {

TEST(StreamFields, FileSizeRateIsWholeKilobytesOverRoundedSeconds) {
    // 300 KiB (and 1023 bytes that do not count) over 3.4 s, taken as 3: 300 * 8.192 / 3.
    EXPECT_EQ(FileSizeBitRate(300 * 1024 + 1023, 3.4), 819);
    // Halves round to the even second: 2.5 s is 2, 3.5 s is 4.
    EXPECT_EQ(FileSizeBitRate(1000 * 1024, 2.5), 4096);
    EXPECT_EQ(FileSizeBitRate(1000 * 1024, 3.5), 2048);
    EXPECT_EQ(FileSizeBitRate(7999 * 1024, 1), 65527);
}

TEST(StreamFields, NoRateWithoutAWholeSecondAndNoneBeyondTheField) {
    // A duration that rounds to 0 s gives 0 rather than a division by zero.
    for (const double seconds : {0.0, 0.2, 0.5, -3.0, std::nan("")})
        EXPECT_EQ(FileSizeBitRate(1 << 20, seconds), 0) << seconds;
    // 8000 KiB a second is 65536 kbit/s, one more than the field holds.
    EXPECT_EQ(FileSizeBitRate(8000 * 1024, 1), 65535);
    EXPECT_EQ(FileSizeBitRate(std::numeric_limits<std::uint64_t>::max(), 1), 65535);
    EXPECT_EQ(FileSizeBitRate(1 << 20, std::numeric_limits<double>::infinity()), 0);
    const std::pair<double, int> rates[] = {{127.9, 127},   {65534.99, 65534}, {65535, 65535},
                                            {1e300, 65535}, {-1, 0},           {std::nan(""), 0}};
    for (const auto& [kbps, field] : rates) EXPECT_EQ(BitRateField(kbps), field) << kbps;
}

}  // namespace
}  // namespace rv
