#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/text/format.h"
#include "platform/text/round.h"

namespace rv {
namespace {

TEST(Format, FormatsLikePrintfAtAnyLength) {
    EXPECT_EQ(Format("Artists: %d   Albums: %d   Tracks: %d", 1, 2, 3),
              "Artists: 1   Albums: 2   Tracks: 3");
    EXPECT_EQ(Format("%2.2d:%2.2d", 3, 7), "03:07");
    const std::string big(1000, 'x');
    EXPECT_EQ(Format("[%s]", big.c_str()), "[" + big + "]");
}

TEST(Round, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, std::int64_t> cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {2.5001, 3}};
    for (auto [x, rounded] : cases) EXPECT_EQ(Round(x), rounded) << x;
    // Out of range: the nearest end, never overflow.
    EXPECT_EQ(Round(std::nan("")), 0);
    EXPECT_EQ(Round(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Round(-1e300), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Round(INFINITY), std::numeric_limits<std::int64_t>::max());
}

}  // namespace
}  // namespace rv
