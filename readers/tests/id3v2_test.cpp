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

const std::string kAudio(2000, '\x55');

class ID3v2Test : public ::testing::Test {
protected:
    // Reads a file that starts with `bytes`, followed by some audio.
    void Read(const std::string& bytes) {
        const std::string path = dir_ / "file.mp3";
        test::WriteFileBytes(path, bytes + kAudio);
        ASSERT_TRUE(tag_.ReadFromFile(path));
    }
    test::TempDir dir_;
    TID3v2 tag_;
};

TEST_F(ID3v2Test, HeaderOnlyFilesAndFilesWithoutATag) {
    const std::string path = dir_ / "short";
    test::WriteFileBytes(path, "ID3\3\0\0\0");
    EXPECT_FALSE(tag_.ReadFromFile(path));
    EXPECT_FALSE(tag_.ReadFromFile(dir_ / "missing"));
    Read("no tag here");
    EXPECT_FALSE(tag_.Exists());
    EXPECT_EQ(tag_.VersionID(), 0);
    EXPECT_EQ(tag_.Size(), 0u);
}

TEST_F(ID3v2Test, Version23TextFramesInLatinAndUtf16) {
    Read(ID3v2Tag(3,
                  ID3v2Frame(3, "TIT2",
                             "\1\xFF\xFE"
                             "A\0B\0"s) +
                      ID3v2Frame(3, "TPE1", "\0Bj\xF6rk"s) +
                      ID3v2Frame(3, "TALB", "\0Homogenic\0"s) +
                      ID3v2Frame(3, "TRCK",
                                 "\0"
                                 "3/12"s) +
                      ID3v2Frame(3, "TYER",
                                 "\0"
                                 "1997"s) +
                      ID3v2Frame(3, "TCOM", "\0Comp"s) + ID3v2Frame(3, "TENC", "\0Enc"s) +
                      ID3v2Frame(3, "TCOP", "\0(C)"s) + ID3v2Frame(3, "TLAN", "\0isl"s),
                  100));
    EXPECT_TRUE(tag_.Exists());
    EXPECT_EQ(tag_.VersionID(), 3);
    EXPECT_EQ(tag_.Title(), "AB");
    EXPECT_EQ(tag_.Artist(), "Björk");
    EXPECT_EQ(tag_.Album(), "Homogenic");
    EXPECT_EQ(tag_.Track(), 3);
    EXPECT_EQ(tag_.TrackString(), "3/12");
    EXPECT_EQ(tag_.Year(), "1997");
    EXPECT_EQ(tag_.Composer(), "Comp");
    EXPECT_EQ(tag_.Encoder(), "Enc");
    EXPECT_EQ(tag_.Copyright(), "(C)");
    EXPECT_EQ(tag_.Language(), "isl");
}

TEST_F(ID3v2Test, SizeCountsHeaderAndFooterAndMustFitTheFile) {
    const std::string frame = ID3v2Frame(4, "TIT2", "\0T"s);
    Read(ID3v2Tag(4, frame, 50));
    EXPECT_EQ(tag_.Size(), 10 + frame.size() + 50);
    Read(ID3v2Tag(4, frame, 50, 0x10) + "3DI\4\0\x10\0\0\0\x3E"s);
    EXPECT_EQ(tag_.Size(), 10 + frame.size() + 50 + 10);
    EXPECT_EQ(tag_.Title(), "T");

    // A size past the end of the file: the header is reported, no frame is read.
    std::string tag = ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\0T"s));
    tag.replace(6, 4, test::Synchsafe(1 << 20));
    Read(tag);
    EXPECT_TRUE(tag_.Exists());
    EXPECT_EQ(tag_.VersionID(), 3);
    EXPECT_EQ(tag_.Size(), 0u);
    EXPECT_EQ(tag_.Title(), "");
}

TEST_F(ID3v2Test, FallbackFramesFillEmptyFields) {
    Read(ID3v2Tag(3, ID3v2Frame(3, "TIT1", "\0Group"s) + ID3v2Frame(3, "TOPE", "\0Orig"s) +
                         ID3v2Frame(3, "TOAL", "\0Old album"s) +
                         ID3v2Frame(3, "TDRC",
                                    "\0"
                                    "2004-05-06"s) +
                         ID3v2Frame(3, "TIT2", "\0"s)));
    EXPECT_EQ(tag_.Title(), "Group");
    EXPECT_EQ(tag_.Artist(), "Orig");
    EXPECT_EQ(tag_.Album(), "Old album");
    EXPECT_EQ(tag_.Year(), "2004");
}

