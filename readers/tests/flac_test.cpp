#include "readers/flac.h"

#include <gtest/gtest.h>

#include "platform/text/utf16.h"
#include "readers/tests/audio_manifest.h"
#include "readers/tests/tag_bytes.h"
#include "readers/tests/vorbis_bytes.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

using test::FLACBlock;
using test::FLACHead;
using test::VorbisCommentBody;

constexpr unsigned char kPadding = 1;
constexpr unsigned char kSeekTable = 3;
constexpr unsigned char kVorbisComment = 4;

class FLACTest : public ::testing::Test {
protected:
    const TFLACfile& Read(const std::string& bytes, bool expected = true) {
        const std::string path = dir_ / "file.flac";
        test::WriteFileBytes(path, bytes);
        EXPECT_EQ(flac_.ReadFromFile(path), expected);
        return flac_;
    }
    const TFLACfile& ReadReal(const std::string& file) {
        EXPECT_TRUE(flac_.ReadFromFile(manifest_.Path(file)));
        return flac_;
    }
    const TVorbisComment& Comment(const std::string& body) {
        return Read(FLACHead(2, 44100, 16, 44100, false) + FLACBlock(kVorbisComment, body, true))
            .VorbisComment();
    }
    test::TempDir dir_;
    TFLACfile flac_;
    test::AudioManifest manifest_{"flac"};
};

TEST_F(FLACTest, EveryFileAgreesWithTheTools) {
    ASSERT_GE(manifest_.Files().size(), 5u);
    for (const std::string& file : manifest_.Files()) {
        SCOPED_TRACE(file);
        TFLACfile flac;
        ASSERT_TRUE(flac.ReadFromFile(manifest_.Path(file)));
        EXPECT_TRUE(flac.Valid());
        EXPECT_EQ(std::to_string(flac.Channels()), *manifest_.Get(file, "channels", "metaflac"));
        EXPECT_EQ(std::to_string(flac.SampleRate()), *manifest_.Get(file, "sample_rate"));
        EXPECT_EQ(std::to_string(flac.Bits()), *manifest_.Get(file, "bps"));
        EXPECT_EQ(std::to_string(flac.Samples()), *manifest_.Get(file, "total_samples"));
        EXPECT_NEAR(flac.Duration(), std::stod(*manifest_.Get(file, "duration", "mutagen")), 1e-6);
        EXPECT_EQ(flac.FileLength(), test::ReadFileBytes(manifest_.Path(file)).size());

        const TVorbisComment& comment = flac.VorbisComment();
        const auto vendor = manifest_.Get(file, "vendor");
        EXPECT_EQ(comment.Valid(), vendor.has_value());
        EXPECT_EQ(comment.Vendor(), vendor.value_or(""));
        EXPECT_EQ(std::to_string(comment.Count()),
                  manifest_.Get(file, "field_count").value_or("0"));
        for (std::uint32_t i = 0; i < comment.Count(); ++i) {
            EXPECT_EQ(comment.Fields()[i], *manifest_.Get(file, "field." + std::to_string(i)));
            EXPECT_EQ(comment.Lengths()[i], comment.Fields()[i].size());
        }

        EXPECT_EQ(flac.ID3v2().Title(), manifest_.Get(file, "id3v2.title").value_or(""));
        EXPECT_EQ(flac.ID3v1().Title(), manifest_.Get(file, "id3v1.title").value_or(""));
    }
}

TEST_F(FLACTest, FieldsAreFoundWhateverTheCaseOfTheirNames) {
    const TVorbisComment& comment = ReadReal("mono24_blocks.flac").VorbisComment();
    EXPECT_EQ(comment.GetValue("Title"), "Straße");
    EXPECT_EQ(comment.GetValue("ARTIST"), "Ærøskøbing");
    EXPECT_EQ(comment.GetValue("album"), "Ωμέγα");
    EXPECT_EQ(comment.GetValue("TrackNumber"), "2/9");
    EXPECT_EQ(comment.GetValue("Genre"), "Folk");
    EXPECT_EQ(comment.GetValue("Composer"), "");
    EXPECT_EQ(Utf16ToUtf8(comment.FieldName(0)), "TITLE");
    EXPECT_EQ(Utf16ToUtf8(comment.FieldValue(2)), "Ωμέγα");
}

TEST_F(FLACTest, TheYearComesFromYearElseFromTheDate) {
    EXPECT_EQ(ReadReal("mono24_blocks.flac").VorbisComment().Year(), "1984");
    EXPECT_EQ(ReadReal("stereo16_date.flac").VorbisComment().Year(), "2019");  // 2019-05-01
    EXPECT_EQ(Comment(VorbisCommentBody("ten bytes!", {"DATE=May 2019"})).Year(), "");
}

