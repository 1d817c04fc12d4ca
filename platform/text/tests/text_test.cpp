#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/text/ascii_case.h"
#include "platform/text/collate.h"
#include "platform/text/format.h"
#include "platform/text/hex_digits.h"
#include "platform/text/round.h"

namespace rv {
namespace {

TEST(AsciiCase, NamesStartWithALetterAndHoldOnlyTheCharactersAllowed) {
    EXPECT_TRUE(IsAsciiName("ISO-8859-2", "-"));
    EXPECT_TRUE(IsAsciiName("z", ""));
    for (const char* refused : {"", "8859", "-a", "\xC3\xA9t\xC3\xA9", "KOI8-R//X", "a b"})
        EXPECT_FALSE(IsAsciiName(refused, "-")) << refused;
}

TEST(AsciiCase, FoldsOnlyAsciiLettersAndComparesFoldedBytesThenLength) {
    EXPECT_TRUE(SameText("Pink Floyd", "PINK floyd"));
    EXPECT_FALSE(SameText("\xC5\xBD", "\xC5\xBE"));  // Ž and ž differ
    EXPECT_FALSE(SameText("abc", "abcd"));
    EXPECT_FALSE(SameText("a", "a "));
    EXPECT_TRUE(SameText("", ""));
    EXPECT_EQ(UpperCase("abc\xC5\xBE"), "ABC\xC5\xBE");
    EXPECT_EQ(LowerCase("[AZ]@"), "[az]@");

    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_LT(CompareText("abc", "abd"), 0);
    EXPECT_LT(CompareText("ab", "abc"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_GT(CompareText("\xC3\xA9", "z"), 0);  // bytes above ASCII sort after it
    // Letters fold to upper case, so '_' (between the two cases) sorts after every letter.
    EXPECT_GT(CompareText("_", "a"), 0);
    EXPECT_GT(CompareText("_", "Z"), 0);
}

TEST(Collate, SortKeysAgreeWithCompareTieBreakOnBytesAndFollowTheLocale) {
    std::setlocale(LC_COLLATE, "C");
    const char* names[] = {"b", "B", "a", "ab", "", "A", "\xC5\xBE"};
    for (const char* x : names)
        for (const char* y : names) {
            const int c = CompareLocale(x, y);
            const int k = LocaleSortKey(x).compare(LocaleSortKey(y));
            EXPECT_EQ(c < 0, k < 0) << x << " vs " << y;
            EXPECT_EQ(c == 0, std::string(x) == y);
        }

    if (!std::setlocale(LC_COLLATE, "en_US.UTF-8")) GTEST_SKIP() << "en_US.UTF-8 not installed";
    EXPECT_LT(CompareLocale("apple", "Banana"), 0);  // byte order would say otherwise
    EXPECT_LT(LocaleSortKey("apple"), LocaleSortKey("Banana"));
    std::setlocale(LC_COLLATE, "C");
}

TEST(Format, FormatsLikePrintfAtAnyLength) {
    EXPECT_EQ(Format("Artists: %d   Albums: %d   Tracks: %d", 1, 2, 3),
              "Artists: 1   Albums: 2   Tracks: 3");
    EXPECT_EQ(Format("%2.2d:%2.2d", 3, 7), "03:07");
    const std::string big(1000, 'x');
    EXPECT_EQ(Format("[%s]", big.c_str()), "[" + big + "]");
}

// Every byte value against the C library's reading and writing of hexadecimal.
TEST(HexDigits, EveryByteReadsAndWritesAsTheCLibraryDoes) {
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const char digit[2] = {c, '\0'};
        const int expected =
            std::isxdigit(b) ? static_cast<int>(std::strtol(digit, nullptr, 16)) : -1;
        EXPECT_EQ(HexDigitValue(c), expected) << b;

        char printed[3];
        std::snprintf(printed, sizeof printed, "%02x", static_cast<unsigned>(b));
        std::string written = "x";
        AppendHexByte(written, static_cast<unsigned char>(b));
        EXPECT_EQ(written, std::string("x") + printed) << "appends, lower case: " << b;
    }
}

TEST(Round, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, std::int64_t> cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {2.5001, 3}};
    for (auto [x, rounded] : cases) EXPECT_EQ(Round(x), rounded) << x;
    // Out of range: the nearest end, never overflow.
    EXPECT_EQ(Round(std::nan("")), 0);
    EXPECT_EQ(Round(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Round(-1e300), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Round(INFINITY), std::numeric_limits<std::int64_t>::max());
}

TEST(MulDiv, RoundsHalvesAwayFromZeroWithoutOverflow) {
    EXPECT_EQ(MulDiv(9, 50, 100), 5);
    EXPECT_EQ(MulDiv(-9, 50, 100), -5);
    EXPECT_EQ(MulDiv(18, 3, 2), 27);
    EXPECT_EQ(MulDiv(7, 1, -2), -4);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF), 0x7FFFFFFF);  // the product fits
    EXPECT_EQ(MulDiv(5, 5, 0), -1);
}

}  // namespace
}  // namespace rv
