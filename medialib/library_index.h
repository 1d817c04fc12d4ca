#pragma once

#include <string_view>
#include <vector>

#include "medialib/name_index.h"
#include "medialib/records.h"

// Look-up aids kept beside the library's artists so that filing a track costs the same in a
// library of any size: name indexes per level and a running album time for long albums. Small
// arrays are scanned instead. The aids never decide a result, they only find it faster; every
// change of the artist tree other than an append is reported so that stale aids are dropped and
// rebuilt on the next look-up.
namespace rv {

class LibraryIndex {
public:
    // Lowest position whose name or title equals the given one (SameText), or -1.
    int FindArtist(const std::vector<TArtist>& artists, std::string_view name);
    int FindAlbum(const TArtist& artist, int a, std::string_view title);
    int FindTrack(const TAlbum& album, int a, int b, std::string_view title);

    // The sum of the tracks' durations in stored order, starting from 0.
    double AlbumTime(const TAlbum& album, int a, int b);

    // Appends, reported after the entry is in place with its final name.
    void ArtistAppended(const std::vector<TArtist>& artists, int a);
    void AlbumAppended(const TArtist& artist, int a, int b);
    void TrackAppended(const TAlbum& album, int a, int b, int t);

    // Everything else: the level's aids are dropped.
    void ArtistRenamed();                 // positions stand, one name changed
    void ArtistsChanged();                // artists erased, moved or reordered
    void AlbumRenamed(int a);             // positions stand, one title changed
    void AlbumsChanged(int a);            // albums of artist a erased, moved or reordered
    void TrackOverwritten(int a, int b);  // a track replaced in place under an equal title
    void TracksChanged(int a, int b);     // tracks of album (a, b) erased or reordered
    void Reset();

private:
    struct AlbumAids {
        NameIndex titles;
        double time = 0;
        bool timeKnown = false;
    };
    struct ArtistAids {
        NameIndex titles;
        std::vector<AlbumAids> albums;  // entry p describes album p; shorter when not yet needed
    };

    ArtistAids& AidsOf(int a);
    AlbumAids& AidsOf(int a, int b);
    ArtistAids* ExistingAids(int a);
    AlbumAids* ExistingAids(int a, int b);

    NameIndex artists_;
    std::vector<ArtistAids> aids_;  // entry p describes artist p; shorter when not yet needed
};

}  // namespace rv