TEST_F(ID3v2Test, OnlyTheFirst500BytesOfAFrameCountAndTheWalkGoesOn) {
    const std::string longTitle = "\0"s + std::string(600, 'x');
    Read(ID3v2Tag(3, ID3v2Frame(3, "TIT2", longTitle) + ID3v2Frame(3, "TPE1", "\0Next"s)));
    EXPECT_EQ(tag_.Title(), std::string(499, 'x'));
    EXPECT_EQ(tag_.Artist(), "Next");
    // The cut never splits a character: here it falls inside the final "é".
    Read(ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\3" + std::string(498, 'x') + "\xC3\xA9")));
    EXPECT_EQ(tag_.Title(), std::string(498, 'x'));
}

TEST_F(ID3v2Test, Version24FrameSizesAreSynchsafe) {
    // A 200-byte title has a synchsafe size (01 48) that read as a plain number would be 328.
    const std::string title(199, 't');
    Read(ID3v2Tag(4, ID3v2Frame(4, "TIT2", "\3" + title) + ID3v2Frame(4, "TPE1", "\3Artist"s)));
    EXPECT_EQ(tag_.Title(), title);
    EXPECT_EQ(tag_.Artist(), "Artist");
    // Writers that stored plain sizes give themselves away by a byte with its top bit set.
    const std::string big(0x90 - 1, 'b');
    std::string frame = ID3v2Frame(4, "TIT2", "\0"s + big);
    frame.replace(4, 4, test::BE32(0x90));
    Read(ID3v2Tag(4, frame + ID3v2Frame(4, "TPE1", "\0After"s)));
    EXPECT_EQ(tag_.Title(), big);
    EXPECT_EQ(tag_.Artist(), "After");
}

TEST_F(ID3v2Test, EveryTextEncodingIsRead) {
    Read(ID3v2Tag(4, ID3v2Frame(4, "TIT2", "\2\x04\x1F\x04\x40\x04\x38"s) +  // UTF-16BE
                         ID3v2Frame(4, "TPE1", "\3\xC3\x86gir"s) +           // UTF-8
                         ID3v2Frame(4, "TALB", "\1\xFE\xFF\0A\0\xFF"s) +     // BE mark
                         ID3v2Frame(4, "TCOM", "\7Unknown encoding"s)));     // ignored
    EXPECT_EQ(tag_.Title(), "При");
    EXPECT_EQ(tag_.Artist(), "Ægir");
    EXPECT_EQ(tag_.Album(), "Aÿ");
    EXPECT_EQ(tag_.Composer(), "");
}

TEST_F(ID3v2Test, AFrameWithAnUnknownEncodingKeepsTheEarlierFrame) {
    Read(ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\0First"s) + ID3v2Frame(3, "TIT2", "\x09Second"s) +
                         ID3v2Frame(3, "TPE1", "\0One"s) + ID3v2Frame(3, "TPE1", "\0Two"s)));
    EXPECT_EQ(tag_.Title(), "First");
    EXPECT_EQ(tag_.Artist(), "Two");  // the last frame of an id wins
}

TEST_F(ID3v2Test, GenreNumbersInParenthesesGiveTheirNames) {
    const std::pair<std::string, std::string> cases[] = {
        {"(17)", "Rock"},
        {"(17)Rock", "Rock"},
        {"(9)Pop", "Pop"},
        {"Pop", "Pop"},
        {"Rock (Live)", "Rock (Live)"},
        {"(4)(17)", "Disco"},
        {"(200)", ""},
        {"((Bracketed)", "(Bracketed)"},
        {"(abc)Rock", "(abc)Rock"},
        {"(17", "(17"},
        {"(31)((Trance)", "(Trance)"},
    };
    for (const auto& [text, genre] : cases) {
        Read(ID3v2Tag(3, ID3v2Frame(3, "TCON", "\0"s + text)));
        EXPECT_EQ(tag_.Genre(), genre) << text;
    }
}

TEST_F(ID3v2Test, TrackTextAndNumber) {
    Read(ID3v2Tag(3, ID3v2Frame(3, "TRCK", "\0A"s)));
    EXPECT_EQ(tag_.Track(), 0);
    EXPECT_EQ(tag_.TrackString(), "A");
    Read(ID3v2Tag(3, ID3v2Frame(3, "TRCK",
                                "\0"
                                "300/400"s)));
    EXPECT_EQ(tag_.Track(), 300);  // 16 bits: no cut at 255
}

TEST_F(ID3v2Test, CommentAndLinkSkipTheirDescriptions) {
    Read(ID3v2Tag(3, ID3v2Frame(3, "COMM", "\0engdesc\0The comment"s) +
                         ID3v2Frame(3, "WXXX", "\0home\0http://a.example/"s)));
    EXPECT_EQ(tag_.Comment(), "The comment");
    EXPECT_EQ(tag_.Link(), "http://a.example/");
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
    // A comment without a separator has no text.
    Read(ID3v2Tag(3, ID3v2Frame(3, "COMM", "\0engonly a description"s)));
    EXPECT_EQ(tag_.Comment(), "");
}

