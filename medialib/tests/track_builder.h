#pragma once

#include <string>

#include "medialib/media_lib.h"

namespace rv::test {

inline TTrack MakeTrack(std::string artist, std::string album, std::string title, uint8_t id = 0,
                        double duration = 0) {
    TTrack track;
    track.Artist = std::move(artist);
    track.Album = std::move(album);
    track.Title = std::move(title);
    track.ID = id;
    track.Duration = duration;
    return track;
}

inline TFindIndex At(int artist, int album = -1, int track = -1) {
    return TFindIndex{artist, album, track};
}

}  // namespace rv::test
