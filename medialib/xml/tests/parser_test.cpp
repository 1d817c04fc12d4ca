// The text parser: white space, the error messages and where they point, input encodings,
// hostile input; and the content events it reports without a document, for the binary form too.

#include <gtest/gtest.h>

#include "medialib/xml/simple_xml.h"
#include "medialib/xml/tests/error_message.h"
#include "medialib/xml/text_parser.h"
#include "medialib/xml/xml_content_handler.h"
#include "medialib/xml/xml_content_reader.h"
#include "platform/text/format.h"

namespace rv {
namespace {

IXmlDocument Parse(std::string_view bytes, bool preserve = false) {
    IXmlDocument doc = MakeXmlDocument();
    doc->SetPreserveWhiteSpace(preserve);
    doc->LoadFromBytes(bytes);
    return doc;
}

using test::ErrorInfo;

ErrorInfo ParseError(std::string_view bytes) {
    return test::ErrorOf([&] { Parse(bytes); });
}

TEST(XmlParser, WhiteSpaceBetweenTagsIsDroppedUnlessPreserved) {
    const std::string text = "<R>\r\n\t<A> x </A>\r\n\t<B>\n</B> tail <!--c-->\n</R>";
    IXmlElement root = Parse(text)->DocumentElement();
    ASSERT_EQ(root->ChildNodes()->Count(), 4);
    EXPECT_EQ(root->GetChildText("A"), " x ");
    EXPECT_EQ(root->ChildNodes()->Item(1)->ChildNodes()->Count(), 0);
    EXPECT_EQ(root->ChildNodes()->Item(2)->Text(), " tail ");
    EXPECT_EQ(root->ChildNodes()->Item(3)->NodeType(), kXmlCommentNode);
    EXPECT_EQ(root->ChildNodes()->Item(3)->Text(), "c");

    IXmlDocument kept = Parse(text, true);
    EXPECT_EQ(kept->DocumentElement()->ChildNodes()->Count(), 7);
    EXPECT_EQ(kept->DocumentElement()->Xml(),
              "<R>&#xD;\n\t<A> x </A>&#xD;\n\t<B>\n</B> tail <!--c-->\n</R>");
}

TEST(XmlParser, DeclarationDoctypeAndInstructions) {
    IXmlDocument doc = Parse(
        "<?xml version=\"1.0\" encoding='UTF-8'?>\n<!DOCTYPE R [<!ENTITY e \"v\">]>\n"
        "<?style  type=\"x\"?><R><![CDATA[<not a tag>]]></R>");
    IXmlNodeList top = doc->ChildNodes();
    ASSERT_EQ(top->Count(), 3);
    EXPECT_EQ(top->Item(0)->NodeName(), "xml");
    EXPECT_EQ(top->Item(0)->GetAttr("encoding"), "UTF-8");
    EXPECT_EQ(top->Item(1)->NodeName(), "style");
    EXPECT_EQ(top->Item(1)->Text(), "type=\"x\"");
    EXPECT_EQ(doc->SaveToBytes(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><?style type=\"x\"?>\r\n"
              "<R><![CDATA[<not a tag>]]></R>");
}

TEST(XmlParser, ErrorMessagesAndWhereTheyPoint) {
    struct Case {
        std::string_view input;
        const char* message;
        int line, column;
    } cases[] = {
        {"<R", "Не завершено определение элемента", 1, 3},
        {"<R\xC3\x97/>", "Некорретный символ в имени элемента", 1, 3},
        {"<1R/>", "Имя должно начинаться с буквы или \"_\"", 1, 2},
        {"<R a=", "Ожидается значение атрибута", 1, 6},
        {"<R a=b/>", "Ожидается строковая константа", 1, 6},
        {"<R a='<'/>", "Символ \"<\" не может использоваться в значениях атрибутов", 1, 7},
        {"<R a='x", "Ожидается \"'\"", 1, 8},
        {"<R>&", "Ожидается \"#\" или имя упрамляющего символа", 1, 5},
        {"<R>&#;</R>", "Ожидается число", 1, 6},
        {"<R>&#x;</R>", "Ожидается шестнадцатеричное число", 1, 7},
        {"<R>&nbsp;</R>", "Некорректное имя управляющего символа", 1, 5},
        {"<R>\n  <A></a></R>", "Ожидается \"A\"", 2, 8},
        {"<R><!-- open", "Ожидается \"-->\"", 1, 13},
        {"<R><![CDAT[x]]></R>", "Ожидается \"[CDATA[\"", 1, 6},
        {"<R a='1' b></R>", "Ожидается \"=\"", 1, 11},
        {"<R><A>", "Ожидается \"/\"", 1, 7},
        {"<R/ >", "Ожидается \"/>\"", 1, 3},
        {"<R>&amp</R>", "Ожидается \";\"", 1, 8},
        {"<R>&#1;</R>", "Недопустимый код символа: &#1;", 1, 4},
        {"<R>&#xD800;</R>", "Недопустимый код символа: &#xD800;", 1, 4},
        {"<R>&#99999999999;</R>", "Недопустимый код символа: &#99999999999;", 1, 4},
        {"<R>\xC3</R>", "Некорректная последовательность байтов UTF-8", 1, 4},
        {"<?xml version='1.0' encoding='x-none'?><R/>", "Кодировка \"x-none\" не поддерживается", 1,
         1},
        {std::string_view("\xFF\xFE<\0R\0\xD7\0/\0>\0", 12), "Некорретный символ в имени элемента",
         1, 3},
        {std::string_view("<R>ab\0cd</R>", 12), "Недопустимый символ с кодом 0", 1, 6},
    };
    for (const Case& c : cases) {
        const ErrorInfo error = ParseError(c.input);
        EXPECT_EQ(error.message, c.message) << c.input;
        EXPECT_EQ(error.line, c.line) << c.input;
        EXPECT_EQ(error.column, c.column) << c.input;
    }
}

TEST(XmlParser, NestingDeeperThanTheLimitIsAnError) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    const ErrorInfo error = ParseError(deep);
    EXPECT_EQ(error.message, "Слишком глубокая вложенность элементов (более 1000 уровней)");
    EXPECT_EQ(error.column, 3 * kXmlMaxDepth + 1);

    std::string allowed, close;
    for (int i = 0; i < kXmlMaxDepth; ++i) allowed += "<a>", close += "</a>";
    EXPECT_NO_THROW(Parse(allowed + close));
}

// Each attribute is read once, however many the element has; a name given again replaces the
// earlier value in its place.
TEST(XmlParser, ManyAttributesAndRepeatedNames) {
    constexpr int kCount = 200000;
    std::string text = "<?xml version='1.0' version='2.0'?><R";
    for (int i = 0; i < kCount; ++i) text += Format(" a%d='%d'", i, i);
    text += " a7=\"again\" a0='first' a7='last'/>";
    IXmlDocument doc = Parse(text);
    const IXmlElement root = doc->DocumentElement();
    ASSERT_EQ(root->AttrCount(), kCount);
    EXPECT_EQ(root->AttrName(7), "a7");
    EXPECT_EQ(root->GetAttr("a7"), "last");
    EXPECT_EQ(root->GetAttr("a0"), "first");
    EXPECT_EQ(root->GetAttr("a199999"), "199999");
    EXPECT_EQ(doc->ChildNodes()->Item(0)->GetAttr("version"), "2.0");
}

TEST(XmlParser, ErrorKeepsWhatWasRead) {
    IXmlDocument doc = MakeXmlDocument();
    EXPECT_THROW(doc->LoadFromBytes("<R><A>1</A><B>2</B><C attr=></R>"), EXmlError);
    IXmlElement root = doc->DocumentElement();
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetChildText("B"), "2");
    EXPECT_TRUE(root->SelectSingleNode("C"));
}

// windows-1250 and UTF-8 with or without a mark are checked against ElementTree.
TEST(XmlParser, DecodesTheOtherCodePagesButNotTextAlreadyDecoded) {
    IXmlElement r1252 = Parse("<?xml version='1.0' encoding='windows-1252'?><R>\x80 \x9A\xE9</R>")
                            ->DocumentElement();
    EXPECT_EQ(r1252->Text(), "€ šé");
    IXmlElement latin1 =
        Parse("<?xml version='1.0' encoding='ISO-8859-1'?><R>\xE9\x80</R>")->DocumentElement();
    EXPECT_EQ(latin1->Text(), "é\xC2\x80");
    IXmlDocument doc = MakeXmlDocument();
    doc->LoadXML("<?xml version=\"1.0\" encoding=\"windows-1250\"?><R>č</R>");
    EXPECT_EQ(doc->DocumentElement()->Text(), "č");
}

TEST(XmlParser, BinarySignatureAndShortInput) {
    IXmlDocument doc = MakeXmlDocument();
    EXPECT_THROW(doc->LoadFromBytes(std::string(kBinaryXmlSignature) + "\x01\0\0\0"), EXmlError);
    // Fourteen bytes or fewer are always text.
    EXPECT_EQ(ParseError(kBinaryXmlSignature).message, "Имя должно начинаться с буквы или \"_\"");
    EXPECT_EQ(Parse("<R>123456</R>")->DocumentElement()->Text(), "123456");
}

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
        "\t<E b=\"1\" b = \"2\">\xe8&#x416;</E><F/><G> x <![CDATA[ y ]]><H>z</H></G></R>";
    const std::string expected =
        "?xml[] version=1.0 encoding=windows-1250!c!?p[d ]<R a=<><E b=1 b=2>T[\u010d\u0416]</>"
        "<F></><G>t[ x ]C[ y ]<H>T[z]</></></>";
    EXPECT_EQ(Events(text), expected);

    const IXmlDocument doc = MakeXmlDocument();
    doc->LoadFromBytes(text);
    for (const std::uint32_t options : {0u, 1u}) {
        // The document keeps the last value of a name given twice, so the binary form has one.
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
    for (const char* bad : {"<a>", "<a></b>", "<a x='1' x2></a>", "<a>&bad;</a>", "\xFF\xFE<",
                            "< binary-xml >\x01"}) {
        const ErrorInfo document = ParseError(bad);
        const ErrorInfo content = test::ErrorOf([&] { Events(bad); });
        EXPECT_NE(document.message, "(no error)") << bad;
        EXPECT_EQ(content.message, document.message) << bad;
        EXPECT_EQ(content.column, document.column) << bad;
    }
}

}  // namespace
}  // namespace rv
