#include "widgets/str_utils.h"

#include <gtest/gtest.h>

#include <string>

#include "widgets/xor_hex_coder.h"

namespace rv {
namespace {

TEST(StrUtils, WordsAreRunsBetweenDelimiters) {
    EXPECT_EQ(NthWord(2, "10,20 30", " ,"), "20");
    EXPECT_EQ(NthWord(5, "10,20 30", " ,"), "");
    EXPECT_EQ(NthWord(0, "10,20 30", " ,"), "");
    EXPECT_EQ(CountWords(",,a,,b,", ","), 2);
    EXPECT_EQ(CountWords("", ","), 0);
    EXPECT_EQ(WordStart(2, ",,a,,b,", ","), 6u);
    EXPECT_EQ(WordStart(3, ",,a,,b,", ","), 0u);
    EXPECT_EQ(NthWord(3, "[fpState, fpPosition]", " ,[]"), "");
    EXPECT_EQ(NthWord(2, "[fpState, fpPosition]", " ,[]"), "fpPosition");

    EXPECT_EQ(ReplaceAll("1,5", ",", "."), "1.5");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceAll("a&b&&c", "&", "&&"), "a&&b&&&&c");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");

    EXPECT_EQ(StrToIntDef("-40", 7), -40);
    EXPECT_EQ(StrToIntDef("+40", 7), 40);
    for (const char* bad : {"", " 40", "40 ", "4O", "2147483648", "+", "-"})
        EXPECT_EQ(StrToIntDef(bad, 7), 7) << bad;
}

TEST(XorHexCoder, CodesBytesAsHexWithTheKeyRepeated) {
    // Worked by hand: 'a' = 0x61, 'b' = 0x62; 'D' = 0x44, 'u' = 0x75.
    EXPECT_EQ(XorHexEncode("", "ab"), "6162");
    EXPECT_EQ(XorHexEncode("Du", "abc"), "251727");  // 61^44 62^75 63^44
    EXPECT_EQ(XorHexEncode("Dudida", ""), "");
    EXPECT_EQ(XorHexDecode("Du", "251727"), "abc");
    EXPECT_EQ(XorHexDecode("Du", "2517277"), "abc");  // the odd last digit is ignored
    EXPECT_EQ(XorHexDecode("", "4A4b"), "JK");
    EXPECT_EQ(XorHexDecode("", "zz"), " ");
    EXPECT_EQ(XorHexDecode("D", "zz"), std::string(1, char(0x20 ^ 0x44)));

    // Any bytes survive, longer texts reuse the key from its start.
    std::string text = "secret p\xC3\xA4ss\x01\xFF with more than six characters";
    std::string coded = XorHexEncode("Dudida", text);
    EXPECT_EQ(coded.size(), text.size() * 2);
    EXPECT_EQ(coded.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(XorHexDecode("Dudida", coded), text);
    EXPECT_EQ(XorHexEncode("Dudida", "ssssssss").substr(12, 4),
              XorHexEncode("Dudida", "ssssssss").substr(0, 4));
}

}  // namespace
}  // namespace rv
