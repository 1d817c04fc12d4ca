#include "app/filed_track.h"

#include "platform/text/ascii_case.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

// The first position whose name equals `name` (cut as the library cuts what it files), or -1.
template <class Items, class Name>
int FirstNamed(const Items& items, const std::string& name, Name nameOf) {
    const std::string cut = Text255(name);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (SameText(nameOf(items[i]), cut)) return static_cast<int>(i);
    return -1;
}

}  // namespace

TFindIndex TrackFiledOver(const TMediaLib& library, const TTrack& track) {
    const int a =
        FirstNamed(library.Artists(), track.Artist,
                   [](const TArtist& artist) -> const std::string& { return artist.Name; });
    if (a < 0) return {};
    const TArtist& artist = library.ArtistRef(a);
    const int b = FirstNamed(artist.Albums, track.Album,
                             [](const TAlbum& album) -> const std::string& { return album.Title; });
    if (b < 0) return {};
    const int t =
        FirstNamed(artist.Albums[static_cast<std::size_t>(b)].Tracks, track.Title,
                   [](const TTrack& stored) -> const std::string& { return stored.Title; });
    return t < 0 ? TFindIndex{} : TFindIndex{a, b, t};
}

}  // namespace rv
