#include "readers/mpeg_audio.h"

#include <gtest/gtest.h>

#include "readers/tests/tag_bytes.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

using namespace std::string_literals;

namespace rv {
namespace {

using test::MPEGFrames;

// MPEG 1 Layer III, 128 kbit/s, 44.1 kHz, no CRC; mode byte 0x00 stereo, 0xC0 mono.
constexpr unsigned char kMpeg1L3 = 0xFB;
constexpr unsigned char k128k = 0x90;
constexpr std::size_t k128kLength = 417;

class MPEGAudioTest : public ::testing::Test {
protected:
    void Read(const std::string& bytes) {
        const std::string path = dir_ / "file.mp3";
        test::WriteFileBytes(path, bytes);
        ASSERT_TRUE(mpeg_.ReadFromFile(path));
    }
    test::TempDir dir_;
    TMPEGaudio mpeg_;
};

TFrameData Header(unsigned char b1, unsigned char b2, unsigned char b3 = 0) {
    const unsigned char bytes[4] = {0xFF, b1, b2, b3};
    TFrameData frame;
    DecodeFrameHeader(bytes, frame);
    return frame;
}

TEST(MPEGFrame, LengthsFollowTheFormatsDefinition) {
    EXPECT_EQ(MPEGFrameLength(Header(kMpeg1L3, k128k)), 417);
    EXPECT_EQ(MPEGFrameLength(Header(kMpeg1L3, k128k | 0x02)), 418);
    // Layer I frames are whole 4-byte slots: 12 * 128000 / 44100 = 34 slots; padding adds one.
    EXPECT_EQ(MPEGFrameLength(Header(0xFF, 0x40)), 136);
    EXPECT_EQ(MPEGFrameLength(Header(0xFF, 0x42)), 140);
    // MPEG 2 Layer I has 384 samples a frame too: 12 * 64000 / 22050 = 34 slots.
    EXPECT_EQ(MPEGFrameLength(Header(0xF7, 0x40)), 136);
    // MPEG 2.5 Layer III at 8 kHz, 8 kbit/s: half the samples of MPEG 1.
    EXPECT_EQ(MPEGFrameLength(Header(0xE3, 0x18)), 72);
}

TEST_F(MPEGAudioTest, DurationLeavesOutTheTagsAroundTheStream) {
    const std::string id3v2 = test::ID3v2Tag(3, test::ID3v2Frame(3, "TIT2", "\0Song"s), 100);
    const std::string audio = MPEGFrames(kMpeg1L3, k128k, 0xC0, k128kLength, 20);
    Read(id3v2 + "junk" + audio + test::ID3v1Block({"v1"}));
    EXPECT_TRUE(mpeg_.Valid());
    EXPECT_EQ(mpeg_.Frame().Position, 4u);
    EXPECT_EQ(mpeg_.ID3v2().Title(), "Song");
    EXPECT_EQ(mpeg_.ID3v1().Title(), "v1");
    EXPECT_DOUBLE_EQ(mpeg_.Duration(), audio.size() * 8 / 128000.0);
}

TEST_F(MPEGAudioTest, AStrayHeaderWithoutASuccessorIsPassedOver) {
    std::string bytes = "\xFF\xFB\x90\x00"s + std::string(600, '\x11');
    Read(bytes + MPEGFrames(kMpeg1L3, k128k, 0x00, k128kLength, 10));
    EXPECT_EQ(mpeg_.Frame().Position, 604u);
}

TEST_F(MPEGAudioTest, LayerIStreamsAreFound) {
    Read(MPEGFrames(0xFF, 0x40, 0x00, 136, 100));
    EXPECT_TRUE(mpeg_.Valid());
    EXPECT_EQ(mpeg_.Version(), "MPEG 1");
    EXPECT_EQ(mpeg_.Layer(), "Layer I");
    EXPECT_EQ(mpeg_.BitRate(), 128);
    EXPECT_EQ(mpeg_.Frame().Size, 136);

    Read(MPEGFrames(0xF7, 0x40, 0xC0, 136, 100));
    EXPECT_TRUE(mpeg_.Valid());
    EXPECT_EQ(mpeg_.Version(), "MPEG 2");
    EXPECT_EQ(mpeg_.Layer(), "Layer I");
    EXPECT_EQ(mpeg_.SampleRate(), 22050);
    EXPECT_EQ(mpeg_.BitRate(), 64);
}

TEST_F(MPEGAudioTest, XingHeaderGivesAverageBitRateAndDuration) {
    std::string audio = MPEGFrames(kMpeg1L3, k128k, 0x00, k128kLength, 30);
    // 1000 frames of 313.5 bytes on average: (313.5 * 44100 / 144 / 1000) = 96.01 kbit/s.
    audio.replace(36, 16, "Xing"s + test::BE32(15) + test::BE32(1000) + test::BE32(313500));
    audio[36 + 119] = 57;
    audio.replace(36 + 120, 8, "LAME3.99");
    Read(audio);
    EXPECT_EQ(mpeg_.VBR().ID, "Xing");
    EXPECT_EQ(mpeg_.VBR().Scale, 57);
    EXPECT_EQ(mpeg_.VBR().VendorID, "LAME3.99");
    EXPECT_EQ(mpeg_.BitRate(), 96);
    EXPECT_DOUBLE_EQ(mpeg_.Duration(), 1152.0 * 1000 / 44100);

    // No frame count: the first frame's rate and the file's size decide.
    audio.replace(36 + 8, 4, test::BE32(0));
    Read(audio);
    EXPECT_TRUE(mpeg_.VBR().Found);
    EXPECT_EQ(mpeg_.BitRate(), 128);
    EXPECT_DOUBLE_EQ(mpeg_.Duration(), audio.size() * 8 / 128000.0);
}

TEST_F(MPEGAudioTest, VBRIHeaderIsLookedForAtTheXingOffset) {
    std::string audio = MPEGFrames(kMpeg1L3, k128k, 0x00, k128kLength, 30);
    audio.replace(36, 18, "VBRI\0\1\0\0\0\x50"s + test::BE32(41700) + test::BE32(100));
    Read(audio);
    EXPECT_TRUE(mpeg_.VBR().Found);
    EXPECT_EQ(mpeg_.VBR().ID, "VBRI");
    EXPECT_EQ(mpeg_.VBR().Scale, 0x50);
    EXPECT_EQ(mpeg_.BitRate(), 128);  // 417 bytes a frame * 44100 / 144 / 1000 = 127.7
    EXPECT_DOUBLE_EQ(mpeg_.Duration(), 1152.0 * 100 / 44100);

    // A mono MPEG 1 frame puts the Xing offset at 21, so a VBRI header at 36 is not seen.
    audio = MPEGFrames(kMpeg1L3, k128k, 0xC0, k128kLength, 30);
    audio.replace(36, 18, "VBRI\0\1\0\0\0\x50"s + test::BE32(41700) + test::BE32(100));
    Read(audio);
    EXPECT_FALSE(mpeg_.VBR().Found);
}

TEST_F(MPEGAudioTest, ImplausibleStreamsAreNotValid) {
    // Shorter than 0.1 s.
    Read(MPEGFrames(kMpeg1L3, k128k, 0x00, k128kLength, 3));
    EXPECT_TRUE(mpeg_.Frame().Found);
    EXPECT_FALSE(mpeg_.Valid());
    // A Xing header whose average rate is far above 448 kbit/s (the first one is 65664 kbit/s,
    // which cut to 16 bits would pass as 128), or below zero.
    for (std::uint32_t bytes : {21441306u, 0xFFFFFFFFu, 0u}) {
        std::string audio = MPEGFrames(kMpeg1L3, k128k, 0x00, k128kLength, 30);
        audio.replace(36, 16, "Xing"s + test::BE32(15) + test::BE32(100) + test::BE32(bytes));
        Read(audio);
        EXPECT_TRUE(mpeg_.VBR().Found);
        EXPECT_FALSE(mpeg_.Valid()) << bytes;
    }
}

TEST_F(MPEGAudioTest, TheSecondBlockIsSearchedMidFile) {
    const std::string junk(10000, '\x21');
    const std::string audio = MPEGFrames(kMpeg1L3, k128k, 0x00, k128kLength, 40);
    Read(junk + audio);
    EXPECT_TRUE(mpeg_.Frame().Found);
    // The second block starts at 26680 / 2 = 13340, 4 bytes into a frame; the position counts
    // from the block's start.
    EXPECT_EQ(mpeg_.Frame().Position, 417u - 4);
    EXPECT_TRUE(mpeg_.Valid());
}

TEST_F(MPEGAudioTest, NoFrameClearsEverythingButIsNoError) {
    Read(std::string(20000, '\0'));
    EXPECT_FALSE(mpeg_.Valid());
    EXPECT_FALSE(mpeg_.Frame().Found);
    EXPECT_EQ(mpeg_.Version(), "MPEG ?");
    EXPECT_EQ(mpeg_.Layer(), "Layer ?");
    EXPECT_EQ(mpeg_.ChannelMode(), "Unknown");
    EXPECT_EQ(mpeg_.BitRate(), 0);
    EXPECT_EQ(mpeg_.Duration(), 0);

    Read(test::ID3v2Tag(3, test::ID3v2Frame(3, "TIT2", "\0T"s)) + std::string(5000, '\0') +
         test::ID3v1Block({"Title"}));
    EXPECT_FALSE(mpeg_.Valid());
    EXPECT_FALSE(mpeg_.ID3v1().Exists());
    EXPECT_FALSE(mpeg_.ID3v2().Exists());
    EXPECT_EQ(mpeg_.FileLength(), 0u);
}

TEST_F(MPEGAudioTest, UnreadableFilesAreErrors) {
    Read(MPEGFrames(kMpeg1L3, k128k, 0x00, k128kLength, 20));
    EXPECT_FALSE(mpeg_.ReadFromFile(dir_ / "missing.mp3"));
    EXPECT_FALSE(mpeg_.Frame().Found);
    EXPECT_FALSE(mpeg_.ReadFromFile(dir_.Path()));
    // Shorter than an ID3v1 block.
    const std::string path = dir_ / "tiny.mp3";
    test::WriteFileBytes(path, "ID3\3\0\0\0\0\0\0"s + MPEGFrames(kMpeg1L3, 0x10, 0, 104, 1));
    EXPECT_FALSE(mpeg_.ReadFromFile(path));
    EXPECT_FALSE(mpeg_.ID3v2().Exists());
}

}  // namespace
}  // namespace rv
