#include "app/view_texts.h"

#include <algorithm>
#include <vector>

#include "app/time_text.h"
#include "platform/text/collate.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

template <class T>
int Sign(T a, T b) {
    return a < b ? -1 : b < a ? 1 : 0;
}

int CompareTexts(const std::string& a, const std::string& b) {
    const int result = CompareLocale(a, b);
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}

std::string Number(long long value) {
    return std::to_string(value);
}

const TAlbum& AlbumOf(const TMediaLib& library, const TFindIndex& node) {
    return library.AlbumRef(node.Artist, node.Album);
}

const TTrack& TrackOf(const TMediaLib& library, const TFindIndex& node) {
    return library.TrackRef(node.Artist, node.Album, node.Track);
}

std::vector<char32_t> FoldedCharacters(const std::string& text) {
    std::vector<char32_t> out;
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t c = DecodeUtf8(text, pos);
        out.push_back(c >= U'a' && c <= U'z' ? c - 32 : c);
    }
    return out;
}

}  // namespace

std::string TreeNodeText(const TMediaLib& library, const TFindIndex& node) {
    if (node.Album != -1) return AlbumOf(library, node).Title;
    return library.ArtistRef(node.Artist).Name;
}

std::string AlbumListText(const TMediaLib& library, const TFindIndex& node, int column) {
    const TAlbum& album = AlbumOf(library, node);
    switch (column) {
        case 0:
            return album.Title;
        case 1:
            return album.Release == 0 ? std::string() : Number(album.Release);
        case 2:
            return album.Genre;
        case 3:
            return Number(static_cast<long long>(album.Tracks.size()));
        case 4:
            return MinSecText(album.Time);
        default:
            return {};
    }
}

std::string TrackListText(const TMediaLib& library, const TFindIndex& node, int column) {
    const TTrack& track = TrackOf(library, node);
    switch (column) {
        case 0:
            return Number(track.ID);
        case 1:
            return track.Title;
        case 2:
            return MinSecText(track.Duration);
        case 3:
            return Number(track.Bitrate);
        case 4:
            return track.ChannelMode;
        case 5:
            return track.Format;
        default:
            return {};
    }
}

int CompareTreeNodes(const TMediaLib& library, const TFindIndex& a, const TFindIndex& b) {
    if (a.Album != -1) return CompareTexts(AlbumOf(library, a).Title, AlbumOf(library, b).Title);
    return CompareTexts(library.ArtistRef(a.Artist).Name, library.ArtistRef(b.Artist).Name);
}

int CompareAlbumListNodes(const TMediaLib& library, const TFindIndex& a, const TFindIndex& b,
                          int column) {
    const TAlbum& x = AlbumOf(library, a);
    const TAlbum& y = AlbumOf(library, b);
    switch (column) {
        case 0:
            return CompareTexts(x.Title, y.Title);
        case 1:
            return Sign(x.Release, y.Release);
        case 2:
            return CompareTexts(x.Genre, y.Genre);
        case 3:
            return Sign(x.Tracks.size(), y.Tracks.size());
        case 4:
            return Sign(x.Time, y.Time);
        default:
            return 0;
    }
}

int CompareTrackListNodes(const TMediaLib& library, const TFindIndex& a, const TFindIndex& b,
                          int column) {
    const TTrack& x = TrackOf(library, a);
    const TTrack& y = TrackOf(library, b);
    switch (column) {
        case 0:
            return Sign(x.ID, y.ID);
        case 1:
            return CompareTexts(x.Title, y.Title);
        case 2:
            return Sign(x.Duration, y.Duration);
        case 3:
            return Sign(x.Bitrate, y.Bitrate);
        case 4:
            return CompareTexts(x.ChannelMode, y.ChannelMode);
        case 5:
            return CompareTexts(x.Format, y.Format);
        default:
            return 0;
    }
}

std::string ListSearchText(const TMediaLib& library, const TFindIndex& node) {
    if (node.Track != -1) return TrackOf(library, node).Title;
    return AlbumOf(library, node).Title;
}

int CompareTypedText(const std::string& typed, const std::string& nodeText) {
    const std::vector<char32_t> a = FoldedCharacters(typed);
    const std::vector<char32_t> b = FoldedCharacters(nodeText);
    const std::size_t length = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < length; ++i)
        if (a[i] != b[i]) return static_cast<int>(a[i]) - static_cast<int>(b[i]);
    return 0;
}

}  // namespace rv
