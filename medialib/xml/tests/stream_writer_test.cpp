// The streaming writer gives the bytes the tree writer gives for the same data document.

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "medialib/xml/simple_xml.h"
#include "medialib/xml/xml_stream_writer.h"

namespace rv {
namespace {

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
    for (int i = 0; i < repeats; ++i) {
        doc.Start("Entry");
        doc.Value("Escaped", "Rock & Roll <\"live\"> a > b");
        doc.Value("Letters", "\u010c\u00e1slav \u0416\u0438\u0437\u043d\u044c \u2013 \U0001F3B5");
        doc.Value("Layout", "line 1\r\nline 2\ttab");
        doc.Value("Unfit", "a\x01z \xFF end\xC3");  // a control character, malformed UTF-8
        doc.Value("Blank", " \t ");
        doc.Value("Empty", "");
        doc.Value("Dropped", "\x02");
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
