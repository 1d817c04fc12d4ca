#include "readers/tag_text.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace rv {
namespace {

TEST(TagText, TextCutByTheBufferLosesOnlyTheCutCharacter) {
    EXPECT_EQ(DecodeTagText("\xFF\xFE"
                            "A\0\x34\xD8"s,
                            TagEncoding::Utf16),
              "A");                                              // half a pair
    EXPECT_EQ(DecodeTagText("A\0B"s, TagEncoding::Utf16), "A");  // half a unit
    EXPECT_EQ(DecodeTagText("x\xF0\x9D\x84", TagEncoding::Utf8), "x");
    // Malformed bytes inside the text are marked, not dropped.
    EXPECT_EQ(DecodeTagText("a\xFF"
                            "b",
                            TagEncoding::Utf8),
              "a\uFFFD"
              "b");
}

TEST(TagText, ControlCharactersNeverReachAField) {
    EXPECT_EQ(CleanTagText("  \tline one\r\nline two\x7F "), "line one  line two");
    EXPECT_EQ(CleanTagText("\xC2\x85x"), "x");  // U+0085, a C1 control
    // windows-1252 leaves 0x81 undefined; it decodes to a C1 control.
    EXPECT_EQ(DecodeTagText("A\x81"
                            "B"s,
                            TagEncoding::Latin),
              "A B");
}

TEST(TagText, TrackNumberIsTheDecimalBeforeTheSlash) {
    EXPECT_EQ(ParseTrackNumber("3/12", 255), 3u);
    EXPECT_EQ(ParseTrackNumber(" 07 ", 255), 7u);
    for (const char* bad : {"A", "3a", "-3", "", "256"}) EXPECT_EQ(ParseTrackNumber(bad, 255), 0u);
    EXPECT_EQ(ParseTrackNumber("99999999999999", 0xFFFF), 0u);
}

}  // namespace
}  // namespace rv
