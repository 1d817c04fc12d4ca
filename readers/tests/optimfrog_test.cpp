#include "readers/optimfrog.h"

#include <gtest/gtest.h>

#include "readers/tests/read_bytes.h"
#include "readers/tests/stream_bytes.h"
#include "readers/tests/tag_bytes.h"

using namespace std::string_literals;

namespace rv {
namespace {

using test::OptimFrogFields;
using test::OptimFrogHeader;
using test::ReadBytes;

const std::string kAudio(3000, '\x44');

TEST(OptimFrog, HeaderValues) {
    TOptimFrog ofr;
    // The length counts the samples of both channels of a stereo file.
    ASSERT_TRUE(ReadBytes(ofr, OptimFrogHeader({.length = 3 * 44100 * 2}) + kAudio));
    EXPECT_TRUE(ofr.Valid());
    EXPECT_EQ(ofr.Bits(), 16);
    EXPECT_EQ(ofr.ChannelMode(), "Stereo");
    EXPECT_EQ(ofr.Samples(), 3u * 44100);
    EXPECT_DOUBLE_EQ(ofr.Duration(), 3.0);
    EXPECT_EQ(ofr.FileLength(), 23 + kAudio.size());
    EXPECT_EQ(ofr.Header().EncoderID, 4540);

    // 48 bits of length, mono.
    const std::uint64_t length = (std::uint64_t{0x1234} << 32) | 0x56789ABC;
    ASSERT_TRUE(
        ReadBytes(ofr, OptimFrogHeader({.length = length, .channelMode = 0, .sampleRate = 96000})));
    EXPECT_EQ(ofr.ChannelMode(), "Mono");
    EXPECT_EQ(ofr.Samples(), length);
    EXPECT_DOUBLE_EQ(ofr.Duration(), length / 96000.0);

    // Sample types 8 to 10 hold floating-point samples.
    for (std::uint8_t type : {7, 8, 10}) {
        ASSERT_TRUE(ReadBytes(ofr, OptimFrogHeader({.sampleType = type})));
        EXPECT_EQ(ofr.Bits(), type == 7 ? 32 : -32);
        EXPECT_TRUE(ofr.Valid());
    }
}

TEST(OptimFrog, ValidOnlyForKnownValues) {
    TOptimFrog ofr;
    auto valid = [&](const OptimFrogFields& fields) {
        EXPECT_TRUE(ReadBytes(ofr, OptimFrogHeader(fields)));
        return ofr.Valid();
    };
    EXPECT_FALSE(valid({.sampleType = 11}));
    EXPECT_EQ(ofr.Bits(), 0);
    EXPECT_FALSE(valid({.channelMode = 2}));
    EXPECT_EQ(ofr.ChannelMode(), "");
    EXPECT_FALSE(valid({.channelMode = 200}));
    EXPECT_FALSE(valid({.sampleRate = 0}));
    EXPECT_EQ(ofr.Duration(), 0);
    EXPECT_TRUE(valid({.compression = 9 << 3 | 7}));
    EXPECT_FALSE(valid({.compression = 10 << 3}));

    // A header cut by the end of the file reads as zeros: no sample rate.
    EXPECT_TRUE(ReadBytes(ofr, OptimFrogHeader({}).substr(0, 16)));
    EXPECT_FALSE(ofr.Valid());
    EXPECT_FALSE(ReadBytes(ofr, "OFR"s));
    EXPECT_FALSE(ReadBytes(ofr, "MAC " + OptimFrogHeader({})));
    EXPECT_FALSE(ofr.Valid());
    EXPECT_FALSE(ofr.ReadFromFile("/nonexistent/file.ofr"));
}

TEST(OptimFrog, HeaderFollowsTheID3v2Tag) {
    TOptimFrog ofr;
    const std::string bytes = test::ID3v2Tag(3, test::ID3v2Frame(3, "TPE1", "\0Band"s), 10) +
                              OptimFrogHeader({}) + kAudio +
                              test::APETag(2000, {{"Title", "Caf\xC3\xA9"}}) +
                              test::ID3v1Block({.album = "Disc"});
    ASSERT_TRUE(ReadBytes(ofr, bytes));
    EXPECT_TRUE(ofr.Valid());
    EXPECT_EQ(ofr.ID3v2().Artist(), "Band");
    EXPECT_EQ(ofr.APEtag().Title(), "Café");
    EXPECT_EQ(ofr.ID3v1().Album(), "Disc");
    EXPECT_DOUBLE_EQ(ofr.Duration(), 1.0);
}

}  // namespace
}  // namespace rv
