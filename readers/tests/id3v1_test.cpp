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
    bool ReadBytes(const std::string& bytes) {
        test::WriteFileBytes(dir_ / "file.mp3", bytes);
        return tag_.ReadFromFile(dir_ / "file.mp3");
    }
    void Read(const test::ID3v1Fields& fields) {
        ASSERT_TRUE(ReadBytes(std::string(300, 'x') + test::ID3v1Block(fields)));
        ASSERT_TRUE(tag_.Exists());
    }
    test::TempDir dir_;
    TID3v1 tag_;
};

TEST_F(ID3v1Test, OnlyUnreadableFilesAreErrors) {
    EXPECT_FALSE(ReadBytes(std::string(127, 'x')));
    EXPECT_FALSE(tag_.ReadFromFile(dir_ / "missing.mp3"));
    EXPECT_FALSE(tag_.ReadFromFile(dir_.Path()));  // a folder
    Read({"Title", "", "", "", "", 3, 1});
    EXPECT_TRUE(ReadBytes(std::string(128, 'x')));  // forgets the last file's tag
    EXPECT_FALSE(tag_.Exists());
    EXPECT_EQ(tag_.Title(), "");
    EXPECT_EQ(tag_.Track(), 0);
    EXPECT_EQ(tag_.GenreID(), 255);
}

TEST_F(ID3v1Test, Version11CarriesTheTrackInTheCommentsLastBytes) {
    Read({"Title", "Artist", "Album", "1999", "A comment that is 28 chars!!", 5, 17});
    EXPECT_EQ(tag_.VersionID(), 2);
    EXPECT_EQ(tag_.Track(), 5);
    EXPECT_EQ(tag_.Comment(), "A comment that is 28 chars!!");
    EXPECT_EQ(tag_.Genre(), "Rock");
    // Byte 125 zero and byte 126 zero: version 1.0.
    Read({"T", "", "", "", "c", 0, 0});
    EXPECT_EQ(tag_.VersionID(), 1);
    EXPECT_EQ(tag_.Track(), 0);
    // Blank-padded writers: byte 125 a blank and byte 126 not.
    std::string block = test::ID3v1Block({"T"});
    block[125] = ' ';
    block[126] = 9;
    ASSERT_TRUE(ReadBytes(block));
    EXPECT_EQ(tag_.VersionID(), 2);
    EXPECT_EQ(tag_.Track(), 9);
}

TEST_F(ID3v1Test, GenreNamesEndAt147) {
    const std::pair<unsigned char, const char*> genres[] = {
        {0, "Blues"}, {147, "Synthpop"}, {148, ""}, {255, ""}};
    for (const auto& [id, name] : genres) {
        Read({.genre = id});
        EXPECT_EQ(tag_.Genre(), name);
    }
}

TEST_F(ID3v1Test, TextIsWindows1252CleanedAndEndsAtItsTerminator) {
    Read({"Caf\xE9 \x80\x01", "Artist   ", "Al\0junk"s, "19\t9"});
    EXPECT_EQ(tag_.Title(), "Café €");
    EXPECT_EQ(tag_.Artist(), "Artist");
    EXPECT_EQ(tag_.Album(), "Al");
    EXPECT_EQ(tag_.Year(), "19 9");
}

}  // namespace
}  // namespace rv
