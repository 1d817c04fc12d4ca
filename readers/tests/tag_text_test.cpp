#include "readers/tag_text.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace rv {
namespace {

TEST(TagText, LatinIsWindows1252UpToItsTerminator) {
    EXPECT_EQ(DecodeTagText("Caf\xE9 \x80 5\0garbage"s, TagEncoding::Latin), "Café € 5");
    // Bytes windows-1252 leaves undefined decode to C1 controls, which never reach a field.
    EXPECT_EQ(DecodeTagText("A\x81"
                            "B"s,
                            TagEncoding::Latin),
              "A B");
}

TEST(TagText, Utf16HonoursTheByteOrderMarkAndKeepsEveryCharacter) {
    EXPECT_EQ(DecodeTagText("\xFF\xFE"
                            "A\0B\0"s,
                            TagEncoding::Utf16),
              "AB");
    EXPECT_EQ(DecodeTagText("\xFE\xFF\0A\0B"s, TagEncoding::Utf16), "AB");
    EXPECT_EQ(DecodeTagText("A\0B\0"s, TagEncoding::Utf16), "AB");  // no mark: little-endian
    EXPECT_EQ(DecodeTagText("\0A\0B"s, TagEncoding::Utf16BE), "AB");
    // Characters whose low byte is 0xFF (U+00FF, U+01FF) survive.
    EXPECT_EQ(DecodeTagText("\xFF\xFE\xFF\0\xFF\x01"s, TagEncoding::Utf16), "ÿǿ");
    // A surrogate pair is one character; the text ends at the first zero unit.
    EXPECT_EQ(DecodeTagText("\xFF\xFE\x34\xD8\x1E\xDD\0\0X\0"s, TagEncoding::Utf16), "𝄞");
}

TEST(TagText, TextCutByTheBufferLosesOnlyTheCutCharacter) {
    EXPECT_EQ(DecodeTagText("\xFF\xFE"
                            "A\0\x34\xD8"s,
                            TagEncoding::Utf16),
              "A");
    EXPECT_EQ(DecodeTagText("A\0B"s, TagEncoding::Utf16), "A");
    EXPECT_EQ(DecodeTagText("caf\xC3", TagEncoding::Utf8), "caf");
    EXPECT_EQ(DecodeTagText("x\xF0\x9D\x84", TagEncoding::Utf8), "x");
    // Malformed bytes inside the text are marked, not dropped.
    EXPECT_EQ(DecodeTagText("a\xFF"
                            "b",
                            TagEncoding::Utf8),
              "a\uFFFD"
              "b");
}

TEST(TagText, ControlCharactersBecomeBlanksAndEdgesAreTrimmed) {
    EXPECT_EQ(CleanTagText("  \tline one\r\nline two\x7F "), "line one  line two");
    EXPECT_EQ(CleanTagText("\xC2\x85x"), "x");  // U+0085, a C1 control
    EXPECT_EQ(CleanTagText(" \x01 "), "");
}

TEST(TagText, TrackNumberIsTheDecimalBeforeTheSlash) {
    EXPECT_EQ(ParseTrackNumber("3/12", 255), 3u);
    EXPECT_EQ(ParseTrackNumber(" 07 ", 255), 7u);
    EXPECT_EQ(ParseTrackNumber("A", 255), 0u);
    EXPECT_EQ(ParseTrackNumber("3a", 255), 0u);
    EXPECT_EQ(ParseTrackNumber("-3", 255), 0u);
    EXPECT_EQ(ParseTrackNumber("", 255), 0u);
    EXPECT_EQ(ParseTrackNumber("256", 255), 0u);  // does not fit the field
    EXPECT_EQ(ParseTrackNumber("99999999999999", 0xFFFF), 0u);
}

}  // namespace
}  // namespace rv
