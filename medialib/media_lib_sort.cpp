// Ordering of artists, albums and tracks. Keys are computed once per entry (collating a name is
// dear), then the order is applied in one permutation.

#include <algorithm>
#include <array>
#include <numeric>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "medialib/exchange_sort.h"
#include "medialib/media_lib.h"
#include "platform/text/collate.h"

namespace rv {

namespace {

// Reorders `items` in place by `order` (see ExchangeSortOrder), one cycle of the permutation at
// a time, so that every entry moves once; `order` is used up. False when nothing moved.
template <class T>
bool Reorder(std::vector<T>& items, std::span<int> order) {
    bool moved = false;
    for (size_t start = 0; start < order.size(); ++start) {
        if (order[start] < 0 || order[start] == static_cast<int>(start)) continue;
        moved = true;
        T carried = std::move(items[start]);
        size_t to = start;
        for (;;) {
            const size_t from = static_cast<size_t>(order[to]);
            order[to] = -1;  // done
            if (from == start) {
                items[to] = std::move(carried);
                break;
            }
            items[to] = std::move(items[from]);
            to = from;
        }
    }
    return moved;
}

template <class T, class KeyOf>
bool SortByNumber(std::vector<T>& items, KeyOf keyOf) {
    const size_t n = items.size();
    if (n < 2) return false;
    constexpr size_t kShort = 32;
    if (n <= kShort) {  // most artists and albums: no allocation at all
        std::array<uint32_t, kShort> keys;
        std::array<int, kShort> order;
        for (size_t k = 0; k < n; ++k) {
            keys[k] = keyOf(items[k]);
            order[k] = static_cast<int>(k);
        }
        PlainExchangeSort({keys.data(), n}, {order.data(), n});
        return Reorder(items, std::span<int>(order.data(), n));
    }
    std::vector<uint32_t> keys;
    keys.reserve(n);
    for (const T& item : items) keys.push_back(keyOf(item));
    std::vector<int> order = ExchangeSortOrder(std::move(keys));
    return Reorder(items, std::span<int>(order));
}

}  // namespace

// Artists of equal names keep their order. Only a file from elsewhere holds such artists (filing
// and renaming unite them), and on a long array the exchange sort's own order of equal keys costs
// its full quadratic loop.
void TMediaLib::SortArtists() {
    if (artists_.size() < 2) return;
    std::vector<std::string> keys;
    keys.reserve(artists_.size());
    for (const TArtist& artist : artists_) keys.push_back(LocaleSortKey(artist.Name));
    std::vector<int> order(artists_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return keys[x] < keys[y]; });
    if (Reorder(artists_, std::span<int>(order))) index_.ArtistsChanged();
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
    // Each artist's albums and tracks sort alike wherever the artist stands, so they are sorted
    // first, while the artists still lie in the order their memory was filled.
    for (int a = 0; a < GetArtistCount(); ++a) {
        SortAlbums(a);
        for (int b = 0; b < static_cast<int>(artists_[a].Albums.size()); ++b) {
            SortTracks(a, b);
            UpdateAlbumTime(a, b);
        }
    }
    SortArtists();
}

}  // namespace rv
