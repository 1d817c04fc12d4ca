#include <gtest/gtest.h>

#include <clocale>

#include "medialib/media_lib.h"
#include "medialib/tests/track_builder.h"

namespace rv {
namespace {

using test::At;
using test::MakeTrack;

class StoredLib : public TMediaLib {
public:
    using TMediaLib::ReplaceArtists;
};

std::string ArtistNames(const TMediaLib& lib) {
    std::string names;
    for (const TArtist& artist : lib.Artists()) names += artist.Name + " ";
    return names;
}

class SortTest : public testing::Test {
protected:
    void TearDown() override { std::setlocale(LC_COLLATE, "C"); }
};

TEST_F(SortTest, AlbumsByReleaseWithTheExchangeOrderOfTies) {
    TMediaLib lib;
    const std::pair<const char*, uint16_t> albums[] = {
        {"a", 2001}, {"b", 1999}, {"c", 2001}, {"d", 0}};
    for (const auto& [title, release] : albums) {
        TTrack track = MakeTrack("X", title, "t");
        track.Release = release;
        lib.AddTrack(track);
    }
    lib.SortAlbums(0);
    std::string order;
    for (const TAlbum& album : lib.ArtistRef(0).Albums) order += album.Title;
    EXPECT_EQ(order, "dbca");
    EXPECT_EQ(lib.Find("X", "a", "t"), (TFindIndexArray{At(0, 3, 0)}));  // look-ups follow
}

TEST_F(SortTest, TracksByNumberWithTheExchangeOrderOfTies) {
    TMediaLib lib;
    lib.AddTrack(MakeTrack("X", "A", "two", 2));
    lib.AddTrack(MakeTrack("X", "A", "two'", 2));
    lib.AddTrack(MakeTrack("X", "A", "one", 1));
    lib.SortTracks(0, 0);
    const TAlbum& album = lib.AlbumRef(0, 0);
    EXPECT_EQ(album.Tracks[0].Title, "one");
    EXPECT_EQ(album.Tracks[1].Title, "two'");
    EXPECT_EQ(album.Tracks[2].Title, "two");
    lib.SortTracks(0, 1);  // addresses nothing
    lib.SortAlbums(-1);
}

TEST_F(SortTest, ArtistsByTheLocalesCollation) {
    TMediaLib lib;
    for (const char* name : {"zebra", "\xC3\x89mile", "apple", "Banana"})
        lib.AddTrack(MakeTrack(name, "A", "t"));
    lib.SortArtists();
    EXPECT_EQ(ArtistNames(lib), "Banana apple zebra \xC3\x89mile ");
    if (!std::setlocale(LC_COLLATE, "en_US.UTF-8")) GTEST_SKIP() << "en_US.UTF-8 not installed";
    lib.SortArtists();
    EXPECT_EQ(ArtistNames(lib), "apple Banana \xC3\x89mile zebra ");
    EXPECT_EQ(lib.FindArtist("zebra"), (TFindIndexArray{At(3)}));
}

TEST_F(SortTest, EqualArtistNamesKeepTheExchangeOrder) {
    StoredLib lib;
    lib.ReplaceArtists({{"b", {}}, {"a", {TAlbum{.Title = "first"}}}, {"a", {}}});
    lib.SortArtists();
    EXPECT_EQ(ArtistNames(lib), "a a b ");
    EXPECT_TRUE(lib.ArtistRef(0).Albums.empty());  // 2, 2', 1 ends as 1, 2', 2
    EXPECT_EQ(lib.FindArtist("A"), (TFindIndexArray{At(0)}));
}

TEST_F(SortTest, SortAllOrdersEveryLevelAndRecomputesTimes) {
    StoredLib lib;
    TAlbum late{.Title = "late", .Release = 2000, .Time = 999};
    late.Tracks = {TTrack{.ID = 2, .Title = "b", .Duration = 0.1},
                   TTrack{.ID = 1, .Title = "a", .Duration = 0.2}};
    TAlbum early{.Title = "early", .Release = 1990, .Time = 5};
    early.Tracks = {TTrack{.ID = 1, .Title = "x", .Duration = 3}};
    lib.ReplaceArtists({{"Zed", {late, early}}, {"Amy", {early}}});
    lib.SortAll();
    EXPECT_FALSE(lib.Modified());
    EXPECT_EQ(ArtistNames(lib), "Amy Zed ");
    const TArtist& zed = lib.ArtistRef(1);
    EXPECT_EQ(zed.Albums[0].Title, "early");
    EXPECT_EQ(zed.Albums[1].Tracks[0].Title, "a");
    EXPECT_EQ(zed.Albums[1].Time, 0.2 + 0.1);  // summed in the new order
    EXPECT_EQ(zed.Albums[0].Time, 3.0);
    EXPECT_EQ(lib.Find("zed", "late", "b"), (TFindIndexArray{At(1, 1, 1)}));
}

TEST(Merge, FilesEveryTrackOfTheOtherLibrary) {
    TMediaLib lib, other;
    lib.AddTrack(MakeTrack("Abba", "Arrival", "Intro", 1, 10));
    lib.AddTrack(MakeTrack("Queen", "Jazz", "Mustapha", 1, 20));
    TTrack intro = MakeTrack("abba", "ARRIVAL", "intro", 7, 5);
    intro.Genre = "Pop";
    other.AddTrack(intro);
    other.AddTrack(MakeTrack("abba", "ARRIVAL", "Fernando", 2, 6));
    other.AddTrack(MakeTrack("Beatles", "Help", "Help", 1, 7));
    other.NewLibrary();  // a fresh, unmodified library is as good as a loaded one
    other.AddTrack(intro);
    other.AddTrack(MakeTrack("abba", "ARRIVAL", "Fernando", 2, 6));
    other.AddTrack(MakeTrack("Beatles", "Help", "Help", 1, 7));

    lib.Merge(other);
    EXPECT_EQ(ArtistNames(lib), "abba Queen Beatles ");
    EXPECT_EQ(lib.GetArtistCount(), 3);
    EXPECT_EQ(lib.AlbumCount(), 3u);
    EXPECT_EQ(lib.TrackCount(), 4u);
    EXPECT_EQ(lib.GetTrack(At(0, 0, 0)).ID, 7);  // overwritten by the other's track
    EXPECT_EQ(lib.GetAlbum(At(0, 0)).Title, "ARRIVAL");
    EXPECT_EQ(lib.GetAlbum(At(0, 0)).Genre, "");  // the last filed track's genre
    EXPECT_EQ(lib.GetAlbum(At(0, 0)).Time, 11.0);
    EXPECT_EQ(other.TrackCount(), 3u);

    // Merging a library into itself files every track onto itself.
    lib.Merge(lib);
    EXPECT_EQ(lib.TrackCount(), 4u);
    EXPECT_EQ(ArtistNames(lib), "abba Queen Beatles ");
    EXPECT_EQ(lib.GetTrack(At(0, 0, 1)).Title, "Fernando");
}

}  // namespace
}  // namespace rv
