#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "readers/cached_file.h"

namespace rv {

// What the header objects of an ASF file say about its audio stream and its texts.
struct ASFHeaderData {
    enum Text { kTitle, kAuthor, kAlbum, kTrack, kYear, kGenre, kDescription, kTextCount };

    std::uint64_t FileSize = 0;
    // From the file properties: the play duration in 100-ns units and the preroll in
    // milliseconds (both unset in a broadcast file), and the maximum bit rate in bit/s.
    std::uint64_t PlayDuration = 0;
    std::uint64_t Preroll = 0;
    bool Broadcast = false;
    std::uint32_t MaxBitRate = 0;
    std::uint16_t Channels = 0;
    std::uint32_t SampleRate = 0;
    std::uint32_t ByteRate = 0;  // average bytes per second of the stream
    // UTF-8, cleaned of control characters and surrounding blanks. kTrack holds WM/Track, the
    // zero-based track.
    std::array<std::string, kTextCount> Texts;
    // WM/TrackNumber, the one-based track, as text or as a number.
    std::optional<std::string> TrackNumber;
};

enum class ASFReadResult {
    NotASF,  // the file does not begin with a header object
    Read,    // the child objects were walked
    Failed,  // an object's fields ran past the object or the file
};

// Walks the child objects of the header object at the start of `file`. An object whose size is
// smaller than its own header or runs past the header object ends the walk, so every byte is
// read at most once. Of a text the first kTagTextBytes bytes are kept.
ASFReadResult ReadASFHeader(CachedFile& file, ASFHeaderData& data);

}  // namespace rv
