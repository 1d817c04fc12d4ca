#include <gtest/gtest.h>

#include <clocale>

#include "medialib/tests/library_text.h"

namespace rv {
namespace {

using test::At;
using test::Dump;
using test::StoredLib;
using test::Track;

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
