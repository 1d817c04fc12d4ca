// The binary form: its pieces byte for byte, documents written and read back, and damaged or
// hostile input.

#include <gtest/gtest.h>

#include <random>

#include "medialib/xml/binary_codec.h"
#include "medialib/xml/simple_xml.h"
#include "medialib/xml/tests/error_message.h"
#include "platform/text/format.h"

namespace rv {
namespace {

using test::MessageOf;

std::string Hex(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        if (!text.empty()) text += ' ';
        text += Format("%02X", static_cast<unsigned char>(c));
    }
    return text;
}

// A document with every kind of node and value, in a name table of its own.
IXmlDocument SampleDocument() {
    IXmlDocument doc = MakeXmlDocument("Lib", "1.0", "windows-1250", new TXmlNameTable);
    IXmlElement root = doc->DocumentElement();
    root->SetAttr("title", "Žluťoučký kůň 🎵");
    root->SetIntAttr("count", -70000);
    root->SetBoolAttr("on", true);
    root->SetVarAttr("wide", XmlValue::WideText("Ωmega 𝄞"));
    root->SetVarAttr("null", XmlValue::Null());
    const XmlValue values[] = {XmlValue::Integer(XmlVarType::Int8, -5),
                               XmlValue::Integer(XmlVarType::UInt8, 250),
                               XmlValue::Integer(XmlVarType::Int16, -30000),
                               XmlValue::Integer(XmlVarType::UInt16, 65000),
                               XmlValue::Int32(5),
                               XmlValue::Integer(XmlVarType::UInt32, 4000000000u),
                               XmlValue::Integer(XmlVarType::Int64, -(1LL << 60)),
                               XmlValue::Float32(0.1f),
                               XmlValue::Float64(1.0 / 3),
                               XmlValue::Currency(-123456789),
                               XmlValue::DateTime(37716.25),
                               XmlValue::ByteArray(std::string("\0\xFF\x80", 3)),
                               XmlValue::Boolean(false)};
    for (const XmlValue& value : values) root->AppendElement("V")->SetNodeValue(value);
    IXmlElement mixed = root->AppendElement("Mixed");
    mixed->AppendText("text & more");
    mixed->AppendCDATA(" raw ]]> data ");
    mixed->AppendComment(" note ");
    mixed->AppendElement("Empty");
    root->AppendProcessingInstruction("pi", "some text");
    return doc;
}

TEST(XmlBinaryCodec, CompactIntegersByteForByte) {
    const std::pair<std::int32_t, const char*> cases[] = {{0, "00"},
                                                          {127, "7F"},
                                                          {128, "80 80"},
                                                          {32511, "FE FF"},
                                                          {32512, "FF 00 7F 00 00"},
                                                          {-1, "FF FF FF FF FF"},
                                                          {INT32_MIN, "FF 00 00 00 80"}};
    for (const auto& [value, hex] : cases) {
        BinaryXmlEncoder out(false);
        out.Compact(value);
        EXPECT_EQ(Hex(out.Out()), hex) << value;
        BinaryXmlDecoder in(out.Out(), false);
        EXPECT_EQ(in.Compact(), value);
        EXPECT_EQ(in.Remaining(), 0u);
    }
    // Every two-byte form reads, also those the writer never makes.
    BinaryXmlDecoder in(std::string_view("\x80\x05\xFE\xFF", 4), false);
    EXPECT_EQ(in.Compact(), 5);
    EXPECT_EQ(in.Compact(), 32511);
}

TEST(XmlBinaryCodec, StringsAndValuesByteForByte) {
    BinaryXmlEncoder narrow(false);
    narrow.String("Aé");
    narrow.Value(XmlValue::Int32(5));
    narrow.Value(XmlValue::Boolean(true));
    narrow.Value(XmlValue::ByteArray("xy"));
    EXPECT_EQ(Hex(narrow.Out()), "03 41 C3 A9 03 05 00 00 00 0B FF FF A0 11 02 78 79");
    BinaryXmlEncoder wide(true);
    wide.String("Aé🎵");
    wide.Value(XmlValue("t"));  // a text value is a byte string whatever the options
    EXPECT_EQ(Hex(wide.Out()), "04 41 00 E9 00 3C D8 B5 DF 81 00 01 74");
    BinaryXmlDecoder in(wide.Out(), true);
    EXPECT_EQ(in.String(), "Aé🎵");
    EXPECT_EQ(in.Value(), XmlValue("t"));
}

TEST(XmlBinary, ElementWithAnIntegerValue) {
    IXmlDocument doc = MakeXmlDocument({}, "1.0", {}, new TXmlNameTable);
    doc->AppendElement("N")->SetNodeValue(XmlValue::Int32(5));
    const std::string bytes = doc->BinaryXml();
    const std::string table = "00 00 00 00 06 05 23 74 65 78 74";  // options, 6 names, "#text"
    EXPECT_EQ(Hex(bytes.substr(14, 11)), table);
    // The end: no document attributes, one child: element "N" (id 5) holding 03 05 00 00 00,
    // no attributes, no children.
    EXPECT_TRUE(Hex(bytes).ends_with("00 01 01 05 03 05 00 00 00 00 00")) << Hex(bytes);
}

TEST(XmlBinary, DocumentsReadBackEqualWithEitherStringForm) {
    IXmlDocument original = SampleDocument();
    for (const std::uint32_t options : {0u, 1u}) {
        const std::string bytes = original->BinaryXml(options);
        IXmlDocument read = MakeXmlDocument();
        read->LoadBinaryXML(bytes);
        EXPECT_EQ(read->Xml(), original->Xml());
        EXPECT_EQ(read->NameTable()->Names(), original->NameTable()->Names());
        EXPECT_EQ(read->BinaryXml(options), bytes);  // values keep their types exactly
        const IXmlNodeList values = read->DocumentElement()->SelectNodes("V");
        ASSERT_EQ(values->Count(), 13);
        EXPECT_EQ(values->Item(7)->DataType(), XmlVarType::Float32);
        EXPECT_EQ(values->Item(11)->NodeValue().StringData(), std::string("\0\xFF\x80", 3));
        EXPECT_EQ(read->DocumentElement()->GetVarAttr("wide"), XmlValue::WideText("Ωmega 𝄞"));
        EXPECT_EQ(read->DocumentElement()->GetAttrType("null"), XmlVarType::Null);
    }
}

// The form keeps the table whole, names no node uses among them, so that identifiers read back
// are the ones written.
TEST(XmlBinary, TheTableIsWrittenWholeWithNamesNoNodeUses) {
    IXmlNameTable table(new TXmlNameTable);
    IXmlDocument doc = MakeXmlDocument("Lib", "1.0", "UTF-8", table.Get());
    IXmlElement root = doc->DocumentElement();
    root->AppendElement("Gone");
    root->AppendElement("Kept")->SetAttr("a", "1");
    root->RemoveChild(root->ChildNodes()->Item(0));
    IXmlDocument read = MakeXmlDocument();
    read->LoadBinaryXML(doc->BinaryXml());
    EXPECT_EQ(read->Xml(), doc->Xml());
    EXPECT_EQ(read->NameTable()->Names(), table->Names());
    EXPECT_EQ(read->NameTable()->FindID("Gone"), table->FindID("Gone"));
    EXPECT_EQ(read->DocumentElement()->ChildNodes()->Item(0)->NodeNameID(), table->FindID("Kept"));
}

// Writes a file from its pieces: the signature, options 0, the predefined names plus `names`,
// 4096 buckets of which none is listed, then `content`.
std::string HandMade(const std::vector<std::string>& names, const std::string& content) {
    BinaryXmlEncoder out(false);
    out.Out() += kBinaryXmlSignature;
    out.Fixed(0, 4);
    std::vector<std::string> all = {"#text", "#cdata-section", "#comment", "#document", "xml"};
    all.insert(all.end(), names.begin(), names.end());
    out.Compact(static_cast<std::int32_t>(all.size()));
    for (const std::string& name : all) out.String(name);
    out.Compact(4096);
    out.Compact(0);
    return out.Out() + content;
}

TEST(XmlBinary, DamagedFilesGiveTheirErrorAndKeepTheDocument) {
    const auto errorOf = [](const std::string& bytes) {
        IXmlDocument doc = MakeXmlDocument("Kept");
        const std::string message = MessageOf([&] { doc->LoadBinaryXML(bytes); });
        EXPECT_EQ(doc->DocumentElement()->NodeName(), "Kept");
        return message;
    };
    EXPECT_EQ(errorOf(HandMade({"E"}, std::string("\0\1\2", 3))),
              "Ошибка чтения двоичного XML: некорректный тип узла");
    EXPECT_EQ(errorOf(HandMade({"E"}, std::string("\0\1\1\5\x7F", 5))),
              "Ошибка чтения значения: некорректный тип.");
    EXPECT_EQ(errorOf(HandMade({"E"}, std::string("\0\1\1\6\0\0\0", 7))),
              "Ошибка чтения двоичного XML: некорректный идентификатор имени 6");
    // Counts beyond what the file holds fail before anything is made for them.
    EXPECT_EQ(errorOf(HandMade({}, "\xFF\xFF\xFF\xFF\x7F")), "Ошибка чтения данных.");
    EXPECT_EQ(errorOf(HandMade({}, "\x00\xFF\xFF\xFF\xFF\xFF")), "Ошибка чтения данных.");
    EXPECT_EQ(errorOf(HandMade({}, std::string("\0\1\3\x81\0\xFF\xFF\xFF\xFF\x7F", 10))),
              "Ошибка чтения данных.");
    // A name twice, or the predefined names missing, is no name table.
    const std::string badTable = "Ошибка чтения двоичного XML: некорректная таблица имён";
    EXPECT_EQ(errorOf(HandMade({"E", "E"}, std::string("\0\0", 2))), badTable);
    std::string noPredefined = HandMade({}, std::string("\0\0", 2));
    noPredefined[21] = 'T';  // "#text" becomes "#Text"
    EXPECT_EQ(errorOf(noPredefined), badTable);
    EXPECT_EQ(errorOf(HandMade({"E"}, std::string("\0\1\3\x81\0\2\xC3\x28", 8))),
              "Некорректная последовательность байтов UTF-8");
}

TEST(XmlBinary, ManyAttributesAndARepeatedName) {
    std::vector<std::string> names;
    BinaryXmlEncoder content(false);
    content.Compact(0);
    content.Compact(1);
    content.Byte(kXmlElementNode);
    content.Compact(5);
    content.Value({});
    const int count = 50000;
    content.Compact(count + 1);
    for (int i = 0; i < count; ++i) {
        names.push_back(Format("a%d", i));
        content.Compact(5 + i);
        content.Value(XmlValue::Int32(i));
    }
    content.Compact(5 + 7);
    content.Value(XmlValue("last"));  // the same name again: its value is replaced
    content.Compact(0);
    IXmlDocument doc = MakeXmlDocument();
    doc->LoadBinaryXML(HandMade(names, content.Out()));
    const IXmlElement element = doc->DocumentElement();
    EXPECT_EQ(element->AttrCount(), count);
    EXPECT_EQ(element->GetAttr("a7"), "last");
    EXPECT_EQ(element->GetIntAttr("a49999"), 49999);
}

TEST(XmlBinary, NestingIsBounded) {
    std::string content(1, '\0');
    content += '\1';
    for (int i = 0; i < 1200; ++i) content += std::string("\1\5\0\0\1", 5);
    IXmlDocument doc = MakeXmlDocument();
    EXPECT_EQ(MessageOf([&] { doc->LoadBinaryXML(HandMade({"E"}, content)); }),
              "Слишком глубокая вложенность элементов (более 1000 уровней)");
}

TEST(XmlBinary, CutAtEveryOffsetFailsCleanly) {
    for (const std::uint32_t options : {0u, 1u}) {
        const std::string bytes = SampleDocument()->BinaryXml(options);
        IXmlDocument doc = MakeXmlDocument();
        for (size_t size = 0; size < bytes.size(); ++size) {
            EXPECT_EQ(MessageOf([&] { doc->LoadBinaryXML(bytes.substr(0, size)); }),
                      "Ошибка чтения данных.")
                << size;
        }
    }
}

TEST(XmlBinary, RandomMutationsNeverCrash) {
    const std::string original = SampleDocument()->BinaryXml(1);
    std::mt19937 random(107);
    int loaded = 0;
    for (int round = 0; round < 10000; ++round) {
        std::string bytes = original;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const size_t at = kBinaryXmlSignature.size() + random() % (bytes.size() - 14);
            const auto kind = random() % 3;
            if (kind == 0) bytes[at] = static_cast<char>(random());
            if (kind == 1) bytes.erase(at, 1 + random() % 8);
            if (kind == 2) bytes.insert(at, 1, static_cast<char>(random()));
        }
        IXmlDocument doc = MakeXmlDocument();
        try {
            doc->LoadBinaryXML(bytes);
            doc->Xml();
            ++loaded;
        } catch (const EXmlError&) {
        }
    }
    EXPECT_GT(loaded, 0);
}

}  // namespace
}  // namespace rv
