#pragma once

#include <cstdint>
#include <string>

#include "readers/ape_tag.h"
#include "readers/cached_file.h"
#include "readers/id3v1.h"
#include "readers/id3v2.h"

namespace rv {

// The 23-byte header of an OptimFROG file (.ofr), after an optional ID3v2 tag, and the tags.
struct TOfrHeader {
    char ID[4] = {};  // "OFR "
    std::uint32_t Size = 0;
    std::uint64_t Length = 0;  // samples of all channels together, 48 bits
    std::uint8_t SampleType = 0;
    std::uint8_t ChannelMode = 0;  // 0 mono, 1 stereo
    std::uint32_t SampleRate = 0;
    std::uint16_t EncoderID = 0;
    std::uint8_t CompressionID = 0;
};

class TOptimFrog {
public:
    TOptimFrog() { Reset(); }

    void Reset();
    // True when the header begins with "OFR "; false also when the file cannot be opened.
    bool ReadFromFile(const std::string& fileName);
    bool ReadFromFile(CachedFile& file);

    std::uint64_t FileLength() const { return fileLength_; }
    const TOfrHeader& Header() const { return header_; }
    const TID3v1& ID3v1() const { return id3v1_; }
    const TID3v2& ID3v2() const { return id3v2_; }
    const TAPEtag& APEtag() const { return apeTag_; }

    // The header's id matched and its sample rate, sample type, channel mode and compression
    // are ones the format knows.
    bool Valid() const;
    // Bits per sample; negative for floating-point samples; 0 for an unknown sample type.
    int Bits() const;
    // "Mono" or "Stereo"; empty for an unknown mode.
    std::string ChannelMode() const;
    // Samples per channel.
    std::uint64_t Samples() const;
    // Seconds.
    double Duration() const;

private:
    std::uint64_t fileLength_;
    TOfrHeader header_;
    TID3v1 id3v1_;
    TID3v2 id3v2_;
    TAPEtag apeTag_;
};

}  // namespace rv
