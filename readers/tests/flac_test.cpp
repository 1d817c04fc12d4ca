#include "readers/flac.h"

#include <gtest/gtest.h>

#include "platform/text/utf16.h"
#include "readers/tests/read_bytes.h"
#include "readers/tests/tag_bytes.h"
#include "readers/tests/vorbis_bytes.h"

namespace rv {
namespace {

using test::FLACBlock;
using test::FLACHead;
using test::VorbisCommentBody;

constexpr unsigned char kPadding = 1;
constexpr unsigned char kSeekTable = 3;
constexpr unsigned char kVorbisComment = 4;

TFLACfile Data(const std::string& file) {
    return test::Read<TFLACfile>(test::ReadFileBytes(test::TestDataPath("audio/flac/" + file)));
}

TVorbisComment Comment(const std::string& body) {
    return test::Read<TFLACfile>(FLACHead(2, 44100, 16, 44100, false) +
                                 FLACBlock(kVorbisComment, body, true))
        .VorbisComment();
}

TEST(FLAC, FieldsAreFoundWhateverTheCaseOfTheirNames) {
    const TVorbisComment comment = Data("mono24_blocks.flac").VorbisComment();
    EXPECT_EQ(comment.GetValue("Title"), "Straße");
    EXPECT_EQ(comment.GetValue("ARTIST"), "Ærøskøbing");
    EXPECT_EQ(comment.GetValue("TrackNumber"), "2/9");
    EXPECT_EQ(comment.GetValue("Composer"), "");
    EXPECT_EQ(Utf16ToUtf8(comment.FieldName(0)), "TITLE");
    EXPECT_EQ(Utf16ToUtf8(comment.FieldValue(2)), "Ωμέγα");
    // Names are upper-cased with the Unicode tables, values decoded from UTF-8 unless told not.
    TVorbisComment latin =
        Comment(VorbisCommentBody("0123456789", {"straße=Full", "Name=Caf\xC3\xA9", "empty="}));
    EXPECT_EQ(latin.GetValue("STRASSE"), "Full");
    EXPECT_EQ(latin.GetValue("name"), "Café");
    latin.SetUTF8Values(false);
    EXPECT_EQ(latin.GetValue("name"), "CafÃ©");
    latin.SetCaseMapNames(false);
    EXPECT_EQ(latin.GetValue("STRASSE"), "");
}

TEST(FLAC, TheYearComesFromYearElseFromTheDate) {
    EXPECT_EQ(Data("mono24_blocks.flac").VorbisComment().Year(), "1984");
    EXPECT_EQ(Data("stereo16_date.flac").VorbisComment().Year(), "2019");  // 2019-05-01
    EXPECT_EQ(Comment(VorbisCommentBody("ten bytes!", {"DATE=May 2019"})).Year(), "");
}

TEST(FLAC, AnID3v2TagBeforeTheMarkerIsSteppedOver) {
    const TFLACfile flac = Data("id3v2_prefix.flac");
    EXPECT_TRUE(flac.Valid());
    EXPECT_EQ(flac.ID3v2().Artist(), "ID3 Artist");
    EXPECT_EQ(flac.VorbisComment().GetValue("Title"), "Comment Title");
    EXPECT_EQ(flac.VorbisComment().Year(), "2001");
}

TEST(FLAC, StreamInfoKeepsAllThirtySixBitsOfTheSampleCount) {
    const TFLACfile flac = test::Read<TFLACfile>(FLACHead(6, 655350, 32, 0xF00000001ull, true));
    EXPECT_EQ(flac.Samples(), 0xF00000001ull);
    EXPECT_EQ(flac.Channels(), 6u);
    EXPECT_EQ(flac.SampleRate(), 655350u);
    EXPECT_EQ(flac.Bits(), 32u);
    // No samples: not valid, no duration.
    EXPECT_FALSE(test::Read<TFLACfile>(FLACHead(2, 44100, 16, 0, true)).Valid());
}

TEST(FLAC, BlocksBeforeTheCommentAreSkippedByTheirLengths) {
    const std::string fake = VorbisCommentBody("0123456789", {"TITLE=Inside padding"});
    const TFLACfile flac = test::Read<TFLACfile>(
        FLACHead(2, 44100, 16, 44100, false) + FLACBlock(kPadding, fake, false) +
        FLACBlock(kSeekTable, std::string(36, '\xFF'), false) +
        FLACBlock(kVorbisComment, VorbisCommentBody("0123456789", {"TITLE=Real"}), true));
    EXPECT_EQ(flac.VorbisComment().GetValue("title"), "Real");
    // STREAMINFO flagged as the last block: nothing after it is looked at.
    const std::string comment = FLACBlock(kVorbisComment, fake, true);
    for (const bool last : {true, false})
        EXPECT_EQ(test::Read<TFLACfile>(FLACHead(2, 44100, 16, 44100, last) + comment)
                      .VorbisComment()
                      .Count(),
                  last ? 0u : 1u);
}

TEST(FLAC, ForgedCountsAndLengthsAreCheckedAgainstTheBlock) {
    for (const auto& [length, valid] :
         {std::pair{9u, false}, {10u, true}, {50u, true}, {51u, false}})
        EXPECT_EQ(Comment(VorbisCommentBody(std::string(length, 'v'), {})).Valid(), valid);
    // Four billion fields announced in a block of a few bytes: nothing is reserved for them.
    std::string body = VorbisCommentBody("0123456789", {"TITLE=Kept"});
    body.replace(14, 4, test::LE32(0xFFFFFFFF));
    EXPECT_EQ(Comment(body).GetValue("TITLE"), "Kept");
    // A field as long as the whole address space, and a vendor likewise.
    EXPECT_EQ(Comment(body + test::LE32(0xFFFFFFF0) + "ARTIST=x").Count(), 1u);
    body.replace(0, 4, test::LE32(0xFFFFFFFF));
    EXPECT_EQ(Comment(body).Count(), 0u);
    EXPECT_FALSE(Comment(body).Valid());
}

TEST(FLAC, WhatIsNoFLACFileFillsNothing) {
    const std::string comment =
        FLACBlock(kVorbisComment, VorbisCommentBody("0123456789", {"TITLE=x"}), true);
    TFLACfile flac;
    EXPECT_FALSE(test::ReadBytes(flac, "RIFF" + std::string(38, '\0') + comment));
    EXPECT_FALSE(flac.Valid());
    EXPECT_EQ(flac.VorbisComment().Count(), 0u);
}

}  // namespace
}  // namespace rv
