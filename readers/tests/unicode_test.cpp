#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "readers/unicode/case_mapping.h"
#include "readers/unicode/utf8_to_wide.h"
#include "testsupport/process.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

TEST(UTF8ToWideString, DecodesEveryLengthAndSplitsWideCharactersIntoSurrogates) {
    EXPECT_EQ(UTF8ToWideString(""), u"");
    EXPECT_EQ(UTF8ToWideString("A\xC3\xA9"), u"A\u00E9");
    EXPECT_EQ(UTF8ToWideString("\xE2\x82\xAC"), u"\u20AC");
    EXPECT_EQ(UTF8ToWideString("\xF0\x9F\x8E\xB5"), std::u16string({0xD83C, 0xDFB5}));
    EXPECT_EQ(UTF8ToWideString("\xF4\x8F\xBF\xBF"), std::u16string({0xDBFF, 0xDFFF}));
}

TEST(UTF8ToWideString, ASequenceCutByTheEndEndsTheText) {
    EXPECT_EQ(UTF8ToWideString("\xC3"), u"");
    EXPECT_EQ(UTF8ToWideString("abc\xE2\x82"), u"abc");
    EXPECT_EQ(UTF8ToWideString("x\xF0\x9F\x8E"), u"x");
}

TEST(UTF8ToWideString, AMalformedSequenceCostsOnlyItself) {
    // Windows-1252 text mistaken for UTF-8: the letter after the stray byte survives.
    EXPECT_EQ(UTF8ToWideString("Caf\xE9 Bar"), u"Caf\uFFFD Bar");
    EXPECT_EQ(UTF8ToWideString("\xC3"
                               "A"),
              u"\uFFFDA");
    EXPECT_EQ(UTF8ToWideString("\x80z"), u"\uFFFDz");
    // Overlong forms, surrogates, values past U+10FFFF and five-byte forms.
    EXPECT_EQ(UTF8ToWideString("\xC0\x80."), u"\uFFFD.");
    EXPECT_EQ(UTF8ToWideString("\xED\xA0\x80."), u"\uFFFD.");
    EXPECT_EQ(UTF8ToWideString("\xF4\x90\x80\x80."), u"\uFFFD.");
    EXPECT_EQ(UTF8ToWideString("\xF8\x88\x80\x80\x80."), u"\uFFFD.");
}

TEST(CaseMapping, UpperCaseIsFullAndCoversMoreThanLatin) {
    EXPECT_EQ(WideUpperCaseFull(u"Straße"), u"STRASSE");
    EXPECT_EQ(WideUpperCaseFull(u"αβγ ΐ ς"), u"ΑΒΓ \u0399\u0308\u0301 Σ");
    EXPECT_EQ(WideUpperCaseFull(u"привет, ёж"), u"ПРИВЕТ, ЁЖ");
    EXPECT_EQ(WideUpperCaseFull(u"ﬁn ǆ"), u"FIN Ǆ");
    // No upper case: digits, CJK, a character already upper case, a surrogate pair.
    EXPECT_EQ(WideUpperCaseFull(u"漢字 42 Ä \U0001F3B5"), u"漢字 42 Ä \U0001F3B5");
}

TEST(CaseMapping, LookupGivesEachOfTheFourMappings) {
    EXPECT_EQ(CaseLookup(U'ß', CaseMapping::Folding), U"ss");
    EXPECT_EQ(CaseLookup(U'ß', CaseMapping::Lower), U"ß");
    EXPECT_EQ(CaseLookup(U'ß', CaseMapping::Title), U"Ss");
    EXPECT_EQ(CaseLookup(U'ß', CaseMapping::Upper), U"SS");
    EXPECT_EQ(CaseLookup(U'ǅ', CaseMapping::Lower), U"ǆ");
    EXPECT_EQ(CaseLookup(U'ǅ', CaseMapping::Title), U"ǅ");
    EXPECT_EQ(CaseLookup(U'ǅ', CaseMapping::Upper), U"Ǆ");
    EXPECT_EQ(CaseLookup(U'Σ', CaseMapping::Lower), U"σ");
    EXPECT_EQ(CaseLookup(U'Ж', CaseMapping::Folding), U"ж");
    EXPECT_EQ(CaseLookup(U'İ', CaseMapping::Lower), U"i\u0307");
    EXPECT_EQ(CaseLookup(U'7', CaseMapping::Upper), U"7");
    EXPECT_EQ(CaseLookup(U'\U00010400', CaseMapping::Lower), U"\U00010400");
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
        {"/usr/bin/python3", test::SourcePath("readers/unicode/generate_case_table.py"), ucd});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out ==
                test::ReadFileBytes(test::SourcePath("readers/unicode/case_table.cpp")))
        << "the installed Unicode data differ from the committed table; run the generator";
}

}  // namespace
}  // namespace rv
