#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "cd/toc_convert.h"

namespace rv {
namespace {

using Bytes = std::vector<std::uint8_t>;

TCDRawTOC RawOf(const Bytes& bytes) {
    TCDRawTOC raw;
    std::copy(bytes.begin(), bytes.end(), raw.Data.begin());
    raw.Length = bytes.size();
    return raw;
}

// A READ TOC answer: header, then (control, number, minute, second, frame) per descriptor.
Bytes Answer(std::uint8_t first, std::uint8_t last,
             const std::vector<std::array<std::uint8_t, 5>>& descriptors) {
    const std::size_t length = 2 + 8 * descriptors.size();
    Bytes b = {static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length), first,
               last};
    for (const auto& d : descriptors) {
        b.insert(b.end(),
                 {0, static_cast<std::uint8_t>(0x10 | d[0]), d[1], 0, 0, d[2], d[3], d[4]});
    }
    return b;
}

TEST(ConvertTOC, ReadsTracksFromTheFirstOnTheDiscTheLeadOutAndTheAudioFlags) {
    // An enhanced CD numbered from 3: two audio tracks (one with pre-emphasis), a data track.
    const TCDRawTOC raw = RawOf(
        Answer(3, 5, {{0, 3, 0, 2, 0}, {1, 4, 4, 10, 33}, {4, 5, 8, 30, 0}, {4, 0xAA, 12, 0, 74}}));
    TCDTOC toc;
    toc.Tracks[3] = {9, 9, 9, true};  // left from an earlier disc
    ASSERT_TRUE(ConvertTOC(raw, toc));
    EXPECT_EQ(toc.Count, 3);
    EXPECT_EQ(toc.Tracks[0], (TCDTOCEntry{0, 2, 0, true}));
    EXPECT_EQ(toc.Tracks[1], (TCDTOCEntry{4, 10, 33, true}));
    EXPECT_EQ(toc.Tracks[2], (TCDTOCEntry{8, 30, 0, false}));
    EXPECT_EQ(toc.Tracks[3], TCDTOCEntry{});
    EXPECT_EQ(toc.LeadOut, (TCDTOCEntry{12, 0, 74, false}));

    // Data is bit 4 of the control nibble; copy permission (2), pre-emphasis (1) and four
    // channels (8) leave a track audio. The ADR nibble does not count.
    for (int control = 0; control < 16; ++control) {
        const bool audio = control == 0 || control == 1 || control == 2 || control == 3 ||
                           control == 8 || control == 9 || control == 10 || control == 11;
        EXPECT_EQ(IsAudioTrack(static_cast<std::uint8_t>(0x10 | control)), audio) << control;
    }
}

TEST(ConvertTOC, AnAnswerThatDoesNotHoldTogetherIsNoReadableDisc) {
    Bytes full = Answer(1, 99, {});
    for (int t = 1; t <= 100; ++t) {
        const auto n = static_cast<std::uint8_t>(t <= 99 ? t : 0xAA);
        full.insert(full.end(), {0, 0x10, n, 0, 0, static_cast<std::uint8_t>(t / 2), 0, 0});
    }
    full[0] = static_cast<std::uint8_t>((full.size() - 2) >> 8);
    full[1] = static_cast<std::uint8_t>(full.size() - 2);
    ASSERT_EQ(full.size(), kRawTOCSize);
    TCDTOC toc;
    ASSERT_TRUE(ConvertTOC(RawOf(full), toc));
    EXPECT_EQ(toc.Count, 99);
    EXPECT_EQ(toc.LeadOut.Minute, 50);

    const Bytes two = Answer(1, 2, {{0, 1, 0, 2, 0}, {0, 2, 3, 0, 0}, {0, 0xAA, 5, 0, 0}});
    Bytes shortHeader = two;
    shortHeader[1] -= 1;  // the header's length ends one byte before the lead-out does
    Bytes lastTooHigh = full;
    lastTooHigh[3] = 100;
    Bytes lastFar = full;  // would fill 255 entries of a table that holds 100
    lastFar[3] = 255;
    const struct {
        const char* what;
        TCDRawTOC raw;
    } cases[] = {
        {"zeroed answer (no disc)", RawOf(Bytes(804, 0))},
        {"first track 0", RawOf(Answer(0, 2, {}))},
        {"first above last", RawOf(Answer(5, 3, {}))},
        {"last track 100", RawOf(lastTooHigh)},
        {"last track 255", RawOf(lastFar)},
        {"header shorter than its descriptors", RawOf(shortHeader)},
        {"fewer bytes delivered than described", RawOf(Bytes(two.begin(), two.end() - 1))},
        {"header alone", RawOf(Bytes(two.begin(), two.begin() + 4))},
        {"nothing delivered", TCDRawTOC{}},
    };
    for (const auto& c : cases) {
        TCDTOC out = toc;
        EXPECT_FALSE(ConvertTOC(c.raw, out)) << c.what;
        EXPECT_EQ(out, TCDTOC{}) << c.what;
    }
    EXPECT_TRUE(ConvertTOC(RawOf(two), toc));
}

}  // namespace
}  // namespace rv
