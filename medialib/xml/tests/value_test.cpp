// Values as text and back: numbers (also under a locale with a decimal comma), date-times and
// the conversions behind the typed attributes; then typed attribute operations, path access,
// Base64 and the element's CDATA and binary content.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <random>

#include "medialib/xml/simple_xml.h"
#include "medialib/xml/tests/error_message.h"
#include "testsupport/process.h"

namespace rv {
namespace {

using test::MessageOf;

double Day(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return EncodeXmlDateTime({y, mo, d, h, mi, s});
}

TEST(XmlValueText, EachTypeAsText) {
    EXPECT_EQ(ValueToText(XmlValue()), "");
    EXPECT_EQ(ValueToText(XmlValue::Integer(XmlVarType::Int8, -5)), "-5");
    EXPECT_EQ(ValueToText(XmlValue::Integer(XmlVarType::UInt32, 4294967295u)), "4294967295");
    EXPECT_EQ(ValueToText(XmlValue::Integer(XmlVarType::Int64, INT64_MIN)), "-9223372036854775808");
    EXPECT_EQ(ValueToText(XmlValue::Float64(0.1 + 0.2)), "0.3");
    EXPECT_EQ(ValueToText(XmlValue::Float64(1e20)), "1E20");
    EXPECT_EQ(ValueToText(XmlValue::Float64(1.5e-7)), "1.5E-7");
    EXPECT_EQ(ValueToText(XmlValue::Float32(0.25f)), "0.25");
    EXPECT_EQ(ValueToText(XmlValue::Currency(12345)), "1.2345");
    EXPECT_EQ(ValueToText(XmlValue::ByteArray("abc")), "YWJj");
    EXPECT_EQ(ValueToText(XmlValue::WideText("Žluť")), "Žluť");
}

TEST(XmlValueText, NumbersFromTextAndFloatsWithPointOrComma) {
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

    EXPECT_EQ(TextToInteger(" -42 "), -42);
    EXPECT_EQ(TextToInteger("$1aF"), 0x1AF);
    EXPECT_EQ(TextToInteger("0x10"), 16);
    EXPECT_EQ(TextToInteger("-9223372036854775808"), INT64_MIN);
    for (const char* bad : {"", "-", "$", "12a", "9223372036854775808", "1.5", "+-1", "$-1"}) {
        std::int64_t value;
        EXPECT_FALSE(TryTextToInteger(bad, value)) << bad;
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
    EXPECT_THROW(ValueToFloat(XmlValue::ByteArray("x")), EXmlError);

    EXPECT_EQ(ValueToDateTime(XmlValue::Float64(2.5)), 2.5);
    EXPECT_EQ(ValueToDateTime(XmlValue::WideText("1900-01-01")), 2);
}

// The element's text form without the line break that leads it inside a document.
std::string XmlOf(const IXmlElement& e) {
    const std::string xml = e->Xml();
    return xml.starts_with("\r\n") ? xml.substr(2) : xml;
}

IXmlElement NewRoot() {
    return MakeXmlDocument("R", "1.0", "UTF-8")->DocumentElement();
}

TEST(XmlTypedAttrs, SettersWriteTheTextFormInOrder) {
    IXmlElement e = NewRoot();
    e->SetAttr("a", "1");
    e->SetBoolAttr("on", true);
    e->SetBoolAttr("off", false);
    e->SetIntAttr("n", -12);
    e->SetFloatAttr("f", 2.5);
    e->SetDateTimeAttr("d", EncodeXmlDateTime({2003, 4, 5, 6, 7, 8}));
    e->SetHexAttr("h", 255, 4);
    e->SetHexAttr("neg", -1);
    e->SetVarAttr("null", XmlValue::Null());
    e->SetAttr("a", "3");  // overwrites in place
    EXPECT_EQ(XmlOf(e),
              "<R a=\"3\" on=\"1\" off=\"0\" n=\"-12\" f=\"2.5\" d=\"2003-04-05T06-07-08\" "
              "h=\"00FF\" neg=\"FFFFFFFF\" null=\"{{null}}\"/>");
    EXPECT_EQ(e->GetAttrType("n"), XmlVarType::Int32);
    EXPECT_EQ(e->GetAttrType("missing"), XmlVarType::Text);
    e->RemoveAttr("on");
    EXPECT_EQ(e->AttrCount(), 8);
    EXPECT_EQ(e->AttrName(1), "off");
    EXPECT_FALSE(e->AttrExists("on"));
    EXPECT_EQ(e->GetAttr("on", "default"), "default");
    e->RemoveAllAttrs();
    EXPECT_EQ(e->AttrCount(), 0);
}

TEST(XmlTypedAttrs, GettersReadTextsBack) {
    IXmlDocument doc = MakeXmlDocument();
    doc->LoadXML(
        "<R b=\"1\" i=\" 42 \" d=\"2003-04-05\" h=\"ff\" hx=\"FFFFFFFF\" big=\"4294967296\" "
        "bad=\"x\"/>");
    IXmlElement e = doc->DocumentElement();
    EXPECT_TRUE(e->GetBoolAttr("b"));
    EXPECT_TRUE(e->GetBoolAttr("missing", true));
    EXPECT_EQ(e->GetIntAttr("i"), 42);
    EXPECT_EQ(e->GetIntAttr("missing", 9), 9);
    EXPECT_EQ(e->GetDateTimeAttr("d"), EncodeXmlDateTime({2003, 4, 5}));
    EXPECT_EQ(e->GetHexAttr("h"), 255);
    EXPECT_EQ(e->GetHexAttr("hx"), -1);
    EXPECT_THROW(e->GetHexAttr("big"), EXmlError);
    EXPECT_THROW(e->GetIntAttr("bad"), EXmlError);
    EXPECT_THROW(e->GetFloatAttr("bad"), EXmlError);
    EXPECT_EQ(e->NeedAttr("i"), " 42 ");
    EXPECT_EQ(MessageOf([&] { e->NeedAttr("zz"); }), "Не задан атрибут \"zz\"");
    // The identifier variants reach the same records.
    const XmlNameID id = doc->NameTable()->FindID("i");
    EXPECT_EQ(e->GetIntAttr(id), 42);
    e->SetIntAttr(id, 7);
    EXPECT_EQ(e->GetAttr("i"), "7");
    EXPECT_EQ(e->AttrCount(), 7);
}

TEST(XmlTypedAttrs, Enumerations) {
    IXmlElement e = NewRoot();
    const std::vector<std::string> values = {"Off", "On"};
    EXPECT_EQ(e->GetEnumAttr("mode", values, 0), 0);
    e->SetAttr("mode", "ON");
    EXPECT_EQ(e->GetEnumAttr("mode", values, 0), 1);
    e->SetAttr("mode", "ÄUSSERST");
    EXPECT_EQ(e->GetEnumAttr("mode", {"x", "äusserst"}), 1);
    e->SetAttr("mode", "\U00010400İ");  // Deseret and dotted capital I: beyond plane 0 and ASCII
    EXPECT_EQ(e->GetEnumAttr("mode", {"x", "\U00010428i"}), 1);
    e->SetAttr("mode", "x");
    EXPECT_EQ(MessageOf([&] { e->GetEnumAttr("mode", values, 0); }),
              "Неверное значение атрибута \"mode\" элемента \"R\".\r\nДопустимые значения:\r\n"
              "Off, On");
    EXPECT_EQ(MessageOf([&] { e->NeedEnumAttr("none", values); }), "Не найден атрибут \"none\"");
}

TEST(XmlPathValue, OwnValueAttributeAndChild) {
    IXmlElement e = NewRoot();
    EXPECT_EQ(e->GetValue("@missing"), XmlValue(""));
    EXPECT_EQ(e->GetValue("TITLE"), XmlValue(""));
    e->SetValue("TITLE", XmlValue::Int32(5));
    ASSERT_EQ(e->ChildNodes()->Count(), 1);
    EXPECT_EQ(e->GetValue("TITLE").Type(), XmlVarType::Int32);
    e->SetValue("TITLE", XmlValue("six"));
    EXPECT_EQ(e->ChildNodes()->Count(), 1);  // the existing child is reused
    e->SetValue("@a", XmlValue::Boolean(true));
    EXPECT_EQ(e->GetValue("@a").Type(), XmlVarType::Boolean);
    EXPECT_EQ(XmlOf(e), "<R a=\"1\">\r\n\t<TITLE>six</TITLE>\r\n</R>");

    IXmlElement leaf = e->AppendElement("LEAF");
    leaf->SetValue("", XmlValue::Float64(0.5));
    EXPECT_EQ(leaf->GetValue("").Type(), XmlVarType::Float64);
    EXPECT_THROW(e->SetValue("A/B", XmlValue("x")), EXmlError);
    EXPECT_THROW(e->GetValue("A/B"), EXmlError);
}

TEST(XmlBase64, LineBreaksAndMalformedInput) {
    EXPECT_EQ(Base64Encode("foobar", 4), "Zm9\r\nvYmF\r\ny");
    EXPECT_EQ(Base64Decode("Zm9\r\nvY mF\ty"), "foobar");
    for (const char* bad : {"Z", "Zm9", "Zm9vY", "Zm=v", "Z===", "====", "Zm9v!A==", "Zg==Zg=="}) {
        EXPECT_THROW(Base64Decode(bad), EXmlError) << bad;
    }
}

TEST(XmlBase64, AgreesWithCoreutils) {
    RV_REQUIRE_TOOL("base64");
    std::mt19937 random(6);
    for (const size_t size : {0u, 1u, 2u, 3u, 57u, 58u, 1000u, 4099u}) {
        std::string bytes(size, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        const auto encoded = test::RunProcess({"base64", "-w", "0"}, bytes);
        ASSERT_EQ(encoded.exitCode, 0);
        EXPECT_EQ(Base64Encode(bytes), encoded.out);
        const auto wrapped = test::RunProcess({"base64", "-w", "76"}, bytes);
        EXPECT_TRUE(Base64Decode(wrapped.out) == bytes) << size;
        const auto decoded = test::RunProcess({"base64", "-d"}, Base64Encode(bytes));
        EXPECT_TRUE(decoded.out == bytes) << size;
    }
}

TEST(XmlElementData, CDATAAndBinaryReplaceOnlyTextChildren) {
    IXmlElement e = NewRoot();
    e->AppendText("old");
    e->AppendElement("KEEP");
    e->AppendCDATA("old too");
    e->ReplaceTextByCDATASection("a]]>b]]>");
    ASSERT_EQ(e->ChildNodes()->Count(), 4);
    EXPECT_EQ(e->ChildNodes()->Item(0)->NodeName(), "KEEP");
    std::string joined;
    for (int i = 1; i < 4; ++i) joined += e->ChildNodes()->Item(i)->AsCDATASection()->Data();
    EXPECT_EQ(joined, "a]]>b]]>");

    const std::string bytes("\0\1\2\377binary", 10);
    e->SetText("value");
    e->ReplaceTextByBinaryData(bytes.data(), bytes.size(), 8);
    ASSERT_EQ(e->ChildNodes()->Count(), 1);
    EXPECT_EQ(e->Text(), Base64Encode(bytes, 8));
    EXPECT_EQ(e->GetTextAsBinaryData(), bytes);
    e->SetText("not base64!");
    EXPECT_THROW(e->GetTextAsBinaryData(), EXmlError);
}

}  // namespace
}  // namespace rv
