#include "readers/id3v2.h"

#include <gtest/gtest.h>

#include "readers/tests/tag_bytes.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

using namespace std::string_literals;

namespace rv {
namespace {

using test::ID3v2Frame;
using test::ID3v2Tag;

class ID3v2Test : public ::testing::Test {
protected:
    // Reads a file that starts with `bytes`, followed by some audio.
    void Read(const std::string& bytes) {
        test::WriteFileBytes(dir_ / "file.mp3", bytes + std::string(2000, '\x55'));
        ASSERT_TRUE(tag_.ReadFromFile(dir_ / "file.mp3"));
    }
    // A version 2.3 tag of text frames in single-byte text.
    void Read3(const std::vector<std::pair<std::string, std::string>>& frames) {
        std::string bytes;
        for (const auto& [id, text] : frames) bytes += ID3v2Frame(3, id, "\0"s + text);
        Read(ID3v2Tag(3, bytes));
    }
    test::TempDir dir_;
    TID3v2 tag_;
};

TEST_F(ID3v2Test, SizeCountsHeaderAndFooterAndMustFitTheFile) {
    test::WriteFileBytes(dir_ / "short", "ID3\3\0\0\0");
    EXPECT_FALSE(tag_.ReadFromFile(dir_ / "short"));
    const std::string frame = ID3v2Frame(4, "TIT2", "\0T"s);
    Read(ID3v2Tag(4, frame, 50, 0x10) + "3DI\4\0\x10\0\0\0\x3E"s);
    EXPECT_EQ(tag_.Size(), 10 + frame.size() + 50 + 10);
    EXPECT_EQ(tag_.Title(), "T");
    // A size past the end of the file: the header is reported, no frame is read.
    std::string tag = ID3v2Tag(3, frame);
    tag.replace(6, 4, test::Synchsafe(1 << 20));
    Read(tag);
    EXPECT_TRUE(tag_.Exists());
    EXPECT_EQ(tag_.VersionID(), 3);
    EXPECT_EQ(tag_.Size(), 0u);
    EXPECT_EQ(tag_.Title(), "");
    // So with a version we do not know.
    Read(ID3v2Tag(5, frame));
    EXPECT_EQ(tag_.VersionID(), 5);
    EXPECT_EQ(tag_.Title(), "");
}

TEST_F(ID3v2Test, FallbackFramesFillEmptyFieldsAndTheLastFrameWins) {
    Read3({{"TIT1", "Group"},
           {"TOPE", "Orig"},
           {"TOAL", "Old album"},
           {"TDRC", "2004-05-06"},
           {"TIT2", ""},
           {"TRCK", "A"},
           {"TCOM", "One"},
           {"TCOM", "Two"}});
    EXPECT_EQ(tag_.Title(), "Group");
    EXPECT_EQ(tag_.Artist(), "Orig");
    EXPECT_EQ(tag_.Album(), "Old album");
    EXPECT_EQ(tag_.Year(), "2004");
    EXPECT_EQ(tag_.Track(), 0);
    EXPECT_EQ(tag_.TrackString(), "A");
    EXPECT_EQ(tag_.Composer(), "Two");
}

TEST_F(ID3v2Test, OnlyTheFirst500BytesOfAFrameCountAndTheWalkGoesOn) {
    // The cut falls inside the final "é", which is dropped whole.
    Read(ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\3" + std::string(498, 'x') + "\xC3\xA9 more") +
                         ID3v2Frame(3, "TPE1", "\0Next"s)));
    EXPECT_EQ(tag_.Title(), std::string(498, 'x'));
    EXPECT_EQ(tag_.Artist(), "Next");
}

TEST_F(ID3v2Test, Version24FrameSizesAreSynchsafe) {
    // A 200-byte title has a synchsafe size (01 48) that read as a plain number would be 328.
    const std::string title(199, 't');
    Read(ID3v2Tag(4, ID3v2Frame(4, "TIT2", "\3" + title) + ID3v2Frame(4, "TPE1", "\3Artist"s)));
    EXPECT_EQ(tag_.Title(), title);
    EXPECT_EQ(tag_.Artist(), "Artist");
    // Writers that stored plain sizes give themselves away by a byte with its top bit set.
    std::string frame = ID3v2Frame(4, "TIT2", "\0"s + std::string(0x8F, 'b'));
    frame.replace(4, 4, test::BE32(0x90));
    Read(ID3v2Tag(4, frame + ID3v2Frame(4, "TPE1", "\0After"s)));
    EXPECT_EQ(tag_.Artist(), "After");
}

TEST_F(ID3v2Test, EveryTextEncodingIsRead) {
    Read(ID3v2Tag(4, ID3v2Frame(4, "TIT2",
                                "\1\xFF\xFE"
                                "A\0B\0"s) +                                      // UTF-16LE
                         ID3v2Frame(4, "TPE1", "\2\x04\x1F\x04\x40\x04\x38"s) +   // UTF-16BE
                         ID3v2Frame(4, "TALB", "\1\xFE\xFF\0A\0\xFF\x01\xFF"s) +  // BE mark
                         ID3v2Frame(4, "TCOM", "\3\xC3\x86gir"s) +                // UTF-8
                         ID3v2Frame(4, "TCOM", "\7Unknown encoding"s)));          // ignored
    EXPECT_EQ(tag_.Title(), "AB");
    EXPECT_EQ(tag_.Artist(), "При");
    EXPECT_EQ(tag_.Album(), "Aÿǿ");  // low bytes 0xFF are characters, not marks
    EXPECT_EQ(tag_.Composer(), "Ægir");
}

TEST_F(ID3v2Test, GenreNumbersInParenthesesGiveTheirNames) {
    const std::pair<std::string, std::string> cases[] = {{"(17)", "Rock"},
                                                         {"(17)Rock", "Rock"},
                                                         {"(9)Pop", "Pop"},
                                                         {"Rock (Live)", "Rock (Live)"},
                                                         {"(4)(17)", "Disco"},
                                                         {"(200)", ""},
                                                         {"((Bracketed)", "(Bracketed)"},
                                                         {"(abc)Rock", "(abc)Rock"},
                                                         {"(17", "(17"}};
    for (const auto& [text, genre] : cases) {
        Read3({{"TCON", text}});
        EXPECT_EQ(tag_.Genre(), genre) << text;
    }
}

TEST_F(ID3v2Test, CommentAndLinkSkipTheirDescriptions) {
    // In UTF-16 the separator is a zero code unit, even where a character's byte is zero; the
    // address of a link is single-byte text whatever the description's encoding.
    Read(ID3v2Tag(3, ID3v2Frame(3, "COMM",
                                "\1eng\xFF\xFE"
                                "A\0\0\x01\0\0\xFF\xFE"
                                "C\0"s) +
                         ID3v2Frame(3, "WXXX",
                                    "\1\xFF\xFE"
                                    "d\0\0\0http://b.example/"s)));
    EXPECT_EQ(tag_.Comment(), "C");
    EXPECT_EQ(tag_.Link(), "http://b.example/");
    Read3({{"COMM", "engonly a description"}});  // no separator, no text
    EXPECT_EQ(tag_.Comment(), "");
}

TEST_F(ID3v2Test, Version22UsesThreeCharacterFrames) {
    Read(ID3v2Tag(2,
                  ID3v2Frame(2, "TT2", "\0Old title"s) + ID3v2Frame(2, "TP1", "\1\xFF\xFEO\0"s) +
                      ID3v2Frame(2, "TRK",
                                 "\0"
                                 "4"s) +
                      ID3v2Frame(2, "TOR",
                                 "\0"
                                 "1971"s) +
                      ID3v2Frame(2, "TCO", "\0(0)"s) + ID3v2Frame(2, "COM", "\0eng\0Note"s) +
                      ID3v2Frame(2, "WXX", "\0\0http://c.example/"s),
                  20));
    EXPECT_EQ(tag_.VersionID(), 2);
    EXPECT_EQ(tag_.Title(), "Old title");
    EXPECT_EQ(tag_.Artist(), "O");
    EXPECT_EQ(tag_.Track(), 4);
    EXPECT_EQ(tag_.Year(), "1971");
    EXPECT_EQ(tag_.Genre(), "Blues");
    EXPECT_EQ(tag_.Comment(), "Note");
    EXPECT_EQ(tag_.Link(), "http://c.example/");
}

TEST_F(ID3v2Test, FrameFlagsAndTheExtendedHeader) {
    // Version 2.3: compressed (0x80) and encrypted (0x40) frames are skipped; an extended
    // header counts the bytes after its size.
    Read(ID3v2Tag(3,
                  "\0\0\0\6\0\0\0\0\0\0"s + ID3v2Frame(3, "TIT2", "\0zlib"s, 0x0080) +
                      ID3v2Frame(3, "TPE1", "\0secret"s, 0x0040) +
                      ID3v2Frame(3, "TALB", "\0Plain"s, 0x8000),
                  0, 0x40));
    EXPECT_EQ(tag_.Title(), "");
    EXPECT_EQ(tag_.Artist(), "");
    EXPECT_EQ(tag_.Album(), "Plain");
    // Version 2.4: compression 0x08, encryption 0x04, a data-length field 0x01 and
    // unsynchronisation 0x02; the extended header counts itself.
    Read(ID3v2Tag(4,
                  "\0\0\0\6\1\0"s + ID3v2Frame(4, "TIT2", "\0zlib"s, 0x0009) +
                      ID3v2Frame(4, "TPE1", "\0secret"s, 0x0004) +
                      ID3v2Frame(4, "TALB", test::Synchsafe(6) + "\0Album"s, 0x0001) +
                      ID3v2Frame(4, "TCOM",
                                 "\1\xFF\0\xFE"
                                 "A\0\xFF\0\0"s,
                                 0x0002),
                  0, 0x40));
    EXPECT_EQ(tag_.Title(), "");
    EXPECT_EQ(tag_.Artist(), "");
    EXPECT_EQ(tag_.Album(), "Album");
    EXPECT_EQ(tag_.Composer(), "Aÿ");
}

TEST_F(ID3v2Test, TheWalkStopsAtBadIdsAndAtTheTagsEnd) {
    Read(ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\0T"s) + ID3v2Frame(3, "tpe1", "\0x"s) +
                         ID3v2Frame(3, "TALB", "\0never"s)));
    EXPECT_EQ(tag_.Title(), "T");
    EXPECT_EQ(tag_.Album(), "");
    // Frames beyond the tag's size belong to the audio.
    Read(ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\0In"s)) + ID3v2Frame(3, "TPE1", "\0Out"s));
    EXPECT_EQ(tag_.Artist(), "");
    // A frame that claims more than the tag holds is read as far as the tag goes.
    std::string huge = ID3v2Frame(3, "TIT2", "\0Huge"s);
    huge.replace(4, 4, test::BE32(0xFFFFFFF0));
    Read(ID3v2Tag(3, huge + ID3v2Frame(3, "TPE1", "\0x"s)));
    EXPECT_EQ(tag_.Title().substr(0, 4), "Huge");
    EXPECT_EQ(tag_.Artist(), "");
}

}  // namespace
}  // namespace rv
