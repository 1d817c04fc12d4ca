#include <gtest/gtest.h>

#include "platform/text/utf16.h"
#include "platform/text/utf8.h"

namespace rv {
namespace {

TEST(Utf8, DecodesEveryLengthAndRejectsMalformedSequences) {
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xC5\xBE\xE2\x82\xAC\xF0\x9F\x8E\xB5"));  // ž € 🎵
    EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBD"));                          // a real U+FFFD
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));                             // overlong '/'
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));                         // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));                     // past U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));                             // cut short
    EXPECT_FALSE(IsValidUtf8("\x80"));                                 // stray continuation

    std::string_view s = "\xF0\x9F\x8E\xB5x";
    size_t pos = 0;
    EXPECT_EQ(DecodeUtf8(s, pos), U'\U0001F3B5');
    EXPECT_EQ(pos, 4u);
}

TEST(Utf8, SanitizeReplacesEachMalformedRunOnceAndKeepsTheRest) {
    EXPECT_EQ(SanitizeUtf8("a\xE2\x82"
                           "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(SanitizeUtf8("\xFF\xFE"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(SanitizeUtf8("ok \xC5\xBE"), "ok \xC5\xBE");
}

TEST(Utf8, CutKeepsWholeCharacters) {
    const std::string zz = "\xC5\xBE\xC5\xBE\xC5\xBE";  // žžž
    EXPECT_EQ(CutToChars(zz, 2), "\xC5\xBE\xC5\xBE");
    EXPECT_EQ(CutToChars(zz, 5), zz);
    EXPECT_EQ(Utf8Length(zz), 3u);

    std::string long300(300, 'a');
    EXPECT_EQ(Text255(long300).size(), 255u);
    std::string wide;
    for (int i = 0; i < 300; ++i) wide += "\xE2\x82\xAC";
    EXPECT_EQ(Utf8Length(Text255(wide)), 255u);
    EXPECT_EQ(Text255(wide).size(), 255u * 3);
}

TEST(Utf16, RoundTripsSurrogatePairsAndReplacesLoneSurrogates) {
    const std::string text = "A\xC5\xBE\xE2\x82\xAC\xF0\x9F\x8E\xB5";
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide, (std::u16string{u'A', 0x017E, 0x20AC, 0xD83C, 0xDFB5}));
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD83C, u'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDFB5}), "\xEF\xBF\xBD");
}

TEST(Utf8, EncodesEveryCodePointBackToItself) {
    for (char32_t cp = 0; cp <= 0x10FFFF; cp += (cp < 0x20000 ? 1 : 97)) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        std::string s;
        AppendUtf8(s, cp);
        size_t pos = 0;
        ASSERT_EQ(DecodeUtf8(s, pos), cp);
        ASSERT_EQ(pos, s.size());
    }
}

}  // namespace
}  // namespace rv
