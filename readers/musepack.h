#pragma once

#include <cstdint>
#include <string>

#include "readers/ape_tag.h"
#include "readers/cached_file.h"
#include "readers/id3v1.h"
#include "readers/id3v2.h"

namespace rv {

// Stream header and tags of a Musepack file (.mpc, .mp+, .mpp) of stream version 4 to 7.1.
// Bit rate and duration are worked out on each call from the header, the file's length and
// the tags.
class TMPEGplus {
public:
    TMPEGplus() { Reset(); }

    void Reset();
    // False when the file cannot be opened or holds fewer than 32 bytes after its ID3v2 tag;
    // true otherwise, also for an unknown stream version (then Valid() is false).
    bool ReadFromFile(const std::string& fileName);
    bool ReadFromFile(CachedFile& file);

    // A header of a known stream version was read.
    bool Valid() const { return valid_; }
    // 0 unknown, 1 stereo, 2 joint stereo.
    std::uint8_t ChannelModeID() const { return channelModeID_; }
    std::uint64_t FileLength() const { return fileLength_; }
    std::uint32_t Frames() const { return frames_; }
    std::uint32_t SampleRate() const { return sampleRate_; }
    // kbit/s as the header of stream versions 4 and 5 stores it; 0 for later versions.
    std::uint16_t StoredBitRate() const { return storedBitRate_; }
    // 4, 5, 6, 7 or 71 (for 7.1); 0 when unknown.
    std::uint8_t StreamVersion() const { return streamVersion_; }
    const TID3v1& ID3v1() const { return id3v1_; }
    const TID3v2& ID3v2() const { return id3v2_; }
    const TAPEtag& APEtag() const { return apeTag_; }

    // "Unknown", "Stereo" or "Joint Stereo".
    std::string ChannelMode() const;
    // kbit/s: the stored rate, else the stream's bytes spread over its frames.
    std::uint16_t BitRate() const;
    // Seconds: 1152 samples a frame.
    double Duration() const;
    // Valid, but with a bit rate outside 3 to 480 kbit/s.
    bool Corrupted() const;

private:
    void ReadHeader(const unsigned char* header, std::uint8_t streamVersion);

    bool valid_;
    std::uint8_t channelModeID_;
    std::uint64_t fileLength_;
    std::uint32_t frames_;
    std::uint32_t sampleRate_;
    std::uint16_t storedBitRate_;
    std::uint8_t streamVersion_;
    TID3v1 id3v1_;
    TID3v2 id3v2_;
    TAPEtag apeTag_;
};

}  // namespace rv
