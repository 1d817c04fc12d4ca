#include <gtest/gtest.h>

#include "medialib/media_lib.h"
#include "medialib/tests/track_builder.h"

namespace rv {
namespace {

using test::At;
using test::MakeTrack;

// A: X(1, 2, 3), Y(4);  B: Z(5);  C: W(6)
class EditTest : public testing::Test {
protected:
    void SetUp() override {
        lib.AddTrack(MakeTrack("A", "X", "1", 1, 1));
        lib.AddTrack(MakeTrack("A", "X", "2", 2, 2));
        lib.AddTrack(MakeTrack("A", "X", "3", 3, 4));
        lib.AddTrack(MakeTrack("A", "Y", "4", 4, 8));
        lib.AddTrack(MakeTrack("B", "Z", "5", 5, 16));
        lib.AddTrack(MakeTrack("C", "W", "6", 6, 32));
    }
    std::string Names() const {
        std::string names;
        for (const TArtist& artist : lib.Artists()) {
            names += artist.Name + ":";
            for (const TAlbum& album : artist.Albums) {
                names += album.Title + "(";
                for (const TTrack& track : album.Tracks) names += track.Title;
                names += ")";
            }
            names += " ";
        }
        return names;
    }
    void ExpectCounts(int artists, uint32_t albums, uint32_t tracks) const {
        EXPECT_EQ(lib.GetArtistCount(), artists);
        EXPECT_EQ(lib.AlbumCount(), albums);
        EXPECT_EQ(lib.TrackCount(), tracks);
    }
    TMediaLib lib;
};

TEST_F(EditTest, DeletesCascadeUpwards) {
    lib.DeleteTrack(At(0, 0, 1));
    EXPECT_EQ(Names(), "A:X(13)Y(4) B:Z(5) C:W(6) ");
    EXPECT_EQ(lib.AlbumRef(0, 0).Time, 5.0);  // no longer counts the removed track
    ExpectCounts(3, 4, 5);

    lib.DeleteTrack(At(1, 0, 0));  // B's last track takes its album and B
    EXPECT_EQ(Names(), "A:X(13)Y(4) C:W(6) ");
    ExpectCounts(2, 3, 4);

    lib.DeleteAlbum(At(0, 0, 7));  // the track level is not looked at
    EXPECT_EQ(Names(), "A:Y(4) C:W(6) ");
    ExpectCounts(2, 2, 2);
    lib.DeleteAlbum(At(0, 0));
    EXPECT_EQ(Names(), "C:W(6) ");
    ExpectCounts(1, 1, 1);

    lib.DeleteArtist(At(0, 3, 3));
    EXPECT_EQ(Names(), "");
    ExpectCounts(0, 0, 0);
    EXPECT_EQ(lib.AddTrack(MakeTrack("A", "X", "1")), At(0, 0, 0));
}

TEST_F(EditTest, DeleteArtistTakesItsAlbumsAndTracksFromTheCounts) {
    lib.DeleteArtist(At(0));
    EXPECT_EQ(Names(), "B:Z(5) C:W(6) ");
    ExpectCounts(2, 2, 2);
    EXPECT_EQ(lib.Find("c", "w", "6"), (TFindIndexArray{At(1, 0, 0)}));
}

TEST_F(EditTest, SetAlbumEditsInPlaceWhenTheOwnerStays) {
    TFindIndex index = At(0, 1, 0);
    lib.SetAlbum(index, TAlbum{.Title = "Why",
                               .Artist = "a",  // same artist, other letter case
                               .Genre = "Jazz",
                               .Release = 1999,
                               .Time = 123,
                               .MediaType = 0,
                               .Tracks = {TTrack{.Title = "ignored"}}});
    EXPECT_EQ(index, At(0, 1, 0));
    EXPECT_EQ(Names(), "A:X(123)Why(4) B:Z(5) C:W(6) ");
    const TAlbum album = lib.GetAlbum(index);
    EXPECT_EQ(album.Artist, "A");
    EXPECT_EQ(album.Genre, "Jazz");
    EXPECT_EQ(album.Release, 1999);
    EXPECT_EQ(album.Time, 8.0);  // time and tracks stay
    EXPECT_EQ(lib.Find("A", "why", "4"), (TFindIndexArray{At(0, 1, 0)}));
    EXPECT_EQ(lib.Find("A", "Y", "4"), (TFindIndexArray{At(0)}));
}

TEST_F(EditTest, SetAlbumMovesToAnArtistAfterAVanishingOwner) {
    TFindIndex index = At(1, 0, 0);  // B's only album, to C
    TAlbum album = lib.GetAlbum(index);
    album.Artist = "c";
    lib.SetAlbum(index, album);
    EXPECT_EQ(index, At(1, 1, 0));  // C stood at 2 and is one lower now
    EXPECT_EQ(Names(), "A:X(123)Y(4) C:W(6)Z(5) ");
    EXPECT_EQ(lib.GetAlbum(index).Time, 16.0);
    ExpectCounts(2, 4, 6);
    EXPECT_EQ(lib.Find("C", "Z", "5"), (TFindIndexArray{At(1, 1, 0)}));
}

TEST_F(EditTest, SetAlbumMovesToNewAndEarlierArtists) {
    TFindIndex index = At(0, 0, 2);
    lib.SetAlbum(index, TAlbum{.Title = "X", .Artist = "D"});
    EXPECT_EQ(index, At(3, 0, 2));
    EXPECT_EQ(Names(), "A:Y(4) B:Z(5) C:W(6) D:X(123) ");

    index = At(2, 0);
    lib.SetAlbum(index, TAlbum{.Title = "W", .Artist = "A"});
    EXPECT_EQ(index, At(0, 1));  // C goes, A stood before it
    EXPECT_EQ(Names(), "A:Y(4)W(6) B:Z(5) D:X(123) ");
    ExpectCounts(3, 4, 6);
    EXPECT_EQ(lib.AddTrack(MakeTrack("D", "x", "7")), At(2, 0, 3));
}

TEST_F(EditTest, SetArtistRenamesOrMergesIntoTheArtistOfThatName) {
    TFindIndex index = At(1, 0, 0);
    lib.SetArtist(index, TArtist{.Name = "b", .Albums = {TAlbum{.Title = "ignored"}}});
    EXPECT_EQ(index, At(1, 0, 0));
    EXPECT_EQ(Names(), "A:X(123)Y(4) b:Z(5) C:W(6) ");

    lib.SetArtist(index, TArtist{.Name = "E"});
    EXPECT_EQ(Names(), "A:X(123)Y(4) E:Z(5) C:W(6) ");
    EXPECT_EQ(lib.FindArtist("b"), TFindIndexArray{});
    EXPECT_EQ(lib.FindArtist("e"), (TFindIndexArray{At(1)}));

    // C renamed to "a": its albums follow A's, C goes; the address follows the album.
    index = At(2, 0, 0);
    lib.SetArtist(index, TArtist{.Name = "a"});
    EXPECT_EQ(index, At(0, 2, 0));
    EXPECT_EQ(Names(), "A:X(123)Y(4)W(6) E:Z(5) ");
    ExpectCounts(2, 4, 6);
    EXPECT_EQ(lib.GetTrack(index).Title, "6");

    // E, standing after A, merged into A: A keeps its place and name.
    index = At(1);
    lib.SetArtist(index, TArtist{.Name = "A"});
    EXPECT_EQ(index, At(0));
    EXPECT_EQ(Names(), "A:X(123)Y(4)W(6)Z(5) ");
    EXPECT_EQ(lib.Find("a", "z", "5"), (TFindIndexArray{At(0, 3, 0)}));
}

}  // namespace
}  // namespace rv
