// The document model: names, lists, structural operations and their errors, Text.

#include <gtest/gtest.h>

#include <latch>
#include <thread>

#include "medialib/xml/simple_xml.h"
#include "medialib/xml/tests/error_message.h"
#include "platform/text/format.h"

namespace rv {
namespace {

using test::MessageOf;

TEST(XmlNameTable, PredefinedNamesEmptyNameAndCase) {
    IXmlNameTable table(new TXmlNameTable);
    const char* predefined[] = {"#text", "#cdata-section", "#comment", "#document", "xml"};
    for (int id = 0; id < 5; ++id) EXPECT_EQ(table->GetID(predefined[id]), id);
    EXPECT_EQ(table->GetID(""), -1);
    EXPECT_EQ(table->Names().size(), 5u);
    const XmlNameID lower = table->GetID("Name");
    const XmlNameID upper = table->GetID("NAME");
    EXPECT_NE(lower, upper);
    EXPECT_EQ(table->GetID("Name"), lower);
    EXPECT_EQ(table->GetName(upper), "NAME");
    EXPECT_EQ(table->GetName(-1), "");
    EXPECT_EQ(table->FindID("missing"), -1);
    EXPECT_EQ(table->Names().size(), 7u);  // looking up adds nothing
}

// Callers keep identifiers and hand them back, so however a name's last use ends, its identifier
// goes on naming it and no new name is given it.
TEST(XmlNameTable, AnIdentifierKeepsItsNameWhenItsLastUseEnds) {
    IXmlNameTable table(new TXmlNameTable);
    IXmlDocument doc = MakeXmlDocument("R", "1.0", "UTF-8", table.Get());
    IXmlElement root = doc->DocumentElement();
    const auto checkKept = [&](const char* name, XmlNameID id) {
        SCOPED_TRACE(name);
        for (int i = 0; i < 3; ++i) EXPECT_NE(table->GetID(Format("%s%d", name, i)), id);
        EXPECT_EQ(table->GetName(id), name);
        EXPECT_EQ(table->FindID(name), id);
        EXPECT_EQ(doc->CreateElement(id)->NodeName(), name);
        root->SetAttr(id, "back");
        EXPECT_EQ(root->GetAttr(name), "back");
    };

    const XmlNameID element = table->GetID("ElementRemoved");
    root->RemoveChild(root->AppendChild(doc->CreateElement(element)));
    checkKept("ElementRemoved", element);

    const XmlNameID attr = table->GetID("AttributeRemoved");
    root->SetAttr(attr, "1");
    root->RemoveAttr(attr);
    checkKept("AttributeRemoved", attr);

    const XmlNameID all = table->GetID("AllAttributesRemoved");
    root->AppendElement("E")->SetAttr(all, "1");
    root->ChildNodes()->Item(root->ChildNodes()->Count() - 1)->RemoveAllAttrs();
    checkKept("AllAttributesRemoved", all);

    IXmlDocument parsed = MakeXmlDocument({}, {}, {}, table.Get());
    parsed->LoadXML("<Parsed><ParsedChild ParsedAttr='1'/></Parsed>");
    const XmlNameID parsedChild = table->FindID("ParsedChild");
    const XmlNameID parsedAttr = table->FindID("ParsedAttr");
    parsed = nullptr;
    checkKept("ParsedChild", parsedChild);
    checkKept("ParsedAttr", parsedAttr);

    checkKept("NeverUsed", table->GetID("NeverUsed"));

    // A node that moves into another table leaves its names behind in this one.
    IXmlElement moved = root->AppendElement("Moved");
    const XmlNameID movedID = moved->NodeNameID();
    MakeXmlDocument("Other", "1.0", "UTF-8", new TXmlNameTable)
        ->DocumentElement()
        ->AppendChild(moved);
    checkKept("Moved", movedID);
}

TEST(XmlNameTable, DocumentsLoadedAgainAddNoNames) {
    TXmlNameTable& shared = *ThreadNameTable();
    std::string text = "<R>";
    for (int i = 0; i < 2000; ++i) text += Format("<again%d a%d='x'/>", i, i);
    text += "</R>";
    MakeXmlDocument()->LoadXML(text);
    const size_t count = shared.Count();
    const XmlNameID last = shared.FindID("again1999");
    for (int round = 0; round < 3; ++round) {
        IXmlDocument doc = MakeXmlDocument();
        doc->LoadXML(text);
        EXPECT_EQ(doc->DocumentElement()->ChildNodes()->Item(1999)->NodeNameID(), last);
    }
    EXPECT_EQ(shared.Count(), count);
}

// Documents a thread makes without a table of their own share that thread's table, never
// another thread's: threads may each load documents at the same time.
TEST(XmlNameTable, EachThreadHasATableOfItsOwn) {
    TXmlNameTable* const mine = ThreadNameTable();
    TXmlNameTable* theirs[2] = {};
    std::latch loaded(2);
    const auto work = [&](int t) {
        for (int round = 0; round < 20; ++round) {
            std::string text = "<R>";
            for (int i = 0; i < 500; ++i) text += Format("<t%d_%d a%d='x'/>", t, i, i);
            IXmlDocument doc = MakeXmlDocument();
            doc->LoadXML(text + "</R>");
            EXPECT_EQ(doc->DocumentElement()->ChildNodes()->Count(), 500);
            EXPECT_NE(doc->NameTable(), mine);
            theirs[t] = doc->NameTable();
        }
        loaded.arrive_and_wait();  // both tables alive
        EXPECT_NE(theirs[0], theirs[1]);
    };
    std::thread first(work, 0), second(work, 1);
    first.join();
    second.join();
}

TEST(XmlNameTableDeathTest, ADocumentUsedByAnotherThreadStopsDebugBuilds) {
#ifdef NDEBUG
    GTEST_SKIP() << "checked in debug builds only";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const IXmlDocument doc = MakeXmlDocument("R");
    EXPECT_DEATH(std::thread([&doc] { doc->DocumentElement()->AppendElement("x"); }).join(),
                 "used by a thread other than the one that made it");
#endif
}

TEST(XmlNode, DocumentElementSkipsTheDeclarationAndListsCheckTheirIndex) {
    IXmlDocument doc = MakeXmlDocument("Lorvix_Media_Library", "1.0", "windows-1250");
    ASSERT_EQ(doc->ChildNodes()->Count(), 2);
    EXPECT_EQ(doc->DocumentElement()->NodeName(), "Lorvix_Media_Library");
    EXPECT_EQ(doc->DeclaredEncoding(), "windows-1250");
    EXPECT_FALSE(MakeXmlDocument()->DocumentElement());

    IXmlNodeList children = doc->ChildNodes();
    const std::string outside = "Ошибка получения элемента списка: индекс выходит за пределы";
    EXPECT_EQ(MessageOf([&] { children->Item(children->Count()); }), outside);
    EXPECT_EQ(MessageOf([&] { children->Item(-1); }), outside);
    EXPECT_EQ(MessageOf([&] { doc->DocumentElement()->AttrNameID(0); }), outside);
}

TEST(XmlNode, InsertRemoveAndReplaceKeepParentsRight) {
    IXmlDocument doc = MakeXmlDocument("R");
    IXmlElement root = doc->DocumentElement();
    IXmlElement a = root->AppendElement("A");
    IXmlElement c = root->AppendElement("C");
    IXmlElement b = doc->CreateElement("B");
    EXPECT_FALSE(b->ParentNode());
    root->InsertBefore(b, c);
    EXPECT_EQ(root->ChildNodes()->Xml(), "\r\n<A/>\r\n<B/>\r\n<C/>");
    EXPECT_EQ(b->ParentNode(), IXmlNode(root));
    EXPECT_EQ(b->OwnerDocument(), doc.Get());

    // Moving a child of one node under another takes it out of the first.
    IXmlElement other = root->AppendElement("Other");
    other->AppendChild(a);
    EXPECT_EQ(root->ChildNodes()->Count(), 3);
    EXPECT_EQ(a->ParentNode(), IXmlNode(other));
    root->InsertBefore(a, b);  // and back, in front of B
    EXPECT_EQ(root->ChildNodes()->Item(0), IXmlNode(a));
    EXPECT_EQ(other->ChildNodes()->Count(), 0);

    EXPECT_EQ(root->ReplaceChild(doc->CreateElement("X"), doc->CreateElement("NotAChild")),
              nullptr);
    EXPECT_EQ(root->ReplaceChild(doc->CreateElement("X"), b), IXmlNode(b));
    EXPECT_FALSE(b->ParentNode());
    EXPECT_EQ(root->RemoveChild(c), 2);
    EXPECT_EQ(root->RemoveChild(c), -1);
    EXPECT_FALSE(c->ParentNode());
    EXPECT_EQ(root->ChildNodes()->Xml(), "\r\n<A/>\r\n<X/>\r\n<Other/>");

    // A node cannot go below itself, and a document below nothing.
    EXPECT_EQ(MessageOf([&] { a->AppendChild(root); }),
              "Узел нельзя вставить в него самого или в его потомка");
    EXPECT_EQ(MessageOf([&] { a->AppendChild(MakeXmlDocument()); }),
              "Документ нельзя вставить в другой узел");
    EXPECT_EQ(root->ChildNodes()->Count(), 3);
}

TEST(XmlNode, NodesMovingBetweenNameTablesKeepTheirNames) {
    IXmlNameTable own(new TXmlNameTable);
    IXmlDocument source = MakeXmlDocument("Source", "1.0", "UTF-8", own.Get());
    IXmlElement moved = source->DocumentElement()->AppendElement("OnlyInOwnTable");
    moved->SetAttr("attrOnlyInOwnTable", "v");
    moved->AppendElement("ChildOnlyInOwnTable")->SetText("t");

    IXmlDocument target = MakeXmlDocument("Target");
    target->DocumentElement()->AppendChild(moved);
    EXPECT_EQ(moved->NameTable(), target->NameTable());
    EXPECT_EQ(target->DocumentElement()->Xml(),
              "\r\n<Target>\r\n\t<OnlyInOwnTable attrOnlyInOwnTable=\"v\">"
              "\r\n\t\t<ChildOnlyInOwnTable>t</ChildOnlyInOwnTable>\r\n\t</OnlyInOwnTable>"
              "\r\n</Target>");
}

TEST(XmlNode, TextJoinsChildTextsAndAValueBecomesATextChildWhenChildrenAreAsked) {
    IXmlDocument doc = MakeXmlDocument("R");
    IXmlElement root = doc->DocumentElement();
    root->AppendText("a");
    root->AppendText("");
    root->AppendComment("not text");
    root->AppendCDATA("  b  ");  // trimmed: the document does not keep white space
    root->AppendElement("E")->AppendElement("F")->SetText("c");
    EXPECT_EQ(root->Text(), "a b c");
    doc->SetPreserveWhiteSpace(true);
    EXPECT_EQ(root->Text(), "a   b   c");
    doc->SetPreserveWhiteSpace(false);

    IXmlElement e = root->AppendElement("V");
    e->SetNodeValue(XmlValue::Int32(42));
    EXPECT_EQ(e->DataType(), XmlVarType::Int32);
    EXPECT_EQ(e->Text(), "42");
    IXmlNodeList children = e->ChildNodes();
    ASSERT_EQ(children->Count(), 1);
    EXPECT_EQ(children->Item(0)->NodeType(), kXmlTextNode);
    EXPECT_EQ(children->Item(0)->DataType(), XmlVarType::Int32);
    EXPECT_TRUE(e->Value().IsEmpty());
    EXPECT_EQ(e->DataType(), XmlVarType::Text);
    EXPECT_EQ(e->Text(), "42");
    e->AppendElement("F");
    EXPECT_EQ(e->Xml(), "\r\n<V>42<F/></V>");
    e->SetText("plain");  // removes the children
    EXPECT_EQ(e->ChildNodes()->Count(), 1);
    EXPECT_EQ(e->Xml(), "\r\n<V>plain</V>");
}

TEST(XmlNode, ChildLookups) {
    IXmlDocument doc = MakeXmlDocument("ALBUM");
    IXmlElement album = doc->DocumentElement();
    album->SetChildText("TITLE", "Arrival");
    album->AppendElement("TRACK")->SetAttr("ID", "1");
    album->AppendElement("TRACK")->SetAttr("ID", "2");
    album->AppendElement("TRACK")->AppendElement("TRACK");
    album->SetChildText("TITLE", "Arrival 2");

    EXPECT_EQ(album->GetChildText("TITLE"), "Arrival 2");
    EXPECT_EQ(album->GetChildText("GENRE", "none"), "none");
    EXPECT_EQ(album->SelectNodes("TRACK")->Count(), 3);  // direct children only
    EXPECT_EQ(album->SelectSingleNode("TRACK")->GetAttr("ID"), "1");
    EXPECT_FALSE(album->SelectSingleNode("GENRE"));
    EXPECT_EQ(album->FindElement("TRACK", "ID", XmlValue("2"))->GetAttr("ID"), "2");
    EXPECT_EQ(album->FindElement("TRACK", "ID", XmlValue::Int32(2))->GetAttr("ID"), "2");
    EXPECT_FALSE(album->FindElement("TRACK", "ID", XmlValue("3")));
    for (const char* expr : {"ALBUM/TRACK", "//TRACK", "TRACK[1]", "", "1TRACK"})
        EXPECT_EQ(MessageOf([&] { album->SelectNodes(expr); }),
                  "Данная возможность не поддерживается SimpleXML")
            << expr;

    EXPECT_EQ(MessageOf([&] { album->NeedChild("GENRE"); }),
              "Ошибка: не найден дочерний элемент \"GENRE\".");
    IXmlElement genre = album->EnsureChild("GENRE");
    EXPECT_EQ(album->NeedChild("GENRE"), genre);
    EXPECT_EQ(album->EnsureChild("GENRE"), genre);
    album->RemoveAllChilds();
    EXPECT_EQ(album->ChildNodes()->Count(), 0);
    EXPECT_FALSE(genre->ParentNode());
}

TEST(XmlNode, CloneCopiesNameValueAttributesAndOnDemandChildren) {
    IXmlDocument doc = MakeXmlDocument("R");
    IXmlElement original = doc->DocumentElement();
    original->SetAttr("a", "1");
    original->AppendElement("C")->SetText("x");
    IXmlNode shallow = original->CloneNode(false);
    IXmlNode deep = original->CloneNode(true);
    EXPECT_FALSE(deep->ParentNode());
    EXPECT_EQ(shallow->Xml(), "\r\n<R a=\"1\"/>");
    EXPECT_EQ(deep->Xml(), original->Xml());
    deep->ChildNodes()->Item(0)->SetText("changed");
    EXPECT_EQ(original->GetChildText("C"), "x");
    IXmlNode docCopy = doc->CloneNode(true);
    EXPECT_EQ(docCopy->NodeType(), kXmlDocumentNode);
    EXPECT_EQ(docCopy->Xml(), doc->Xml());
}

TEST(XmlNode, NodesOutliveTheirParentsAndDeepTreesAreFreed) {
    IXmlElement survivor;
    {
        IXmlDocument doc = MakeXmlDocument("R");
        survivor = doc->DocumentElement()->AppendElement("S");
    }
    EXPECT_FALSE(survivor->ParentNode());
    EXPECT_EQ(survivor->OwnerDocument(), nullptr);

    IXmlDocument doc = MakeXmlDocument("R");
    IXmlNode node = doc->DocumentElement();
    for (int i = 0; i < 200000; ++i) node = node->AppendElement("D");
    node = nullptr;
    doc = nullptr;  // must not exhaust the stack
}

}  // namespace
}  // namespace rv