TEST_F(FLACTest, AnID3v2TagBeforeTheMarkerIsSteppedOver) {
    const TFLACfile& flac = ReadReal("id3v2_prefix.flac");
    EXPECT_TRUE(flac.Valid());
    EXPECT_EQ(flac.ID3v2().Artist(), "ID3 Artist");
    EXPECT_EQ(flac.VorbisComment().GetValue("Title"), "Comment Title");
    EXPECT_EQ(flac.VorbisComment().Year(), "2001");
}

TEST_F(FLACTest, StreamInfoKeepsAllThirtySixBitsOfTheSampleCount) {
    const TFLACfile& flac = Read(FLACHead(6, 655350, 32, 0xF00000001ull, true));
    EXPECT_EQ(flac.Samples(), 0xF00000001ull);
    EXPECT_EQ(flac.Channels(), 6u);
    EXPECT_EQ(flac.SampleRate(), 655350u);
    EXPECT_EQ(flac.Bits(), 32u);
    EXPECT_DOUBLE_EQ(flac.Duration(), 0xF00000001ull / 655350.0);
    // No samples: not valid, no duration.
    EXPECT_FALSE(Read(FLACHead(2, 44100, 16, 0, true)).Valid());
    EXPECT_EQ(flac_.Duration(), 0);
}

TEST_F(FLACTest, BlocksBeforeTheCommentAreSkippedByTheirLengths) {
    const std::string fakeComment = VorbisCommentBody("0123456789", {"TITLE=Inside padding"});
    const TFLACfile& flac =
        Read(FLACHead(2, 44100, 16, 44100, false) + FLACBlock(kPadding, fakeComment, false) +
             FLACBlock(kSeekTable, std::string(36, '\xFF'), false) +
             FLACBlock(kVorbisComment, VorbisCommentBody("0123456789", {"TITLE=Real"}), true));
    EXPECT_EQ(flac.VorbisComment().GetValue("title"), "Real");
    // STREAMINFO flagged as the last block: nothing after it is looked at.
    const std::string comment = FLACBlock(kVorbisComment, fakeComment, true);
    EXPECT_EQ(Read(FLACHead(2, 44100, 16, 44100, true) + comment).VorbisComment().Count(), 0u);
    EXPECT_EQ(Read(FLACHead(2, 44100, 16, 44100, false) + comment).VorbisComment().Count(), 1u);
}

TEST_F(FLACTest, TheVendorLengthDecidesValidity) {
    for (const auto& [length, valid] :
         {std::pair{9u, false}, {10u, true}, {50u, true}, {51u, false}}) {
        EXPECT_EQ(Comment(VorbisCommentBody(std::string(length, 'v'), {})).Valid(), valid)
            << length;
    }
}

TEST_F(FLACTest, ForgedCountsAndLengthsAreCheckedAgainstTheBlock) {
    // Four billion fields announced in a block of a few bytes: nothing is reserved for them.
    std::string body = VorbisCommentBody("0123456789", {"TITLE=Kept"});
    body.replace(14, 4, test::LE32(0xFFFFFFFF));
    EXPECT_EQ(Comment(body).GetValue("TITLE"), "Kept");
    EXPECT_EQ(flac_.VorbisComment().Count(), 1u);
    // A field as long as the whole address space, and a vendor likewise.
    EXPECT_EQ(Comment(body + test::LE32(0xFFFFFFF0) + "ARTIST=x").Count(), 1u);
    std::string vendor = body;
    vendor.replace(0, 4, test::LE32(0xFFFFFFFF));
    EXPECT_EQ(Comment(vendor).Count(), 0u);
    EXPECT_FALSE(flac_.VorbisComment().Valid());
}

TEST_F(FLACTest, NamesAreUpperCasedWithTheUnicodeTablesAndValuesDecodedFromUTF8) {
    const TVorbisComment& comment =
        Comment(VorbisCommentBody("0123456789", {"straße=Full", "Name=Caf\xC3\xA9", "empty="}));
    EXPECT_EQ(comment.GetValue("STRASSE"), "Full");
    EXPECT_EQ(comment.GetValue("name"), "Café");
    TVorbisComment latin = comment;
    latin.SetUTF8Values(false);
    EXPECT_EQ(latin.GetValue("name"), "CafÃ©");
    latin.SetCaseMapNames(false);
    EXPECT_EQ(latin.GetValue("STRASSE"), "");
}

TEST_F(FLACTest, WhatIsNoFLACFileFillsNothing) {
    const std::string comment =
        FLACBlock(kVorbisComment, VorbisCommentBody("0123456789", {"TITLE=x"}), true);
    const TFLACfile& flac = Read("RIFF" + std::string(38, '\0') + comment, false);
    EXPECT_FALSE(flac.Valid());
    EXPECT_EQ(flac.VorbisComment().Count(), 0u);
    EXPECT_FALSE(flac_.ReadFromFile(dir_ / "missing.flac"));
}

}  // namespace
}  // namespace rv
