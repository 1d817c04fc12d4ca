// Inputs the fuzzer found, kept so that the faults they showed stay mended.

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

}  // namespace
}  // namespace rv
