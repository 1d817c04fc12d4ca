// Filing, look-ups, sorting artists and merging libraries. Where tracks, albums and artists go on
// every edit, and the order sorts give, are checked against a plain model in model_test.cpp.

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <random>

#include "medialib/tests/library_text.h"
#include "platform/text/ascii_case.h"
#include "platform/text/collate.h"

namespace rv {
namespace {

using test::At;
using test::Dump;
using test::StoredLib;
using test::Track;
using Found = TFindIndexArray;

TAlbum Album(std::string title, std::initializer_list<const char*> tracks) {
    TAlbum album{.Title = std::move(title)};
    for (const char* t : tracks) album.Tracks.push_back(TTrack{.Title = t});
    return album;
}

TEST(AddTrack, FiledRecordsAndWhatReadingThemBackFillsIn) {
    TMediaLib lib;
    EXPECT_EQ(lib.AddTrack(Track("abba", "Arrival", "Intro", 1, 100)), At(0, 0, 0));
    TTrack fernando = Track("ABBA", "ARRIVAL", "Fernando", 2, 50.5);
    fernando.Genre = "Pop";
    fernando.Release = 1976;
    fernando.MediaType = 1;
    fernando.Format = "CD Audio";
    EXPECT_EQ(lib.AddTrack(fernando), At(0, 0, 1));
    EXPECT_EQ(Dump(lib), "ABBA:ARRIVAL(Intro Fernando)");
    // The last filed track sets the album's fields; the owners fill in a track read back.
    EXPECT_EQ(lib.GetTrack(At(0, 0, 1)), fernando);
    EXPECT_EQ(lib.GetAlbum(At(0, 0)).Time, 150.5);
    EXPECT_EQ(lib.GetAlbum(At(0, 0)).Artist, "ABBA");
    EXPECT_EQ(lib.AlbumRef(0, 0).Artist, "");  // stored albums leave it to the owner
    EXPECT_EQ(lib.GetAlbumTime(At(0, 0, 9)), 150.5);

    // A renamed artist keeps its albums, whatever the record handed in holds.
    TFindIndex index = At(0);
    lib.SetArtist(index, TArtist{.Name = "E", .Albums = {TAlbum{.Title = "ignored"}}});
    EXPECT_EQ(Dump(lib), "E:ARRIVAL(Intro Fernando)");
}

TEST(AddTrack, EmptyNamesFileOnlyWithEmptyNamesAndLongNamesAreCut) {
    TMediaLib lib;
    lib.AddTrack(Track("Abba", "Arrival", "Intro"));
    EXPECT_EQ(lib.AddTrack(Track("", "Arrival", "X")), At(1, 0, 0));
    EXPECT_EQ(lib.AddTrack(Track("Abba", "", "Y")), At(0, 1, 0));
    EXPECT_EQ(lib.AddTrack(Track("", "", "Z")), At(1, 1, 0));
    EXPECT_EQ(Dump(lib), "Abba:Arrival(Intro)(Y) :Arrival(X)(Z)");
    EXPECT_EQ(lib.Find("", "arrival", "x"), (TFindIndexArray{At(0, 0), At(1, 0, 0)}));

    std::string name;
    for (int i = 0; i < 300; ++i) name += "\xC3\xA9";  // 2 bytes, 1 character
    lib.AddTrack(Track(name, "A", "1"));
    EXPECT_EQ(lib.AddTrack(Track(name.substr(0, 510) + "x", "A", "2")), At(2, 0, 1));
    EXPECT_EQ(lib.ArtistRef(2).Name, name.substr(0, 510));
}

TEST(Getters, InvalidAddressesGiveZeroedRecords) {
    TMediaLib lib;
    lib.AddTrack(Track("A", "X", "1", 1, 5));
    lib.AddTrack(Track("B", "Y", "2", 2, 6));
    EXPECT_EQ(lib.GetTrack(At(5, 0, 0)), TTrack());
    EXPECT_EQ(lib.GetTrack(At(0, 0, 1)), TTrack());
    EXPECT_EQ(lib.GetAlbum(At(0)), TAlbum());  // (a, -1, -1) addresses no album
    EXPECT_EQ(lib.GetArtistAt(-1), TArtist());
    EXPECT_EQ(lib.GetAlbumTime(At(1, 1)), 0.0);
    EXPECT_EQ(lib.TrackRef(1, 0, 1).Title, "");

    lib.SetLibraryName("Mine");
    lib.Clear();  // keeps the name
    EXPECT_EQ(lib.LibraryName() + Dump(lib), "Mine");
    lib.NewLibrary();
    EXPECT_FALSE(lib.Modified());
    EXPECT_EQ(lib.LibraryName(), "");
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

TEST(Sort, ArtistsByTheLocalesCollation) {
    StoredLib lib;
    lib.ReplaceArtists(
        {{"zebra"}, {"\xC3\x89mile"}, {"a", {TAlbum{.Title = "first"}}}, {"Bob"}, {"a"}});
    lib.SortArtists();
    EXPECT_EQ(Dump(lib), "Bob: a:first() a: zebra: \xC3\x89mile:");  // equal names stay put
    if (std::setlocale(LC_COLLATE, "en_US.UTF-8")) {
        lib.SortArtists();
        EXPECT_EQ(Dump(lib), "a:first() a: Bob: \xC3\x89mile: zebra:");
        std::setlocale(LC_COLLATE, "C");
    }
}

TEST(Sort, EqualArtistNamesKeepTheirOrderOthersFollowTheCollation) {
    // Long arrays of names with many repeats, in letter-case and accent variants that some
    // locales collate side by side; each artist's album says where it stood before.
    static const char* const stems[] = {"abba",  "ABBA", "Abba", "\xC3\x89mile",
                                        "emile", "Zed",  "a b",  "ab"};
    std::mt19937 random(20);
    for (const char* locale : {"C", "en_US.UTF-8"}) {
        if (!std::setlocale(LC_COLLATE, locale)) continue;
        for (int round = 0; round < 16; ++round) {
            const uint32_t variety = 1 + random() % (round % 2 ? 4 : 200);
            std::vector<TArtist> artists(random() % 3000);
            for (size_t k = 0; k < artists.size(); ++k) {
                const uint32_t pick = random() % variety;
                artists[k].Name = stems[pick % std::size(stems)] + std::to_string(pick / 8);
                artists[k].Albums = {TAlbum{.Title = std::to_string(k)}};
            }
            StoredLib lib;
            lib.ReplaceArtists(artists);
            lib.SortArtists();
            const std::vector<TArtist>& sorted = lib.Artists();
            ASSERT_EQ(sorted.size(), artists.size());
            std::vector<bool> seen(sorted.size());
            for (size_t k = 0; k < sorted.size(); ++k) {
                const size_t before = std::stoul(sorted[k].Albums.at(0).Title);
                ASSERT_FALSE(seen[before]) << before;
                seen[before] = true;
                ASSERT_EQ(sorted[k].Name, artists[before].Name);
                if (k == 0) continue;
                const int order = CompareLocale(sorted[k - 1].Name, sorted[k].Name);
                ASSERT_LE(order, 0) << locale << " " << k;
                if (order == 0) {
                    ASSERT_LT(std::stoul(sorted[k - 1].Albums[0].Title), before);
                }
            }
            // Look-ups see the new order: the first of names equal but for letter case wins.
            const std::string probe = artists.empty() ? "x" : artists[0].Name;
            int first = -1;
            for (size_t k = 0; k < sorted.size() && first < 0; ++k)
                if (SameText(sorted[k].Name, probe)) first = static_cast<int>(k);
            EXPECT_EQ(lib.FindArtist(probe), first < 0 ? Found{} : Found{At(first)});
        }
    }
    std::setlocale(LC_COLLATE, "C");
}

// The exchange sort as the loop itself.
template <class T, class Key>
void LoopSort(std::vector<T>& items, Key key) {
    for (size_t i = 0; i + 1 < items.size(); ++i)
        for (size_t j = items.size() - 1; j > i; --j)
            if (key(items[i]) > key(items[j])) std::swap(items[i], items[j]);
}

TEST(Sort, AlbumsAndTracksOfEqualKeysEndWhereTheLoopLeavesThem) {
    std::mt19937 random(21);
    for (int round = 0; round < 12; ++round) {
        TArtist artist{.Name = "Various"};
        const uint32_t years = 1 + random() % (round % 3 ? 50 : 3), numbers = 1 + random() % 20;
        artist.Albums.resize(random() % 1500);
        for (size_t b = 0; b < artist.Albums.size(); ++b) {
            artist.Albums[b].Title = std::to_string(b);
            artist.Albums[b].Release = static_cast<uint16_t>(1960 + random() % years);
        }
        if (artist.Albums.empty()) continue;
        std::vector<TTrack>& tracks = artist.Albums[0].Tracks;
        tracks.resize(random() % 1500);
        for (size_t t = 0; t < tracks.size(); ++t) {
            tracks[t].Title = std::to_string(t);
            tracks[t].ID = static_cast<uint8_t>(random() % numbers);
        }
        if (round % 2) {  // a falling run first: long chains of exchanges
            const auto half = static_cast<long>(tracks.size() / 2);
            std::sort(tracks.begin(), tracks.begin() + half,
                      [](const TTrack& x, const TTrack& y) { return x.ID > y.ID; });
        }
        StoredLib lib;
        lib.ReplaceArtists({artist});
        lib.SortTracks(0, 0);
        lib.SortAlbums(0);
        LoopSort(tracks, [](const TTrack& x) { return x.ID; });
        LoopSort(artist.Albums, [](const TAlbum& x) { return x.Release; });
        ASSERT_TRUE(lib.Artists().at(0) == artist) << "round " << round;
    }
}

TEST(Merge, FilesEveryTrackOfTheOtherLibrary) {
    TMediaLib lib, other;
    lib.AddTrack(Track("Abba", "Arrival", "Intro", 1, 10));
    lib.AddTrack(Track("Queen", "Jazz", "Mustapha", 1, 20));
    TTrack intro = Track("abba", "ARRIVAL", "intro", 7, 5);
    intro.Genre = "Pop";
    other.AddTrack(Track("abba", "ARRIVAL", "Fernando", 2, 6));
    other.AddTrack(intro);
    other.AddTrack(Track("Beatles", "Help", "Help", 1, 7));
    lib.Merge(other);
    EXPECT_EQ(Dump(lib), "abba:ARRIVAL(intro Fernando) Queen:Jazz(Mustapha) Beatles:Help(Help)");
    EXPECT_EQ(lib.AlbumCount(), 3u);
    EXPECT_EQ(lib.TrackCount(), 4u);
    EXPECT_EQ(lib.GetTrack(At(0, 0, 0)).ID, 7);
    EXPECT_EQ(lib.GetAlbum(At(0, 0)).Genre, "Pop");
    EXPECT_EQ(lib.GetAlbum(At(0, 0)).Time, 11.0);
    lib.Merge(lib);  // every track filed onto itself
    EXPECT_EQ(Dump(lib), "abba:ARRIVAL(intro Fernando) Queen:Jazz(Mustapha) Beatles:Help(Help)");
    EXPECT_EQ(lib.TrackCount(), 4u);
}

}  // namespace
}  // namespace rv
