#include "readers/ogg_vorbis.h"

#include <gtest/gtest.h>

#include <cmath>

#include "readers/tests/audio_manifest.h"
#include "readers/tests/tag_bytes.h"
#include "readers/tests/vorbis_bytes.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

using test::OggVorbisFile;
using test::VorbisCommentBody;

class OggVorbisTest : public ::testing::Test {
protected:
    const TOggVorbis& Read(const std::string& bytes) {
        const std::string path = dir_ / "file.ogg";
        test::WriteFileBytes(path, bytes);
        EXPECT_TRUE(ogg_.ReadFromFile(path));
        return ogg_;
    }
    // A real file with bytes appended, which puts its last page beyond the search at the end.
    const TOggVorbis& ReadPadded(const std::string& path, std::size_t padding) {
        return Read(test::ReadFileBytes(path) + std::string(padding, '\0'));
    }
    test::TempDir dir_;
    TOggVorbis ogg_;
    test::AudioManifest manifest_{"ogg"};
};

std::string Field(const test::AudioManifest& m, const std::string& file, const std::string& key) {
    return m.Get(file, "tag." + key).value_or("");
}

TEST_F(OggVorbisTest, EveryFileAgreesWithTheTools) {
    ASSERT_GE(manifest_.Files().size(), 5u);
    for (const std::string& file : manifest_.Files()) {
        SCOPED_TRACE(file);
        TOggVorbis ogg;
        ASSERT_TRUE(ogg.ReadFromFile(manifest_.Path(file)));
        const int channels = std::stoi(*manifest_.Get(file, "channels", "ffprobe"));
        EXPECT_EQ(ogg.ChannelModeID(), channels);
        EXPECT_EQ(std::to_string(ogg.SampleRate()), *manifest_.Get(file, "sample_rate", "mutagen"));
        EXPECT_EQ(ogg.BitRateNominal(),
                  std::stoi(*manifest_.Get(file, "nominal_bitrate", "ffprobe")) / 1000);
        EXPECT_EQ(std::to_string(ogg.Samples()), *manifest_.Get(file, "samples", "mutagen"));
        EXPECT_NEAR(ogg.Duration(), std::stod(*manifest_.Get(file, "duration", "ffprobe")), 1e-6);
        EXPECT_EQ(std::to_string(ogg.ID3v2Size()), manifest_.Get(file, "id3v2.size").value_or("0"));
        EXPECT_EQ(ogg.FileLength(), test::ReadFileBytes(manifest_.Path(file)).size());
        const double bytes = static_cast<double>(ogg.FileLength() - ogg.ID3v2Size());
        EXPECT_EQ(ogg.BitRate(), std::lround(bytes / ogg.Duration() / 125));
        EXPECT_EQ(ogg.ChannelMode(), channels == 1 ? "Mono" : channels == 2 ? "Stereo" : "Unknown");
        EXPECT_EQ(ogg.Valid(), channels <= 2);

        EXPECT_EQ(ogg.Vendor(), *manifest_.Get(file, "vendor"));
        EXPECT_EQ(ogg.Title(), Field(manifest_, file, "TITLE"));
        const std::string artist = Field(manifest_, file, "ARTIST");
        EXPECT_EQ(ogg.Artist(), artist.empty() ? Field(manifest_, file, "PERFORMER") : artist);
        EXPECT_EQ(ogg.Album(), Field(manifest_, file, "ALBUM"));
        EXPECT_EQ(ogg.Date(), Field(manifest_, file, "DATE"));
        EXPECT_EQ(ogg.Genre(), Field(manifest_, file, "GENRE"));
        const std::string comment = Field(manifest_, file, "COMMENT");
        EXPECT_EQ(ogg.Comment(), comment.empty() ? Field(manifest_, file, "DESCRIPTION") : comment);
    }
}

TEST_F(OggVorbisTest, TrackIsTheNumberBeforeTheSlash) {
    EXPECT_EQ(Read(test::ReadFileBytes(manifest_.Path("stereo_tags.ogg"))).Track(), 7);     // 7/12
    EXPECT_EQ(Read(test::ReadFileBytes(manifest_.Path("mono_performer.ogg"))).Track(), 0);  // A1
}

