#include "medialib/library_index.h"

#include "platform/text/ascii_case.h"

namespace rv {

namespace {

// Up to this many entries a plain scan is as quick as hashing and needs no memory.
constexpr size_t kScanLimit = 16;

template <class Items, class KeyOf>
int ScanFirst(const Items& items, std::string_view name, KeyOf keyOf) {
    for (size_t i = 0; i < items.size(); ++i)
        if (SameText(keyOf(items[i]), name)) return static_cast<int>(i);
    return -1;
}

template <class Items, class KeyOf>
auto NameAt(const Items& items, KeyOf keyOf) {
    return [&items, keyOf](int pos) -> std::string_view {
        return keyOf(items[static_cast<size_t>(pos)]);
    };
}

template <class Items, class KeyOf>
int IndexedFirst(const Items& items, NameIndex& index, std::string_view name, KeyOf keyOf) {
    if (!index.Built()) {
        index.Reset();
        for (size_t i = 0; i < items.size(); ++i)
            index.Add(static_cast<int>(i), NameAt(items, keyOf));
        index.MarkBuilt();
    }
    return index.Find(name, NameAt(items, keyOf));
}

const std::string& NameOf(const TArtist& x) {
    return x.Name;
}

template <class Entry>
const std::string& TitleOf(const Entry& x) {
    return x.Title;
}

}  // namespace

LibraryIndex::ArtistAids& LibraryIndex::AidsOf(int a) {
    if (static_cast<size_t>(a) >= aids_.size()) aids_.resize(static_cast<size_t>(a) + 1);
    return aids_[static_cast<size_t>(a)];
}

LibraryIndex::AlbumAids& LibraryIndex::AidsOf(int a, int b) {
    std::vector<AlbumAids>& albums = AidsOf(a).albums;
    if (static_cast<size_t>(b) >= albums.size()) albums.resize(static_cast<size_t>(b) + 1);
    return albums[static_cast<size_t>(b)];
}

LibraryIndex::ArtistAids* LibraryIndex::ExistingAids(int a) {
    return a >= 0 && static_cast<size_t>(a) < aids_.size() ? &aids_[static_cast<size_t>(a)]
                                                           : nullptr;
}

LibraryIndex::AlbumAids* LibraryIndex::ExistingAids(int a, int b) {
    ArtistAids* artist = ExistingAids(a);
    if (artist == nullptr || b < 0 || static_cast<size_t>(b) >= artist->albums.size())
        return nullptr;
    return &artist->albums[static_cast<size_t>(b)];
}

int LibraryIndex::FindArtist(const std::vector<TArtist>& artists, std::string_view name) {
    if (artists.size() <= kScanLimit) return ScanFirst(artists, name, NameOf);
    return IndexedFirst(artists, artists_, name, NameOf);
}

int LibraryIndex::FindAlbum(const TArtist& artist, int a, std::string_view title) {
    if (artist.Albums.size() <= kScanLimit) return ScanFirst(artist.Albums, title, TitleOf<TAlbum>);
    return IndexedFirst(artist.Albums, AidsOf(a).titles, title, TitleOf<TAlbum>);
}

int LibraryIndex::FindTrack(const TAlbum& album, int a, int b, std::string_view title) {
    if (album.Tracks.size() <= kScanLimit) return ScanFirst(album.Tracks, title, TitleOf<TTrack>);
    return IndexedFirst(album.Tracks, AidsOf(a, b).titles, title, TitleOf<TTrack>);
}

double LibraryIndex::AlbumTime(const TAlbum& album, int a, int b) {
    const auto sum = [&album] {
        double time = 0;
        for (const TTrack& track : album.Tracks) time += track.Duration;
        return time;
    };
    if (album.Tracks.size() <= kScanLimit) return sum();
    AlbumAids& aids = AidsOf(a, b);
    if (!aids.timeKnown) {
        aids.time = sum();
        aids.timeKnown = true;
    }
    return aids.time;
}

void LibraryIndex::ArtistAppended(const std::vector<TArtist>& artists, int a) {
    if (artists_.Built()) artists_.Add(a, NameAt(artists, NameOf));
}

void LibraryIndex::AlbumAppended(const TArtist& artist, int a, int b) {
    if (ArtistAids* aids = ExistingAids(a); aids != nullptr && aids->titles.Built())
        aids->titles.Add(b, NameAt(artist.Albums, TitleOf<TAlbum>));
}

void LibraryIndex::TrackAppended(const TAlbum& album, int a, int b, int t) {
    AlbumAids* aids = ExistingAids(a, b);
    if (aids == nullptr) return;
    if (aids->titles.Built()) aids->titles.Add(t, NameAt(album.Tracks, TitleOf<TTrack>));
    if (aids->timeKnown) aids->time += album.Tracks[static_cast<size_t>(t)].Duration;
}

void LibraryIndex::ArtistRenamed() {
    artists_.Reset();
}

void LibraryIndex::ArtistsChanged() {
    artists_.Reset();
    aids_.clear();
}

void LibraryIndex::AlbumRenamed(int a) {
    if (ArtistAids* aids = ExistingAids(a)) aids->titles.Reset();
}

void LibraryIndex::AlbumsChanged(int a) {
    if (ArtistAids* aids = ExistingAids(a)) *aids = ArtistAids();
}

void LibraryIndex::TrackOverwritten(int a, int b) {
    if (AlbumAids* aids = ExistingAids(a, b)) aids->timeKnown = false;
}

void LibraryIndex::TracksChanged(int a, int b) {
    if (AlbumAids* aids = ExistingAids(a, b)) *aids = AlbumAids();
}

void LibraryIndex::Reset() {
    artists_.Reset();
    aids_.clear();
}

}  // namespace rv
