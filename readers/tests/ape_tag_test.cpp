#include "readers/ape_tag.h"

#include <gtest/gtest.h>

#include "readers/tests/tag_bytes.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

using namespace std::string_literals;

namespace rv {
namespace {

using test::APETag;
using test::LE32;

class APETagTest : public ::testing::Test {
protected:
    void Read(const std::string& tail) {
        test::WriteFileBytes(dir_ / "file.ape", std::string(300, '\x55') + tail);
        ASSERT_TRUE(tag_.ReadFromFile(dir_ / "file.ape"));
    }
    test::TempDir dir_;
    TAPEtag tag_;
};

TEST_F(APETagTest, ShortFilesAreErrors) {
    test::WriteFileBytes(dir_ / "short", std::string(127, 'x'));
    EXPECT_FALSE(tag_.ReadFromFile(dir_ / "short"));
    Read("");
    EXPECT_FALSE(tag_.Exists());
}

TEST_F(APETagTest, ItemsAreFoundBeforeAnID3v1BlockAndBehindAHeader) {
    const std::string tag = APETag(2000,
                                   {{"TITLE", "Caf\xC3\xA9"},
                                    {"Title", "Second"},
                                    {"Track", "4/9"},
                                    {"Album", std::string(300, 'a')},
                                    {"Artist", "One\0Two"s},
                                    {"Comment", "Line\r\nbreak"},
                                    {"Composer", "not kept"}},
                                   true);
    Read(tag + test::ID3v1Block({"v1 title"}));
    EXPECT_TRUE(tag_.Exists());
    EXPECT_EQ(tag_.Version(), 2000u);
    EXPECT_EQ(tag_.Size(), tag.size() - 32);  // the header is not counted
    EXPECT_EQ(tag_.Title(), "Second");        // a later item replaces an earlier one
    EXPECT_EQ(tag_.Track(), 4);
    EXPECT_EQ(tag_.Album(), std::string(250, 'a'));
    EXPECT_EQ(tag_.Artist(), "One");  // the first of a list of values
    EXPECT_EQ(tag_.Comment(), "Line  break");
}

TEST_F(APETagTest, Version1TextIsSingleByteAndVersion2IsUtf8) {
    Read(APETag(1000, {{"Title", "Caf\xC3\xA9"}, {"Artist", "na\xEFve"}}));
    EXPECT_EQ(tag_.Title(), "CafÃ©");  // five characters, as windows-1252 reads them
    EXPECT_EQ(tag_.Artist(), "naïve");
    Read(APETag(2000, {{"Title", "Caf\xC3\xA9"}, {"Track", "999"}}));
    EXPECT_EQ(tag_.Title(), "Café");
    EXPECT_EQ(tag_.Track(), 0);  // no room in a byte
}

TEST_F(APETagTest, ForgedSizesAndCountsEndTheWalk) {
    std::string tag = APETag(2000, {{"Title", "T"}});
    tag.replace(tag.size() - 16, 4, LE32(0xFFFFFFFF));  // item count
    Read(tag);
    EXPECT_EQ(tag_.Title(), "T");
    tag = APETag(2000, {{"Title", "T"}, {"Artist", "A"}});
    tag.replace(0, 4, LE32(0x7FFFFFFF));  // first value size
    Read(tag);
    EXPECT_EQ(tag_.Artist(), "");
    for (std::uint32_t size : {0xFFFFFFF0u, 31u}) {  // tag size
        tag = APETag(2000, {{"Title", "T"}});
        tag.replace(tag.size() - 20, 4, LE32(size));
        Read(tag);
        EXPECT_TRUE(tag_.Exists());
        EXPECT_EQ(tag_.Title(), "");
    }
    // A key that never ends.
    Read(LE32(1) + LE32(0) + std::string(291, 'K') + "APETAGEX" + LE32(2000) + LE32(32 + 299) +
         LE32(1) + LE32(0) + std::string(8, '\0'));
    EXPECT_TRUE(tag_.Exists());
}

}  // namespace
}  // namespace rv
