#include <gtest/gtest.h>
#include <locale.h>
#include <wctype.h>

#include <atomic>
#include <clocale>
#include <limits>
#include <thread>
#include <vector>

#include "platform/text/case_mapping.h"
#include "platform/text/decimal_point.h"
#include "platform/text/utf8_to_wide.h"
#include "testsupport/process.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

TEST(UTF8ToWideString, EveryLengthDecodesAndAMalformedSequenceCostsOnlyItself) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"", u""},
        {"A\xC3\xA9", u"A\u00E9"},
        {"\xE2\x82\xAC", u"\u20AC"},
        {"\xF0\x9F\x8E\xB5", {0xD83C, 0xDFB5}},  // split into surrogates
        {"\xF4\x8F\xBF\xBF", {0xDBFF, 0xDFFF}},
        // A sequence cut by the end ends the text.
        {"\xC3", u""},
        {"abc\xE2\x82", u"abc"},
        {"x\xF0\x9F\x8E", u"x"},
        // Windows-1252 text mistaken for UTF-8: the letter after the stray byte survives.
        {"Caf\xE9 Bar", u"Caf\uFFFD Bar"},
        {"\xC3\x41", u"\uFFFDA"},
        {"\x80z", u"\uFFFDz"},
        // Overlong forms, surrogates, values past U+10FFFF and five-byte forms.
        {"\xC0\x80.", u"\uFFFD."},
        {"\xED\xA0\x80.", u"\uFFFD."},
        {"\xF4\x90\x80\x80.", u"\uFFFD."},
        {"\xF8\x88\x80\x80\x80.", u"\uFFFD."}};
    for (const auto& [utf8, wide] : cases) EXPECT_EQ(UTF8ToWideString(utf8), wide) << utf8;
}

TEST(CaseMapping, UpperCaseIsFullBeyondLatinAndLookupGivesAllFourMappings) {
    EXPECT_EQ(WideUpperCaseFull(u"Straße αβγ ΐ ς привет, ёж ﬁn ǆ"),
              u"STRASSE ΑΒΓ \u0399\u0308\u0301 Σ ПРИВЕТ, ЁЖ FIN Ǆ");
    // No upper case: digits, CJK, a character already upper case, a surrogate pair.
    EXPECT_EQ(WideUpperCaseFull(u"漢字 42 Ä \U0001F3B5"), u"漢字 42 Ä \U0001F3B5");
    const std::tuple<char32_t, CaseMapping, std::u32string> cases[] = {
        {U'ß', CaseMapping::Folding, U"ss"}, {U'ß', CaseMapping::Lower, U"ß"},
        {U'ß', CaseMapping::Title, U"Ss"},   {U'ß', CaseMapping::Upper, U"SS"},
        {U'ǅ', CaseMapping::Lower, U"ǆ"},    {U'ǅ', CaseMapping::Title, U"ǅ"},
        {U'ǅ', CaseMapping::Upper, U"Ǆ"},    {U'İ', CaseMapping::Lower, U"i\u0307"},
        {U'7', CaseMapping::Upper, U"7"},    {U'\U00010400', CaseMapping::Lower, U"\U00010400"}};
    for (const auto& [c, mapping, mapped] : cases)
        EXPECT_EQ(CaseLookup(c, mapping), mapped) << static_cast<std::uint32_t>(c);
}

TEST(CaseMapping, SimpleLowerCaseOfEveryCharacterIsGlibcsUnicodeLowerCase) {
    const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    if (!unicode) GTEST_SKIP() << "the C.UTF-8 locale is not available";
    int differences = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const auto expected = static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), unicode));
        if (SimpleLowerCase(c) != expected && ++differences <= 5)
            ADD_FAILURE() << std::hex << "U+" << static_cast<std::uint32_t>(c);
    }
    freelocale(unicode);
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(SimpleLowerCase(U'İ'), U'i');  // one for one, where the full mapping gives two
    EXPECT_EQ(SimpleLowerCase(U'\U00010400'), U'\U00010428');
}

TEST(CaseMapping, ThreadsArrivingTogetherAllSeeTheWholeTable) {
    // Whoever comes first builds the table; the others must wait for it, not read a half-built
    // one.
    std::atomic<int> ready{0};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            ++ready;
            while (ready < 8) std::this_thread::yield();
            if (WideUpperCaseFull(u"ωmega ﬀ ß") != u"ΩMEGA FF SS") ++wrong;
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(wrong, 0);
}

TEST(CaseTable, RegeneratedFromDebiansUnicodeDataEqualsTheCommittedTable) {
    const std::string ucd = "/usr/share/unicode";
    if (!test::FileExists(ucd + "/UnicodeData.txt"))
        GTEST_SKIP() << "the unicode-data package is not installed";
    if (!test::FileExists("/usr/bin/python3")) GTEST_SKIP() << "python3 is not installed";
    const auto result = test::RunProcess(
        {"/usr/bin/python3", test::SourcePath("platform/text/generate_case_table.py"), ucd});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out == test::ReadFileBytes(test::SourcePath("platform/text/case_table.cpp")))
        << "the installed Unicode data differ from the committed table; run the generator";
}

TEST(DecimalPoint, PointTextUnderAnyLocaleAndTheLocalesSeparator) {
    double value = 7;
    EXPECT_TRUE(PointTextToFloat("-2.5e3", value));
    EXPECT_EQ(value, -2500);
    EXPECT_TRUE(PointTextToFloat("4.9e-324", value));  // the smallest number there is
    EXPECT_EQ(value, std::numeric_limits<double>::denorm_min());
    EXPECT_TRUE(PointTextToFloat("1e-999", value));
    EXPECT_EQ(value, 0);
    value = 7;
    for (const char* bad : {"", "1e999", "2,5", " 1", "1 ", "0x10"})
        EXPECT_FALSE(PointTextToFloat(bad, value)) << bad;
    EXPECT_EQ(value, 7);

    EXPECT_EQ(LocaleDecimalPoint(), ".");
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 not installed";
    EXPECT_EQ(LocaleDecimalPoint(), ",");
    EXPECT_TRUE(PointTextToFloat("0.125", value));  // still a point
    EXPECT_EQ(value, 0.125);
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
}  // namespace rv
