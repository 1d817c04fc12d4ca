#include "readers/monkey.h"

#include <gtest/gtest.h>

#include "readers/tests/read_bytes.h"
#include "readers/tests/stream_bytes.h"

namespace rv {
namespace {

using test::MonkeyDescriptorHeader;
using test::MonkeyOldHeader;
using test::ReadBytes;

const std::string kFrames(4000, '\x21');

// The usual descriptor and header are checked against independent tools in the test data;
// here, the sizes that vary.
TEST(Monkey, DescriptorAndHeaderSizes) {
    TMonkey ape;
    // A longer descriptor is skipped; a header longer than 24 bytes is read for 24.
    ASSERT_TRUE(ReadBytes(ape, MonkeyDescriptorHeader({.descriptorBytes = 60}) + kFrames));
    EXPECT_EQ(ape.Samples(), 73728u * 2 + 1000);
    EXPECT_EQ(ape.VersionStr(), "3.99");
    ASSERT_TRUE(ReadBytes(ape, MonkeyDescriptorHeader({.headerBytes = 30}) + kFrames));
    EXPECT_EQ(ape.SampleRate(), 44100u);
    // A header of 20 bytes lacks the sample rate.
    EXPECT_FALSE(ReadBytes(ape, MonkeyDescriptorHeader({.headerBytes = 20}) + kFrames));
    EXPECT_EQ(ape.SampleRate(), 0u);
    EXPECT_EQ(ape.Samples(), 73728u * 2 + 1000);
    // A descriptor shorter than its own fields would put the header inside itself.
    EXPECT_FALSE(ReadBytes(ape, MonkeyDescriptorHeader({.descriptorBytes = 40}) + kFrames));
    // Frame counts whose product overflows 32 bits.
    ASSERT_TRUE(ReadBytes(
        ape, MonkeyDescriptorHeader({.totalFrames = 0xFFFFFFFF, .blocksPerFrame = 0xFFFFFFFF})));
    EXPECT_EQ(ape.Samples(), 0xFFFFFFFFull * 0xFFFFFFFEull + 1000);
}

TEST(Monkey, OldLayoutBlocksPerFrameByVersion) {
    struct Case {
        std::uint16_t version, compression;
        std::uint32_t blocks;
    };
    const Case cases[] = {{3970, 1000, 294912}, {3950, 2000, 294912}, {3949, 2000, 73728},
                          {3900, 1000, 73728},  {3899, 4000, 73728},  {3899, 3000, 9216},
                          {3800, 4000, 73728},  {3799, 4000, 9216},   {3700, 2000, 9216}};
    for (const Case& c : cases)
        EXPECT_EQ(MonkeyOldBlocksPerFrame(c.version, c.compression), c.blocks) << c.version;
    TMonkey ape;
    ASSERT_TRUE(ReadBytes(
        ape, MonkeyOldHeader({.version = 3800, .compression = 4000, .totalFrames = 3}) + kFrames));
    EXPECT_EQ(ape.Samples(), 73728u * 2 + 1000);
    EXPECT_DOUBLE_EQ(ape.Duration(), (73728 * 2 + 1000) / 44100.0);
}

TEST(Monkey, OldLayoutFlags) {
    TMonkey ape;
    auto read = [&](std::uint16_t flags, std::uint32_t peak = 0) {
        EXPECT_TRUE(ReadBytes(
            ape, MonkeyOldHeader({.version = 3950, .flags = flags, .peakLevel = peak}) + kFrames));
    };
    read(0);
    EXPECT_EQ(ape.Bits(), 16u);
    read(0x09);  // the 24-bit flag wins over the 8-bit one
    EXPECT_EQ(ape.Bits(), 24u);

    read(0x04 | 0x10, 5000);
    EXPECT_TRUE(ape.HasSeekElements());
    EXPECT_TRUE(ape.WavNotStored());
    EXPECT_FALSE(ape.HasPeakLevel());
    EXPECT_EQ(ape.PeakLevel(), 0u);  // the word is something else without the flag
    read(0x20, 16384);
    EXPECT_TRUE(ape.HasPeakLevel());
    EXPECT_EQ(ape.PeakLevel(), 16384u);
    EXPECT_DOUBLE_EQ(ape.PeakLevelRatio(), 16384.0 / 65536 / 2 * 100);
    EXPECT_EQ(ape.FormatFlags(), 0x20);
}

TEST(Monkey, InvalidHeaders) {
    TMonkey ape;
    // Total frames 0, and each of the other fields 0, make the file invalid.
    EXPECT_FALSE(ReadBytes(ape, MonkeyOldHeader({.version = 3950, .totalFrames = 0}) + kFrames));
    EXPECT_EQ(ape.Samples(), 0u);
    EXPECT_FALSE(ReadBytes(ape, MonkeyOldHeader({.version = 3950, .channels = 0}) + kFrames));
    EXPECT_FALSE(ReadBytes(ape, MonkeyOldHeader({.version = 3950, .sampleRate = 0}) + kFrames));
    EXPECT_EQ(ape.Duration(), 0);
    EXPECT_FALSE(ReadBytes(ape, MonkeyDescriptorHeader({.bits = 0}) + kFrames));
    // A header cut short, and a file of another kind.
    EXPECT_FALSE(ReadBytes(ape, MonkeyOldHeader({.version = 3950}).substr(0, 35)));
    EXPECT_FALSE(ReadBytes(ape, MonkeyDescriptorHeader({}).substr(0, 57)));
    EXPECT_FALSE(ReadBytes(ape, "fLaC" + kFrames));
    EXPECT_EQ(ape.Version(), 0);
    EXPECT_FALSE(ape.ReadFromFile("/nonexistent/file.ape"));
}

}  // namespace
}  // namespace rv
