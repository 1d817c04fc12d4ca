#include "readers/mpeg_audio.h"

#include <gtest/gtest.h>

#include <tuple>

#include "readers/tests/test_bytes.h"
#include "testsupport/test_files.h"

using namespace std::string_literals;

namespace rv {
namespace {

using namespace test;

// MPEG 1 Layer III, 128 kbit/s, 44.1 kHz, no CRC; mode byte 0x00 stereo, 0xC0 mono.
constexpr unsigned char kMpeg1L3 = 0xFB;
constexpr unsigned char k128k = 0x90;
constexpr std::size_t k128kLength = 417;

// `count` stereo 128 kbit/s frames, with `vbr` written where a stereo frame's Xing header goes.
std::string Stream(int count, const std::string& vbr = "") {
    std::string audio = MPEGFrames(kMpeg1L3, k128k, 0x00, k128kLength, count);
    return audio.replace(36, vbr.size(), vbr);
}

TEST(MPEGAudio, FrameLengthsAndTheStreamFoundPastOtherBytes) {
    // Layer I frames are whole 4-byte slots: 12 * 128000 / 44100 = 34 slots; padding adds one.
    // MPEG 2 Layer I has 384 samples a frame too: 12 * 64000 / 22050 = 34 slots. MPEG 2.5
    // Layer III at 8 kHz, 8 kbit/s: half the samples of MPEG 1.
    const std::tuple<unsigned char, unsigned char, int> cases[] = {
        {kMpeg1L3, k128k, 417}, {kMpeg1L3, k128k | 0x02, 418},
        {0xFF, 0x40, 136},      {0xFF, 0x42, 140},
        {0xF7, 0x40, 136},      {0xE3, 0x18, 72}};
    for (const auto& [b1, b2, length] : cases) {
        const unsigned char bytes[4] = {0xFF, b1, b2, 0};
        TFrameData frame;
        DecodeFrameHeader(bytes, frame);
        EXPECT_EQ(MPEGFrameLength(frame), length) << int{b1} << " " << int{b2};
    }
    // The duration leaves out the tags around the stream.
    const std::string id3v2 = ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\0Song"s), 100);
    const std::string audio = MPEGFrames(kMpeg1L3, k128k, 0xC0, k128kLength, 20);
    TMPEGaudio mpeg = Read<TMPEGaudio>(id3v2 + "junk" + audio + ID3v1Block({"v1"}));
    EXPECT_EQ(std::tuple(mpeg.Valid(), mpeg.Frame().Position), std::tuple(true, 4u));
    EXPECT_EQ(std::tuple(mpeg.ID3v2().Title(), mpeg.ID3v1().Title()), std::tuple("Song", "v1"));
    EXPECT_DOUBLE_EQ(mpeg.Duration(), audio.size() * 8 / 128000.0);
    // A header without a successor is passed over.
    mpeg = Read<TMPEGaudio>("\xFF\xFB\x90\x00"s + std::string(600, '\x11') + Stream(10));
    EXPECT_EQ(mpeg.Frame().Position, 604u);
    // The second block starts at 26680 / 2 = 13340, 4 bytes into a frame; the position counts
    // from the block's start.
    mpeg = Read<TMPEGaudio>(std::string(10000, '\x21') + Stream(40));
    EXPECT_EQ(std::tuple(mpeg.Valid(), mpeg.Frame().Position), std::tuple(true, 417u - 4));
    // Layer I, in MPEG 1 and MPEG 2.
    mpeg = Read<TMPEGaudio>(MPEGFrames(0xFF, 0x40, 0x00, 136, 100));
    EXPECT_EQ(std::tuple(mpeg.Valid(), mpeg.Layer(), mpeg.BitRate(), mpeg.Frame().Size),
              std::tuple(true, "Layer I", 128, 136));
    mpeg = Read<TMPEGaudio>(MPEGFrames(0xF7, 0x40, 0xC0, 136, 100));
    EXPECT_EQ(std::tuple(mpeg.Valid(), mpeg.Version(), mpeg.SampleRate(), mpeg.BitRate()),
              std::tuple(true, "MPEG 2", 22050, 64));
}

TEST(MPEGAudio, XingInfoAndVBRIHeadersGiveAverageBitRateAndDuration) {
    // 1000 frames of 313.5 bytes on average: (313.5 * 44100 / 144 / 1000) = 96.01 kbit/s.
    std::string audio = Stream(752, "Xing"s + BE32(15) + BE32(1000) + BE32(313500));
    audio[36 + 119] = 57;
    audio.replace(36 + 120, 8, "LAME3.99");
    TMPEGaudio mpeg = Read<TMPEGaudio>(audio);
    EXPECT_EQ(std::tuple(int{mpeg.VBR().Scale}, mpeg.VBR().VendorID, int{mpeg.BitRate()}),
              std::tuple(57, "LAME3.99", 96));
    EXPECT_DOUBLE_EQ(mpeg.Duration(), 1152.0 * 1000 / 44100);
    // No frame count: the first frame's rate and the file's size decide.
    audio.replace(36 + 8, 4, BE32(0));
    mpeg = Read<TMPEGaudio>(audio);
    EXPECT_EQ(std::tuple(mpeg.VBR().Found, int{mpeg.BitRate()}), std::tuple(true, 128));
    EXPECT_DOUBLE_EQ(mpeg.Duration(), audio.size() * 8 / 128000.0);

    const std::string vbri = "VBRI\0\1\0\0\0\x50"s + BE32(41700) + BE32(100);
    mpeg = Read<TMPEGaudio>(Stream(100, vbri));
    // 417 bytes a frame * 44100 / 144 / 1000 = 127.7 kbit/s
    EXPECT_EQ(std::tuple(mpeg.VBR().ID, int{mpeg.VBR().Scale}, int{mpeg.BitRate()}),
              std::tuple("VBRI", 0x50, 128));
    EXPECT_DOUBLE_EQ(mpeg.Duration(), 1152.0 * 100 / 44100);
    // "Info", the constant-rate twin of "Xing": its frame is no audio, and the channel mode is
    // that of the audio frames (joint stereo), not the stereo that ffmpeg marks the header frame
    // with. So is the bit rate, not the byte count's (12510 / 29 bytes a frame: 135 kbit/s), nor
    // that of a header frame written at 160 kbit/s to hold the header.
    audio = MPEGFrames(kMpeg1L3, 0xA0, 0x00, 522, 1) +
            MPEGFrames(kMpeg1L3, k128k, 0x40, k128kLength, 29);
    mpeg = Read<TMPEGaudio>(audio.replace(36, 16, "Info"s + BE32(15) + BE32(29) + BE32(12510)));
    EXPECT_EQ(std::tuple(mpeg.VBR().ID, mpeg.ChannelMode(), int{mpeg.BitRate()}),
              std::tuple("Info", "Joint Stereo", 128));
    EXPECT_DOUBLE_EQ(mpeg.Duration(), 1152.0 * 29 / 44100);
    // A mono MPEG 1 frame puts the Xing offset at 21, so a VBRI header at 36 is not seen.
    audio = MPEGFrames(kMpeg1L3, k128k, 0xC0, k128kLength, 30);
    EXPECT_FALSE(Read<TMPEGaudio>(audio.replace(36, vbri.size(), vbri)).VBR().Found);
}

TEST(MPEGAudio, ACutCopyLastsAsLongAsTheBytesItHolds) {
    // An Info header frame counting the 100 frames after it: 101 * 417 bytes, 2.61 s.
    const double whole = 1152.0 * 100 / 44100;
    std::string audio = Stream(101, "Info"s + BE32(15) + BE32(100) + BE32(101 * 417));
    EXPECT_DOUBLE_EQ(Read<TMPEGaudio>(audio).Duration(), whole);
    // A twentieth missing is within what tags and trailing bytes may account for...
    EXPECT_DOUBLE_EQ(Read<TMPEGaudio>(audio.substr(0, 96 * 417)).Duration(), whole);
    // ... a third missing is not: the length is the bytes' share of the whole.
    TMPEGaudio mpeg = Read<TMPEGaudio>(audio.substr(0, 60 * 417));
    EXPECT_TRUE(mpeg.Valid());
    EXPECT_DOUBLE_EQ(mpeg.Duration(), whole * 60 / 101);
    // The first thousand bytes hold less than 0.1 s.
    mpeg = Read<TMPEGaudio>(audio.substr(0, 1000));
    EXPECT_EQ(std::tuple(mpeg.Frame().Found, mpeg.Valid()), std::tuple(true, false));
    EXPECT_DOUBLE_EQ(mpeg.Duration(), whole * 1000 / (101 * 417));
    // Without a byte count, frames that cannot fit even at the lowest rate (32 kbit/s: 104
    // bytes each) tell the cut, and the first frame's rate the length.
    audio = Stream(30, "Xing"s + BE32(1) + BE32(1000));
    EXPECT_DOUBLE_EQ(Read<TMPEGaudio>(audio).Duration(), audio.size() * 8 / 128000.0);
    audio = Stream(30, "Xing"s + BE32(1) + BE32(120));
    EXPECT_DOUBLE_EQ(Read<TMPEGaudio>(audio).Duration(), 1152.0 * 120 / 44100);

    // Real files cut short: a variable-rate one with a Xing header (3744 bytes, 2.16 s), and a
    // constant-rate one with an Info header after a 1985-byte ID3v2 tag (33024 bytes, 2.04 s).
    const std::string vbr =
        test::ReadFileBytes(test::TestDataPath("audio/mpeg/mpeg25_mono_vbr.mp3"));
    mpeg = Read<TMPEGaudio>(vbr.substr(0, 1000));
    EXPECT_EQ(std::tuple(mpeg.VBR().ID, mpeg.Valid()), std::tuple("Xing", true));
    EXPECT_NEAR(mpeg.Duration(), 2.16 * 1000 / 3744, 1e-9);
    const std::string cbr =
        test::ReadFileBytes(test::TestDataPath("audio/mpeg/lame_cbr128_mono48.mp3"));
    mpeg = Read<TMPEGaudio>(cbr.substr(0, 1985 + 1000));
    EXPECT_EQ(std::tuple(mpeg.VBR().ID, mpeg.Valid()), std::tuple("Info", false));
    EXPECT_NEAR(mpeg.Duration(), 2.04 * 1000 / 33024, 1e-9);
}

TEST(MPEGAudio, ImplausibleOrMissingStreamsAreNotValidAndLeaveNothing) {
    // Shorter than 0.1 s.
    TMPEGaudio mpeg = Read<TMPEGaudio>(Stream(3));
    EXPECT_TRUE(mpeg.Frame().Found);
    EXPECT_FALSE(mpeg.Valid());
    // A Xing header whose average rate is far above 448 kbit/s (the first one is 65664 kbit/s,
    // which cut to 16 bits would pass as 128), or below zero.
    for (std::uint32_t bytes : {21441306u, 0xFFFFFFFFu, 0u}) {
        mpeg = Read<TMPEGaudio>(Stream(30, "Xing"s + BE32(15) + BE32(100) + BE32(bytes)));
        EXPECT_TRUE(mpeg.VBR().Found);
        EXPECT_FALSE(mpeg.Valid()) << bytes;
    }
    mpeg = Read<TMPEGaudio>(std::string(20000, '\0'));
    EXPECT_EQ(std::tuple(mpeg.Frame().Found, int{mpeg.BitRate()}, mpeg.Duration()),
              std::tuple(false, 0, 0.0));
    mpeg = Read<TMPEGaudio>(ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\0T"s)) + std::string(5000, '\0') +
                            ID3v1Block({"Title"}));
    EXPECT_EQ(std::tuple(mpeg.Valid(), mpeg.ID3v1().Exists(), mpeg.ID3v2().Exists()),
              std::tuple(false, false, false));

    mpeg = Read<TMPEGaudio>(Stream(20));
    EXPECT_FALSE(mpeg.ReadFromFile("/nonexistent/file.mp3"));
    EXPECT_FALSE(mpeg.Frame().Found);
    // Shorter than an ID3v1 block.
    EXPECT_FALSE(ReadBytes(mpeg, "ID3\3\0\0\0\0\0\0"s + MPEGFrames(kMpeg1L3, 0x10, 0, 104, 1)));
    EXPECT_FALSE(mpeg.ID3v2().Exists());
}

}  // namespace
}  // namespace rv
