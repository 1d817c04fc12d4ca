// Reading content without a document: the events the parser reports, and the binary form
// reported alike.

#include <gtest/gtest.h>

#include <string>

#include "medialib/xml/simple_xml.h"
#include "medialib/xml/xml_content_handler.h"
#include "medialib/xml/xml_content_reader.h"

namespace rv {
namespace {

// Writes every event down in a compact form.
class Recorder final : public XmlContentHandler {
public:
    std::string events;

    void StartElement(XmlNameID name) override { events += "<" + names.GetName(name); }
    void Attribute(XmlNameID name, std::string_view value) override {
        events += " " + names.GetName(name) + "=" + std::string(value);
    }
    void StartTagEnd() override { events += ">"; }
    void EndElement() override { events += "</>"; }
    void Text(std::string_view text, bool whole) override {
        events += (whole ? "T[" : "t[") + std::string(text) + "]";
    }
    void CData(std::string_view text) override { events += "C[" + std::string(text) + "]"; }
    void Comment(std::string_view text) override { events += "!" + std::string(text) + "!"; }
    void ProcessingInstruction(XmlNameID target, std::string_view text) override {
        events += "?" + names.GetName(target) + "[" + std::string(text) + "]";
    }

    TXmlNameTable names;
};

std::string Events(std::string_view bytes, bool preserve = false) {
    Recorder recorder;
    ReadXmlContent(bytes, recorder, recorder.names, preserve);
    return recorder.events;
}

TEST(XmlContentReader, ReportsContentInOrderAndTheBinaryFormAlike) {
    const std::string text =
        "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<!--c--><?p  d ?><R a='&lt;'>\r\n"
        "\t<E b=\"1\" b=\"2\">\xe8&#x416;</E><F/><G> x <![CDATA[ y ]]><H>z</H></G></R>";
    const std::string expected =
        "?xml[] version=1.0 encoding=windows-1250!c!?p[d ]<R a=<><E b=1 b=2>T[\u010d\u0416]</>"
        "<F></><G>t[ x ]C[ y ]<H>T[z]</></></>";
    EXPECT_EQ(Events(text), expected);

    const IXmlDocument doc = MakeXmlDocument();
    doc->LoadFromBytes(text);
    for (const std::uint32_t options : {0u, 1u}) {
        // The document keeps one value of a name given twice, so the binary form has one.
        std::string once = expected;
        once.replace(once.find(" b=1"), 4, "");
        EXPECT_EQ(Events(doc->BinaryXml(options)), once) << options;
    }

    // Kept white space is reported as text; an element whose content is not one run of text
    // has no whole text.
    EXPECT_EQ(Events("<a> <b/> </a>", true), "<a>t[ ]<b></>t[ ]</>");
    EXPECT_EQ(Events("<a><!--c-->x</a>"), "<a>!c!t[x]</>");
}

TEST(XmlContentReader, ErrorsAreThoseOfLoadingADocument) {
    for (const char* bad : {"<a>", "<a></b>", "<a x='1' x2></a>", "<a>&bad;</a>", "\xFF\xFE<a/>",
                            "< binary-xml >\x01"}) {
        std::string documentError, contentError;
        try {
            MakeXmlDocument()->LoadFromBytes(bad);
        } catch (const EXmlError& error) {
            documentError = error.Message() + "@" + std::to_string(error.Column());
        }
        try {
            Events(bad);
        } catch (const EXmlError& error) {
            contentError = error.Message() + "@" + std::to_string(error.Column());
        }
        EXPECT_FALSE(documentError.empty()) << bad;
        EXPECT_EQ(contentError, documentError) << bad;
    }
}

}  // namespace
}  // namespace rv
