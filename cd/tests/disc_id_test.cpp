#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "cd/disc_id.h"
#include "testsupport/process.h"

namespace rv {
namespace {

// A disc whose tracks start at the given frame offsets (75 a second, 00:02:00 = 150).
struct Disc {
    std::vector<int> offsets;
    int leadOut;
};

TCDTOCEntry At(int frames) {
    return {static_cast<std::uint8_t>(frames / 4500), static_cast<std::uint8_t>(frames / 75 % 60),
            static_cast<std::uint8_t>(frames % 75), true};
}

TCDTOC TocOf(const Disc& disc) {
    TCDTOC toc;
    toc.Count = static_cast<std::uint8_t>(disc.offsets.size());
    for (std::size_t i = 0; i < disc.offsets.size(); ++i) toc.Tracks[i] = At(disc.offsets[i]);
    toc.LeadOut = At(disc.leadOut);
    toc.LeadOut.Audio = false;
    return toc;
}

TEST(DiscId, HandWorkedDiscsAndTheirQueries) {
    // One track at 00:02:00, lead-out at 03:00:00: digit sum 2, 178 seconds, one track.
    const TCDTOC one = TocOf({{150}, 180 * 75});
    EXPECT_EQ(CddbDiscId(one), 0x0200b201u);
    EXPECT_EQ(DiscIdText(CddbDiscId(one)), "0200b201");
    EXPECT_EQ(CddbQueryCommand(one), "cddb query 0200b201 1 150 180");
    // Starts at 2, 250 and 510 s (digit sums 2 + 7 + 6), 718 s to the lead-out at 12:00.
    const TCDTOC three = TocOf({{150, 250 * 75, 510 * 75 + 10}, 720 * 75 + 74});
    EXPECT_EQ(DiscIdText(CddbDiscId(three)), "0f02ce03");
    EXPECT_EQ(CddbQueryCommand(three), "cddb query 0f02ce03 3 150 18750 38260 720");
    EXPECT_EQ(DiscIdText(0xABCDEF), "00abcdef");
}

// Discs of every size: the example above, the fullest disc, frames next to second boundaries,
// and a spread of pseudo-random albums.
std::vector<Disc> SyntheticDiscs() {
    std::vector<Disc> discs = {{{150}, 13500}, {{150, 224, 225, 299}, 80 * 4500 - 1}};
    Disc full{{}, 0};
    for (int i = 0; i < 99; ++i) full.offsets.push_back(150 + i * 3217);
    full.leadOut = full.offsets.back() + 4000;
    discs.push_back(full);
    std::uint32_t seed = 12345;
    const auto next = [&seed](int below) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(below));
    };
    for (int d = 0; d < 40; ++d) {
        Disc disc{{150 + next(3000)}, 0};
        const int tracks = 1 + next(30);
        // At most 30 tracks of three minutes: every disc stays below 90 minutes.
        for (int t = 1; t < tracks; ++t)
            disc.offsets.push_back(disc.offsets.back() + 1 + next(13000));
        disc.leadOut = disc.offsets.back() + 1 + next(13000);
        discs.push_back(disc);
    }
    return discs;
}

TEST(DiscId, EqualsLibdiscidForATableOfDiscs) {
    if (!test::PackageInstalled("python3-libdiscid"))
        GTEST_SKIP() << "python3-libdiscid is not installed";
    const char* script =
        "import sys\n"
        "import libdiscid\n"
        "for line in sys.stdin:\n"
        "    leadout, *offsets = map(int, line.split())\n"
        "    print(libdiscid.put(1, len(offsets), leadout, offsets).freedb_id)\n";
    const std::vector<Disc> discs = SyntheticDiscs();
    std::string input;
    for (const Disc& disc : discs) {
        input += std::to_string(disc.leadOut);
        for (int offset : disc.offsets) {
            input += ' ';
            input += std::to_string(offset);
        }
        input += "\n";
    }
    const test::ProcessResult result = test::RunProcess({"/usr/bin/python3", "-c", script}, input);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::istringstream ids(result.out);
    for (const Disc& disc : discs) {
        std::string expected;
        ASSERT_TRUE(ids >> expected);
        EXPECT_EQ(DiscIdText(CddbDiscId(TocOf(disc))), expected)
            << disc.offsets.size() << " tracks, lead-out " << disc.leadOut;
    }
}

}  // namespace
}  // namespace rv
