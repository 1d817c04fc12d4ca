#include <gtest/gtest.h>

#include <clocale>

#include "medialib/tests/library_text.h"

namespace rv {
namespace {

using test::At;
using test::Dump;
using test::StoredLib;
using test::Track;

TEST(Sort, AlbumsAndTracksByNumberWithTheExchangeOrderOfTies) {
    TMediaLib lib;
    const std::pair<const char*, uint16_t> albums[] = {
        {"a", 2001}, {"b", 1999}, {"c", 2001}, {"d", 0}};
    for (const auto& [title, release] : albums) {
        TTrack track = Track("X", title, "t");
        track.Release = release;
        lib.AddTrack(track);
    }
    for (const auto& [title, id] : {std::pair{"2", 2}, {"2'", 2}, {"1", 1}})
        lib.AddTrack(Track("X", "d", title, static_cast<uint8_t>(id)));
    lib.SortAlbums(0);
    lib.SortTracks(0, 0);
    EXPECT_EQ(Dump(lib), "X:d(t 1 2' 2)b(t)c(t)a(t)");  // 2, 2', 1 ends as 1, 2', 2
    EXPECT_EQ(lib.Find("X", "a", "t"), (TFindIndexArray{At(0, 3, 0)}));
    EXPECT_FALSE(lib.Find("X", "d", "1").empty());
}

TEST(Sort, ArtistsByTheLocalesCollation) {
    StoredLib lib;
    lib.ReplaceArtists(
        {{"zebra"}, {"\xC3\x89mile"}, {"a", {TAlbum{.Title = "first"}}}, {"Bob"}, {"a"}});
    lib.SortArtists();
    EXPECT_EQ(Dump(lib), "Bob: a: a:first() zebra: \xC3\x89mile:");  // equal names swap
    if (std::setlocale(LC_COLLATE, "en_US.UTF-8")) {
        lib.SortArtists();
        EXPECT_EQ(Dump(lib), "a:first() a: Bob: \xC3\x89mile: zebra:");
        std::setlocale(LC_COLLATE, "C");
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
