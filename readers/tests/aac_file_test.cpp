#include "readers/aac_file.h"

#include <gtest/gtest.h>

#include "readers/tests/aac_bytes.h"
#include "readers/tests/tag_bytes.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

using namespace std::string_literals;

namespace rv {
namespace {

using test::ADTSFields;

class AACFileTest : public ::testing::Test {
protected:
    void Read(const std::string& bytes) {
        const std::string path = dir_ / "file.aac";
        test::WriteFileBytes(path, bytes);
        ASSERT_TRUE(aac_.ReadFromFile(path));
    }
    test::TempDir dir_;
    TAACfile aac_;
};

std::string Frames(ADTSFields fields, const std::vector<unsigned>& lengths) {
    std::string bytes;
    for (const unsigned length : lengths) {
        fields.length = length;
        bytes += test::ADTSFrame(fields);
    }
    return bytes;
}

// At 48 kHz each byte of a 1024-sample frame is 375 bit/s.
TEST_F(AACFileTest, ADTSRateIsTheFirstFrameOrTheAverageOfAll) {
    // A buffer fullness other than all ones marks a constant rate: the second, longer frame
    // is never looked at.
    Read(Frames({.fullness = 0x123}, {384, 900}));
    EXPECT_EQ(aac_.BitRateType(), "CBR");
    EXPECT_EQ(aac_.BitRate(), 384u * 375);
    EXPECT_DOUBLE_EQ(aac_.Duration(), (384.0 + 900) * 8 / aac_.BitRate());

    // The frame length sits at bit 30 in MPEG-4 headers too; read two bits later it would be
    // four times too large and end the walk after one frame.
    const std::string id3v2 = test::ID3v2Tag(3, test::ID3v2Frame(3, "TIT2", "\0Song"s), 50);
    Read(id3v2 + Frames({.channels = 1}, {100, 300, 200, 400}));
    EXPECT_TRUE(aac_.Valid());
    EXPECT_EQ(aac_.ID3v2().Title(), "Song");
    EXPECT_EQ(aac_.HeaderType(), "ADTS");
    EXPECT_EQ(aac_.MPEGVersion(), "MPEG-4");
    EXPECT_EQ(aac_.Profile(), "AAC LC");
    EXPECT_EQ(aac_.BitRateType(), "VBR");
    EXPECT_EQ(aac_.SampleRate(), 48000u);
    EXPECT_EQ(aac_.Channels(), 1);
    EXPECT_EQ(aac_.BitRate(), 1000u * 375 / 4);
    EXPECT_DOUBLE_EQ(aac_.Duration(), 4 * 1024 / 48000.0);

    Read(Frames({.mpeg2 = true, .profile = 3}, {100, 300}));
    EXPECT_EQ(aac_.MPEGVersion(), "MPEG-2");
    EXPECT_EQ(aac_.Profile(), "AAC LTP");
    EXPECT_EQ(aac_.BitRate(), 400u * 375 / 2);

    // A broken sync word ends the walk; that step still counts as a frame in the average.
    Read(Frames({}, {200, 200, 200}) + std::string(600, '\x55'));
    EXPECT_EQ(aac_.BitRate(), 600u * 375 / 4);
}

TEST_F(AACFileTest, ADIFCountsChannelsNotElements) {
    // Front: a channel pair and a single channel; back: a pair; one LFE. Six channels from
    // four elements.
    const std::string header = test::ADIFHeader(
        {.bitRate = 192000, .rateIndex = 3, .front = {true, false}, .back = {true}, .lfe = 1});
    Read(header + std::string(24000 - header.size(), '\0'));
    EXPECT_TRUE(aac_.Valid());
    EXPECT_EQ(aac_.HeaderType(), "ADIF");
    EXPECT_EQ(aac_.MPEGVersion(), "MPEG-4");
    EXPECT_EQ(aac_.Profile(), "AAC LC");
    EXPECT_EQ(aac_.BitRateType(), "CBR");
    EXPECT_EQ(aac_.BitRate(), 192000u);
    EXPECT_EQ(aac_.SampleRate(), 48000u);
    EXPECT_EQ(aac_.Channels(), 6);
    EXPECT_DOUBLE_EQ(aac_.Duration(), 1.0);

    // A copyright id, a variable rate (no buffer fullness) and the optional mixdown fields all
    // move the fields behind them.
    Read(test::ADIFHeader({.copyrightId = true,
                           .vbr = true,
                           .bitRate = 96000,
                           .profile = 0,
                           .rateIndex = 7,
                           .side = {true},
                           .monoMixdown = true,
                           .stereoMixdown = true,
                           .matrixMixdown = true}));
    EXPECT_EQ(aac_.BitRateType(), "VBR");
    EXPECT_EQ(aac_.BitRate(), 96000u);
    EXPECT_EQ(aac_.Profile(), "AAC Main");
    EXPECT_EQ(aac_.SampleRate(), 22050u);
    EXPECT_EQ(aac_.Channels(), 2);
}

TEST_F(AACFileTest, BrokenStreamsAreNotValidAndLeaveNothingBehind) {
    Read(Frames({}, {200, 200}) + test::ID3v1Block({"v1"}));
    EXPECT_TRUE(aac_.Valid());
    EXPECT_TRUE(aac_.ID3v1().Exists());
    // Sample-rate index 12 to 15 has no rate.
    Read(Frames({.rateIndex = 13}, {200, 200}));
    EXPECT_FALSE(aac_.Valid());
    EXPECT_FALSE(aac_.ID3v1().Exists());
    // A zero length cannot move the walk on and gives no rate.
    Read(Frames({}, {0, 200}));
    EXPECT_FALSE(aac_.Valid());
    EXPECT_EQ(aac_.Duration(), 0);
    // 0xFF not followed by the rest of the 12-bit sync word.
    Read("\xFF\xE1"s + std::string(300, '\0'));
    EXPECT_EQ(aac_.HeaderType(), "Unknown");
    EXPECT_EQ(aac_.Profile(), "Unknown");
    EXPECT_EQ(aac_.Channels(), 0);
    EXPECT_FALSE(aac_.ReadFromFile(std::string(dir_ / "missing.aac")));
}

}  // namespace
}  // namespace rv
