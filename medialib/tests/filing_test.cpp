#include <gtest/gtest.h>

#include "medialib/tests/library_text.h"

namespace rv {
namespace {

using test::At;
using test::Dump;
using test::Track;

// Where tracks, albums and artists go on every edit, and the order sorts give, are checked against
// a plain model (model_test.cpp); here what the records carry.
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

TEST(Getters, InvalidAddressesGiveZeroedRecordsAndChangeNothing) {
    TMediaLib lib;
    TFindIndex index = At(0, 0);
    lib.DeleteTrack(At(0, 0, 0));
    lib.DeleteArtist(index);
    lib.SetAlbum(index, TAlbum{.Title = "x"});
    lib.SetArtist(index, TArtist{.Name = "x"});
    lib.SortAll();
    EXPECT_FALSE(lib.Modified());
    EXPECT_EQ(index, At(0, 0));

    lib.AddTrack(Track("A", "X", "1", 1, 5));
    lib.AddTrack(Track("B", "Y", "2", 2, 6));
    EXPECT_EQ(lib.GetTrack(At(5, 0, 0)), TTrack());
    EXPECT_EQ(lib.GetTrack(At(0, 0, 1)), TTrack());
    EXPECT_EQ(lib.GetAlbum(At(0)), TAlbum());  // (a, -1, -1) addresses no album
    EXPECT_EQ(lib.GetArtistAt(-1), TArtist());
    EXPECT_EQ(lib.GetAlbumTime(At(1, 1)), 0.0);
    EXPECT_EQ(lib.TrackRef(1, 0, 1).Title, "");
    lib.DeleteAlbum(At(1, 1));
    lib.DeleteTrack(At(0, -1, 0));
    EXPECT_EQ(Dump(lib), "A:X(1) B:Y(2)");

    lib.SetLibraryName("Mine");
    lib.Clear();  // keeps the name
    EXPECT_EQ(lib.LibraryName() + Dump(lib), "Mine");
    lib.NewLibrary();
    EXPECT_FALSE(lib.Modified());
    EXPECT_EQ(lib.LibraryName(), "");
}

}  // namespace
}  // namespace rv
