// The text form: exact layout, escaping, encodings, and values that survive saving.

#include <gtest/gtest.h>

#include "medialib/xml/simple_xml.h"
#include "medialib/xml/tests/error_message.h"

namespace rv {
namespace {

using test::MessageOf;

IXmlDocument FromBytes(std::string_view bytes) {
    IXmlDocument doc = MakeXmlDocument();
    doc->LoadFromBytes(bytes);
    return doc;
}

TEST(XmlWriter, LaysOutOneElementPerLineWithoutFinalLineEnd) {
    IXmlDocument doc = MakeXmlDocument("R", "1.0", "windows-1250");
    IXmlElement root = doc->DocumentElement();
    root->AppendElement("A")->AppendText("x");
    root->AppendElement("B");
    IXmlElement c = root->AppendElement("C");
    c->SetAttr("n", "1");
    c->AppendElement("D")->AppendText("");
    EXPECT_EQ(doc->SaveToBytes(),
              "<?xml version=\"1.0\" encoding=\"windows-1250\"?>"
              "\r\n<R>"
              "\r\n\t<A>x</A>"
              "\r\n\t<B/>"
              "\r\n\t<C n=\"1\">"
              "\r\n\t\t<D/>"
              "\r\n\t</C>"
              "\r\n</R>");
    // The same node written again, or alone, starts from depth 0 each time.
    EXPECT_EQ(c->Xml(), "\r\n<C n=\"1\">\r\n\t<D/>\r\n</C>");
    EXPECT_EQ(c->Xml(), c->Xml());

    doc->SetPreserveWhiteSpace(true);
    EXPECT_EQ(root->Xml(), "<R><A>x</A><B/><C n=\"1\"><D/></C></R>");
}

// Markup characters in content are escaped, and texts that would end a section early are split
// or broken up; everything reads back.
TEST(XmlWriter, ContentCannotEndItsMarkupEarly) {
    IXmlDocument doc = MakeXmlDocument("R", "1.0", "UTF-8");
    IXmlElement root = doc->DocumentElement();
    root->SetAttr("a", "<&\"'>");
    root->AppendText("1 < 2 & \"3\" > 'four'");
    root->AppendCDATA("a]]>b]]>");
    root->AppendComment("a--b-");
    root->AppendProcessingInstruction("pi", "x ?> y");
    root->AppendElement("After");
    EXPECT_EQ(
        root->Xml(),
        "\r\n<R a=\"&lt;&amp;&quot;'&gt;\">1 &lt; 2 &amp; &quot;3&quot; &gt; 'four'"
        "<![CDATA[a]]]><![CDATA[]>b]]]><![CDATA[]>]]><!--a- -b- --><?pi x ? > y?><After/></R>");
    IXmlElement back = FromBytes(doc->SaveToBytes())->DocumentElement();
    EXPECT_EQ(back->GetAttr("a"), "<&\"'>");
    IXmlNodeList children = back->ChildNodes();
    ASSERT_EQ(children->Count(), 7);
    EXPECT_EQ(children->Item(0)->Text(), "1 < 2 & \"3\" > 'four'");
    std::string joined;
    for (int i = 1; i <= 3; ++i) joined += children->Item(i)->AsCDATASection()->Data();
    EXPECT_EQ(joined, "a]]>b]]>");
    EXPECT_EQ(children->Item(6)->NodeName(), "After");
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

TEST(XmlWriter, LeavesOutCharactersXmlCannotCarry) {
    IXmlDocument doc = MakeXmlDocument("R", "1.0", "UTF-8");
    IXmlElement root = doc->DocumentElement();
    root->SetAttr("a", std::string("x\x01y\x1F", 4));
    root->AppendText(std::string("t\tc\rl\nz\x00\x0B\x0C", 11) + "\xEF\xBF\xBE|\xEF\xBF\xBF");
    root->AppendCDATA(
        "c\x02"
        "d");
    root->AppendComment(
        "e\x03"
        "f");
    EXPECT_EQ(root->Xml(), "\r\n<R a=\"xy\">t\tc\rl\nz|<![CDATA[cd]]><!--ef--></R>");
    EXPECT_NO_THROW(FromBytes(doc->SaveToBytes()));
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
    EXPECT_EQ(back->DocumentElement()->GetChildText("Name"), "Dvořák – Живот");
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

}  // namespace
}  // namespace rv
