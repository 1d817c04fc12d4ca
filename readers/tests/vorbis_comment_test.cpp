// FLAC and Ogg Vorbis files, the two carriers of Vorbis comments.

#include <gtest/gtest.h>

#include <tuple>

#include "platform/text/utf16.h"
#include "readers/flac.h"
#include "readers/ogg_vorbis.h"
#include "readers/tests/test_bytes.h"

namespace rv {
namespace {

using namespace test;
using namespace std::string_literals;

constexpr unsigned char kVorbisComment = 4;

// A file of the test data with `padding` bytes appended, which can put an Ogg file's last page
// beyond the search at the end. Their fields are checked against the tools in manifest_test.cpp.
template <typename Reader>
Reader Data(const std::string& file, std::size_t padding = 0) {
    return Read<Reader>(ReadFileBytes(TestDataPath("audio/" + file)) + std::string(padding, '\0'));
}

TVorbisComment Comment(const std::string& body) {
    return Read<TFLACfile>(FLACHead(2, 44100, 16, 44100, false) +
                           FLACBlock(kVorbisComment, body, true))
        .VorbisComment();
}

// The files' raw fields are checked against metaflac in manifest_test.cpp; here, the lookup.
TEST(FLAC, FieldsAreFoundWhateverTheCaseOfTheirNamesAndYearFallsBackToDate) {
    const TVorbisComment comment = Data<TFLACfile>("flac/mono24_blocks.flac").VorbisComment();
    EXPECT_EQ(std::tuple(comment.GetValue("Title"), comment.GetValue("ARTIST"),
                         comment.GetValue("TrackNumber"), comment.GetValue("Composer")),
              std::tuple("Straße", "Ærøskøbing", "2/9", ""));
    EXPECT_EQ(std::tuple(Utf16ToUtf8(comment.FieldName(0)), Utf16ToUtf8(comment.FieldValue(2)),
                         comment.Year()),
              std::tuple("TITLE", "Ωμέγα", "1984"));
    EXPECT_EQ(Data<TFLACfile>("flac/stereo16_date.flac").VorbisComment().Year(),
              "2019");  // 2019-05-01
    EXPECT_EQ(Comment(VorbisCommentBody("ten bytes!", {"DATE=May 2019"})).Year(), "");
    // Names are upper-cased with the Unicode tables, values decoded from UTF-8 unless told not.
    TVorbisComment latin =
        Comment(VorbisCommentBody("0123456789", {"straße=Full", "Name=Caf\xC3\xA9", "empty="}));
    EXPECT_EQ(std::tuple(latin.GetValue("STRASSE"), latin.GetValue("name")),
              std::tuple("Full", "Café"));
    latin.SetUTF8Values(false);
    EXPECT_EQ(latin.GetValue("name"), "CafÃ©");
    latin.SetCaseMapNames(false);
    EXPECT_EQ(latin.GetValue("STRASSE"), "");
}

TEST(FLAC, StreamInfoKeepsAll36SampleCountBitsAndBlocksAreSkippedByLength) {
    // A padding block (type 1) holding a comment's bytes, and a seek table (type 3).
    const std::string fake = VorbisCommentBody("0123456789", {"TITLE=Inside padding"});
    const TFLACfile flac = Read<TFLACfile>(
        FLACHead(2, 44100, 16, 44100, false) + FLACBlock(1, fake, false) +
        FLACBlock(3, std::string(36, '\xFF'), false) +
        FLACBlock(kVorbisComment, VorbisCommentBody("0123456789", {"TITLE=Real"}), true));
    EXPECT_EQ(flac.VorbisComment().GetValue("title"), "Real");
    // STREAMINFO flagged as the last block: nothing after it is looked at.
    const std::string comment = FLACBlock(kVorbisComment, fake, true);
    for (const bool last : {true, false})
        EXPECT_EQ(
            Read<TFLACfile>(FLACHead(2, 44100, 16, 44100, last) + comment).VorbisComment().Count(),
            last ? 0u : 1u);
    // What is no FLAC file fills nothing, though a comment block follows.
    TFLACfile riff;
    EXPECT_FALSE(ReadBytes(riff, "RIFF" + std::string(38, '\0') + comment));
    EXPECT_EQ(std::tuple(riff.Valid(), riff.VorbisComment().Count()), std::tuple(false, 0u));
    // STREAMINFO keeps all 36 bits of the sample count.
    const TFLACfile wide = Read<TFLACfile>(FLACHead(6, 655350, 32, 0xF00000001ull, true));
    EXPECT_EQ(std::tuple(wide.Samples(), wide.Channels(), wide.SampleRate(), wide.Bits()),
              std::tuple(0xF00000001ull, 6u, 655350u, 32u));
    // No samples: not valid, no duration.
    EXPECT_FALSE(Read<TFLACfile>(FLACHead(2, 44100, 16, 0, true)).Valid());
}

TEST(VorbisComment, ForgedCountsAndLengthsEndTheComments) {
    for (const auto& [length, valid] :
         {std::pair{9u, false}, {10u, true}, {50u, true}, {51u, false}})
        EXPECT_EQ(Comment(VorbisCommentBody(std::string(length, 'v'), {})).Valid(), valid);
    // Four billion fields announced in a block of a few bytes: nothing is reserved for them.
    std::string body = VorbisCommentBody("0123456789", {"TITLE=Kept"});
    body.replace(14, 4, LE32(0xFFFFFFFF));
    EXPECT_EQ(Comment(body).GetValue("TITLE"), "Kept");
    // A field as long as the whole address space, and a vendor likewise.
    EXPECT_EQ(Comment(body + LE32(0xFFFFFFF0) + "ARTIST=x").Count(), 1u);
    body.replace(0, 4, LE32(0xFFFFFFFF));
    EXPECT_EQ(Comment(body).Count(), 0u);
    EXPECT_FALSE(Comment(body).Valid());
    // A field count of four billion, then a field length far past the end of the file.
    std::string oggBody = VorbisCommentBody("vendor", {"TITLE=Kept"});
    oggBody.replace(4 + 6, 4, LE32(0xFFFFFFFF));
    oggBody += LE32(0x7FFFFFFF) + "ARTIST=lost";
    const TOggVorbis ogg = Read<TOggVorbis>(OggVorbisFile(1, 8000, 16000, oggBody, 8000));
    EXPECT_EQ(std::tuple(ogg.Title(), ogg.Artist(), ogg.Valid()), std::tuple("Kept", "", true));
    // What is no Ogg Vorbis stream is refused; an ID3v2 tag whose size runs past the end is no
    // tag, so such a file is read from its start.
    TOggVorbis other;
    EXPECT_FALSE(ReadBytes(other, "OggS" + std::string(100, '\0')));
    EXPECT_FALSE(ReadBytes(other, ID3v2Tag(3, "", 5000).substr(0, 10) + "OggS"));
    EXPECT_FALSE(other.Valid());
}

TEST(OggVorbis, FieldsFollowTheCommentRulesAndTheDurationFallsBackToTheNominalRate) {
    // 13 000 bytes after the last page: no "OggS" in the last 12 060 bytes.
    for (const char* file : {"ogg/mono_performer.ogg", "ogg/stereo_tags.ogg"}) {
        SCOPED_TRACE(file);
        const TOggVorbis ogg = Data<TOggVorbis>(file, 13000);
        EXPECT_EQ(ogg.Samples(), 0);
        EXPECT_TRUE(ogg.Valid());
    }
    // Then the file is taken at the nominal rate, mono and stereo alike: 32 000 bytes at
    // 128 kbit/s, 16 000 bytes a second, last 2 s.
    for (const unsigned char channels : {1, 2}) {
        std::string bytes = OggVorbisFile(channels, 44100, 128000, VorbisCommentBody("v", {}), 0);
        bytes.resize(32000, '\0');
        EXPECT_DOUBLE_EQ(Read<TOggVorbis>(bytes).Duration(), 2.0);
    }
    // The last page is looked for backwards from 10 bytes before the end, over 12 060 bytes;
    // a page header cut by the end of the file still gives the low half of its granule.
    const std::string stream = OggVorbisFile(2, 44100, 128000, VorbisCommentBody("v", {}), 441000);
    for (const char filler : {'O', 'x'}) {
        auto samplesWithPageAt = [&](std::size_t fromEnd) {
            std::string tail = std::string(12200, filler) + "OggS\0\0"s + LE64(88200);
            tail.resize(12200 + fromEnd, filler);
            return Read<TOggVorbis>(stream + tail).Samples();
        };
        EXPECT_EQ(
            std::tuple(samplesWithPageAt(10), samplesWithPageAt(12060), samplesWithPageAt(20)),
            std::tuple(88200, 88200, 88200));
        EXPECT_EQ(std::tuple(samplesWithPageAt(9), samplesWithPageAt(12061)), std::tuple(0, 0));
    }
    // The last page begins 2 596 bytes before the end: 9 000 more keep it inside the search.
    EXPECT_EQ(Data<TOggVorbis>("ogg/mono_performer.ogg", 9000).Samples(), 44100);
    std::string greek;
    for (int i = 0; i < 300; ++i) greek += "\xCE\xBB";
    const TOggVorbis ogg = Read<TOggVorbis>(OggVorbisFile(
        2, 44100, 128000,
        VorbisCommentBody("  Vendor One ",
                          {"no equals sign", "artist=First", "Artist=Second", "TITLE=" + greek,
                           "performer=Ignored", "GENRE=  Jazz  ", "description=Used", "x=y"}),
        441000));
    EXPECT_EQ(ogg.Vendor(), "Vendor One");  // a later text without "=" does not replace it
    // A field keeps its first 255 characters.
    EXPECT_EQ(std::tuple(ogg.Artist(), ogg.Title(), ogg.Genre(), ogg.Comment()),
              std::tuple("Second", greek.substr(0, 510), "Jazz", "Used"));
    EXPECT_DOUBLE_EQ(ogg.Duration(), 10.0);
    // The track is the number before the slash.
    EXPECT_EQ(Data<TOggVorbis>("ogg/stereo_tags.ogg").Track(), 7);     // 7/12
    EXPECT_EQ(Data<TOggVorbis>("ogg/mono_performer.ogg").Track(), 0);  // A1
}

}  // namespace
}  // namespace rv
