#include "medialib/media_lib.h"

#include <utility>

#include "platform/text/ascii_case.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

// Room taken for an artist's first album and an album's first track: most hold a few, and
// growing one entry at a time would move them several times over while a library is filed.
constexpr size_t kFirstAlbums = 4;
constexpr size_t kFirstTracks = 8;

const TArtist kNoArtist{};
const TAlbum kNoAlbum{};
const TTrack kNoTrack{};

void AssignIfDifferent(std::string& field, const std::string& value) {
    if (field != value) field = value;
}

template <class T>
const T* At(const std::vector<T>& items, int pos) {
    return pos >= 0 && static_cast<size_t>(pos) < items.size() ? &items[static_cast<size_t>(pos)]
                                                               : nullptr;
}

}  // namespace

const TArtist* TMediaLib::ArtistPtr(int a) const {
    return At(artists_, a);
}

const TAlbum* TMediaLib::AlbumPtr(int a, int b) const {
    const TArtist* artist = ArtistPtr(a);
    return artist != nullptr ? At(artist->Albums, b) : nullptr;
}

const TTrack* TMediaLib::TrackPtr(int a, int b, int t) const {
    const TAlbum* album = AlbumPtr(a, b);
    return album != nullptr ? At(album->Tracks, t) : nullptr;
}

const TArtist& TMediaLib::ArtistRef(int artistPos) const {
    const TArtist* artist = ArtistPtr(artistPos);
    return artist != nullptr ? *artist : kNoArtist;
}

const TAlbum& TMediaLib::AlbumRef(int artistPos, int albumPos) const {
    const TAlbum* album = AlbumPtr(artistPos, albumPos);
    return album != nullptr ? *album : kNoAlbum;
}

const TTrack& TMediaLib::TrackRef(int artistPos, int albumPos, int trackPos) const {
    const TTrack* track = TrackPtr(artistPos, albumPos, trackPos);
    return track != nullptr ? *track : kNoTrack;
}

void TMediaLib::Clear() {
    artists_.clear();
    index_.Reset();
    albumCount_ = 0;
    trackCount_ = 0;
    modified_ = true;
}

void TMediaLib::ReplaceArtists(std::vector<TArtist> artists) {
    artists_ = std::move(artists);
    index_.Reset();
    albumCount_ = 0;
    trackCount_ = 0;
    for (TArtist& artist : artists_) {
        albumCount_ += static_cast<uint32_t>(artist.Albums.size());
        for (TAlbum& album : artist.Albums) {
            trackCount_ += static_cast<uint32_t>(album.Tracks.size());
            album.Artist.clear();  // the owners hold these
            for (TTrack& track : album.Tracks) {
                track.Artist.clear();
                track.Album.clear();
                track.Genre.clear();
                track.Release = 0;
                track.MediaType = 0;
            }
        }
    }
}

void TMediaLib::NewLibrary() {
    libraryName_.clear();
    fileName_.clear();
    Clear();
    modified_ = false;
}

void TMediaLib::SetLibraryName(std::string_view name) {
    modified_ = true;
    libraryName_ = name;
    BlankControlChars(libraryName_);
}

TAlbum TMediaLib::GetAlbum(const TFindIndex& index) const {
    return GetAlbumAt(index.Artist, index.Album);
}

TAlbum TMediaLib::GetAlbumAt(int artistPos, int albumPos) const {
    const TAlbum* stored = AlbumPtr(artistPos, albumPos);
    if (stored == nullptr) return TAlbum();
    TAlbum album = *stored;
    album.Artist = artists_[artistPos].Name;
    return album;
}

TTrack TMediaLib::GetTrack(const TFindIndex& index) const {
    const TTrack* stored = TrackPtr(index.Artist, index.Album, index.Track);
    if (stored == nullptr) return TTrack();
    const TArtist& artist = artists_[index.Artist];
    const TAlbum& album = artist.Albums[index.Album];
    TTrack track = *stored;
    track.Artist = artist.Name;
    track.Album = album.Title;
    track.Genre = album.Genre;
    track.Release = album.Release;
    track.MediaType = album.MediaType;
    return track;
}

double TMediaLib::GetAlbumTime(const TFindIndex& index) const {
    const TAlbum* album = AlbumPtr(index.Artist, index.Album);
    return album != nullptr ? index_.AlbumTime(*album, index.Artist, index.Album) : 0.0;
}

void TMediaLib::UpdateAlbumTime(int a, int b) {
    TAlbum& album = StoredAlbum(a, b);
    album.Time = index_.AlbumTime(album, a, b);
}

