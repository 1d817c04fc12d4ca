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
int IndexedFirst(const Items& items, NameIndex& index, std::string_view name, KeyOf keyOf) {
    if (!index.Built()) {
        index.Reset();
        for (size_t i = 0; i < items.size(); ++i) index.Add(keyOf(items[i]), static_cast<int>(i));
        index.MarkBuilt();
    }
    return index.Find(name);
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
    const auto nameOf = [](const TArtist& x) -> const std::string& { return x.Name; };
    if (artists.size() <= kScanLimit) return ScanFirst(artists, name, nameOf);
    return IndexedFirst(artists, artists_, name, nameOf);
}

int LibraryIndex::FindAlbum(const TArtist& artist, int a, std::string_view title) {
    const auto titleOf = [](const TAlbum& x) -> const std::string& { return x.Title; };
    if (artist.Albums.size() <= kScanLimit) return ScanFirst(artist.Albums, title, titleOf);
    return IndexedFirst(artist.Albums, AidsOf(a).titles, title, titleOf);
}

int LibraryIndex::FindTrack(const TAlbum& album, int a, int b, std::string_view title) {
    const auto titleOf = [](const TTrack& x) -> const std::string& { return x.Title; };
    if (album.Tracks.size() <= kScanLimit) return ScanFirst(album.Tracks, title, titleOf);
    return IndexedFirst(album.Tracks, AidsOf(a, b).titles, title, titleOf);
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

void LibraryIndex::ArtistAppended(std::string_view name, int a) {
    if (artists_.Built()) artists_.Add(name, a);
}

void LibraryIndex::AlbumAppended(int a, std::string_view title, int b) {
    if (ArtistAids* aids = ExistingAids(a); aids != nullptr && aids->titles.Built())
        aids->titles.Add(title, b);
}

void LibraryIndex::TrackAppended(int a, int b, std::string_view title, double duration, int t) {
    AlbumAids* aids = ExistingAids(a, b);
    if (aids == nullptr) return;
    if (aids->titles.Built()) aids->titles.Add(title, t);
    if (aids->timeKnown) aids->time += duration;
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
