#pragma once

#include <cstdint>
#include <string>

#include "readers/ape_tag.h"
#include "readers/cached_file.h"
#include "readers/id3v1.h"
#include "readers/id3v2.h"
#include "readers/mpeg_frame.h"

namespace rv {

// The Xing or VBRI header of a variable-bit-rate stream, or the Info header of a constant-rate
// one, found in its first frame.
struct TVBRData {
    bool Found = false;
    std::string ID;  // "Xing", "Info" or "VBRI"
    std::uint32_t Frames = 0;
    std::uint32_t Bytes = 0;
    std::uint8_t Scale = 0;
    std::string VendorID;
};

// Stream properties and tags of an MPEG audio file (.mp1, .mp2, .mp3). The properties are
// worked out on each call from the first frame header, the VBR header, the file's length and
// the tags.
class TMPEGaudio {
public:
    TMPEGaudio() { Reset(); }

    void Reset();
    // False when the file cannot be read; true otherwise, even without a frame (then Valid() is
    // false and the tags are cleared).
    bool ReadFromFile(const std::string& fileName);
    bool ReadFromFile(CachedFile& file);

    std::uint64_t FileLength() const { return fileLength_; }
    const TVBRData& VBR() const { return vbr_; }
    // The first frame header found; when that frame holds a VBR header, the channel mode (and
    // for an "Info" header the bit rate) is taken from the frame after it.
    const TFrameData& Frame() const { return frame_; }
    const TID3v1& ID3v1() const { return id3v1_; }
    const TID3v2& ID3v2() const { return id3v2_; }
    const TAPEtag& APEtag() const { return apeTag_; }

    // "MPEG 1", "MPEG 2", "MPEG 2.5" or "MPEG ?".
    std::string Version() const;
    // "Layer I", "Layer II", "Layer III" or "Layer ?".
    std::string Layer() const;
    // kbit/s: the average of a Xing or VBRI header, else the audio frames'.
    std::uint16_t BitRate() const;
    std::uint16_t SampleRate() const;
    // "Stereo", "Joint Stereo", "Dual Channel", "Mono" or "Unknown".
    std::string ChannelMode() const;
    // Seconds: from a Xing, Info or VBRI header's frame count, unless the file is clearly
    // shorter than the stream that header counts (a cut copy); else from the stream's size.
    double Duration() const;
    // A frame was found, the bit rate is 8 to 448 kbit/s and the duration at least 0.1 s.
    bool Valid() const;

private:
    bool FindFrame(const unsigned char* block);
    void FindVBR(const unsigned char* block, std::size_t offset);
    // Whether the file holds clearly less than the stream its VBR header counts.
    bool Truncated() const;

    std::uint64_t fileLength_;
    TVBRData vbr_;
    TFrameData frame_;
    TID3v1 id3v1_;
    TID3v2 id3v2_;
    TAPEtag apeTag_;
};

}  // namespace rv
