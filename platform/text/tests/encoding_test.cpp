#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>

#include "platform/text/codepage.h"
#include "platform/text/utf16.h"
#include "platform/text/utf8.h"

namespace rv {
namespace {

TEST(Utf8, EncodesAndDecodesEveryCodePointAndRejectsMalformedSequences) {
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

    // Every code point encodes and decodes back to itself.
    for (char32_t cp = 0; cp <= 0x10FFFF; cp += (cp < 0x20000 ? 1 : 97)) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        std::string one;
        AppendUtf8(one, cp);
        pos = 0;
        ASSERT_EQ(DecodeUtf8(one, pos), cp);
        ASSERT_EQ(pos, one.size());
    }
}

TEST(Utf8, SanitizeReplacesEachMalformedRunOnceAndCutsKeepWholeCharacters) {
    EXPECT_EQ(SanitizeUtf8("a\xE2\x82"
                           "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(SanitizeUtf8("\xFF\xFE"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(SanitizeUtf8("ok \xC5\xBE"), "ok \xC5\xBE");

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

    // Control characters no file can hold become blanks; layout characters, DEL and C1 stay.
    const std::string mixed("a\0b\x01\tc\n\rd\x1F\x7F\xC2\x85\xC5\xBE", 15);
    EXPECT_EQ(Text255(mixed), "a b \tc\n\rd \x7F\xC2\x85\xC5\xBE");
    std::string fitted = long300 + '\x02';
    fitted[0] = '\x1B';
    FitText255(fitted);
    EXPECT_EQ(fitted, ' ' + std::string(254, 'a'));
    std::string name = "x\x03y";
    BlankControlChars(name);
    EXPECT_EQ(name, "x y");
}

TEST(Utf16, RoundTripsSurrogatePairsAndReplacesLoneSurrogates) {
    const std::string text = "A\xC5\xBE\xE2\x82\xAC\xF0\x9F\x8E\xB5";
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide, (std::u16string{u'A', 0x017E, 0x20AC, 0xD83C, 0xDFB5}));
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD83C, u'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDFB5}), "\xEF\xBF\xBD");

    // One character at a time: what comes out, and how far it goes.
    struct Case {
        std::u16string units;
        char32_t cp;
        size_t next;
    };
    for (const Case& c :
         {Case{{u'A', 0xD83C}, U'A', 1}, Case{{0xD83C, 0xDFB5, u'x'}, 0x1F3B5, 2},
          Case{{0xDBFF, 0xDFFF}, 0x10FFFF, 2}, Case{{0xD83C, u'x'}, 0xFFFD, 1},
          Case{{0xD83C, 0xD83C, 0xDFB5}, 0xFFFD, 1}, Case{{0xDFB5, 0xD83C}, 0xFFFD, 1},
          Case{{0xD800}, 0xFFFD, 1}, Case{{0xFFFF}, 0xFFFF, 1}}) {
        size_t pos = 0;
        EXPECT_EQ(DecodeUtf16(c.units, pos), c.cp) << int(c.units[0]);
        EXPECT_EQ(pos, c.next) << int(c.units[0]);
    }
}

// What glibc's iconv makes of one byte, or nothing when it rejects it.
std::optional<std::string> IconvDecode(iconv_t cd, unsigned char byte) {
    char in = static_cast<char>(byte);
    char out[8];
    char* inPtr = &in;
    char* outPtr = out;
    size_t inLeft = 1, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1))
        return std::nullopt;
    return std::string(out, static_cast<size_t>(outPtr - out));
}

struct PageCase {
    CodePage page;
    const char* iconvName;
    std::vector<int> undefined;  // bytes the code page leaves undefined
};

class CodePageTest : public testing::TestWithParam<PageCase> {};

TEST_P(CodePageTest, AgreesWithIconvOnAll256Bytes) {
    const PageCase& c = GetParam();
    iconv_t cd = iconv_open("UTF-8", c.iconvName);
    if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "iconv lacks " << c.iconvName;
    for (int b = 0; b < 256; ++b) {
        const std::string ours = DecodeCodePage(c.page, std::string(1, static_cast<char>(b)));
        const auto theirs = IconvDecode(cd, static_cast<unsigned char>(b));
        if (theirs) {
            EXPECT_EQ(ours, *theirs) << "byte " << b;
        } else {
            // Bytes iconv rejects stand for the C1 control of the same number.
            EXPECT_NE(std::find(c.undefined.begin(), c.undefined.end(), b), c.undefined.end())
                << "iconv rejects byte " << b;
            EXPECT_EQ(CodePageToUnicode(c.page, static_cast<unsigned char>(b)),
                      static_cast<char32_t>(b));
        }
    }
    iconv_close(cd);
}

TEST_P(CodePageTest, EveryCharacterOfThePageRoundTrips) {
    const PageCase& c = GetParam();
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = DecodeCodePage(c.page, all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_TRUE(CodePageHasAll(c.page, utf8));
    EXPECT_EQ(EncodeCodePage(c.page, utf8), all);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, CodePageTest,
    testing::Values(PageCase{CodePage::Windows1250, "WINDOWS-1250", {0x81, 0x83, 0x88, 0x90, 0x98}},
                    PageCase{CodePage::Windows1252, "WINDOWS-1252", {0x81, 0x8D, 0x8F, 0x90, 0x9D}},
                    PageCase{CodePage::Iso8859_1, "ISO-8859-1", {}}),
    [](const auto& info) {
        return std::string(CodePageName(info.param.page)).substr(0, 3) + std::to_string(info.index);
    });

TEST(CodePage, ReportsAndReplacesMissingCharacters) {
    const std::string text =
        "\xD0\x96"
        "a\xC5\xBE";  // Ж a ž
    EXPECT_FALSE(CodePageHasAll(CodePage::Windows1250, text));
    EXPECT_EQ(EncodeCodePage(CodePage::Windows1250, text), "?a\x9E");
    std::vector<char32_t> missing;
    const std::string withRefs = EncodeCodePage(CodePage::Windows1250, text, [&](char32_t cp) {
        missing.push_back(cp);
        return std::string("&#x416;");
    });
    EXPECT_EQ(withRefs, "&#x416;a\x9E");
    EXPECT_EQ(missing, std::vector<char32_t>{0x416});
    // ž exists in windows-1250 but not in ISO-8859-1.
    EXPECT_FALSE(UnicodeToCodePage(CodePage::Iso8859_1, 0x17E));
    EXPECT_FALSE(UnicodeToCodePage(CodePage::Windows1250, 0x1F3B5));

    // Names without regard to case.
    EXPECT_EQ(CodePageFromName("Windows-1250"), CodePage::Windows1250);
    EXPECT_EQ(CodePageFromName("CP1252"), CodePage::Windows1252);
    EXPECT_EQ(CodePageFromName("iso-8859-1"), CodePage::Iso8859_1);
    EXPECT_FALSE(CodePageFromName("windows-1251"));
}

}  // namespace
}  // namespace rv
