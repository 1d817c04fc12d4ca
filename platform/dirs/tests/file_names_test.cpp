#include <gtest/gtest.h>

#include "platform/dirs/file_names.h"

namespace rv {
namespace {

TEST(FileNames, TheExtensionIsWhatFollowsTheLastDotOfTheNameProper) {
    EXPECT_EQ(ExtractFileExt("/music/Song.MP3"), ".MP3");
    EXPECT_EQ(ExtractFileExt("/music/song.mp3.bak"), ".bak");
    EXPECT_EQ(ExtractFileExt("/music/live.v2/song"), "");  // the dot is the folder's
    EXPECT_EQ(ExtractFileExt("song."), ".");
    EXPECT_EQ(ExtractFileExt("/home/me/.profile"), ".profile");
    EXPECT_EQ(ExtractFileExt(""), "");

    EXPECT_EQ(ChangeFileExt("/out/list.xml", ".htm"), "/out/list.htm");
    EXPECT_EQ(ChangeFileExt("/out.d/list", ".htm"), "/out.d/list.htm");
    EXPECT_EQ(ChangeFileExt("/out/list.tar.gz", ""), "/out/list.tar");
    EXPECT_EQ(ChangeFileExt("Rock_Brief", ".xml"), "Rock_Brief.xml");
}

TEST(FileNames, NameAndFolderSplitAtTheLastSlash) {
    EXPECT_EQ(ExtractFileName("/out/list.xml"), "list.xml");
    EXPECT_EQ(ExtractFileName("list.xml"), "list.xml");
    EXPECT_EQ(ExtractFileName("/out/"), "");
    EXPECT_EQ(ExtractFileName("C:\\Out\\list.xml"), "C:\\Out\\list.xml");  // "\" is a letter

    EXPECT_EQ(ExtractFilePath("/out/list.xml"), "/out/");
    EXPECT_EQ(ExtractFilePath("list.xml"), "");
    EXPECT_EQ(ExtractFilePath("/list.xml"), "/");

    EXPECT_EQ(ExtractFileDir("/out/sub/list.xml"), "/out/sub");
    EXPECT_EQ(ExtractFileDir("/list.xml"), "/");
    EXPECT_EQ(ExtractFileDir("list.xml"), "");
}

}  // namespace
}  // namespace rv
