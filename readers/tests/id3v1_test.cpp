#include "readers/id3v1.h"

#include <gtest/gtest.h>

#include "readers/tests/tag_bytes.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

using namespace std::string_literals;

namespace rv {
namespace {

class ID3v1Test : public ::testing::Test {
protected:
    std::string File(const std::string& bytes) {
        const std::string path = dir_ / "file.mp3";
        test::WriteFileBytes(path, bytes);
        return path;
    }
    std::string WithTag(const test::ID3v1Fields& fields) {
        return File(std::string(300, 'x') + test::ID3v1Block(fields));
    }
    test::TempDir dir_;
    TID3v1 tag_;
};

TEST_F(ID3v1Test, ShortOrMissingFileIsAnErrorButNoTagIsNot) {
    EXPECT_FALSE(tag_.ReadFromFile(File(std::string(127, 'x'))));
    EXPECT_FALSE(tag_.Exists());
    EXPECT_FALSE(tag_.ReadFromFile(dir_ / "missing.mp3"));
    EXPECT_FALSE(tag_.ReadFromFile(dir_.Path()));  // a folder
    EXPECT_TRUE(tag_.ReadFromFile(File(std::string(128, 'x'))));
    EXPECT_FALSE(tag_.Exists());
    EXPECT_EQ(tag_.VersionID(), 1);
    EXPECT_EQ(tag_.GenreID(), 255);
}

TEST_F(ID3v1Test, Version11CarriesTheTrackInTheCommentsLastBytes) {
    ASSERT_TRUE(tag_.ReadFromFile(
        WithTag({"Title", "Artist", "Album", "1999", "A comment that is 28 chars!!", 5, 17})));
    EXPECT_TRUE(tag_.Exists());
    EXPECT_EQ(tag_.VersionID(), 2);
    EXPECT_EQ(tag_.Track(), 5);
    EXPECT_EQ(tag_.Comment(), "A comment that is 28 chars!!");
    EXPECT_EQ(tag_.Title(), "Title");
    EXPECT_EQ(tag_.Artist(), "Artist");
    EXPECT_EQ(tag_.Album(), "Album");
    EXPECT_EQ(tag_.Year(), "1999");
    EXPECT_EQ(tag_.Genre(), "Rock");

    // Byte 125 zero and byte 126 zero: version 1.0.
    ASSERT_TRUE(tag_.ReadFromFile(WithTag({"T", "", "", "", "c", 0, 0})));
    EXPECT_EQ(tag_.VersionID(), 1);
    EXPECT_EQ(tag_.Track(), 0);
    // A full 30-byte comment is version 1.0 too.
    ASSERT_TRUE(
        tag_.ReadFromFile(WithTag({"T", "", "", "", "thirty characters of a comment", -1, 0})));
    EXPECT_EQ(tag_.VersionID(), 1);
    EXPECT_EQ(tag_.Comment(), "thirty characters of a comment");
    // Blank-padded writers: byte 125 a blank and byte 126 not.
    std::string block = test::ID3v1Block({"T", "", "", "", "", -1, 0});
    block[125] = ' ';
    block[126] = 9;
    ASSERT_TRUE(tag_.ReadFromFile(File(block)));
    EXPECT_EQ(tag_.VersionID(), 2);
    EXPECT_EQ(tag_.Track(), 9);
}

TEST_F(ID3v1Test, GenreNamesEndAt147) {
    ASSERT_TRUE(tag_.ReadFromFile(WithTag({.genre = 147})));
    EXPECT_EQ(tag_.Genre(), "Synthpop");
    ASSERT_TRUE(tag_.ReadFromFile(WithTag({.genre = 0})));
    EXPECT_EQ(tag_.Genre(), "Blues");
    ASSERT_TRUE(tag_.ReadFromFile(WithTag({.genre = 148})));
    EXPECT_EQ(tag_.GenreID(), 148);
    EXPECT_EQ(tag_.Genre(), "");
    ASSERT_TRUE(tag_.ReadFromFile(WithTag({.genre = 255})));
    EXPECT_EQ(tag_.Genre(), "");
}

TEST_F(ID3v1Test, TextIsWindows1252CleanedAndEndsAtItsTerminator) {
    ASSERT_TRUE(
        tag_.ReadFromFile(WithTag({"Caf\xE9 \x80\x01", "Artist   ", "Al\0junk"s, "19\t9"})));
    EXPECT_EQ(tag_.Title(), "Café €");
    EXPECT_EQ(tag_.Artist(), "Artist");
    EXPECT_EQ(tag_.Album(), "Al");
    EXPECT_EQ(tag_.Year(), "19 9");
}

TEST_F(ID3v1Test, ReadingAgainForgetsTheLastFile) {
    ASSERT_TRUE(tag_.ReadFromFile(WithTag({"Title", "", "", "", "", 3, 1})));
    ASSERT_TRUE(tag_.ReadFromFile(File(std::string(200, 0))));
    EXPECT_FALSE(tag_.Exists());
    EXPECT_EQ(tag_.Title(), "");
    EXPECT_EQ(tag_.Track(), 0);
    EXPECT_EQ(tag_.GenreID(), 255);
}

}  // namespace
}  // namespace rv
