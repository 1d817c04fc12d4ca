#include <gtest/gtest.h>

#include "medialib/media_lib.h"
#include "medialib/tests/track_builder.h"

namespace rv {
namespace {

using test::At;

// A library as a file may hold it: equal names side by side, an artist without albums.
class StoredLib : public TMediaLib {
public:
    using TMediaLib::ReplaceArtists;
};

TAlbum Album(std::string title, std::initializer_list<const char*> titles) {
    TAlbum album;
    album.Title = std::move(title);
    for (const char* t : titles) album.Tracks.push_back(TTrack{.Title = t});
    return album;
}

class FindTest : public testing::Test {
protected:
    void SetUp() override {
        lib.ReplaceArtists({
            {"Abba",
             {Album("Arrival", {"Intro", "Fernando", "INTRO"}), Album("Gold", {"Fernando"}),
              Album("arrival", {"Intro"})}},
            {"Queen", {Album("Jazz", {"Mustapha", ""}), Album("Arrival", {"Intro"})}},
            {"abba", {Album("Arrival", {"Intro"})}},
            {"Empty", {}},
        });
    }
    StoredLib lib;
};

TEST_F(FindTest, ArtistAndAlbumGiven) {
    EXPECT_EQ(lib.Find("ABBA", "arrival", "intro"), (TFindIndexArray{At(0, 0, 0), At(0, 0, 2)}));
    EXPECT_EQ(lib.Find("Abba", "Gold", "Intro"), (TFindIndexArray{At(0, 1)}));
    EXPECT_EQ(lib.Find("Abba", "Jazz", "Intro"), (TFindIndexArray{At(0)}));
    EXPECT_EQ(lib.Find("Empty", "Jazz", "Intro"), (TFindIndexArray{At(3)}));
    EXPECT_EQ(lib.Find("Nobody", "Arrival", "Intro"), TFindIndexArray{});
}

TEST_F(FindTest, ArtistGivenAlbumWildcard) {
    EXPECT_EQ(lib.Find("abba", "", "Fernando"),
              (TFindIndexArray{At(0, 0, 1), At(0, 1, 0), At(0, 2)}));
    EXPECT_EQ(lib.Find("Abba", "", "Intro"),
              (TFindIndexArray{At(0, 0, 0), At(0, 0, 2), At(0, 1), At(0, 2, 0)}));
    EXPECT_EQ(lib.Find("Empty", "", "Intro"), (TFindIndexArray{At(3)}));
    EXPECT_EQ(lib.Find("Nobody", "", "Intro"), TFindIndexArray{});
}

TEST_F(FindTest, ArtistWildcardAlbumGiven) {
    EXPECT_EQ(lib.Find("", "Arrival", "Intro"),
              (TFindIndexArray{At(0, 0, 0), At(0, 0, 2), At(1, 1, 0), At(2, 0, 0)}));
    EXPECT_EQ(lib.Find("", "Jazz", "Intro"), (TFindIndexArray{At(1, 0)}));
    EXPECT_EQ(lib.Find("", "Nope", "Intro"), TFindIndexArray{});
}

TEST_F(FindTest, BothWildcardsAndTheEmptyTrackTitle) {
    EXPECT_EQ(lib.Find("", "", "Fernando"),
              (TFindIndexArray{At(0, 0, 1), At(0, 1, 0), At(0, 2), At(1, 0), At(1, 1), At(2, 0)}));
    // The track title is never a wildcard: empty finds only the empty title.
    EXPECT_EQ(lib.Find("Queen", "Jazz", ""), (TFindIndexArray{At(1, 0, 1)}));
}

TEST_F(FindTest, FindArtistGivesTheFirstOfEqualNames) {
    EXPECT_EQ(lib.FindArtist("ABBA"), (TFindIndexArray{At(0)}));
    EXPECT_EQ(lib.FindArtist("Abb"), TFindIndexArray{});
    EXPECT_EQ(lib.FindArtist(""), TFindIndexArray{});
}

TEST(FindLarge, IndexedLevelsAnswerAsScansWould) {
    // Beyond a few entries per level the look-ups go through indexes: the first of equal names
    // must still win, and entries appended later must be found.
    StoredLib lib;
    std::vector<TArtist> artists;
    for (int a = 0; a < 40; ++a) artists.push_back({"Artist " + std::to_string(a % 30), {}});
    for (int b = 0; b < 40; ++b)
        artists[5].Albums.push_back(Album("Album " + std::to_string(b % 25), {}));
    for (int t = 0; t < 40; ++t)
        artists[5].Albums[3].Tracks.push_back(TTrack{.Title = "T" + std::to_string(t % 20)});
    lib.ReplaceArtists(artists);

    EXPECT_EQ(lib.FindArtist("ARTIST 7"), (TFindIndexArray{At(7)}));
    EXPECT_EQ(lib.Find("artist 5", "ALBUM 3", "T"), (TFindIndexArray{At(5, 3)}));
    EXPECT_EQ(lib.Find("Artist 5", "Album 3", "t4"), (TFindIndexArray{At(5, 3, 4), At(5, 3, 24)}));
    EXPECT_EQ(lib.AddTrack(test::MakeTrack("Artist 5", "album 3", "T19")), At(5, 3, 19));
    EXPECT_EQ(lib.AddTrack(test::MakeTrack("Artist 5", "Album 3", "New")), At(5, 3, 40));
    EXPECT_EQ(lib.AddTrack(test::MakeTrack("Artist 5", "Album 99", "x")), At(5, 40, 0));
    EXPECT_EQ(lib.AddTrack(test::MakeTrack("Artist 99", "A", "x")), At(40, 0, 0));
    // Entries appended after the indexes were built are found again when filed again.
    EXPECT_EQ(lib.AddTrack(test::MakeTrack("Artist 5", "Album 3", "NEW")), At(5, 3, 40));
    EXPECT_EQ(lib.AddTrack(test::MakeTrack("artist 5", "ALBUM 99", "y")), At(5, 40, 1));
    EXPECT_EQ(lib.AddTrack(test::MakeTrack("ARTIST 99", "a", "x")), At(40, 0, 0));
    EXPECT_EQ(lib.TrackCount(), 40u + 4u);
    EXPECT_EQ(lib.Find("Artist 5", "Album 3", "new"), (TFindIndexArray{At(5, 3, 40)}));
    EXPECT_EQ(lib.Find("Artist 5", "Album 99", "X"), (TFindIndexArray{At(5, 40, 0)}));
    EXPECT_EQ(lib.FindArtist("artist 99"), (TFindIndexArray{At(40)}));
}

}  // namespace
}  // namespace rv
