#include <gtest/gtest.h>

#include "medialib/tests/library_text.h"

namespace rv {
namespace {

using test::At;
using test::Dump;
using test::Track;

class EditTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* entry : {"A/X/1", "A/X/2", "A/X/3", "A/Y/4", "B/Z/5", "C/W/6"}) {
            const std::string e = entry;
            lib.AddTrack(Track(e.substr(0, 1), e.substr(2, 1), e.substr(4), 0, 1 << (e[4] - '1')));
        }
        ASSERT_EQ(Dump(lib), "A:X(1 2 3)Y(4) B:Z(5) C:W(6)");
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
    EXPECT_EQ(Dump(lib), "A:X(1 3)Y(4) B:Z(5) C:W(6)");
    EXPECT_EQ(lib.AlbumRef(0, 0).Time, 5.0);  // no longer counts the removed track
    lib.DeleteTrack(At(1, 0, 0));             // B's last track takes its album and B
    EXPECT_EQ(Dump(lib), "A:X(1 3)Y(4) C:W(6)");
    ExpectCounts(2, 3, 4);
    lib.DeleteAlbum(At(0, 0, 7));  // the track level is not looked at
    lib.DeleteAlbum(At(0, 0));
    EXPECT_EQ(Dump(lib), "C:W(6)");
    ExpectCounts(1, 1, 1);
    lib.DeleteArtist(At(0, 3, 3));
    ExpectCounts(0, 0, 0);
}

TEST_F(EditTest, SetAlbumEditsInPlaceOrMovesTheAlbum) {
    TFindIndex index = At(0, 1, 0);
    lib.SetAlbum(index, TAlbum{.Title = "V", .Artist = "a", .Release = 1999, .Time = 1});
    EXPECT_EQ(index, At(0, 1, 0));
    EXPECT_EQ(Dump(lib), "A:X(1 2 3)V(4) B:Z(5) C:W(6)");
    EXPECT_EQ(lib.GetAlbum(index).Release, 1999);
    EXPECT_EQ(lib.GetAlbum(index).Time, 8.0);  // tracks and time stay

    // B's only album to C: B goes, so C is one lower than before.
    index = At(1, 0, 0);
    lib.SetAlbum(index, TAlbum{.Title = "Z", .Artist = "c"});
    EXPECT_EQ(index, At(1, 1, 0));
    EXPECT_EQ(Dump(lib), "A:X(1 2 3)V(4) C:W(6)Z(5)");
    // To a new artist, and to an artist standing before the owner.
    index = At(0, 0, 2);
    lib.SetAlbum(index, TAlbum{.Title = "X", .Artist = "D"});
    EXPECT_EQ(index, At(2, 0, 2));
    index = At(1, 0);
    lib.SetAlbum(index, TAlbum{.Title = "W", .Artist = "A"});
    EXPECT_EQ(index, At(0, 1));
    EXPECT_EQ(Dump(lib), "A:V(4)W(6) C:Z(5) D:X(1 2 3)");
    ExpectCounts(3, 4, 6);
    EXPECT_EQ(lib.AddTrack(Track("d", "x", "7")), At(2, 0, 3));
}

TEST_F(EditTest, SetArtistRenamesOrMergesIntoTheArtistOfThatName) {
    TFindIndex index = At(1, 0, 0);
    lib.SetArtist(index, TArtist{.Name = "E", .Albums = {TAlbum{.Title = "ignored"}}});
    EXPECT_EQ(index, At(1, 0, 0));
    EXPECT_EQ(lib.FindArtist("b"), TFindIndexArray{});
    EXPECT_EQ(lib.FindArtist("e"), (TFindIndexArray{At(1)}));

    // C renamed "a": its albums follow A's, C goes, and the address follows its album.
    index = At(2, 0, 0);
    lib.SetArtist(index, TArtist{.Name = "a"});
    EXPECT_EQ(index, At(0, 2, 0));
    EXPECT_EQ(Dump(lib), "A:X(1 2 3)Y(4)W(6) E:Z(5)");
    // E, standing after A, merged into A.
    index = At(1);
    lib.SetArtist(index, TArtist{.Name = "A"});
    EXPECT_EQ(index, At(0));
    EXPECT_EQ(Dump(lib), "A:X(1 2 3)Y(4)W(6)Z(5)");
    ExpectCounts(1, 4, 6);
}

}  // namespace
}  // namespace rv
