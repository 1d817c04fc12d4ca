#include <gtest/gtest.h>

#include "medialib/media_lib.h"
#include "medialib/tests/track_builder.h"

namespace rv {
namespace {

using test::At;
using test::MakeTrack;

TEST(AddTrack, FilesIntoNewAndExistingEntries) {
    TMediaLib lib;
    EXPECT_FALSE(lib.Modified());
    EXPECT_EQ(lib.AddTrack(MakeTrack("abba", "Arrival", "Intro", 1, 100)), At(0, 0, 0));
    EXPECT_TRUE(lib.Modified());

    TTrack fernando = MakeTrack("ABBA", "ARRIVAL", "Fernando", 2, 50.5);
    fernando.Genre = "Pop";
    fernando.Release = 1976;
    fernando.MediaType = 1;
    fernando.Bitrate = 192;
    fernando.ChannelMode = "Stereo";
    fernando.Format = "MPEG 1 Layer III";
    EXPECT_EQ(lib.AddTrack(fernando), At(0, 0, 1));
    EXPECT_EQ(lib.AddTrack(MakeTrack("Queen", "Jazz", "Mustapha")), At(1, 0, 0));
    EXPECT_EQ(lib.AddTrack(MakeTrack("Queen", "News", "Spread")), At(1, 1, 0));
    EXPECT_EQ(lib.GetArtistCount(), 2);
    EXPECT_EQ(lib.AlbumCount(), 3u);
    EXPECT_EQ(lib.TrackCount(), 4u);

    // The last filed track names the artist and album and sets the album-level fields.
    const TAlbum arrival = lib.GetAlbum(At(0, 0));
    EXPECT_EQ(arrival.Artist, "ABBA");
    EXPECT_EQ(arrival.Title, "ARRIVAL");
    EXPECT_EQ(arrival.Genre, "Pop");
    EXPECT_EQ(arrival.Release, 1976);
    EXPECT_EQ(arrival.MediaType, 1);
    EXPECT_EQ(arrival.Time, 150.5);
    EXPECT_EQ(lib.GetTrack(At(0, 0, 1)), fernando);  // read back whole, owners filled in

    // An equal title (other letter case) overwrites in place and the time follows.
    EXPECT_EQ(lib.AddTrack(MakeTrack("Abba", "arrival", "INTRO", 3, 10)), At(0, 0, 0));
    EXPECT_EQ(lib.TrackCount(), 4u);
    EXPECT_EQ(lib.GetTrack(At(0, 0, 0)).Title, "INTRO");
    EXPECT_EQ(lib.GetTrack(At(0, 0, 0)).ID, 3);
    EXPECT_EQ(lib.GetAlbum(At(0, 0)).Time, 60.5);
    EXPECT_EQ(lib.GetAlbumTime(At(0, 0, 5)), 60.5);
    EXPECT_EQ(lib.GetArtistAt(0).Name, "Abba");
    EXPECT_EQ(lib.GetTrack(At(0, 0, 1)).Genre, "");  // the last track left the genre empty
}

TEST(AddTrack, CutsTextsTo255Characters) {
    TMediaLib lib;
    std::string longName;
    for (int i = 0; i < 300; ++i) longName += "\xC3\xA9";  // two bytes, one character
    std::string otherTail = longName.substr(0, 510) + "xyz";
    lib.AddTrack(MakeTrack(longName, "A", longName));
    lib.AddTrack(MakeTrack(otherTail, "A", "t2"));
    EXPECT_EQ(lib.GetArtistCount(), 1);  // equal once cut
    EXPECT_EQ(lib.ArtistRef(0).Name, longName.substr(0, 510));
    EXPECT_EQ(lib.TrackRef(0, 0, 0).Title, longName.substr(0, 510));
}

TEST(AddTrack, EmptyNamesFileOnlyWithEmptyNames) {
    TMediaLib lib;
    lib.AddTrack(MakeTrack("Abba", "Arrival", "Intro"));
    // An empty artist neither joins Abba nor renames it; the same for an empty album.
    EXPECT_EQ(lib.AddTrack(MakeTrack("", "Arrival", "X")), At(1, 0, 0));
    EXPECT_EQ(lib.AddTrack(MakeTrack("Abba", "", "Y")), At(0, 1, 0));
    EXPECT_EQ(lib.AddTrack(MakeTrack("", "", "Z")), At(1, 1, 0));
    EXPECT_EQ(lib.AddTrack(MakeTrack("", "Arrival", "X2")), At(1, 0, 1));
    EXPECT_EQ(lib.ArtistRef(0).Name, "Abba");
    EXPECT_EQ(lib.AlbumRef(0, 0).Title, "Arrival");
    EXPECT_EQ(lib.ArtistRef(1).Name, "");
    EXPECT_EQ(lib.AlbumCount(), 4u);
    // Look-ups keep their wildcard.
    EXPECT_EQ(lib.Find("", "arrival", "x"), (TFindIndexArray{At(0, 0), At(1, 0, 0)}));
}

TEST(Getters, AnswerInvalidAddressesWithZeroedRecords) {
    TMediaLib lib;
    lib.AddTrack(MakeTrack("A", "X", "1", 1, 5));
    lib.AddTrack(MakeTrack("B", "Y", "2", 2, 6));
    EXPECT_EQ(lib.GetTrack(At(5, 0, 0)), TTrack());
    EXPECT_EQ(lib.GetTrack(At(0, 0, -1)), TTrack());
    EXPECT_EQ(lib.GetTrack(At(0, 0, 1)), TTrack());
    EXPECT_EQ(lib.GetAlbum(At(0)), TAlbum());  // (a, -1, -1) addresses no album
    EXPECT_EQ(lib.GetAlbumAt(1, 1), TAlbum());
    EXPECT_EQ(lib.GetArtist(At(-1)), TArtist());
    EXPECT_EQ(lib.GetArtistAt(2), TArtist());
    EXPECT_EQ(lib.GetAlbumTime(At(0, -1)), 0.0);
    EXPECT_EQ(lib.ArtistRef(-3).Name, "");
    EXPECT_TRUE(lib.AlbumRef(0, 9).Tracks.empty());
    EXPECT_EQ(lib.TrackRef(1, 0, 1).Title, "");
}

TEST(Getters, StoredRecordsLeaveOwnerFieldsToTheOwners) {
    TMediaLib lib;
    TTrack track = MakeTrack("A", "X", "1");
    track.Genre = "Rock";
    track.Release = 1990;
    lib.AddTrack(track);
    EXPECT_EQ(lib.AlbumRef(0, 0).Artist, "");
    EXPECT_EQ(lib.TrackRef(0, 0, 0).Genre, "");
    EXPECT_EQ(lib.TrackRef(0, 0, 0).Release, 0);
    EXPECT_EQ(lib.GetTrack(At(0, 0, 0)).Release, 1990);
}

TEST(ModifiedFlag, FollowsEditsButNotSortsOrLookups) {
    TMediaLib lib;
    lib.SetLibraryName("Mine");
    EXPECT_TRUE(lib.Modified());
    EXPECT_EQ(lib.LibraryName(), "Mine");
    lib.NewLibrary();
    EXPECT_FALSE(lib.Modified());
    EXPECT_EQ(lib.LibraryName(), "");

    // Nothing addressed: nothing changes, not even the flag.
    TFindIndex index = At(0, 0);
    lib.DeleteTrack(At(0, 0, 0));
    lib.DeleteAlbum(index);
    lib.DeleteArtist(index);
    lib.SetAlbum(index, TAlbum{.Title = "x"});
    lib.SetArtist(index, TArtist{.Name = "x"});
    lib.SortAll();
    TMediaLib empty;
    lib.Merge(empty);
    EXPECT_FALSE(lib.Modified());
    EXPECT_EQ(index, At(0, 0));

    lib.SetLibraryName("Mine");
    lib.AddTrack(MakeTrack("A", "X", "1"));
    lib.Clear();
    EXPECT_TRUE(lib.Modified());
    EXPECT_EQ(lib.LibraryName(), "Mine");  // Clear keeps the name
    EXPECT_EQ(lib.GetArtistCount(), 0);
    EXPECT_EQ(lib.AlbumCount(), 0u);
    EXPECT_EQ(lib.TrackCount(), 0u);
    EXPECT_EQ(lib.AddTrack(MakeTrack("B", "Y", "2")), At(0, 0, 0));  // nothing stale remains
}

}  // namespace
}  // namespace rv
