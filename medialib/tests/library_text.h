#pragma once

#include <string>

#include "medialib/media_lib.h"

// Compact forms of a library for tests: filing from "artist/album/title" texts and a dump such
// as "A:X(1 2)Y(3) B:Z(4)".
namespace rv::test {

inline TTrack Track(std::string artist, std::string album, std::string title, uint8_t id = 0,
                    double duration = 0) {
    return TTrack{.ID = id, .Title = title, .Artist = artist, .Album = album, .Duration = duration};
}

inline TFindIndex At(int artist, int album = -1, int track = -1) {
    return {artist, album, track};
}

// A library as a file may hold it: equal names side by side, artists without albums.
class StoredLib : public TMediaLib {
public:
    using TMediaLib::ReplaceArtists;
};

inline std::string Dump(const TMediaLib& lib) {
    std::string text;
    for (const TArtist& artist : lib.Artists()) {
        text += (text.empty() ? "" : " ") + artist.Name + ":";
        for (const TAlbum& album : artist.Albums) {
            text += album.Title + "(";
            for (const TTrack& track : album.Tracks)
                text += (text.back() == '(' ? "" : " ") + track.Title;
            text += ")";
        }
    }
    return text;
}

}  // namespace rv::test
