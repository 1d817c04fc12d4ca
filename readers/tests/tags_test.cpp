// ID3v1, ID3v2 and APE tags, and the text rules they share.

#include <gtest/gtest.h>

#include <tuple>

#include "readers/ape_tag.h"
#include "readers/id3v1.h"
#include "readers/id3v2.h"
#include "readers/tag_text.h"
#include "readers/tests/test_bytes.h"

using namespace std::string_literals;

namespace rv {
namespace {

using namespace test;

const std::string kAudio(2000, '\x55');

TID3v2 V2(const std::string& tag) {
    return Read<TID3v2>(tag + kAudio);
}

// A version 2.3 tag of single-byte text frames.
TID3v2 V23(const std::vector<std::pair<std::string, std::string>>& frames) {
    std::string bytes;
    for (const auto& [id, text] : frames) bytes += ID3v2Frame(3, id, "\0"s + text);
    return V2(ID3v2Tag(3, bytes));
}

TEST(ID3v1, TrackVersionGenreAndTextAndOnlyUnreadableFilesAreErrors) {
    TID3v1 tag =
        Read<TID3v1>(kAudio + ID3v1Block({"Caf\xE9 \x80\x01", "Artist   ", "Al\0junk"s, "19\t9",
                                          "A comment that is 28 chars!!", 5, 17}));
    EXPECT_EQ(std::tuple(int{tag.VersionID()}, int{tag.Track()}, tag.Comment(), tag.Genre()),
              std::tuple(2, 5, "A comment that is 28 chars!!", "Rock"));
    // windows-1252, controls cleaned
    EXPECT_EQ(std::tuple(tag.Title(), tag.Artist(), tag.Album(), tag.Year()),
              std::tuple("Café €", "Artist", "Al", "19 9"));
    // Byte 125 zero and byte 126 zero: version 1.0.
    EXPECT_EQ(Read<TID3v1>(ID3v1Block({"T", "", "", "", "c", 0, 0})).VersionID(), 1);
    // Blank-padded writers: byte 125 a blank and byte 126 not.
    std::string block = ID3v1Block({"T"});
    block[125] = ' ';
    block[126] = 9;
    EXPECT_EQ(Read<TID3v1>(block).Track(), 9);
    for (const auto& [id, name] :
         {std::pair<unsigned char, std::string>{147, "Synthpop"}, {148, ""}})
        EXPECT_EQ(Read<TID3v1>(ID3v1Block({.genre = id})).Genre(), name);
    // Only unreadable files are errors, and nothing of an earlier tag is kept.
    TID3v1 other;
    EXPECT_FALSE(ReadBytes(other, std::string(127, 'x')));
    EXPECT_FALSE(other.ReadFromFile("/nonexistent/file.mp3"));
    ASSERT_TRUE(ReadBytes(other, ID3v1Block({"Title", "", "", "", "", 3, 1})));
    EXPECT_TRUE(ReadBytes(other, std::string(128, 'x')));
    EXPECT_EQ(std::tuple(other.Exists(), other.Title(), int{other.Track()}),
              std::tuple(false, "", 0));
}

TEST(ID3v2, TagSizesCountHeaderAndFooterAndFrameSizesAreSynchsafeInVersion24) {
    TID3v2 tag;
    EXPECT_FALSE(ReadBytes(tag, "ID3\3\0\0\0"));
    const std::string frame = ID3v2Frame(4, "TIT2", "\0T"s);
    tag = V2(ID3v2Tag(4, frame, 50, 0x10) + "3DI\4\0\x10\0\0\0\x3E"s);
    EXPECT_EQ(std::tuple(tag.Size(), tag.Title()), std::tuple(10 + frame.size() + 50 + 10, "T"));
    // A size past the end of the file: the header is reported, no frame is read.
    std::string big = ID3v2Tag(3, frame);
    big.replace(6, 4, Synchsafe(1 << 20));
    tag = V2(big);
    EXPECT_EQ(std::tuple(int{tag.VersionID()}, tag.Size(), tag.Title()), std::tuple(3, 0u, ""));
    // So with a version we do not know.
    EXPECT_EQ(V2(ID3v2Tag(5, frame)).Title(), "");
    // A text keeps its first 255 characters, here 300 two-byte ones in UTF-8 and in UTF-16.
    std::string greek, utf16 = "\1\xFF\xFE";
    for (int i = 0; i < 300; ++i) greek += "\xCE\xB1", utf16 += "\xB1\x03"s;
    const TID3v2 longText =
        V2(ID3v2Tag(4, ID3v2Frame(4, "TIT2", "\3" + greek) + ID3v2Frame(4, "TPE1", utf16)));
    const std::string kept = greek.substr(0, 510);
    EXPECT_EQ(std::tuple(longText.Title(), longText.Artist()), std::tuple(kept, kept));
    // Of a frame only its first 2048 bytes are read, and the walk goes on; the cut falls inside
    // the "é" behind 2046 bytes, most of them blanks, and that character is dropped whole.
    const TID3v2 cut = V2(ID3v2Tag(
        3,
        ID3v2Frame(3, "TIT2", "\3" + std::string(1900, ' ') + std::string(146, 'x') + "\xC3\xA9") +
            ID3v2Frame(3, "TPE1", "\0Next"s)));
    EXPECT_EQ(std::tuple(cut.Title(), cut.Artist()), std::tuple(std::string(146, 'x'), "Next"));
    // A 200-byte title has a synchsafe size (01 48) that read as a plain number would be 328.
    const std::string title(199, 't');
    const TID3v2 v24 =
        V2(ID3v2Tag(4, ID3v2Frame(4, "TIT2", "\3" + title) + ID3v2Frame(4, "TPE1", "\3Artist"s)));
    EXPECT_EQ(std::tuple(v24.Title(), v24.Artist()), std::tuple(title, "Artist"));
    // Writers that stored plain sizes give themselves away by a byte with its top bit set.
    std::string plain = ID3v2Frame(4, "TIT2", "\0"s + std::string(0x8F, 'b'));
    plain.replace(4, 4, BE32(0x90));
    EXPECT_EQ(V2(ID3v2Tag(4, plain + ID3v2Frame(4, "TPE1", "\0After"s))).Artist(), "After");
}

TEST(ID3v2, FallbackFramesTheLastFrameWinningAndVersion22Ids) {
    const TID3v2 tag = V23({{"TIT1", "Group"},
                            {"TOPE", "Orig"},
                            {"TOAL", "Old album"},
                            {"TDRC", "2004-05-06"},
                            {"TIT2", ""},
                            {"TRCK", "A"},
                            {"TCOM", "One"},
                            {"TCOM", "Two"}});
    EXPECT_EQ(std::tuple(tag.Title(), tag.Artist(), tag.Album(), tag.Year()),
              std::tuple("Group", "Orig", "Old album", "2004"));
    EXPECT_EQ(std::tuple(tag.Track(), tag.TrackString(), tag.Composer()),
              std::tuple(0, "A", "Two"));
    // Version 2.2 uses three-character frames.
    const TID3v2 v22 =
        V2(ID3v2Tag(2,
                    ID3v2Frame(2, "TT2", "\0Old title"s) + ID3v2Frame(2, "TP1", "\1\xFF\xFEO\0"s) +
                        ID3v2Frame(2, "TRK", "\0004"s) + ID3v2Frame(2, "TOR", "\0001971"s) +
                        ID3v2Frame(2, "TCO", "\0(0)"s) + ID3v2Frame(2, "COM", "\0eng\0Note"s) +
                        ID3v2Frame(2, "WXX", "\0\0http://c.example/"s),
                    20));
    EXPECT_EQ(std::tuple(v22.Title(), v22.Artist(), v22.Track(), v22.Year(), v22.Genre()),
              std::tuple("Old title", "O", 4, "1971", "Blues"));
    EXPECT_EQ(std::tuple(v22.Comment(), v22.Link()), std::tuple("Note", "http://c.example/"));
}

TEST(ID3v2, TextFramesInEveryEncodingGenreNumbersCommentsAndLinks) {
    const TID3v2 tag =
        V2(ID3v2Tag(4, ID3v2Frame(4, "TIT2",
                                  "\1\xFF\xFE\x41\0B\0"s) +                         // UTF-16LE
                           ID3v2Frame(4, "TPE1", "\2\x04\x1F\x04\x40\x04\x38"s) +   // UTF-16BE
                           ID3v2Frame(4, "TALB", "\1\xFE\xFF\0A\0\xFF\x01\xFF"s) +  // BE mark
                           ID3v2Frame(4, "TCOM", "\3\xC3\x86gir"s) +                // UTF-8
                           ID3v2Frame(4, "TCOM", "\7Unknown encoding"s)));          // ignored
    // Low bytes 0xFF are characters, not marks.
    EXPECT_EQ(std::tuple(tag.Title(), tag.Artist(), tag.Album(), tag.Composer()),
              std::tuple("AB", "При", "Aÿǿ", "Ægir"));
    const std::pair<std::string, std::string> cases[] = {{"(17)", "Rock"},
                                                         {"(17)Rock", "Rock"},
                                                         {"(9)Pop", "Pop"},
                                                         {"Rock (Live)", "Rock (Live)"},
                                                         {"(4)(17)", "Disco"},
                                                         {"(200)", ""},
                                                         {"((Bracketed)", "(Bracketed)"},
                                                         {"(abc)Rock", "(abc)Rock"},
                                                         {"(17", "(17"}};
    for (const auto& [text, genre] : cases) EXPECT_EQ(V23({{"TCON", text}}).Genre(), genre) << text;
    // In UTF-16 the separator is a zero code unit, even where a character's byte is zero; the
    // address of a link is single-byte text whatever the description's encoding.
    const TID3v2 comm =
        V2(ID3v2Tag(3, ID3v2Frame(3, "COMM", "\1eng\xFF\xFE\x41\0\0\x01\0\0\xFF\xFE\x43\0"s) +
                           ID3v2Frame(3, "WXXX", "\1\xFF\xFE\x64\0\0\0http://b.example/"s)));
    EXPECT_EQ(std::tuple(comm.Comment(), comm.Link()), std::tuple("C", "http://b.example/"));
    EXPECT_EQ(V23({{"COMM", "engonly a description"}}).Comment(), "");  // no separator
}

TEST(ID3v2, FrameFlagsTheExtendedHeaderAndWhereTheWalkStops) {
    // Version 2.3: compressed (0x80) and encrypted (0x40) frames are skipped; an extended
    // header counts the bytes after its size.
    TID3v2 tag = V2(ID3v2Tag(3,
                             "\0\0\0\6\0\0\0\0\0\0"s + ID3v2Frame(3, "TIT2", "\0zlib"s, 0x0080) +
                                 ID3v2Frame(3, "TPE1", "\0secret"s, 0x0040) +
                                 ID3v2Frame(3, "TALB", "\0Plain"s, 0x8000),
                             0, 0x40));
    EXPECT_EQ(tag.Title() + tag.Artist() + tag.Album(), "Plain");
    // Version 2.4: compression 0x08, encryption 0x04, a data-length field 0x01 and
    // unsynchronisation 0x02; the extended header counts itself.
    tag = V2(ID3v2Tag(4,
                      "\0\0\0\6\1\0"s + ID3v2Frame(4, "TIT2", "\0zlib"s, 0x0009) +
                          ID3v2Frame(4, "TPE1", "\0secret"s, 0x0004) +
                          ID3v2Frame(4, "TALB", Synchsafe(6) + "\0Album"s, 0x0001) +
                          ID3v2Frame(4, "TCOM", "\1\xFF\0\xFE\x41\0\xFF\0\0"s, 0x0002),
                      0, 0x40));
    EXPECT_EQ(tag.Title() + tag.Artist() + tag.Album() + "/" + tag.Composer(), "Album/Aÿ");
    tag = V2(ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\0T"s) + ID3v2Frame(3, "tpe1", "\0x"s) +
                             ID3v2Frame(3, "TALB", "\0never"s)));
    EXPECT_EQ(std::tuple(tag.Title(), tag.Album()), std::tuple("T", ""));
    // Frames beyond the tag's size belong to the audio.
    EXPECT_EQ(
        V2(ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\0In"s)) + ID3v2Frame(3, "TPE1", "\0Out"s)).Artist(),
        "");
    // A frame that claims more than the tag holds is read as far as the tag goes.
    std::string huge = ID3v2Frame(3, "TIT2", "\0Huge"s);
    huge.replace(4, 4, BE32(0xFFFFFFF0));
    tag = V2(ID3v2Tag(3, huge + ID3v2Frame(3, "TPE1", "\0x"s)));
    EXPECT_EQ(std::tuple(tag.Title().substr(0, 4), tag.Artist()), std::tuple("Huge", ""));
}

TAPEtag Ape(const std::string& tail) {
    return Read<TAPEtag>(std::string(300, '\x55') + tail);
}

TEST(APETag, ItemsAreFoundBeforeAnID3v1BlockAndBehindAHeaderInEitherVersion) {
    TAPEtag tag;
    EXPECT_FALSE(ReadBytes(tag, std::string(127, 'x')));
    EXPECT_FALSE(Ape("").Exists());
    std::string cyrillic;
    for (int i = 0; i < 300; ++i) cyrillic += "\xD0\x96";
    const std::string bytes = APETag(2000,
                                     {{"TITLE", "Caf\xC3\xA9"},
                                      {"Title", "Second"},
                                      {"Track", "4/9"},
                                      {"Album", cyrillic},
                                      {"Artist", "One\0Two"s},
                                      {"Comment", "Line\r\nbreak"}},
                                     true);
    tag = Ape(bytes + ID3v1Block({"v1 title"}));
    // The header is not counted; a later item replaces an earlier one; of a list of values the
    // first counts.
    EXPECT_EQ(std::tuple(tag.Size(), tag.Title(), int{tag.Track()}, tag.Artist(), tag.Comment()),
              std::tuple(bytes.size() - 32, "Second", 4, "One", "Line  break"));
    EXPECT_EQ(tag.Album(), cyrillic.substr(0, 510));  // 255 of its 300 characters
    tag = Ape(APETag(1000, {{"Title", "Caf\xC3\xA9"}, {"Artist", "na\xEFve"}}));
    // Five characters, as windows-1252 reads them.
    EXPECT_EQ(std::tuple(tag.Title(), tag.Artist()), std::tuple("CafÃ©", "naïve"));
    tag = Ape(APETag(2000, {{"Title", "Caf\xC3\xA9"}, {"Track", "999"}}));
    EXPECT_EQ(std::tuple(tag.Title(), int{tag.Track()}), std::tuple("Café", 0));  // 999: no room
}

TEST(APETag, ForgedSizesAndCountsEndTheWalk) {
    std::string tag = APETag(2000, {{"Title", "T"}});
    tag.replace(tag.size() - 16, 4, LE32(0xFFFFFFFF));  // item count
    EXPECT_EQ(Ape(tag).Title(), "T");
    tag = APETag(2000, {{"Title", "T"}, {"Artist", "A"}});
    tag.replace(0, 4, LE32(0x7FFFFFFF));  // first value size
    EXPECT_EQ(Ape(tag).Artist(), "");
    for (std::uint32_t size : {0xFFFFFFF0u, 31u}) {  // tag size
        tag = APETag(2000, {{"Title", "T"}});
        tag.replace(tag.size() - 20, 4, LE32(size));
        EXPECT_EQ(std::tuple(Ape(tag).Exists(), Ape(tag).Title()), std::tuple(true, ""));
    }
    // A key that never ends.
    EXPECT_TRUE(Ape(LE32(1) + LE32(0) + std::string(291, 'K') + "APETAGEX" + LE32(2000) +
                    LE32(32 + 299) + LE32(1) + LE32(0) + std::string(8, '\0'))
                    .Exists());
}

TEST(TagText, CutTextControlsAndTrackNumbers) {
    EXPECT_EQ(DecodeTagText("\xFF\xFE\x41\0\x34\xD8"s, TagEncoding::Utf16),
              "A");                                              // half a pair
    EXPECT_EQ(DecodeTagText("A\0B"s, TagEncoding::Utf16), "A");  // half a unit
    // Pairs in either byte order; a lone half inside the text is marked, a half pair before the
    // terminator is cut off, and a byte-order mark inside the text is dropped.
    for (const auto& [bytes, encoding, text] : {
             std::tuple("\x3C\xD8\xB5\xDF!\0"s, TagEncoding::Utf16, "\U0001F3B5!"),
             std::tuple("\xD8\x3C\xDF\xB5"s, TagEncoding::Utf16BE, "\U0001F3B5"),
             std::tuple("\xFE\xFF\xD8\x3C\xDF\xB5"s, TagEncoding::Utf16, "\U0001F3B5"),
             std::tuple("\xB5\xDFx\0"s, TagEncoding::Utf16, "\uFFFDx"),
             std::tuple("\x3C\xD8x\0\x3C\xD8"s, TagEncoding::Utf16, "\uFFFDx"),
             std::tuple("x\0\x3C\xD8\0\0y\0"s, TagEncoding::Utf16, "x"),
             std::tuple("x\0\xFF\xFEy\0"s, TagEncoding::Utf16, "xy"),
         })
        EXPECT_EQ(DecodeTagText(bytes, encoding), text) << bytes.size();
    EXPECT_EQ(DecodeTagText("x\xF0\x9D\x84", TagEncoding::Utf8), "x");
    // Malformed bytes inside the text are marked, not dropped.
    EXPECT_EQ(DecodeTagText("a\xFF\x62", TagEncoding::Utf8), "a\uFFFD\x62");
    EXPECT_EQ(CleanTagText("  \tline one\r\nline two\x7F "), "line one  line two");
    EXPECT_EQ(CleanTagText("\xC2\x85x"), "x");  // U+0085, a C1 control
    // A cut counts characters from the first that is no blank. Blanks at the end go only where
    // the text ends: the cut is the only cut, and a blank it falls after stays.
    EXPECT_EQ(std::tuple(CleanTagText("  \xCE\xB1\xCE\xB2\xCE\xB3", 2), CleanTagText("ab  cd", 3),
                         CleanTagText("ab \t ", 3)),
              std::tuple("\xCE\xB1\xCE\xB2", "ab ", "ab"));
    // windows-1252 leaves 0x81 undefined; it decodes to a C1 control.
    EXPECT_EQ(DecodeTagText("A\x81\x42"s, TagEncoding::Latin), "A B");
    // The track number is the decimal before the slash.
    EXPECT_EQ(std::tuple(ParseTrackNumber("3/12", 255), ParseTrackNumber(" 07 ", 255)),
              std::tuple(3u, 7u));
    for (const char* bad : {"A", "3a", "-3", "", "256"}) EXPECT_EQ(ParseTrackNumber(bad, 255), 0u);
    EXPECT_EQ(ParseTrackNumber("99999999999999", 0xFFFF), 0u);
}

}  // namespace
}  // namespace rv
