#include "medialib/safe_convert.h"

#include <gtest/gtest.h>

#include <clocale>

namespace rv {
namespace {

TEST(SafeConvert, IntegersAreSignedDecimalWithin32Bits) {
    EXPECT_EQ(SafeStrToInt("1999"), 1999);
    EXPECT_EQ(SafeStrToInt("+007"), 7);
    EXPECT_EQ(SafeStrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(SafeStrToInt("2147483647"), INT32_MAX);
    for (const char* bad : {"", "abc", "2147483648", "-2147483649", "99999999999999999999", "-",
                            " 12", "12 ", "0x10", "$10", "1.5"})
        EXPECT_EQ(SafeStrToInt(bad), 0) << '"' << bad << '"';
}

TEST(SafeConvert, FloatsUseTheLocalesDecimalSeparator) {
    EXPECT_EQ(SafeStrToFloat("245.5"), 245.5);
    EXPECT_EQ(SafeStrToFloat(" -1.5e2 "), -150.0);
    EXPECT_EQ(SafeStrToFloat(".5"), 0.5);
    for (const char* bad : {"", "245,5", ".", "1e", "1.2.3", "nan", "inf", "1e999", "0x1p3"})
        EXPECT_EQ(SafeStrToFloat(bad), 0.0) << '"' << bad << '"';
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 not installed";
    EXPECT_EQ(SafeStrToFloat("245,5"), 245.5);
    EXPECT_EQ(SafeStrToFloat("245.5"), 0.0);
    EXPECT_EQ(SafeStrToFloat("180"), 180.0);
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
}  // namespace rv
