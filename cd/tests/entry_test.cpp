#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cd/cddb_text.h"
#include "cd/entry_parser.h"

namespace rv {
namespace {

TCDInfo DiscOf(int tracks) {
    TCDInfo info;
    info.TOC.Count = static_cast<std::uint8_t>(tracks);
    info.DiscID = "0200b201";
    info.Category = "rock";
    return info;
}

TEST(ParseEntry, FillsTheRecordJoiningContinuedLines) {
    TCDInfo info = DiscOf(13);
    info.TrackTitles[5] = "from the last disc";
    info.Year = "1970";
    const TCDTOC toc = info.TOC;
    const std::vector<std::string> lines = {
        "# xmcd",
        "# Revision: 7",
        "DISCID=0200b201",
        "DTITLE=Artist / Album",
        "DTITLE= (Remastered)",
        "",
        "dyear=1999",
        "DGENRE=Rock",
        "TTITLE0=First",
        "TTITLE0= part",
        "TTITLE12=Twelfth",
        "EXTD=one\\ntwo",
        "EXTT1=x\\ty",
        "PLAYORDER=1,2",
    };
    ParseEntry(lines, info);
    EXPECT_EQ(info.Artist, "Artist");
    EXPECT_EQ(info.Title, "Album (Remastered)");
    EXPECT_EQ(info.Year, "1999");
    EXPECT_EQ(info.Genre, "Rock");
    EXPECT_EQ(info.Revision, 7);
    EXPECT_EQ(info.TrackTitles[0], "First part");
    EXPECT_EQ(info.TrackTitles[5], "");
    EXPECT_EQ(info.TrackTitles[12], "Twelfth");
    EXPECT_EQ(info.EXTD, "one\r\ntwo");
    EXPECT_EQ(info.EXTT[1], "x\ty");
    EXPECT_EQ(info.DiscID, "0200b201");
    EXPECT_EQ(info.Category, "rock");
    EXPECT_EQ(info.TOC, toc);

    // Without " / " the whole title is the artist; a long artist split over two lines stays one.
    // Disc texts need no tracks.
    info.TOC.Count = 0;
    ParseEntry(std::vector<std::string>{"DTITLE=Various"}, info);
    EXPECT_EQ(info.Artist, "Various");
    EXPECT_EQ(info.Title, "");
    ParseEntry(std::vector<std::string>{"DTITLE=The Long Art", "DTITLE=ist / Its Album"}, info);
    EXPECT_EQ(info.Artist, "The Long Artist");
    EXPECT_EQ(info.Title, "Its Album");
}

TEST(ParseEntry, EscapesAreDecodedOnceFromTheLeftAfterTheLinesAreJoined) {
    EXPECT_EQ(Unescape(R"(a\\nb)"), R"(a\nb)");
    EXPECT_EQ(Unescape(R"(\\\n\t)"), "\\\r\n\t");
    EXPECT_EQ(Unescape(R"(\q end\)"), R"(\q end\)");

    TCDInfo info = DiscOf(2);
    ParseEntry(std::vector<std::string>{"TTITLE0=C:\\\\", "TTITLE0=new", "DTITLE=AC\\\\",
                                        "DTITLE=DC / Back\\\\n Black"},
               info);
    EXPECT_EQ(info.TrackTitles[0], "C:\\new");
    EXPECT_EQ(info.Artist, "AC\\DC");
    EXPECT_EQ(info.Title, "Back\\n Black");

    // Many escapes in one field take one pass.
    std::string many;
    for (int i = 0; i < 100000; ++i) many += "\\\\\\n";
    ParseEntry(std::vector<std::string>{"EXTD=" + many}, info);
    EXPECT_EQ(info.EXTD.size(), 300000u);
    EXPECT_EQ(info.EXTD.substr(0, 6), "\\\r\n\\\r\n");
}

TEST(ParseEntry, TrackNumbersAreReadWholeAndOnlyTracksOfTheDiscAreFilled) {
    TCDInfo info = DiscOf(12);
    ParseEntry(
        std::vector<std::string>{"TTITLE100=Hundred", "TTITLE11=Last", "TTITLE12=Beyond",
                                 "TTITLE=none", "TTITLEa=letter", "TTITLE-1=minus", "TTITLE+1=plus",
                                 "TTITLE 3=blank", "TTITLE99999999999=huge", "TTITLE4", "EXTT100=x",
                                 "EXTT010=ten", "# Revision: seven", "TTITLE1=after"},
        info);
    EXPECT_EQ(info.TrackTitles[11], "Last");
    EXPECT_EQ(info.TrackTitles[1], "after");
    EXPECT_EQ(info.Revision, 0);
    // TTITLE100 is no title of track 10.
    for (int i : {0, 2, 3, 4, 5, 6, 7, 8, 9, 10}) EXPECT_EQ(info.TrackTitles[i], "") << i;
    EXPECT_EQ(info.TrackTitles[12], "");
    EXPECT_EQ(info.EXTT[10], "ten");

    // A disc of 99 tracks takes titles up to TTITLE98.
    TCDInfo full = DiscOf(99);
    ParseEntry(std::vector<std::string>{"TTITLE98=last", "TTITLE99=none"}, full);
    EXPECT_EQ(full.TrackTitles[98], "last");
    EXPECT_EQ(full.TrackTitles[99], "");
}

TEST(CddbAnswerLines, SplitAtEveryLineEndAndTurnLatin1IntoUtf8) {
    const std::vector<std::string> lines = CddbAnswerLines(
        "210 rock 0200b201\r\nDTITLE=Bj\xf6rk / Hom\xe9genic\nTTITLE0=J\xf3ga\r"
        "\r\n.");
    EXPECT_EQ(lines, (std::vector<std::string>{"210 rock 0200b201",
                                               "DTITLE=Bj\xc3\xb6rk / Hom\xc3\xa9genic",
                                               "TTITLE0=J\xc3\xb3ga", "", "."}));
    EXPECT_EQ(CddbAnswerLines("a\n\rb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(CddbAnswerLines("").empty());

    TCDInfo info = DiscOf(1);
    ParseEntry(lines, info);
    EXPECT_EQ(info.Artist, "Bj\xc3\xb6rk");
    EXPECT_EQ(info.TrackTitles[0], "J\xc3\xb3ga");
}

}  // namespace
}  // namespace rv