TEST_F(ID3v2Test, Version22UsesThreeCharacterFrames) {
    Read(ID3v2Tag(2,
                  ID3v2Frame(2, "TT2", "\0Old title"s) + ID3v2Frame(2, "TP1", "\1\xFF\xFEO\0"s) +
                      ID3v2Frame(2, "TAL", "\0Alb"s) +
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
    EXPECT_EQ(tag_.Album(), "Alb");
    EXPECT_EQ(tag_.Track(), 4);
    EXPECT_EQ(tag_.Year(), "1971");
    EXPECT_EQ(tag_.Genre(), "Blues");
    EXPECT_EQ(tag_.Comment(), "Note");
    EXPECT_EQ(tag_.Link(), "http://c.example/");
}

TEST_F(ID3v2Test, CompressedEncryptedAndFlaggedFrames) {
    // Version 2.3: compressed (0x80) and encrypted (0x40) frames are skipped.
    Read(ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\0zlib"s, 0x0080) +
                         ID3v2Frame(3, "TPE1", "\0secret"s, 0x0040) +
                         ID3v2Frame(3, "TALB", "\0Plain"s, 0x8000)));
    EXPECT_EQ(tag_.Title(), "");
    EXPECT_EQ(tag_.Artist(), "");
    EXPECT_EQ(tag_.Album(), "Plain");
    // Version 2.4: compression 0x08, encryption 0x04, a data-length field 0x01 and
    // unsynchronisation 0x02.
    Read(ID3v2Tag(4, ID3v2Frame(4, "TIT2", "\0zlib"s, 0x0009) +
                         ID3v2Frame(4, "TPE1", "\0secret"s, 0x0004) +
                         ID3v2Frame(4, "TALB", test::Synchsafe(6) + "\0Album"s, 0x0001) +
                         ID3v2Frame(4, "TCOM",
                                    "\1\xFF\0\xFE"
                                    "A\0\xFF\0\0"s,
                                    0x0002)));
    EXPECT_EQ(tag_.Title(), "");
    EXPECT_EQ(tag_.Artist(), "");
    EXPECT_EQ(tag_.Album(), "Album");
    EXPECT_EQ(tag_.Composer(), "Aÿ");
}

TEST_F(ID3v2Test, ExtendedHeaderIsSkipped) {
    const std::string frames = ID3v2Frame(3, "TIT2", "\0Title"s);
    Read(ID3v2Tag(3, "\0\0\0\6\0\0\0\0\0\0"s + frames, 0, 0x40));
    EXPECT_EQ(tag_.Title(), "Title");
    Read(ID3v2Tag(4, "\0\0\0\6\1\0"s + ID3v2Frame(4, "TIT2", "\0Four"s), 0, 0x40));
    EXPECT_EQ(tag_.Title(), "Four");
}

TEST_F(ID3v2Test, TheWalkStopsAtPaddingBadIdsAndTheTagsEnd) {
    // A frame id that does not start with a capital letter ends the walk.
    Read(ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\0T"s) + ID3v2Frame(3, "tpe1", "\0x"s) +
                         ID3v2Frame(3, "TALB", "\0never"s)));
    EXPECT_EQ(tag_.Title(), "T");
    EXPECT_EQ(tag_.Album(), "");
    // Frames beyond the tag's size belong to the audio.
    const std::string inside = ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\0In"s));
    Read(inside + ID3v2Frame(3, "TPE1", "\0Out"s));
    EXPECT_EQ(tag_.Artist(), "");
    // A frame that claims more than the tag holds is read as far as the tag goes, then the
    // walk ends.
    std::string huge = ID3v2Frame(3, "TIT2", "\0Huge"s);
    huge.replace(4, 4, test::BE32(0xFFFFFFF0));
    Read(ID3v2Tag(3, huge + ID3v2Frame(3, "TPE1", "\0x"s)));
    EXPECT_EQ(tag_.Title().substr(0, 4), "Huge");
    EXPECT_EQ(tag_.Artist(), "");
}

TEST_F(ID3v2Test, UnknownVersionsReportTheHeaderOnly) {
    Read(ID3v2Tag(5, ID3v2Frame(4, "TIT2", "\0T"s)));
    EXPECT_TRUE(tag_.Exists());
    EXPECT_EQ(tag_.VersionID(), 5);
    EXPECT_EQ(tag_.Title(), "");
}

}  // namespace
}  // namespace rv
