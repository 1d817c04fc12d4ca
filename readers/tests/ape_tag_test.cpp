#include "readers/ape_tag.h"

#include <gtest/gtest.h>

#include "readers/tests/tag_bytes.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

using namespace std::string_literals;

namespace rv {
namespace {

using test::APETag;

const std::string kAudio(300, '\x55');

class APETagTest : public ::testing::Test {
protected:
    void Read(const std::string& bytes) {
        const std::string path = dir_ / "file.ape";
        test::WriteFileBytes(path, bytes);
        ASSERT_TRUE(tag_.ReadFromFile(path));
    }
    test::TempDir dir_;
    TAPEtag tag_;
};

TEST_F(APETagTest, ShortFilesAndFilesWithoutATag) {
    const std::string path = dir_ / "short";
    test::WriteFileBytes(path, std::string(127, 'x'));
    EXPECT_FALSE(tag_.ReadFromFile(path));
    EXPECT_FALSE(tag_.ReadFromFile(dir_ / "missing"));
    Read(kAudio);
    EXPECT_FALSE(tag_.Exists());
    EXPECT_EQ(tag_.Version(), 0u);
}

TEST_F(APETagTest, Version2ItemsBeforeAnID3v1Block) {
    const std::string tag = APETag(2000, {{"TITLE", "Caf\xC3\xA9"},
                                          {"artist", "Sigur R\xC3\xB3s"},
                                          {"Album", "()"},
                                          {"Track", "4/9"},
                                          {"Year", "2002"},
                                          {"Genre", "Post-Rock"},
                                          {"Comment", "Line\r\nbreak"},
                                          {"Copyright", "CC"},
                                          {"Cover Art", "\xFF"},
                                          {"Composer", "ignored"}});
    Read(kAudio + tag + test::ID3v1Block({"v1 title"}));
    EXPECT_TRUE(tag_.Exists());
    EXPECT_EQ(tag_.Version(), 2000u);
    EXPECT_EQ(tag_.Size(), tag.size());
    EXPECT_EQ(tag_.Title(), "Café");
    EXPECT_EQ(tag_.Artist(), "Sigur Rós");
    EXPECT_EQ(tag_.Album(), "()");
    EXPECT_EQ(tag_.Track(), 4);
    EXPECT_EQ(tag_.Year(), "2002");
    EXPECT_EQ(tag_.Genre(), "Post-Rock");
    EXPECT_EQ(tag_.Comment(), "Line  break");
    EXPECT_EQ(tag_.Copyright(), "CC");
}

TEST_F(APETagTest, HeaderInFrontIsPassedOverAndTheFooterRules) {
    Read(kAudio + APETag(2000, {{"Title", "With header"}}, true));
    EXPECT_TRUE(tag_.Exists());
    EXPECT_EQ(tag_.Title(), "With header");
}

TEST_F(APETagTest, Version1TextIsSingleByte) {
    Read(kAudio + APETag(1000, {{"Title", "Caf\xC3\xA9"}, {"Artist", "na\xEFve"}}));
    EXPECT_EQ(tag_.Version(), 1000u);
    EXPECT_EQ(tag_.Title(), "CafÃ©");  // five characters, as windows-1252 reads them
    EXPECT_EQ(tag_.Artist(), "naïve");
}

TEST_F(APETagTest, LaterItemsWinAndValuesAreCut) {
    Read(kAudio + APETag(2000, {{"Title", "First"},
                                {"Title", "Second"},
                                {"Album", std::string(300, 'a')},
                                {"Artist", "One\0Two"s},
                                {"Track", "999"}}));
    EXPECT_EQ(tag_.Title(), "Second");
    EXPECT_EQ(tag_.Album(), std::string(250, 'a'));
    EXPECT_EQ(tag_.Artist(), "One");  // the first of a list of values
    EXPECT_EQ(tag_.Track(), 0);       // no room in a byte
}

TEST_F(APETagTest, ForgedSizesAndCountsEndTheWalk) {
    // An item count far above the items present.
    std::string tag = APETag(2000, {{"Title", "T"}});
    tag.replace(tag.size() - 16, 4, test::LE32(0xFFFFFFFF));
    Read(kAudio + tag);
    EXPECT_EQ(tag_.Title(), "T");
    // A value size past the tag's end: the part inside the tag is kept.
    tag = APETag(2000, {{"Title", "T"}, {"Artist", "A"}});
    tag.replace(0, 4, test::LE32(0x7FFFFFFF));
    Read(kAudio + tag);
    EXPECT_TRUE(tag_.Exists());
    EXPECT_EQ(tag_.Artist(), "");
    // A tag size larger than the file, or smaller than a footer: no items.
    for (std::uint32_t size : {0xFFFFFFF0u, 31u, 0u}) {
        tag = APETag(2000, {{"Title", "T"}});
        tag.replace(tag.size() - 20, 4, test::LE32(size));
        Read(kAudio + tag);
        EXPECT_TRUE(tag_.Exists());
        EXPECT_EQ(tag_.Size(), size);
        EXPECT_EQ(tag_.Title(), "");
    }
    // A key without its terminating zero.
    Read(kAudio + "APETAGEX" + test::LE32(2000) + test::LE32(32 + 300) + test::LE32(1) +
         test::LE32(0) + std::string(8, '\0'));
    Read(kAudio + test::LE32(1) + test::LE32(0) + std::string(291, 'K') + "APETAGEX" +
         test::LE32(2000) + test::LE32(32 + 299) + test::LE32(1) + test::LE32(0) +
         std::string(8, '\0'));
    EXPECT_TRUE(tag_.Exists());
    EXPECT_EQ(tag_.Title(), "");
}

}  // namespace
}  // namespace rv
