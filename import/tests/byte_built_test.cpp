// Tracks of the formats no Debian encoder writes, from headers built byte by byte.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include "import/file_import.h"
#include "platform/text/round.h"
#include "readers/tests/stream_header_bytes.h"
#include "readers/tests/test_bytes.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

using namespace std::string_literals;

namespace rv {
namespace {

using namespace test;

class ByteBuilt : public testing::Test {
protected:
    // The track of `bytes` stored under `name`, whose extension picks the builder.
    std::optional<TTrack> Track(const std::string& name, std::string_view bytes) {
        WriteFileBytes(dir_ / name, bytes);
        return BuildTrack(dir_ / name, readers_);
    }
    // The same with a file of `size` bytes: `head` at its start, `tail` at its end.
    std::optional<TTrack> Track(const std::string& name, const std::string& head,
                                const std::string& tail, std::size_t size) {
        return Track(name, head + std::string(size - head.size() - tail.size(), '\x5A') + tail);
    }

    TempDir dir_;
    FormatReaders readers_;
};

auto Tags(const TTrack& t) {
    return std::tuple(int{t.ID}, t.Title, t.Artist, t.Album, t.Genre, int{t.Release});
}
auto Stream(const TTrack& t) {
    return std::tuple(t.Format, t.ChannelMode, int{t.Bitrate}, int{t.MediaType});
}

TEST_F(ByteBuilt, MonkeysAudioTakesItsRateFromTheFileSize) {
    // 3 frames of 73728, 73728 and 1000 samples at 44.1 kHz: 3.37 s, taken as 3 s; 300 KiB.
    const std::string header = MonkeyDescriptorHeader({});
    const std::string tags =
        APETag(
            2000,
            {{"Title", "APE Title"}, {"Artist", "APE Artist"}, {"Year", "2003"}, {"Track", "9"}}) +
        ID3v1Block({.title = "V1 Title", .year = "19x9"});
    const TTrack track = Track("a.ape", header, tags, 300 * 1024).value();
    EXPECT_EQ(Stream(track), std::tuple("Monkey Audio (16 bit)", "Stereo", 819, 1));
    EXPECT_NEAR(track.Duration, 148456 / 44100.0, 1e-9);
    EXPECT_EQ(Tags(track), std::tuple(9, "V1 Title", "APE Artist", "<unknown>", "", 2003));

    const MonkeyFields surround{.channels = 6, .bits = 24};
    EXPECT_EQ(Stream(Track("b.MAC", MonkeyDescriptorHeader(surround), "", 4096).value()),
              std::tuple("Monkey Audio (24 bit)", "", 10, 1));
    EXPECT_FALSE(Track("c.ape", MonkeyDescriptorHeader({.bits = 0}), "", 4096));
}

TEST_F(ByteBuilt, NoRateUnderHalfASecondAndNoneBeyondTheField) {
    // 10000 samples, 0.23 s: rounded to 0 s.
    const MonkeyFields brief{.totalFrames = 1, .finalFrameBlocks = 10000};
    EXPECT_EQ(Track("brief.ape", MonkeyDescriptorHeader(brief), "", 1 << 20).value().Bitrate, 0);
    // One second in 16 MiB: 134217 kbit/s.
    const MonkeyFields second{.totalFrames = 1, .finalFrameBlocks = 44100};
    ASSERT_TRUE(Track("large.ape", MonkeyDescriptorHeader(second)));
    std::filesystem::resize_file(dir_ / "large.ape", 16 << 20);
    EXPECT_EQ(BuildTrack(dir_ / "large.ape", readers_).value().Bitrate, 65535);
}

TEST_F(ByteBuilt, OptimFrogNamesTheBitsOfFloatingPointSamplesToo) {
    // Two channels of 2 s in 100 KiB; sample type 8 holds 32-bit floating point.
    const std::string head = ID3v2Tag(3, ID3v2Frame(3, "TPE1", "\0V2 Artist"s)) +
                             OptimFrogHeader({.length = 4 * 44100, .sampleType = 8});
    const TTrack track =
        Track("a.ofr", head, ID3v1Block({.title = "V1 Title"}), 100 * 1024).value();
    EXPECT_EQ(Stream(track), std::tuple("OptimFROG (32 bit)", "Stereo", 409, 1));
    EXPECT_EQ(Tags(track), std::tuple(0, "V1 Title", "V2 Artist", "<unknown>", "", 0));
    EXPECT_EQ(Track("b.ofr", OptimFrogHeader({.channelMode = 0}), "", 4096).value().Format,
              "OptimFROG (16 bit)");
    EXPECT_FALSE(Track("c.ofr", OptimFrogHeader({.sampleRate = 0}), "", 4096));
}

TEST_F(ByteBuilt, TwinVQTakesTitleAuthorAndAlbumChunksAndSkipsCorruptedHeaders) {
    const TwinVQFields fields{.chunks = {{"NAME", "  Blue Train "},
                                         {"AUTH", "John Coltrane"},
                                         {"ALBM", "Blue Train"},
                                         {"COMT", "1957"}}};
    const TTrack track = Track("a.vqf", TwinVQFile(fields)).value();
    EXPECT_EQ(Stream(track), std::tuple("Twin VQ", "Stereo", 48, 1));
    EXPECT_EQ(Tags(track), std::tuple(0, "Blue Train", "John Coltrane", "Blue Train", "", 0));
    EXPECT_GT(track.Duration, 0);
    EXPECT_FALSE(Track("b.vqf", TwinVQFile({.bitRate = 7})));
    EXPECT_FALSE(Track("c.vqf", "TWIX" + TwinVQFile({}).substr(4)));
}

TEST_F(ByteBuilt, MusepackNamesItsStreamVersionAndSkipsCorruptedOrUnknownStreams) {
    const std::string audio(20000, '\x33');
    const TTrack track = Track("a.mpc", MusepackSV7Header(1000, 0, true) + audio +
                                            APETag(2000, {{"Album", "APE Album"}}) +
                                            ID3v1Block({.title = "V1 Title", .track = 2}))
                             .value();
    EXPECT_EQ(std::tuple(track.Format, track.ChannelMode, track.MediaType),
              std::tuple("MPEG Plus Stream Version 7", "Joint Stereo", 1));
    EXPECT_EQ(track.Bitrate, readers_.MPEGplus.BitRate());
    EXPECT_EQ(Tags(track), std::tuple(2, "V1 Title", "<unknown>", "APE Album", "", 0));
    EXPECT_EQ(Track("b.MP+", MusepackSV7Header(1000, 1, false, 1) + audio).value().Format,
              "MPEG Plus Stream Version 71");
    EXPECT_FALSE(Track("c.mpp", MusepackSV7Header(0, 0, false) + audio));  // no frames
    EXPECT_FALSE(Track("d.mpc", "MPCKSH" + audio));                        // stream version 8
}

TEST_F(ByteBuilt, RiffWrappedWavPackNamesItsBlockVersion) {
    const std::string data = WavPackBlockHeader(1000, 0x403, 0, 88200) + std::string(3000, 'Z');
    const std::string tags = ID3v1Block({.title = "V1 Title"});
    TTrack track =
        Track("a.wv", RiffWave(WaveFormat(2, 44100, 16) + RiffChunk("data", data)) + tags).value();
    EXPECT_EQ(std::tuple(track.Format, track.ChannelMode, track.Title, track.Duration),
              std::tuple("Packed WAVE 1027 (16 bit)", "Stereo", "V1 Title", 2.0));
    EXPECT_EQ(track.Bitrate, Round(readers_.WAVPack.BitRate()));
}

}  // namespace
}  // namespace rv
