// The streaming writer gives the bytes the tree writer gives for the same data document.

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "medialib/xml/simple_xml.h"
#include "medialib/xml/xml_stream_writer.h"

namespace rv {
namespace {

// Builds one document both ways at once.
class BothWays {
public:
    explicit BothWays(std::string_view encoding)
        : encoding_(encoding),
          doc_(MakeXmlDocument()),
          stream_([this](std::string_view piece) { pieces_.emplace_back(piece); }, "1.0",
                  encoding) {}

    void Start(std::string_view name) {
        stream_.StartElement(name);
        open_.push_back(open_.empty() ? doc_->NewDocument("1.0", encoding_, name)
                                      : open_.back()->AppendElement(name));
    }
    void Attribute(std::string_view name, std::string_view value) {
        stream_.Attribute(name, value);
        open_.back()->SetAttr(name, value);
    }
    void End() {
        stream_.EndElement();
        open_.pop_back();
    }
    void Value(std::string_view name, std::string_view text) {
        stream_.ValueElement(name, text);
        open_.back()->AppendElement(name)->SetText(text);
    }
    void Numbers(std::string_view name, std::int64_t integer, double number) {
        stream_.IntegerElement(name, integer);
        open_.back()->AppendElement(name)->SetNodeValue(
            XmlValue::Integer(XmlVarType::Int64, integer));
        stream_.FloatElement(name, number);
        open_.back()->AppendElement(name)->SetNodeValue(XmlValue::Float64(number));
    }

    // The streamed text, and the tree's.
    std::string Streamed() {
        stream_.Finish();
        std::string text;
        for (const std::string& piece : pieces_) text += piece;
        return text;
    }
    std::string FromTree() const { return doc_->SaveToBytes(); }
    const std::vector<std::string>& Pieces() const { return pieces_; }

private:
    std::string encoding_;
    IXmlDocument doc_;
    std::vector<IXmlElement> open_;
    std::vector<std::string> pieces_;
    XmlStreamWriter stream_;
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

TEST(XmlStreamWriter, WritesTheTreeWritersBytes) {
    for (const char* encoding : {"windows-1250", "UTF-8"}) {
        SCOPED_TRACE(encoding);
        BothWays doc(encoding);
        WriteSample(doc, 1);
        EXPECT_EQ(doc.Streamed(), doc.FromTree());
    }
    BothWays named("UTF-8");
    named.Start("N\u00e1zev");
    named.Value("\u0416", "x");
    named.End();
    EXPECT_EQ(named.Streamed(), named.FromTree());
}

TEST(XmlStreamWriter, HandsALargeDocumentOnInPieces) {
    BothWays doc("windows-1250");
    WriteSample(doc, 2000);
    const std::string streamed = doc.Streamed();
    EXPECT_EQ(streamed, doc.FromTree());
    ASSERT_GT(doc.Pieces().size(), 3u);
    for (const std::string& piece : doc.Pieces())
        EXPECT_LT(piece.size(), XmlStreamWriter::kPieceSize + 1024);
}

TEST(XmlStreamWriter, RefusesWhatTheEncodingCannotHold) {
    std::string written;
    const auto sink = [&written](std::string_view piece) { written += piece; };
    EXPECT_THROW(XmlStreamWriter(sink, "1.0", "UTF-16"), EXmlError);
    XmlStreamWriter stream(sink, "1.0", "windows-1250");
    stream.StartElement("Root");
    EXPECT_THROW(stream.ValueElement("\u0416", "x"), EXmlError);
    EXPECT_THROW(stream.MakeTag("\u0416"), EXmlError);
}

}  // namespace
}  // namespace rv
