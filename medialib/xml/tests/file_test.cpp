// Loading and saving files and streams, in the text and the binary form.

#include <gtest/gtest.h>

#include <sstream>

#include "medialib/xml/binary_codec.h"
#include "medialib/xml/simple_xml.h"
#include "platform/files/atomic_file.h"
#include "testsupport/file_size_limit.h"
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

// Files and streams carry the bytes the writer makes (its tests check them), and both forms load
// back to the same document.
TEST(XmlFiles, FilesAndStreamsCarryBothForms) {
    test::TempDir dir;
    const IXmlDocument original = SmallLibrary();
    original->Save(dir / "text.rvl");
    original->SaveBinary(dir / "binary.rvl", kBinaryXmlWideStrings);
    EXPECT_EQ(test::ReadFileBytes(dir / "text.rvl"), original->SaveToBytes());
    EXPECT_EQ(test::ReadFileBytes(dir / "binary.rvl"), original->BinaryXml(kBinaryXmlWideStrings));
    std::stringstream text, binary;
    original->SaveToStream(text);
    original->SaveBinary(binary);
    EXPECT_EQ(text.str(), original->SaveToBytes());
    EXPECT_EQ(binary.str(), original->BinaryXml());

    IXmlDocument doc = MakeXmlDocument();
    for (const char* name : {"text.rvl", "binary.rvl"}) {
        doc->Load(dir / name);
        EXPECT_EQ(doc->Xml(), original->Xml()) << name;
    }
    for (std::stringstream* stream : {&text, &binary}) {
        doc->LoadFromStream(*stream);
        EXPECT_EQ(doc->Xml(), original->Xml());
    }
}

TEST(XmlFiles, FailedSaveLeavesTheOldFileAndUnreadableFilesAreFileErrors) {
    test::TempDir dir;
    const std::string path = dir / "library.rvl";
    test::WriteFileBytes(path, "old content");

    // Nothing is written when the document cannot be put into its encoding...
    IXmlDocument bad = MakeXmlDocument("R", "1.0", "windows-1250");
    bad->DocumentElement()->AppendElement("Имя");
    EXPECT_THROW(bad->Save(path), EXmlError);
    EXPECT_EQ(test::ReadFileBytes(path), "old content");

    // ... nor when the file cannot be made or written, whoever runs the program.
    test::WriteFileBytes(dir / "plain", "a file, not a folder");
    EXPECT_THROW(SmallLibrary()->Save(dir / "plain/library.rvl"), EFileError);
    EXPECT_THROW(SmallLibrary()->Save(dir / "missing/library.rvl"), EFileError);
    {
        test::FileSizeLimit limit(5);
        EXPECT_THROW(SmallLibrary()->Save(path), EFileError);
        EXPECT_THROW(SmallLibrary()->SaveBinary(path), EFileError);
    }
    EXPECT_EQ(test::ReadFileBytes(path), "old content");

    IXmlDocument doc = MakeXmlDocument();
    EXPECT_THROW(doc->Load(dir / "missing.rvl"), EFileError);
    EXPECT_THROW(doc->Load(dir.Path()), EFileError);
}

// The test program carries resources/catalogue.xml (windows-1251) and resources/empty.xml.
TEST(XmlFiles, DocumentsCompiledIntoTheProgramLoadByTypeAndName) {
    IXmlDocument doc = MakeXmlDocument();
    doc->LoadResource("xml", "catalogue");
    EXPECT_EQ(doc->DeclaredEncoding(), "windows-1251");
    EXPECT_EQ(doc->DocumentElement()->GetChildText("Name"), "Живот");

    // A missing or empty resource leaves the document as it was.
    doc->LoadResource("XML", "Missing");
    doc->LoadResource("XML", "Empty");
    doc->LoadResource("RCDATA", "Catalogue");
    EXPECT_EQ(doc->DocumentElement()->GetChildText("Name"), "Живот");
}

}  // namespace
}  // namespace rv
