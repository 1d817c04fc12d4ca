#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The value records that carry catalogue entries between the library and everything else.
// Copies are independent values; changing one changes nothing until it is handed back to the
// library. Text fields marked text255 hold at most 255 characters (see Text255).
namespace rv {

struct TTrack {
    uint8_t ID = 0;             // number on its album, 0 when unknown
    std::string Title{};        // text255
    std::string Artist{};       // text255; filing key, filled from the owner when read back
    std::string Album{};        // text255; filing key, filled from the owner when read back
    std::string Genre{};        // text255; album-level
    uint16_t Release = 0;       // album-level year, 0 when unknown
    double Duration = 0;        // seconds
    uint16_t Bitrate = 0;       // kbit/s
    std::string ChannelMode{};  // text255
    std::string Format{};       // text255
    uint8_t MediaType = 0;      // album-level, index into MediaTypeNames

    bool operator==(const TTrack&) const = default;
};

struct TAlbum {
    std::string Title{};   // text255
    std::string Artist{};  // text255; only meaningful in records read from or handed to the library
    std::string Genre{};   // text255
    uint16_t Release = 0;
    double Time = 0;  // seconds, the sum of the tracks' durations
    uint8_t MediaType = 0;
    std::vector<TTrack> Tracks{};

    bool operator==(const TAlbum&) const = default;
};

struct TArtist {
    std::string Name{};  // text255
    std::vector<TAlbum> Albums{};

    bool operator==(const TArtist&) const = default;
};

// Address of an entry: 0-based positions, -1 where a level is not addressed. Valid only until
// the next operation that inserts, deletes or moves entries.
struct TFindIndex {
    int32_t Artist = -1;
    int32_t Album = -1;
    int32_t Track = -1;

    bool operator==(const TFindIndex&) const = default;
};

using TFindIndexArray = std::vector<TFindIndex>;

inline constexpr std::array<std::string_view, 2> MediaTypeNames = {"Audio CD", "Audio Files"};

// The name of a media type; a number beyond the table (a file may carry any) names nothing.
inline std::string_view MediaTypeName(uint8_t mediaType) {
    return mediaType < MediaTypeNames.size() ? MediaTypeNames[mediaType] : std::string_view();
}

}  // namespace rv