TFindIndexArray TMediaLib::FindArtist(std::string_view name) const {
    const int a = index_.FindArtist(artists_, name);
    if (a < 0) return {};
    return {TFindIndex{a, -1, -1}};
}

TFindIndexArray TMediaLib::Find(std::string_view artistName, std::string_view albumTitle,
                                std::string_view trackTitle) const {
    TFindIndexArray result;
    const auto visitAlbum = [&](int a, int b) {
        if (!result.empty() && result.back().Album == -1)
            result.back().Album = b;
        else
            result.push_back({a, b, -1});
        const std::vector<TTrack>& tracks = artists_[a].Albums[b].Tracks;
        for (size_t t = 0; t < tracks.size(); ++t) {
            if (!SameText(tracks[t].Title, trackTitle)) continue;
            if (result.back().Track == -1)
                result.back().Track = static_cast<int>(t);
            else
                result.push_back({a, b, static_cast<int>(t)});
        }
    };
    const auto visitArtist = [&](int a) {
        const TArtist& artist = artists_[a];
        if (!artistName.empty()) result.push_back({a, -1, -1});
        if (!albumTitle.empty()) {  // only the first album of that title
            const int b = index_.FindAlbum(artist, a, albumTitle);
            if (b >= 0) visitAlbum(a, b);
            return;
        }
        for (size_t b = 0; b < artist.Albums.size(); ++b) visitAlbum(a, static_cast<int>(b));
    };
    if (!artistName.empty()) {  // only the first artist of that name
        const int a = index_.FindArtist(artists_, artistName);
        if (a >= 0) visitArtist(a);
        return result;
    }
    for (size_t a = 0; a < artists_.size(); ++a) visitArtist(static_cast<int>(a));
    return result;
}

// The track comes by value: it may be a reference into this library, which filing changes.
TFindIndex TMediaLib::AddTrack(TTrack track) {
    for (std::string* text : {&track.Artist, &track.Album, &track.Title, &track.Genre,
                              &track.ChannelMode, &track.Format})
        FitText255(*text);

    int a = index_.FindArtist(artists_, track.Artist);
    if (a < 0) {
        a = static_cast<int>(artists_.size());
        artists_.emplace_back().Name = track.Artist;
        index_.ArtistAppended(artists_, a);
    }
    TArtist& artist = artists_[a];
    AssignIfDifferent(artist.Name, track.Artist);  // the letter case of the last filed track wins

    int b = index_.FindAlbum(artist, a, track.Album);
    if (b < 0) {
        b = static_cast<int>(artist.Albums.size());
        if (artist.Albums.capacity() == 0) artist.Albums.reserve(kFirstAlbums);
        artist.Albums.emplace_back().Title = track.Album;
        index_.AlbumAppended(artist, a, b);
        ++albumCount_;
    }
    TAlbum& album = artist.Albums[b];
    AssignIfDifferent(album.Title, track.Album);
    album.Genre = std::move(track.Genre);
    album.Release = track.Release;
    album.MediaType = track.MediaType;

    int t = index_.FindTrack(album, a, b, track.Title);
    const bool appended = t < 0;  // otherwise the track of that title is overwritten in place
    if (appended) {
        t = static_cast<int>(album.Tracks.size());
        if (album.Tracks.capacity() == 0) album.Tracks.reserve(kFirstTracks);
        album.Tracks.emplace_back();
        ++trackCount_;
    }
    TTrack& stored = album.Tracks[t];
    stored.ID = track.ID;
    stored.Title = std::move(track.Title);
    stored.Duration = track.Duration;
    stored.Bitrate = track.Bitrate;
    stored.ChannelMode = std::move(track.ChannelMode);
    stored.Format = std::move(track.Format);
    if (appended)
        index_.TrackAppended(album, a, b, t);
    else
        index_.TrackOverwritten(a, b);
    UpdateAlbumTime(a, b);
    modified_ = true;
    return {a, b, t};
}

void TMediaLib::Merge(const TMediaLib& other) {
    // Filing into the library being walked would move the entries under the walk: merging a
    // library into itself files copies taken first.
    const bool self = &other == this;
    std::vector<TTrack> copies;
    for (int a = 0; a < other.GetArtistCount(); ++a) {
        const TArtist& artist = other.artists_[a];
        for (int b = 0; b < static_cast<int>(artist.Albums.size()); ++b)
            for (int t = 0; t < static_cast<int>(artist.Albums[b].Tracks.size()); ++t) {
                TTrack track = other.GetTrack({a, b, t});
                if (self)
                    copies.push_back(std::move(track));
                else
                    AddTrack(std::move(track));
            }
    }
    for (TTrack& track : copies) AddTrack(std::move(track));
}

}  // namespace rv
