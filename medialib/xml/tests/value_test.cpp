// Values as text and back: numbers (also under a locale with a decimal comma), date-times, the
// conversions behind the typed attribute getters.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "medialib/xml/simple_xml.h"

namespace rv {
namespace {

double Day(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return EncodeXmlDateTime({y, mo, d, h, mi, s});
}

TEST(XmlValueText, EachTypeAsText) {
    EXPECT_EQ(ValueToText(XmlValue()), "");
    EXPECT_EQ(ValueToText(XmlValue::Integer(XmlVarType::Int8, -5)), "-5");
    EXPECT_EQ(ValueToText(XmlValue::Integer(XmlVarType::UInt32, 4294967295u)), "4294967295");
    EXPECT_EQ(ValueToText(XmlValue::Integer(XmlVarType::Int64, INT64_MIN)), "-9223372036854775808");
    EXPECT_EQ(ValueToText(XmlValue::Float64(2.5)), "2.5");
    EXPECT_EQ(ValueToText(XmlValue::Float64(0.1 + 0.2)), "0.3");
    EXPECT_EQ(ValueToText(XmlValue::Float64(1e20)), "1E20");
    EXPECT_EQ(ValueToText(XmlValue::Float64(1.5e-7)), "1.5E-7");
    EXPECT_EQ(ValueToText(XmlValue::Float32(0.25f)), "0.25");
    EXPECT_EQ(ValueToText(XmlValue::Currency(12345)), "1.2345");
    EXPECT_EQ(ValueToText(XmlValue::ByteArray("abc")), "YWJj");
    EXPECT_EQ(ValueToText(XmlValue::WideText("Žluť")), "Žluť");
}

TEST(XmlValueText, FloatsRoundTripWithPointOrComma) {
    for (const double value : {0.0, -2.5, 1.0 / 3, 123456789.125, 1e-300, 6.02e23}) {
        EXPECT_EQ(TextToFloat(FloatToText(value)), std::stod(FloatToText(value)))
            << FloatToText(value);
    }
    EXPECT_EQ(TextToFloat(" 2,5 "), 2.5);  // a point locale still reads a comma
    EXPECT_EQ(TextToFloat("+7"), 7);
    EXPECT_EQ(TextToFloat("1e-999"), 0);  // too small to hold is zero, not an error
    EXPECT_EQ(FloatToText(-0.0), "0");
    EXPECT_TRUE(std::isinf(TextToFloat("INF")));
    for (const char* bad : {"", "abc", "2.5x", "1.2.3", "--1", "1e999"}) {
        double value;
        EXPECT_FALSE(TryTextToFloat(bad, value)) << bad;
    }

    // The whole process under a locale whose decimal separator is a comma.
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(FloatToText(2.5), "2.5");
    EXPECT_EQ(ValueToText(XmlValue::Float64(-0.125)), "-0.125");
    EXPECT_EQ(TextToFloat("2.5"), 2.5);
    EXPECT_EQ(TextToFloat("2,5"), 2.5);
    EXPECT_EQ(ValueToFloat(XmlValue("0.5")), 0.5);
    std::setlocale(LC_ALL, "C");
}

TEST(XmlValueText, IntegersFromText) {
    EXPECT_EQ(TextToInteger(" -42 "), -42);
    EXPECT_EQ(TextToInteger("$1aF"), 0x1AF);
    EXPECT_EQ(TextToInteger("0x10"), 16);
    EXPECT_EQ(TextToInteger("-9223372036854775808"), INT64_MIN);
    for (const char* bad : {"", "-", "$", "12a", "9223372036854775808", "1.5", "+-1", "$-1"}) {
        std::int64_t value;
        EXPECT_FALSE(TryTextToInteger(bad, value)) << bad;
    }
}

TEST(XmlDateTime, EncodeDecodeAndText) {
    EXPECT_EQ(Day(1899, 12, 30), 0);
    EXPECT_EQ(Day(1900, 1, 1), 2);
    EXPECT_EQ(Day(2000, 2, 29, 12), 36585.5);
    // Before the epoch the time of day still runs forward.
    EXPECT_EQ(Day(1899, 12, 29, 6), -1.25);
    EXPECT_EQ(DateTimeToText(-1.25), "1899-12-29T06-00-00");
    EXPECT_EQ(DateTimeToText(Day(1, 1, 1)), "0001-01-01T00-00-00");
    EXPECT_EQ(DateTimeToText(Day(9999, 12, 31, 23, 59, 59)), "9999-12-31T23-59-59");
    EXPECT_EQ(DateTimeToText(1e12), "1000000000000");

    EXPECT_EQ(TextToDateTime("2003-04-05T06-07-08"), Day(2003, 4, 5, 6, 7, 8));
    EXPECT_EQ(TextToDateTime("2003-04-05"), Day(2003, 4, 5));
    // A wrong separator ends the reading: the rest counts 0.
    EXPECT_EQ(TextToDateTime("2003-04-05 06:07"), Day(2003, 4, 5));
    EXPECT_EQ(TextToDateTime("2003-04-05T06:07"), Day(2003, 4, 5, 6));
    for (const char* bad :
         {"", "2003-02-29", "2003-13-01", "2003-01-01T24", "99999999999-1-1", "2003-04"}) {
        EXPECT_THROW(TextToDateTime(bad), EXmlError) << bad;
    }
}

TEST(XmlValueConvert, BooleanIntegerFloatDateTime) {
    EXPECT_TRUE(ValueToBool(XmlValue("1")));
    EXPECT_TRUE(ValueToBool(XmlValue("TRUE")));
    EXPECT_FALSE(ValueToBool(XmlValue("false")));
    EXPECT_TRUE(ValueToBool(XmlValue::Float64(0.5)));
    EXPECT_FALSE(ValueToBool(XmlValue()));
    EXPECT_THROW(ValueToBool(XmlValue("yes")), EXmlError);
    EXPECT_THROW(ValueToBool(XmlValue::Null()), EXmlError);

    EXPECT_EQ(ValueToInt32(XmlValue("-17")), -17);
    EXPECT_EQ(ValueToInt32(XmlValue("2.5")), 2);  // halves to even
    EXPECT_EQ(ValueToInt32(XmlValue("3.5")), 4);
    EXPECT_EQ(ValueToInt32(XmlValue::Currency(25000)), 2);
    // Numbers beyond 32 bits are reported, not wrapped.
    EXPECT_THROW(ValueToInt32(XmlValue("2147483648")), EXmlError);
    EXPECT_THROW(ValueToInt32(XmlValue::Integer(XmlVarType::UInt32, 4294967295u)), EXmlError);
    EXPECT_THROW(ValueToInt32(XmlValue::Float64(-3e9)), EXmlError);
    EXPECT_THROW(ValueToInt32(XmlValue::Float64(std::nan(""))), EXmlError);
    EXPECT_EQ(ValueToInt32(XmlValue("-2147483648")), INT32_MIN);
    EXPECT_THROW(ValueToInt32(XmlValue("seven")), EXmlError);

    EXPECT_EQ(ValueToFloat(XmlValue::Int32(3)), 3);
    EXPECT_EQ(ValueToFloat(XmlValue("0,75")), 0.75);
    EXPECT_THROW(ValueToFloat(XmlValue::ByteArray("x")), EXmlError);

    EXPECT_EQ(ValueToDateTime(XmlValue::Float64(2.5)), 2.5);
    EXPECT_EQ(ValueToDateTime(XmlValue::WideText("1900-01-01")), 2);
}

}  // namespace
}  // namespace rv