TEST_F(OggVorbisTest, ACommentHeaderSpreadOverPagesIsReadWhole) {
    // Cover art fills the comment header's first pages; the later fields lie pages further on.
    const TOggVorbis& ogg = Read(test::ReadFileBytes(manifest_.Path("picture_multipage.ogg")));
    EXPECT_EQ(ogg.Title(), "Before the picture");
    EXPECT_EQ(ogg.Artist(), "After the picture");
    EXPECT_EQ(ogg.Album(), "Second Page");
    EXPECT_EQ(ogg.Track(), 3);
    EXPECT_EQ(ogg.Comment(), "Last field");
}

TEST_F(OggVorbisTest, WithoutASampleCountTheDurationComesFromTheNominalRate) {
    // 13 000 bytes after the last page: no "OggS" in the last 12 060 bytes.
    for (const char* file : {"mono_performer.ogg", "stereo_tags.ogg"}) {
        SCOPED_TRACE(file);
        const TOggVorbis& ogg = ReadPadded(manifest_.Path(file), 13000);
        EXPECT_EQ(ogg.Samples(), 0);
        // Bytes over the nominal rate, the same for mono and stereo.
        EXPECT_DOUBLE_EQ(ogg.Duration(),
                         static_cast<double>(ogg.FileLength()) / ogg.BitRateNominal() / 125);
        EXPECT_TRUE(ogg.Valid());
    }
    // The last page begins 2 596 bytes before the end: 9 000 more keep it inside the search.
    EXPECT_EQ(ReadPadded(manifest_.Path("mono_performer.ogg"), 9000).Samples(), 44100);
}

TEST_F(OggVorbisTest, FieldsFollowTheCommentRules) {
    const std::string longTitle = "TITLE=" + std::string(300, 'x');
    const TOggVorbis& ogg = Read(OggVorbisFile(
        2, 44100, 128000,
        VorbisCommentBody("  Vendor One ", {"no equals sign", "artist=First", "Artist=Second",
                                            longTitle, "performer=Ignored", "GENRE=  Jazz  ",
                                            "description=Used", "Date=1970", "x=y"}),
        441000));
    EXPECT_EQ(ogg.Vendor(), "Vendor One");  // a later text without "=" does not replace it
    EXPECT_EQ(ogg.Artist(), "Second");
    EXPECT_EQ(ogg.Title(), std::string(244, 'x'));  // a field keeps its first 250 bytes
    EXPECT_EQ(ogg.Genre(), "Jazz");
    EXPECT_EQ(ogg.Comment(), "Used");
    EXPECT_EQ(ogg.Date(), "1970");
    EXPECT_DOUBLE_EQ(ogg.Duration(), 10.0);
    EXPECT_TRUE(ogg.Valid());
}

TEST_F(OggVorbisTest, ForgedCountsAndLengthsEndTheCommentsQuietly) {
    // A field count of four billion, then a field length far past the end of the file.
    std::string body = VorbisCommentBody("vendor", {"TITLE=Kept"});
    body.replace(4 + 6, 4, test::LE32(0xFFFFFFFF));
    body += test::LE32(0x7FFFFFFF) + "ARTIST=lost";
    const TOggVorbis& ogg = Read(OggVorbisFile(1, 8000, 16000, body, 8000));
    EXPECT_EQ(ogg.Title(), "Kept");
    EXPECT_EQ(ogg.Artist(), "");
    EXPECT_TRUE(ogg.Valid());
}

TEST_F(OggVorbisTest, WhatIsNoOggVorbisStreamIsRefused) {
    const std::string path = dir_ / "file.ogg";
    test::WriteFileBytes(path, "OggS" + std::string(100, '\0'));
    EXPECT_FALSE(ogg_.ReadFromFile(path));
    // An ID3v2 tag whose size runs past the end is no tag: the file is read from its start.
    test::WriteFileBytes(path, test::ID3v2Tag(3, "", 5000).substr(0, 10) + "OggS");
    EXPECT_FALSE(ogg_.ReadFromFile(path));
    EXPECT_FALSE(ogg_.ReadFromFile(dir_ / "missing.ogg"));
    EXPECT_FALSE(ogg_.Valid());
    EXPECT_EQ(ogg_.FileLength(), 0u);
}

}  // namespace
}  // namespace rv
