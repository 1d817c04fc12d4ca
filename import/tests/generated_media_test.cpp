// Tracks of files made by Debian's encoders and taggers (make_test_media.sh).

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

#include "import/file_import.h"
#include "import/tests/test_media.h"

namespace rv {
namespace {

using test::MediaPath;

// One set of readers for every file, as the program keeps them.
FormatReaders& Readers() {
    static FormatReaders readers;
    return readers;
}

// The track of a made file, which must give one.
TTrack Track(std::string_view file) {
    return BuildTrack(MediaPath(file), Readers()).value();
}

auto Tags(const TTrack& t) {
    return std::tuple(int{t.ID}, t.Title, t.Artist, t.Album, t.Genre, int{t.Release});
}

auto Stream(const TTrack& t) {
    return std::tuple(t.Format, t.ChannelMode, int{t.MediaType});
}

TEST(GeneratedMedia, MPEGAudioTagsByPrecedence) {
    RV_REQUIRE_MEDIA("mpeg");
    EXPECT_EQ(Tags(Track("mpeg/id3v2_only.mp3")),
              std::tuple(1, "Blue Train", "John Coltrane", "Blue Train", "Jazz", 1957));
    // ID3v1 sets its title, year and track; ID3v2 fills the artist, album and genre it lacks.
    EXPECT_EQ(Tags(Track("mpeg/v1_over_v2.mp3")),
              std::tuple(5, "V1 Title", "V2 Artist", "V2 Album", "Rock", 1960));
    // An ID3v1 tag without a title lets the ID3v2 title through.
    EXPECT_EQ(Tags(Track("mpeg/empty_v1_title.mp3")),
              std::tuple(0, "V2 Title", "V1 Artist", "<unknown>", "", 0));
    // An ID3v1 year of "19x9" is 0, which the APE year fills; ID3v2 comes before APE.
    EXPECT_EQ(Tags(Track("mpeg/v1_year_ape.mp3")),
              std::tuple(7, "V2 Title", "V1 Artist", "APE Album", "Jazz", 1999));
}

TEST(GeneratedMedia, MPEGAudioWithoutTagsIsNamedAfterItsFile) {
    RV_REQUIRE_MEDIA("mpeg");
    const TTrack track = Track("mpeg/plain.mp3");
    EXPECT_EQ(Tags(track), std::tuple(0, "plain", "<unknown>", "<unknown>", "", 0));
    EXPECT_EQ(Stream(track), std::tuple("MPEG 1 Layer III", "Joint Stereo", 1));
    EXPECT_NEAR(track.Bitrate, 128, 4);  // encoded at 128 kbit/s
    EXPECT_NEAR(track.Duration, 1.0, 0.1);
}

TEST(GeneratedMedia, OggVorbisTakesItsCommentFields) {
    RV_REQUIRE_MEDIA("ogg");
    const TTrack track = Track("ogg/tags.ogg");
    EXPECT_EQ(Tags(track),
              std::tuple(7, "Café del Mar", "Sigur Rós", "Ágætis byrjun", "Post-rock", 1999));
    EXPECT_EQ(Stream(track), std::tuple("Ogg Vorbis", "Stereo", 1));
    EXPECT_GT(track.Bitrate, 0);
    EXPECT_NEAR(track.Duration, 1.0, 0.1);
}

TEST(GeneratedMedia, FLACTakesTheVorbisCommentThenID3v1ThenID3v2) {
    RV_REQUIRE_MEDIA("flac");
    // ARTIST in capitals and title in small letters are found; ID3v1's album wins over
    // ID3v2's; the genre only ID3v2 has.
    const TTrack track = Track("flac/comment.flac");
    EXPECT_EQ(Tags(track), std::tuple(4, "Straße", "Sigur Rós", "V1 Album", "Jazz", 1984));
    EXPECT_EQ(Stream(track), std::tuple("FLAC (16 bit)", "Stereo", 1));
    // Below the 1411 kbit/s of the raw samples.
    EXPECT_GT(track.Bitrate, 30);
    EXPECT_LT(track.Bitrate, 1411);
    EXPECT_EQ(Tags(Track("flac/id3v1_only.flac")),
              std::tuple(5, "Only ID3v1", "Tag Artist", "Tag Album", "", 1977));
    EXPECT_EQ(Stream(Track("flac/id3v1_only.flac")), std::tuple("FLAC (16 bit)", "Mono", 1));
}

TEST(GeneratedMedia, AACNamesVersionAndProfileAndTakesItsRateFromTheFileSize) {
    RV_REQUIRE_MEDIA("aac");
    const TTrack track = Track("aac/lc_tags.aac");
    EXPECT_EQ(Tags(track), std::tuple(0, "V1 Title", "V2 Artist", "APE Album", "", 0));
    EXPECT_EQ(Stream(track), std::tuple("MPEG-4 Version 2 AAC LC", "Stereo", 1));
    EXPECT_NEAR(track.Bitrate, 96, 24);  // encoded at 96 kbit/s; the reader gives bit/s
    EXPECT_EQ(Stream(Track("aac/main_mono.aac")),
              std::tuple("MPEG-2 Version 1 AAC Main", "Mono", 1));
}

TEST(GeneratedMedia, WMATakesItsHeaderTexts) {
    RV_REQUIRE_MEDIA("wma");
    const TTrack track = Track("wma/tags.wma");
    EXPECT_EQ(Tags(track),
              std::tuple(4, "Nocturne für Klavier", "Léa Dvořák", "Nachtstücke", "Klassik", 2011));
    EXPECT_EQ(Stream(track), std::tuple("Windows Media Audio", "Stereo", 1));
    EXPECT_NEAR(track.Bitrate, 64, 2);
    EXPECT_NEAR(track.Duration, 2.0, 0.1);
}

TEST(GeneratedMedia, MusepackOfTheEncodersStreamVersion8IsSkippedTagsAndAll) {
    RV_REQUIRE_MEDIA("musepack");
    EXPECT_FALSE(BuildTrack(MediaPath("musepack/sv8.mpc"), Readers()));
    EXPECT_FALSE(Readers().MPEGplus.Valid());
}

TEST(GeneratedMedia, WavPackReadsPlainWaveAndSkipsTheCurrentBlockFormat) {
    RV_REQUIRE_MEDIA("wav");
    const TTrack track = Track("wav/pcm_tags.wv");
    EXPECT_EQ(Tags(track), std::tuple(0, "Kiesel", "Bach am Hang", "Steine", "Folk", 0));
    EXPECT_EQ(Stream(track), std::tuple("Packed WAVE 0 (16 bit)", "Mono", 1));
    EXPECT_EQ(track.Bitrate, 128);  // 8000 16-bit samples a second
    RV_REQUIRE_MEDIA("wavpack");
    EXPECT_FALSE(BuildTrack(MediaPath("wavpack/current.wv"), Readers()));
}

}  // namespace
}  // namespace rv
