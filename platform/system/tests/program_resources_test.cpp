#include "platform/system/program_resources.h"

#include <gtest/gtest.h>

#include <string>

namespace rv {
namespace {

using namespace std::string_literals;

// The test program carries resources/bytes.bin and resources/empty.bin (CMakeLists.txt).
TEST(ProgramResources, FilesCompiledInAreFoundByTypeAndNameInAnyCase) {
    EXPECT_EQ(FindProgramResource("RCDATA", "Sample"), "Ab\0\xFF\n\x7F"s);
    EXPECT_EQ(FindProgramResource("rcdata", "SAMPLE"), "Ab\0\xFF\n\x7F"s);
    EXPECT_EQ(FindProgramResource("RCDATA", "Nothing"), ""s);
    EXPECT_EQ(FindProgramResource("RCDATA", "Missing"), std::nullopt);
    EXPECT_EQ(FindProgramResource("XML", "Sample"), std::nullopt);

    static const std::string kBytes = "<R/>";
    static const ProgramResource kMade("XML", "Made", kBytes);
    EXPECT_EQ(FindProgramResource("Xml", "made"), "<R/>");
}

}  // namespace
}  // namespace rv
