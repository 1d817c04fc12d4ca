// Ordering of artists, albums and tracks. Keys are computed once per entry (collating a name is
// dear), then the exchange sort's order is applied in one permutation.

#include <string>
#include <utility>
#include <vector>

#include "medialib/exchange_sort.h"
#include "medialib/media_lib.h"
#include "platform/text/collate.h"

namespace rv {

namespace {

// Reorders `items` by `order` (see ExchangeSortOrder); false when nothing moved.
template <class T>
bool Reorder(std::vector<T>& items, const std::vector<int>& order) {
    bool moved = false;
    for (size_t k = 0; k < order.size() && !moved; ++k) moved = order[k] != static_cast<int>(k);
    if (!moved) return false;
    std::vector<T> sorted;
    sorted.reserve(items.size());
    for (int pos : order) sorted.push_back(std::move(items[pos]));
    items = std::move(sorted);
    return true;
}

template <class T, class KeyOf>
bool SortByNumber(std::vector<T>& items, KeyOf keyOf) {
    if (items.size() < 2) return false;
    std::vector<uint32_t> keys;
    keys.reserve(items.size());
    for (const T& item : items) keys.push_back(keyOf(item));
    return Reorder(items, ExchangeSortOrder(std::move(keys)));
}

}  // namespace

void TMediaLib::SortArtists() {
    if (artists_.size() < 2) return;
    std::vector<std::string> keys;
    keys.reserve(artists_.size());
    for (const TArtist& artist : artists_) keys.push_back(LocaleSortKey(artist.Name));
    if (Reorder(artists_, ExchangeSortOrder(DenseRanks(keys)))) index_.ArtistsChanged();
}

void TMediaLib::SortAlbums(int artistPos) {
    if (ArtistPtr(artistPos) == nullptr) return;
    if (SortByNumber(artists_[artistPos].Albums, [](const TAlbum& x) { return x.Release; }))
        index_.AlbumsChanged(artistPos);
}

void TMediaLib::SortTracks(int artistPos, int albumPos) {
    if (AlbumPtr(artistPos, albumPos) == nullptr) return;
    if (SortByNumber(StoredAlbum(artistPos, albumPos).Tracks, [](const TTrack& x) { return x.ID; }))
        index_.TracksChanged(artistPos, albumPos);
}

void TMediaLib::SortAll() {
    SortArtists();
    for (int a = 0; a < GetArtistCount(); ++a) {
        SortAlbums(a);
        for (int b = 0; b < static_cast<int>(artists_[a].Albums.size()); ++b) {
            SortTracks(a, b);
            UpdateAlbumTime(a, b);
        }
    }
}

}  // namespace rv
