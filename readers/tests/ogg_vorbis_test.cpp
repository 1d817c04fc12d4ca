#include "readers/ogg_vorbis.h"

#include <gtest/gtest.h>

#include "readers/tests/read_bytes.h"
#include "readers/tests/tag_bytes.h"
#include "readers/tests/vorbis_bytes.h"

namespace rv {
namespace {

using test::OggVorbisFile;
using test::VorbisCommentBody;

// A file of the test data with `padding` bytes appended, which can put its last page beyond
// the search at the end.
TOggVorbis Data(const std::string& file, std::size_t padding = 0) {
    return test::Read<TOggVorbis>(test::ReadFileBytes(test::TestDataPath("audio/ogg/" + file)) +
                                  std::string(padding, '\0'));
}

TEST(OggVorbis, TrackIsTheNumberBeforeTheSlash) {
    EXPECT_EQ(Data("stereo_tags.ogg").Track(), 7);     // 7/12
    EXPECT_EQ(Data("mono_performer.ogg").Track(), 0);  // A1
}

TEST(OggVorbis, ACommentHeaderSpreadOverPagesIsReadWhole) {
    // Cover art fills the comment header's first pages; the later fields lie pages further on.
    const TOggVorbis ogg = Data("picture_multipage.ogg");
    EXPECT_EQ(ogg.Title(), "Before the picture");
    EXPECT_EQ(ogg.Artist(), "After the picture");
    EXPECT_EQ(ogg.Album(), "Second Page");
    EXPECT_EQ(ogg.Comment(), "Last field");
}

TEST(OggVorbis, WithoutASampleCountTheDurationComesFromTheNominalRate) {
    // 13 000 bytes after the last page: no "OggS" in the last 12 060 bytes.
    for (const char* file : {"mono_performer.ogg", "stereo_tags.ogg"}) {
        SCOPED_TRACE(file);
        const TOggVorbis ogg = Data(file, 13000);
        EXPECT_EQ(ogg.Samples(), 0);
        // Bytes over the nominal rate, the same for mono and stereo.
        EXPECT_DOUBLE_EQ(ogg.Duration(),
                         static_cast<double>(ogg.FileLength()) / ogg.BitRateNominal() / 125);
        EXPECT_TRUE(ogg.Valid());
    }
    // The last page begins 2 596 bytes before the end: 9 000 more keep it inside the search.
    EXPECT_EQ(Data("mono_performer.ogg", 9000).Samples(), 44100);
}

TEST(OggVorbis, FieldsFollowTheCommentRules) {
    const TOggVorbis ogg = test::Read<TOggVorbis>(OggVorbisFile(
        2, 44100, 128000,
        VorbisCommentBody("  Vendor One ", {"no equals sign", "artist=First", "Artist=Second",
                                            "TITLE=" + std::string(300, 'x'), "performer=Ignored",
                                            "GENRE=  Jazz  ", "description=Used", "x=y"}),
        441000));
    EXPECT_EQ(ogg.Vendor(), "Vendor One");  // a later text without "=" does not replace it
    EXPECT_EQ(ogg.Artist(), "Second");
    EXPECT_EQ(ogg.Title(), std::string(244, 'x'));  // a field keeps its first 250 bytes
    EXPECT_EQ(ogg.Genre(), "Jazz");
    EXPECT_EQ(ogg.Comment(), "Used");
    EXPECT_DOUBLE_EQ(ogg.Duration(), 10.0);
}

TEST(OggVorbis, ForgedCountsAndLengthsEndTheCommentsQuietly) {
    // A field count of four billion, then a field length far past the end of the file.
    std::string body = VorbisCommentBody("vendor", {"TITLE=Kept"});
    body.replace(4 + 6, 4, test::LE32(0xFFFFFFFF));
    body += test::LE32(0x7FFFFFFF) + "ARTIST=lost";
    const TOggVorbis ogg = test::Read<TOggVorbis>(OggVorbisFile(1, 8000, 16000, body, 8000));
    EXPECT_EQ(ogg.Title(), "Kept");
    EXPECT_EQ(ogg.Artist(), "");
    EXPECT_TRUE(ogg.Valid());
}

TEST(OggVorbis, WhatIsNoOggVorbisStreamIsRefused) {
    TOggVorbis ogg;
    EXPECT_FALSE(test::ReadBytes(ogg, "OggS" + std::string(100, '\0')));
    // An ID3v2 tag whose size runs past the end is no tag: the file is read from its start.
    EXPECT_FALSE(test::ReadBytes(ogg, test::ID3v2Tag(3, "", 5000).substr(0, 10) + "OggS"));
    EXPECT_FALSE(ogg.Valid());
}

}  // namespace
}  // namespace rv
