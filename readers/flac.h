#pragma once

#include <cstdint>
#include <string>

#include "readers/cached_file.h"
#include "readers/id3v1.h"
#include "readers/id3v2.h"
#include "readers/vorbis_comment.h"

namespace rv {

// Stream properties of a FLAC file (.flac) from its STREAMINFO block, its VORBIS_COMMENT block,
// and the ID3v1 and ID3v2 tags some writers add. An ID3v2 tag may stand before the "fLaC"
// marker.
class TFLACfile {
public:
    TFLACfile() { Reset(); }

    void Reset();
    // True when the file (after a leading ID3v2 tag) begins with "fLaC".
    bool ReadFromFile(const std::string& fileName);
    bool ReadFromFile(CachedFile& file);

    std::uint32_t Channels() const { return channels_; }
    std::uint32_t SampleRate() const { return sampleRate_; }
    std::uint32_t Bits() const { return bits_; }
    std::uint64_t FileLength() const { return fileLength_; }
    // Total samples per channel, all 36 bits.
    std::uint64_t Samples() const { return samples_; }
    const TID3v1& ID3v1() const { return id3v1_; }
    const TID3v2& ID3v2() const { return id3v2_; }
    const TVorbisComment& VorbisComment() const { return vorbisComment_; }

    bool GetValid() const;
    bool Valid() const { return GetValid(); }
    // Seconds; 0 when not valid.
    double GetDuration() const;
    double Duration() const { return GetDuration(); }

private:
    void ReadBlocks(CachedFile& file, std::uint64_t start, bool last);

    std::uint32_t channels_;
    std::uint32_t sampleRate_;
    std::uint32_t bits_;
    std::uint64_t fileLength_;
    std::uint64_t samples_;
    TID3v1 id3v1_;
    TID3v2 id3v2_;
    TVorbisComment vorbisComment_;
};

}  // namespace rv
