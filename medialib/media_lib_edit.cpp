// Deleting, editing and moving entries.

#include <utility>

#include "medialib/media_lib.h"
#include "platform/text/ascii_case.h"
#include "platform/text/utf8.h"

namespace rv {

void TMediaLib::DeleteTrack(const TFindIndex& index) {
    if (TrackPtr(index.Artist, index.Album, index.Track) == nullptr) return;
    std::vector<TTrack>& tracks = StoredAlbum(index.Artist, index.Album).Tracks;
    tracks.erase(tracks.begin() + index.Track);
    --trackCount_;
    modified_ = true;
    index_.TracksChanged(index.Artist, index.Album);
    if (tracks.empty())
        DeleteAlbum(index);
    else
        UpdateAlbumTime(index.Artist, index.Album);  // the time must not count the removed track
}

void TMediaLib::DeleteAlbum(const TFindIndex& index) {
    if (AlbumPtr(index.Artist, index.Album) == nullptr) return;
    std::vector<TAlbum>& albums = artists_[index.Artist].Albums;
    trackCount_ -= static_cast<uint32_t>(albums[index.Album].Tracks.size());
    albums.erase(albums.begin() + index.Album);
    --albumCount_;
    modified_ = true;
    index_.AlbumsChanged(index.Artist);
    if (albums.empty()) DeleteArtist(index);
}

void TMediaLib::DeleteArtist(const TFindIndex& index) {
    const TArtist* artist = ArtistPtr(index.Artist);
    if (artist == nullptr) return;
    albumCount_ -= static_cast<uint32_t>(artist->Albums.size());
    for (const TAlbum& album : artist->Albums)
        trackCount_ -= static_cast<uint32_t>(album.Tracks.size());
    artists_.erase(artists_.begin() + index.Artist);
    modified_ = true;
    index_.ArtistsChanged();
}

void TMediaLib::SetAlbum(TFindIndex& index, const TAlbum& album) {
    if (AlbumPtr(index.Artist, index.Album) == nullptr) return;
    const int a = index.Artist;
    const std::string owner = Text255(album.Artist);
    const bool moving = !SameText(artists_[a].Name, owner);

    TAlbum& stored = StoredAlbum(a, index.Album);
    stored.Title = Text255(album.Title);
    stored.Genre = Text255(album.Genre);
    stored.Release = album.Release;
    stored.MediaType = album.MediaType;
    index_.AlbumRenamed(a);
    modified_ = true;
    if (!moving) return;

    int target = index_.FindArtist(artists_, owner);
    if (target < 0) {
        target = static_cast<int>(artists_.size());
        artists_.emplace_back().Name = owner;
        index_.ArtistAppended(artists_, target);
    }
    std::vector<TAlbum>& albums = artists_[a].Albums;
    TAlbum moved = std::move(albums[index.Album]);
    albums.erase(albums.begin() + index.Album);
    index_.AlbumsChanged(a);
    if (albums.empty()) {  // the old owner goes, as a delete would remove it
        artists_.erase(artists_.begin() + a);
        index_.ArtistsChanged();
        if (a < target) --target;
    }
    std::vector<TAlbum>& targetAlbums = artists_[target].Albums;
    targetAlbums.push_back(std::move(moved));
    const int b = static_cast<int>(targetAlbums.size()) - 1;
    index_.AlbumAppended(artists_[target], target, b);
    index.Artist = target;
    index.Album = b;
}

void TMediaLib::SetArtist(TFindIndex& index, const TArtist& artist) {
    if (ArtistPtr(index.Artist) == nullptr) return;
    const int a = index.Artist;
    const std::string name = Text255(artist.Name);
    const bool nameChanged = !SameText(artists_[a].Name, name);
    // Looked up before the rename, so the artist being renamed is never its own target.
    int target = nameChanged ? index_.FindArtist(artists_, name) : -1;
    artists_[a].Name = name;
    modified_ = true;
    if (!nameChanged) return;
    index_.ArtistRenamed();
    if (target < 0) return;

    std::vector<TAlbum> albums = std::move(artists_[a].Albums);
    artists_.erase(artists_.begin() + a);
    index_.ArtistsChanged();
    if (a < target) --target;
    std::vector<TAlbum>& targetAlbums = artists_[target].Albums;
    const int shift = static_cast<int>(targetAlbums.size());
    for (TAlbum& album : albums) targetAlbums.push_back(std::move(album));
    index.Artist = target;
    // An addressed album keeps being addressed at its new place after the target's own albums.
    if (index.Album >= 0 && index.Album < static_cast<int>(albums.size())) index.Album += shift;
}

}  // namespace rv
