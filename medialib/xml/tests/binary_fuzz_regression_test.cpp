// Binary inputs the fuzzer found, replayed: each loads or fails with an error, and what loads is
// written back and read again unchanged.

#include <gtest/gtest.h>

#include <filesystem>

#include "medialib/xml/simple_xml.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

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
