#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "medialib/library_index.h"
#include "medialib/records.h"

// The in-memory catalogue: artists own albums, albums own tracks. It files incoming tracks under
// the artist and album of the same name, answers look-ups by name, deletes, edits, moves, sorts
// and merges entries, and keeps the totals and the modified flag.
//
// Names are equal when SameText says so (ASCII letters folded). Operations report no errors: an
// index that addresses nothing makes a getter return the zeroed record and makes a setter or a
// delete do nothing. Every TFindIndex is valid only until the next operation that inserts,
// deletes or moves entries.
namespace rv {

enum class LibraryForm;

class TMediaLib {
public:
    TMediaLib();
    virtual ~TMediaLib();
    TMediaLib(const TMediaLib&) = delete;
    TMediaLib& operator=(const TMediaLib&) = delete;

    // Removes every entry; the name and file name stay. Marks the library modified.
    void Clear();
    // An empty, unnamed, unmodified library.
    void NewLibrary();
    void SetLibraryName(std::string_view name);

    int GetArtistCount() const { return static_cast<int>(artists_.size()); }
    uint32_t AlbumCount() const { return albumCount_; }
    uint32_t TrackCount() const { return trackCount_; }
    bool Modified() const { return modified_; }
    const std::string& FileName() const { return fileName_; }
    const std::string& LibraryName() const { return libraryName_; }

    // Files a track under the first artist whose name equals track.Artist and that artist's
    // first album whose title equals track.Album (an empty name matches only an empty name),
    // creating either when missing. A track of an equal title in that album is overwritten;
    // otherwise the track is appended. Returns the track's address.
    TFindIndex AddTrack(TTrack track);

    // Look-up by names, in stored order. An empty artist or album text matches every artist or
    // album, a given one only the first artist or album of that name; the track title is always
    // compared. A named artist gives (a, -1, -1); its first album fills in the album level and
    // its first track of that title the track level; every further album gives (a, b, -1) and
    // every further track (a, b, t), filled in the same way.
    TFindIndexArray Find(std::string_view artistName, std::string_view albumTitle,
                         std::string_view trackTitle) const;
    // Empty, or (a, -1, -1) for the first artist named `name`.
    TFindIndexArray FindArtist(std::string_view name) const;

    // Copies. An album comes with Artist filled from its owner; a track with Artist, Album,
    // Genre, Release and MediaType filled from its owners.
    TArtist GetArtist(const TFindIndex& index) const { return ArtistRef(index.Artist); }
    TArtist GetArtistAt(int artistPos) const { return ArtistRef(artistPos); }
    TAlbum GetAlbum(const TFindIndex& index) const;
    TAlbum GetAlbumAt(int artistPos, int albumPos) const;
    TTrack GetTrack(const TFindIndex& index) const;
    // Sum of the durations of album (Artist, Album), in stored order from 0.
    double GetAlbumTime(const TFindIndex& index) const;

    // Read access without copies, valid until the next change; a zeroed record when nothing is
    // addressed. Stored albums leave Artist empty and stored tracks keep only ID, Title,
    // Duration, Bitrate, ChannelMode and Format: the owners hold the rest.
    const std::vector<TArtist>& Artists() const { return artists_; }
    const TArtist& ArtistRef(int artistPos) const;
    const TAlbum& AlbumRef(int artistPos, int albumPos) const;
    const TTrack& TrackRef(int artistPos, int albumPos, int trackPos) const;

    // Removal; an album left without tracks and an artist left without albums go too.
    void DeleteTrack(const TFindIndex& index);
    void DeleteAlbum(const TFindIndex& index);
    void DeleteArtist(const TFindIndex& index);

    // Takes the album's Title, Genre, Release and MediaType; when album.Artist names another
    // artist, the album (with its tracks and time) moves to the end of that artist's albums,
    // the artist being created when missing. `index` follows the album.
    void SetAlbum(TFindIndex& index, const TAlbum& album);
    // Renames the artist (only artist.Name is used). When another artist already has the new
    // name, the albums join that artist's albums and the renamed artist goes; `index` follows.
    void SetArtist(TFindIndex& index, const TArtist& artist);

    // Artists by the locale's collation, albums by release, tracks by number. Artists of equal
    // names keep their order; albums and tracks of equal keys end in the order of the library's
    // exchange sort. SortAll also recomputes album times.
    void SortAll();
    void SortArtists();
    void SortAlbums(int artistPos);
    void SortTracks(int artistPos, int albumPos);

    // Files every track of `other` here, as AddTrack of each in stored order.
    void Merge(const TMediaLib& other);

    // The library file. Saving replaces the file in one step: when it fails, the old file stays
    // as it was, the error (EFileError, EXmlError) reaches the caller and the library stays
    // modified. Loading is all or nothing: a file that cannot be read or parsed, is no library
    // (EMediaLibError) or lacks a value raises, and the library, its FileName and Modified stay
    // as they were.
    void SaveToFile(const std::string& name);
    void LoadFromFile(const std::string& name);

    // The presentation XML: artists and albums, respectively with tracks, times as minutes and
    // seconds and stamped with today's date. Both sort the library first (the brief form by
    // SortAll, the detail form artists and albums only) and set FileName; Modified stays.
    void SaveBriefPresentation(const std::string& name);
    void SaveDetailPresentation(const std::string& name);

protected:
    // For readers of stored libraries: takes the artists as they stand (album times included,
    // equal names allowed) and recounts the totals. Modified is left as it is.
    void ReplaceArtists(std::vector<TArtist> artists);

private:
    const TArtist* ArtistPtr(int a) const;
    const TAlbum* AlbumPtr(int a, int b) const;
    const TTrack* TrackPtr(int a, int b, int t) const;
    TAlbum& StoredAlbum(int a, int b) { return artists_[a].Albums[b]; }
    void UpdateAlbumTime(int a, int b);
    void SavePresentation(const std::string& name, LibraryForm form);

    std::vector<TArtist> artists_;
    std::string fileName_;
    uint32_t albumCount_ = 0;
    uint32_t trackCount_ = 0;
    bool modified_ = false;
    std::string libraryName_;
    mutable LibraryIndex index_;  // look-up aids only; never part of a result
};

}  // namespace rv
