#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <optional>

#include "platform/text/codepage.h"
#include "platform/text/utf8.h"

namespace rv {
namespace {

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
