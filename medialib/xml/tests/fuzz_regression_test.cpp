// Inputs the fuzzers found, kept so that the faults they showed stay mended: each loads or fails
// with an error, and what loads is written back and read again unchanged.

#include <gtest/gtest.h>

#include <filesystem>

#include "medialib/xml/simple_xml.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

TEST(XmlFuzzRegression, AcceptedInputIsWrittenBackReadably) {
    const std::filesystem::path folder = test::TestDataPath("xml/fuzz");
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++inputs;
        const std::string bytes = test::ReadFileBytes(entry.path().string());
        IXmlDocument doc = MakeXmlDocument();
        try {
            doc->LoadFromBytes(bytes);
        } catch (const EXmlError&) {
            continue;
        }
        // The first writing may tidy up; after it the text stays as it is.
        IXmlDocument again = MakeXmlDocument();
        ASSERT_NO_THROW(again->LoadXML(doc->Xml())) << entry.path();
        const std::string text = again->Xml();
        again->LoadXML(text);
        EXPECT_EQ(again->Xml(), text) << entry.path();

        std::string saved;
        try {
            saved = doc->SaveToBytes();
        } catch (const EXmlError&) {
            continue;  // an encoding files cannot be written in
        }
        EXPECT_NO_THROW(again->LoadFromBytes(saved)) << entry.path();
    }
    EXPECT_GT(inputs, 0);
}

TEST(XmlBinaryFuzzRegression, InputsLoadOrFailCleanly) {
    int inputs = 0, loaded = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(test::TestDataPath("xml/binary_fuzz"))) {
        ++inputs;
        IXmlDocument doc = MakeXmlDocument();
        try {
            doc->LoadFromBytes(test::ReadFileBytes(entry.path().string()));
        } catch (const EXmlError&) {
            continue;
        }
        ++loaded;
        for (const std::uint32_t options : {0u, 1u}) {
            const std::string written = doc->BinaryXml(options);
            IXmlDocument again = MakeXmlDocument();
            ASSERT_NO_THROW(again->LoadBinaryXML(written)) << entry.path();
            EXPECT_EQ(again->BinaryXml(options), written) << entry.path();
        }
    }
    EXPECT_GT(inputs, loaded);
    EXPECT_GT(loaded, 0);
}

}  // namespace
}  // namespace rv
