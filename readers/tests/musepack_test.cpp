#include "readers/musepack.h"

#include <gtest/gtest.h>

#include "platform/text/round.h"
#include "readers/tests/read_bytes.h"
#include "readers/tests/stream_bytes.h"
#include "readers/tests/tag_bytes.h"

using namespace std::string_literals;

namespace rv {
namespace {

using test::MusepackOldHeader;
using test::MusepackSV7Header;
using test::ReadBytes;

std::string Audio(std::size_t size) {
    return std::string(size, '\x33');
}

// Sample rates, channel modes and frame counts of every stream version; the test data hold
// files of each version too, checked against independent tools.
TEST(Musepack, StreamVersionsAndTheirHeaderFields) {
    TMPEGplus mpc;
    ASSERT_TRUE(ReadBytes(mpc, MusepackSV7Header(1000, 2, true) + Audio(5000)));
    EXPECT_EQ(mpc.StreamVersion(), 7);
    EXPECT_EQ(mpc.SampleRate(), 37800u);
    EXPECT_EQ(mpc.ChannelMode(), "Joint Stereo");
    EXPECT_DOUBLE_EQ(mpc.Duration(), 1000 * 1152 / 37800.0);
    ASSERT_TRUE(ReadBytes(mpc, MusepackSV7Header(10, 3, false, 1) + Audio(500)));
    EXPECT_EQ(mpc.StreamVersion(), 71);
    EXPECT_EQ(mpc.ChannelMode(), "Stereo");

    for (unsigned version : {4u, 5u, 6u}) {
        SCOPED_TRACE(version);
        ASSERT_TRUE(ReadBytes(mpc, MusepackOldHeader(version, 300, 160, version != 5)));
        EXPECT_EQ(mpc.StreamVersion(), version);
        EXPECT_EQ(mpc.Frames(), 300u);
        EXPECT_EQ(mpc.ChannelModeID(), version != 5 ? 2 : 1);
        EXPECT_EQ(mpc.StoredBitRate(), version == 6 ? 0 : 160);
    }
}

TEST(Musepack, UnknownVersionsAndShortFiles) {
    TMPEGplus mpc;
    // Version bits giving 2, and a stream-version-8 file: read, but not valid.
    std::string header = MusepackOldHeader(5, 100, 128, false);
    header[1] = static_cast<char>(2 << 1);
    for (const std::string& bytes : {header, "MPCKSH"s + std::string(60, '\0')}) {
        ASSERT_TRUE(ReadBytes(mpc, bytes + test::APETag(2000, {{"Title", "x"}})));
        EXPECT_FALSE(mpc.Valid());
        EXPECT_FALSE(mpc.Corrupted());
        EXPECT_EQ(mpc.StreamVersion(), 0);
        EXPECT_EQ(mpc.Duration(), 0);
        EXPECT_FALSE(mpc.APEtag().Exists());  // tags are read only for a known header
    }
    // Fewer than 32 bytes after the ID3v2 tag.
    const std::string id3v2 = test::ID3v2Tag(3, test::ID3v2Frame(3, "TIT2", "\0Song"s));
    EXPECT_FALSE(ReadBytes(mpc, id3v2 + MusepackSV7Header(10, 0, false).substr(0, 31)));
    EXPECT_FALSE(mpc.Valid());
    EXPECT_FALSE(mpc.ReadFromFile("/nonexistent/file.mpc"));
}

TEST(Musepack, BitRateComesFromTheStreamBetweenTheTags) {
    const std::string id3v2 = test::ID3v2Tag(3, test::ID3v2Frame(3, "TIT2", "\0Song"s), 50);
    const std::string ape = test::APETag(2000, {{"Artist", "Band"}}, true);
    const std::string header = MusepackSV7Header(100, 1, false);
    const std::string audio = Audio(20000);
    TMPEGplus mpc;
    ASSERT_TRUE(ReadBytes(mpc, id3v2 + header + audio + ape + test::ID3v1Block({.title = "One"})));
    ASSERT_TRUE(mpc.Valid());
    EXPECT_EQ(mpc.ID3v2().Title(), "Song");
    EXPECT_EQ(mpc.APEtag().Artist(), "Band");
    EXPECT_EQ(mpc.ID3v1().Title(), "One");
    // The APE tag's header is not part of the size its footer gives, so it counts as stream.
    const double streamBytes = header.size() + audio.size() + 32;
    EXPECT_EQ(mpc.BitRate(), Round(streamBytes * 8 * 48 / 100 / 1152));
    EXPECT_FALSE(mpc.Corrupted());

    // A stored rate wins over the stream's size.
    ASSERT_TRUE(ReadBytes(mpc, MusepackOldHeader(5, 100, 200, false) + audio));
    EXPECT_EQ(mpc.BitRate(), 200);
}

TEST(Musepack, CorruptedOutsideThreeTo480Kbps) {
    TMPEGplus mpc;
    for (unsigned rate : {2u, 3u, 480u, 481u}) {
        ASSERT_TRUE(ReadBytes(mpc, MusepackOldHeader(5, 100, rate, false)));
        EXPECT_EQ(mpc.BitRate(), rate);
        EXPECT_EQ(mpc.Corrupted(), rate == 2 || rate == 481) << rate;
    }
    // No frames: no rate to work out.
    ASSERT_TRUE(ReadBytes(mpc, MusepackSV7Header(0, 0, false) + Audio(1000)));
    EXPECT_EQ(mpc.BitRate(), 0);
    EXPECT_TRUE(mpc.Corrupted());
    // One frame in a large file: far beyond any rate, and kept so rather than wrapped round.
    ASSERT_TRUE(ReadBytes(mpc, MusepackSV7Header(1, 0, false) + Audio(300000)));
    EXPECT_EQ(mpc.BitRate(), 0xFFFF);
    EXPECT_TRUE(mpc.Corrupted());
    // An APE tag claiming more bytes than the file holds leaves no stream.
    std::string ape = test::APETag(2000, {{"Title", "x"}});
    ape.replace(ape.size() - 20, 4, test::LE32(0x7FFFFFFF));
    ASSERT_TRUE(ReadBytes(mpc, MusepackSV7Header(100, 0, false) + Audio(1000) + ape));
    EXPECT_EQ(mpc.BitRate(), 0);
    EXPECT_TRUE(mpc.Corrupted());
}

}  // namespace
}  // namespace rv
