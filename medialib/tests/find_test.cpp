#include <gtest/gtest.h>

#include "medialib/tests/library_text.h"

namespace rv {
namespace {

using test::At;
using test::StoredLib;
using test::Track;
using Found = TFindIndexArray;

TAlbum Album(std::string title, std::initializer_list<const char*> tracks) {
    TAlbum album{.Title = std::move(title)};
    for (const char* t : tracks) album.Tracks.push_back(TTrack{.Title = t});
    return album;
}

TEST(Find, EveryCombinationOfGivenAndWildcardNames) {
    StoredLib lib;
    lib.ReplaceArtists({{"Abba",
                         {Album("Arrival", {"Intro", "Fernando", "INTRO"}),
                          Album("Gold", {"Fernando"}), Album("arrival", {"Intro"})}},
                        {"Queen", {Album("Jazz", {"Mustapha", ""}), Album("Arrival", {"Intro"})}},
                        {"abba", {Album("Arrival", {"Intro"})}},
                        {"Empty", {}}});
    // Artist and album given: the first of each, every track of that title.
    EXPECT_EQ(lib.Find("ABBA", "arrival", "intro"), (Found{At(0, 0, 0), At(0, 0, 2)}));
    EXPECT_EQ(lib.Find("Abba", "Gold", "Intro"), (Found{At(0, 1)}));
    EXPECT_EQ(lib.Find("Abba", "Jazz", "Intro"), (Found{At(0)}));
    EXPECT_EQ(lib.Find("Nobody", "Arrival", "Intro"), Found{});
    // Artist given, any album.
    EXPECT_EQ(lib.Find("abba", "", "Fernando"), (Found{At(0, 0, 1), At(0, 1, 0), At(0, 2)}));
    EXPECT_EQ(lib.Find("Empty", "", "Intro"), (Found{At(3)}));
    // Any artist, album given: the first such album of every artist that has one.
    EXPECT_EQ(lib.Find("", "Arrival", "Intro"),
              (Found{At(0, 0, 0), At(0, 0, 2), At(1, 1, 0), At(2, 0, 0)}));
    EXPECT_EQ(lib.Find("", "Nope", "Intro"), Found{});
    // Any artist, any album; an empty track title finds only the empty title.
    EXPECT_EQ(lib.Find("", "", "Fernando"),
              (Found{At(0, 0, 1), At(0, 1, 0), At(0, 2), At(1, 0), At(1, 1), At(2, 0)}));
    EXPECT_EQ(lib.Find("Queen", "Jazz", ""), (Found{At(1, 0, 1)}));
    EXPECT_EQ(lib.FindArtist("ABBA"), (Found{At(0)}));
    EXPECT_EQ(lib.FindArtist("Abb"), Found{});
}

TEST(Find, IndexedLevelsAnswerAsScansWould) {
    // Beyond a few entries per level look-ups go through indexes: the first of equal names must
    // still win, and entries appended after an index was built must be found again.
    StoredLib lib;
    std::vector<TArtist> artists;
    for (int a = 0; a < 40; ++a) artists.push_back({"Artist " + std::to_string(a % 30)});
    for (int b = 0; b < 40; ++b) artists[5].Albums.push_back(Album(std::to_string(b % 25), {}));
    for (int t = 0; t < 40; ++t)
        artists[5].Albums[3].Tracks.push_back(TTrack{.Title = "T" + std::to_string(t % 20)});
    lib.ReplaceArtists(artists);
    EXPECT_EQ(lib.FindArtist("ARTIST 7"), (Found{At(7)}));
    EXPECT_EQ(lib.Find("Artist 5", "3", "t4"), (Found{At(5, 3, 4), At(5, 3, 24)}));
    EXPECT_EQ(lib.AddTrack(Track("Artist 5", "3", "T19")), At(5, 3, 19));
    for (int again = 0; again < 2; ++again) {
        EXPECT_EQ(lib.AddTrack(Track("Artist 5", "3", "New")), At(5, 3, 40));
        EXPECT_EQ(lib.AddTrack(Track("Artist 5", "99", "x")), At(5, 40, 0));
        EXPECT_EQ(lib.AddTrack(Track("Artist 99", "A", "x")), At(40, 0, 0));
    }
    EXPECT_EQ(lib.TrackCount(), 43u);
    TFindIndex renamed = At(5, 3);
    lib.SetAlbum(renamed, TAlbum{.Title = "Renamed", .Artist = "Artist 5"});
    EXPECT_EQ(lib.AddTrack(Track("Artist 5", "renamed", "y")), At(5, 3, 41));
    EXPECT_EQ(lib.AddTrack(Track("Artist 5", "3", "z")), At(5, 28, 0));
}

}  // namespace
}  // namespace rv
