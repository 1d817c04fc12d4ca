#include <gtest/gtest.h>

#include "medialib/xml/simple_xml.h"

TEST(XmlSmoke, Builds) {
    auto doc = rv::MakeXmlDocument("R", "1.0", "windows-1250");
    doc->DocumentElement()->AppendElement("A")->AppendText("x");
    EXPECT_FALSE(doc->Xml().empty());
}
