// Loading and saving files and streams.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "medialib/xml/simple_xml.h"
#include "platform/files/atomic_file.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

IXmlDocument SmallLibrary() {
    IXmlDocument doc = MakeXmlDocument("Lorvix_Media_Library", "1.0", "windows-1250");
    IXmlElement root = doc->DocumentElement();
    root->SetAttr("version", "1.0");
    root->AppendElement("LIBRARY_NAME")->AppendText("Sbírka Živé");
    root->AppendElement("ARTIST")->AppendElement("Name")->AppendText("Dvořák & \"syn\"");
    return doc;
}

TEST(XmlFiles, SaveAndLoadAFile) {
    test::TempDir dir;
    const std::string path = dir / "library.rvl";
    SmallLibrary()->Save(path);
    EXPECT_EQ(test::ReadFileBytes(path),
              "<?xml version=\"1.0\" encoding=\"windows-1250\"?>"
              "\r\n<Lorvix_Media_Library version=\"1.0\">"
              "\r\n\t<LIBRARY_NAME>Sb\xEDrka \x8Eiv\xE9</LIBRARY_NAME>"
              "\r\n\t<ARTIST>"
              "\r\n\t\t<Name>Dvo\xF8\xE1k &amp; &quot;syn&quot;</Name>"
              "\r\n\t</ARTIST>"
              "\r\n</Lorvix_Media_Library>");

    IXmlDocument doc = MakeXmlDocument();
    doc->Load(path);
    EXPECT_EQ(doc->DocumentElement()->GetChildText("LIBRARY_NAME"), "Sbírka Živé");
    EXPECT_EQ(doc->DocumentElement()->NeedChild("ARTIST")->GetChildText("Name"),
              "Dvořák & \"syn\"");
    EXPECT_EQ(doc->SaveToBytes(), test::ReadFileBytes(path));
}

TEST(XmlFiles, StreamsCarryTheSameBytes) {
    std::stringstream stream;
    SmallLibrary()->SaveToStream(stream);
    EXPECT_EQ(stream.str(), SmallLibrary()->SaveToBytes());
    IXmlDocument doc = MakeXmlDocument();
    doc->LoadFromStream(stream);
    EXPECT_EQ(doc->DocumentElement()->GetChildText("LIBRARY_NAME"), "Sbírka Živé");
}

TEST(XmlFiles, FailedSaveLeavesTheOldFile) {
    test::TempDir dir;
    const std::string path = dir / "library.rvl";
    test::WriteFileBytes(path, "old content");

    // Nothing is written when the document cannot be put into its encoding...
    IXmlDocument bad = MakeXmlDocument("R", "1.0", "windows-1250");
    bad->DocumentElement()->AppendElement("Имя");
    EXPECT_THROW(bad->Save(path), EXmlError);
    EXPECT_EQ(test::ReadFileBytes(path), "old content");

    // ... nor when the folder refuses the new file.
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(dir.Path().c_str(), 0500), 0);
        EXPECT_THROW(SmallLibrary()->Save(path), EFileError);
        ::chmod(dir.Path().c_str(), 0700);
        EXPECT_EQ(test::ReadFileBytes(path), "old content");
    }
    EXPECT_THROW(SmallLibrary()->Save(dir / "missing/library.rvl"), EFileError);
}

TEST(XmlFiles, UnreadableFileIsAFileError) {
    test::TempDir dir;
    IXmlDocument doc = MakeXmlDocument();
    EXPECT_THROW(doc->Load(dir / "missing.rvl"), EFileError);
    EXPECT_THROW(doc->Load(dir.Path()), EFileError);
}

}  // namespace
}  // namespace rv
