// The text form: exact layout, escaping, encodings, and values that survive saving; the streaming
// writer gives the bytes the tree writer gives for the same data document.

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "medialib/xml/simple_xml.h"
#include "medialib/xml/tests/error_message.h"
#include "medialib/xml/xml_stream_writer.h"

namespace rv {
namespace {

using test::MessageOf;

IXmlDocument FromBytes(std::string_view bytes) {
    IXmlDocument doc = MakeXmlDocument();
    doc->LoadFromBytes(bytes);
    return doc;
}

TEST(XmlWriter, LaysOutOneElementPerLine) {
    IXmlDocument doc = MakeXmlDocument("R", "1.0", "windows-1250");
    IXmlElement root = doc->DocumentElement();
    root->AppendElement("A")->AppendText("x");
    root->AppendElement("B");
    IXmlElement c = root->AppendElement("C");
    c->SetAttr("n", "1");
    c->AppendElement("D")->AppendText("");
    EXPECT_EQ(root->Xml(),
              "\r\n<R>\r\n\t<A>x</A>\r\n\t<B/>\r\n\t<C n=\"1\">\r\n\t\t<D/>\r\n\t</C>\r\n</R>");
    // The same node written again, or alone, starts from depth 0 each time.
    EXPECT_EQ(c->Xml(), "\r\n<C n=\"1\">\r\n\t<D/>\r\n</C>");
    EXPECT_EQ(c->Xml(), c->Xml());

    doc->SetPreserveWhiteSpace(true);
    EXPECT_EQ(root->Xml(), "<R><A>x</A><B/><C n=\"1\"><D/></C></R>");
}

// Markup characters in content are escaped, texts that would end a section early are split or
// broken up, characters XML cannot carry are replaced (control characters by blanks, U+FFFE and
// U+FFFF by U+FFFD), never left out; everything reads back.
TEST(XmlWriter, ContentCannotEndItsMarkupEarly) {
    IXmlDocument doc = MakeXmlDocument("R", "1.0", "UTF-8");
    IXmlElement root = doc->DocumentElement();
    root->SetAttr("a", "<&\"'>");
    root->AppendText("1 < 2 & \"3\" > 'four'");
    root->AppendCDATA("a]]>b]]>");
    root->AppendComment("a--b-");
    root->AppendProcessingInstruction("pi", "x ?> y");
    // Characters XML cannot carry are replaced.
    IXmlElement unfit = root->AppendElement("U");
    unfit->SetAttr("a", std::string("x\x01y\x1F", 4));
    unfit->AppendText(std::string("t\tc\rl\nz\x00\x0B\x0C", 11) + "\xEF\xBF\xBE|\xEF\xBF\xBF");
    unfit->AppendCDATA(std::string("c\x02") + "d");
    unfit->AppendComment(std::string("e\x03") + "f");
    root->AppendElement("After");
    EXPECT_EQ(root->Xml(),
              "\r\n<R a=\"&lt;&amp;&quot;'&gt;\">1 &lt; 2 &amp; &quot;3&quot; &gt; 'four'"
              "<![CDATA[a]]]><![CDATA[]>b]]]><![CDATA[]>]]><!--a- -b- --><?pi x ? > y?>"
              "<U a=\"x y \">t\tc&#xD;l\nz    \xEF\xBF\xBD|\xEF\xBF\xBD<![CDATA[c d]]><!--e f-->"
              "</U><After/></R>");
    IXmlElement back = FromBytes(doc->SaveToBytes())->DocumentElement();
    EXPECT_EQ(back->GetAttr("a"), "<&\"'>");
    IXmlNodeList children = back->ChildNodes();
    ASSERT_EQ(children->Count(), 8);
    EXPECT_EQ(children->Item(0)->Text(), "1 < 2 & \"3\" > 'four'");
    std::string joined;
    for (int i = 1; i <= 3; ++i) joined += children->Item(i)->AsCDATASection()->Data();
    EXPECT_EQ(joined, "a]]>b]]>");
    EXPECT_EQ(children->Item(7)->NodeName(), "After");
    TXmlElement* unfitBack = children->Item(6)->AsElement();
    ASSERT_NE(unfitBack, nullptr);
    EXPECT_EQ(unfitBack->GetAttr("a"), "x y ");
    EXPECT_EQ(unfitBack->ChildNodes()->Item(0)->Text(), "t\tc\rl\nz    \uFFFD|\uFFFD");
}

// Other readers turn CR LF and a lone CR into LF, and TAB, CR and LF in attribute values into
// blanks: as references these reach every reader unchanged, and ours reads them as before.
TEST(XmlWriter, CarriageReturnsAndLineBreaksInAttributesAreReferences) {
    IXmlDocument doc = MakeXmlDocument("R", "1.0", "UTF-8");
    IXmlElement root = doc->DocumentElement();
    root->SetAttr("a", "1\t2\r\n3\n4\r");
    root->AppendElement("T")->SetText("x\r\ny\tz\n\r");
    root->AppendElement("C")->AppendCDATA("p\rq");  // no reference can stand in a section
    EXPECT_EQ(
        doc->SaveToBytes(),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<R a=\"1&#x9;2&#xD;&#xA;3&#xA;4&#xD;\">"
        "\r\n\t<T>x&#xD;\ny\tz\n&#xD;</T>\r\n\t<C>p&#xD;q</C>\r\n</R>");
    IXmlElement back = FromBytes(doc->SaveToBytes())->DocumentElement();
    EXPECT_EQ(back->GetAttr("a"), "1\t2\r\n3\n4\r");
    EXPECT_EQ(back->GetChildText("T"), "x\r\ny\tz\n\r");
    EXPECT_EQ(back->GetChildText("C"), "p\rq");
}

TEST(XmlWriter, TextValuesSurviveRepeatedSaving) {
    const std::string values[] = {"line 1\r\nline 2", "ends with a break\r\n", "\nstarts",
                                  "  padded  ",       "tab\tinside",           "a\rb"};
    IXmlDocument doc = MakeXmlDocument("R", "1.0", "windows-1250");
    IXmlElement root = doc->DocumentElement();
    for (const std::string& value : values) root->AppendElement("V")->AppendText(value);
    IXmlElement mixed = root->AppendElement("M");
    mixed->AppendText("before\r\n");
    mixed->AppendElement("B")->AppendElement("I")->SetText("inner");
    mixed->AppendText("\r\nafter");
    root->AppendElement("S")->SetText("held\r\nas value");

    std::string bytes = doc->SaveToBytes();
    for (int round = 0; round < 3; ++round) {
        IXmlDocument back = FromBytes(bytes);
        IXmlNodeList vs = back->DocumentElement()->SelectNodes("V");
        ASSERT_EQ(vs->Count(), static_cast<int>(std::size(values)));
        for (int i = 0; i < vs->Count(); ++i) EXPECT_EQ(vs->Item(i)->Text(), values[i]);
        IXmlNode m = back->DocumentElement()->SelectSingleNode("M");
        EXPECT_EQ(m->ChildNodes()->Item(0)->Text(), "before\r\n");
        EXPECT_EQ(m->ChildNodes()->Item(2)->Text(), "\r\nafter");
        EXPECT_EQ(back->DocumentElement()->GetChildText("S"), "held\r\nas value");
        const std::string again = back->SaveToBytes();
        EXPECT_EQ(again, bytes) << "round " << round;
        bytes = again;
    }
}

TEST(XmlWriter, WritesTheDeclaredEncodingWithReferencesForMissingCharacters) {
    IXmlDocument doc = MakeXmlDocument("R", "1.0", "windows-1250");
    IXmlElement root = doc->DocumentElement();
    root->SetAttr("a", "Ж");
    root->AppendElement("Name")->SetText("Dvořák – Живот");
    root->AppendElement("C")->AppendCDATA("čЖ]");
    root->AppendComment("Жč");
    EXPECT_EQ(doc->SaveToBytes(),
              "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<R a=\"&#x416;\">"
              "\r\n\t<Name>Dvo\xF8\xE1k \x96 &#x416;&#x438;&#x432;&#x43E;&#x442;</Name>"
              "\r\n\t<C>\xE8&#x416;]</C><!--?\xE8-->\r\n</R>");
    IXmlDocument back = FromBytes(doc->SaveToBytes());
    EXPECT_EQ(back->DocumentElement()->GetAttr("a"), "Ж");
    EXPECT_EQ(back->DocumentElement()->GetChildText("C"), "čЖ]");

    doc->ChildNodes()->Item(0)->SetText("version=\"1.0\" encoding=\"UTF-8\"");
    EXPECT_NE(doc->SaveToBytes().find("<Name>Dvořák – Живот</Name>"), std::string::npos);
}

TEST(XmlWriter, RefusesWhatTheEncodingCannotHold) {
    IXmlDocument doc = MakeXmlDocument("R", "1.0", "windows-1250");
    doc->DocumentElement()->AppendElement("A")->AppendElement("B")->AppendElement("Имя");
    EXPECT_EQ(MessageOf([&] { doc->SaveToBytes(); }),
              "Имя \"Имя\" нельзя записать в кодировке \"windows-1250\"");
    // A write that stopped half-way leaves no indentation behind for the next one.
    EXPECT_EQ(doc->DocumentElement()->Xml(),
              "\r\n<R>\r\n\t<A>\r\n\t\t<B>\r\n\t\t\t<Имя/>\r\n\t\t</B>\r\n\t</A>\r\n</R>");
    // The default encoding of a new document is one files cannot be written in.
    EXPECT_EQ(MessageOf([] { MakeXmlDocument("R")->SaveToBytes(); }),
              "Кодировка \"windows-1251\" не поддерживается");
}

TEST(XmlWriter, WritesOnlyWhatReadersTake) {
    // A declaration anywhere but at the start is left out.
    IXmlDocument doc = MakeXmlDocument("R", "1.0", "UTF-8");
    doc->DocumentElement()->AppendProcessingInstruction("xml", "version=\"1.0\"");
    doc->AppendProcessingInstruction("xml", "version=\"1.0\"");
    doc->AppendText(" \n");
    EXPECT_EQ(doc->SaveToBytes(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<R/>");

    // One root, and no text beside it.
    IXmlDocument twoRoots = MakeXmlDocument("R", "1.0", "UTF-8");
    twoRoots->AppendElement("Second");
    IXmlDocument text = MakeXmlDocument("R", "1.0", "UTF-8");
    text->AppendText("tail");
    for (const IXmlDocument& refused : {MakeXmlDocument(), twoRoots, text})
        EXPECT_EQ(
            MessageOf([&] { refused->SaveToBytes(); }),
            "Документ должен содержать ровно один корневой элемент и никакого текста вне его");
}

// Builds one document both ways at once.
struct BothWays {
    explicit BothWays(std::string_view encoding)
        : encoding(encoding),
          stream([this](std::string_view piece) { pieces.emplace_back(piece); }, "1.0", encoding) {}

    void Start(std::string_view name) {
        stream.StartElement(name);
        open.push_back(open.empty() ? tree->NewDocument("1.0", encoding, name)
                                    : open.back()->AppendElement(name));
    }
    void Attribute(std::string_view name, std::string_view value) {
        stream.Attribute(name, value);
        open.back()->SetAttr(name, value);
    }
    void End() {
        stream.EndElement();
        open.pop_back();
    }
    void Value(std::string_view name, std::string_view text) {
        stream.ValueElement(name, text);
        open.back()->AppendElement(name)->SetText(text);
    }
    void Numbers(std::string_view name, std::int64_t integer, double number) {
        stream.IntegerElement(name, integer);
        open.back()->AppendElement(name)->SetNodeValue(
            XmlValue::Integer(XmlVarType::Int64, integer));
        stream.FloatElement(name, number);
        open.back()->AppendElement(name)->SetNodeValue(XmlValue::Float64(number));
    }
    std::string Streamed() {
        stream.Finish();
        std::string text;
        for (const std::string& piece : pieces) text += piece;
        return text;
    }

    std::string encoding;
    IXmlDocument tree = MakeXmlDocument();
    std::vector<IXmlElement> open;
    std::vector<std::string> pieces;
    XmlStreamWriter stream;
};

void WriteSample(BothWays& doc, int repeats) {
    doc.Start("Catalogue");
    doc.Attribute("note", "<R&R> \"Dvo\u0159\u00e1k\" \u0416");
    doc.Attribute("lines", "a\tb\r\nc\n");
    for (int i = 0; i < repeats; ++i) {
        doc.Start("Entry");
        doc.Value("Escaped", "Rock & Roll <\"live\"> a > b");
        doc.Value("Letters", "\u010c\u00e1slav \u0416\u0438\u0437\u043d\u044c \u2013 \U0001F3B5");
        doc.Value("Layout", "line 1\r\nline 2\ttab");
        doc.Value("Unfit", "a\x01z \xFF end\xC3");  // a control character, malformed UTF-8
        doc.Value("Blank", " \t ");
        doc.Value("Empty", "");
        doc.Value("Blanked", "\x02");
        doc.Numbers("N", -12345, 245.25);
        doc.Numbers("Edge", std::numeric_limits<std::int64_t>::min(), 1e-7);
        doc.Start("Outer");
        doc.Start("Inner");
        doc.End();
        doc.Start("Inner");
        doc.Attribute("x", "1");
        doc.End();
        doc.End();
        doc.Start("Nothing");
        doc.End();
        doc.End();
    }
    doc.End();
}

TEST(XmlStreamWriter, WritesTheTreeWritersBytesInPieces) {
    for (const char* encoding : {"windows-1250", "UTF-8"}) {
        SCOPED_TRACE(encoding);
        BothWays doc(encoding);
        WriteSample(doc, 2000);
        EXPECT_EQ(doc.Streamed(), doc.tree->SaveToBytes());
        ASSERT_GT(doc.pieces.size(), 3u);
        for (const std::string& piece : doc.pieces)
            EXPECT_LT(piece.size(), XmlStreamWriter::kPieceSize + 1024);
    }
    BothWays named("UTF-8");
    named.Start("N\u00e1zev");
    named.Value("\u0416", "x");
    named.End();
    EXPECT_EQ(named.Streamed(), named.tree->SaveToBytes());
}

TEST(XmlStreamWriter, RefusesWhatTheEncodingCannotHold) {
    const auto sink = [](std::string_view) {};
    EXPECT_THROW(XmlStreamWriter(sink, "1.0", "UTF-16"), EXmlError);
    XmlStreamWriter stream(sink, "1.0", "windows-1250");
    stream.StartElement("Root");
    EXPECT_THROW(stream.ValueElement("\u0416", "x"), EXmlError);
    EXPECT_THROW(stream.MakeTag("\u0416"), EXmlError);
}

}  // namespace
}  // namespace rv
