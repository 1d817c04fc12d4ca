#pragma once

#include <cstdint>
#include <string>

#include "readers/ape_tag.h"
#include "readers/cached_file.h"
#include "readers/id3v1.h"
#include "readers/id3v2.h"

namespace rv {

// Stream properties and tags of a RIFF-wrapped WavPack file (.wv): the "fmt " chunk of a
// RIFF/WAVE file and, at its "data" chunk, a "wvpk" block header, or plain PCM samples. A
// stream that begins with a "wvpk" block and no RIFF header is not read.
class TWAVPackfile {
public:
    TWAVPackfile() { Reset(); }

    void Reset();
    // Valid(): the file could be read and holds a "fmt " chunk.
    bool ReadFromFile(const std::string& fileName);
    bool ReadFromFile(CachedFile& file);

    std::uint64_t FileLength() const { return fileLength_; }
    bool Valid() const { return valid_; }
    std::uint16_t FormatTag() const { return formatTag_; }
    // Version of the "wvpk" header; 0 for plain PCM.
    std::uint16_t Version() const { return version_; }
    std::uint16_t Channels() const { return channels_; }
    std::uint32_t SampleRate() const { return sampleRate_; }
    std::uint16_t Bits() const { return bits_; }
    // kbit/s.
    double BitRate() const { return bitRate_; }
    // Seconds.
    double Duration() const { return duration_; }
    const TID3v1& ID3v1() const { return id3v1_; }
    const TID3v2& ID3v2() const { return id3v2_; }
    const TAPEtag& APEtag() const { return apeTag_; }

private:
    // Reads the "data" chunk of `size` bytes whose body starts at `position`.
    void ReadData(CachedFile& file, std::uint64_t position, std::uint32_t size,
                  std::uint32_t byteRate);

    std::uint64_t fileLength_;
    bool valid_;
    std::uint16_t formatTag_;
    std::uint16_t version_;
    std::uint16_t channels_;
    std::uint32_t sampleRate_;
    std::uint16_t bits_;
    double bitRate_;
    double duration_;
    TID3v1 id3v1_;
    TID3v2 id3v2_;
    TAPEtag apeTag_;
};

}  // namespace rv
