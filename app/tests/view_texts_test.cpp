#include <gtest/gtest.h>

#include "app/tests/app_fixture.h"
#include "app/time_text.h"
#include "app/view_texts.h"

namespace rv {
namespace {

TEST(TimeText, WholeSecondsRoundHalvesToEvenAndKeepTwoDigits) {
    EXPECT_EQ(MinSecText(59.5), "01:00");    // 60 s
    EXPECT_EQ(MinSecText(60.5), "01:00");    // 60 s, the even neighbour
    EXPECT_EQ(MinSecText(61.5), "01:02");    // 62 s
    EXPECT_EQ(MinSecText(3725.6), "62:06");  // 3726 s
    EXPECT_EQ(MinSecText(4505), "75:05");
    EXPECT_EQ(MinSecText(0.4), "00:00");
    EXPECT_EQ(MinSecText(-3), "00:00");
    EXPECT_EQ(MinSecText(6000 * 60), "6000:00");
}

struct Library : testing::Test {
    Library() { test::FillLibrary(lib); }
    TMediaLib lib;
    // Filed order: Davis (0: Kind of Blue, Bitches Brew), Coltrane (1), Abba (2).
    const TFindIndex davis{0, -1, -1}, kindOfBlue{0, 0, -1}, brew{0, 1, -1};
    const TFindIndex coltrane{1, -1, -1}, arrival{2, 0, -1};
    const TFindIndex freddie{0, 0, 0}, soWhat{0, 0, 1}, blue{0, 0, 2};
};

TEST_F(Library, CellsShowTheEntriesOfTheirAddresses) {
    EXPECT_EQ(TreeNodeText(lib, davis), "Davis, Miles");
    EXPECT_EQ(TreeNodeText(lib, brew), "Bitches Brew");
    const std::vector<std::string> album = {"Kind of Blue", "1959", "Jazz", "3", "24:46"};
    for (int c = 0; c < 5; ++c) EXPECT_EQ(AlbumListText(lib, kindOfBlue, c), album[c]) << c;
    EXPECT_EQ(AlbumListText(lib, arrival, 1), "");  // release 0
    const std::vector<std::string> track = {"2",   "Freddie Freeloader", "09:46",
                                            "256", "Joint Stereo",       "MPEG 1 Layer III"};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(TrackListText(lib, freddie, c), track[c]) << c;
    // An address that names nothing shows empty cells rather than another entry's.
    EXPECT_EQ(TreeNodeText(lib, {9, -1, -1}), "");
    EXPECT_EQ(TrackListText(lib, {0, 0, 7}, 1), "");
    EXPECT_EQ(ListSearchText(lib, soWhat), "So What");
    EXPECT_EQ(ListSearchText(lib, brew), "Bitches Brew");
}

TEST_F(Library, ComparisonsGiveTheSignOfNumbersAndTheOrderOfTexts) {
    EXPECT_GT(CompareTreeNodes(lib, davis, coltrane), 0);
    EXPECT_LT(CompareTreeNodes(lib, brew, kindOfBlue), 0);
    EXPECT_EQ(CompareTreeNodes(lib, davis, davis), 0);
    // Albums: title, release, genre, tracks, time.
    const int albums[] = {1, -1, 1, 1, 1};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(CompareAlbumListNodes(lib, kindOfBlue, brew, c), albums[c]) << c;
    // Tracks: number, title, time, bit rate (equal), channel mode (equal), format (equal).
    const int tracks[] = {1, -1, 1, 0, 0, 0};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(CompareTrackListNodes(lib, freddie, soWhat, c), tracks[c]) << c;
    EXPECT_EQ(CompareTrackListNodes(lib, blue, soWhat, 3), -1);
    // Durations compare as they are, not as shown: 586.4 s against 586 s.
    TMediaLib near;
    near.AddTrack(test::MakeTrack("A", "B", 1, "x", 586.4));
    near.AddTrack(test::MakeTrack("A", "B", 2, "y", 586));
    EXPECT_EQ(CompareTrackListNodes(near, {0, 0, 0}, {0, 0, 1}, 2), 1);
}

TEST(TypedText, LettersMatchInAnyCaseOverTheShorterText) {
    EXPECT_EQ(CompareTypedText("ab", "ABBA"), 0);
    EXPECT_EQ(CompareTypedText("AB", "abacus"), 0);
    EXPECT_EQ(CompareTypedText("abbafan", "Abba"), 0);  // only the node text's length
    EXPECT_EQ(CompareTypedText("b", "Abba"), 'B' - 'A');
    EXPECT_EQ(CompareTypedText("a", "Zappa"), 'A' - 'Z');
    // Only a to z fold: other letters keep their case.
    EXPECT_NE(CompareTypedText("é", "É"), 0);
    EXPECT_EQ(CompareTypedText("é", "émile"), 0);
    EXPECT_EQ(CompareTypedText("", "anything"), 0);
}

}  // namespace
}  // namespace rv
