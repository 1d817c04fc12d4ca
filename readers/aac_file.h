#pragma once

#include <cstdint>
#include <string>

#include "readers/ape_tag.h"
#include "readers/cached_file.h"
#include "readers/id3v1.h"
#include "readers/id3v2.h"

namespace rv {

// Stream properties and tags of a raw AAC file (.aac, .m4a, .mp4) framed by an ADIF header or
// by ADTS frames. The stream starts right after an ID3v2 tag, if there is one.
class TAACfile {
public:
    enum : std::uint8_t { kHeaderUnknown = 0, kHeaderADIF = 1, kHeaderADTS = 2 };
    enum : std::uint8_t { kMPEGUnknown = 0, kMPEG2 = 1, kMPEG4 = 2 };
    enum : std::uint8_t {
        kProfileUnknown = 0,
        kProfileMain = 1,
        kProfileLC = 2,
        kProfileSSR = 3,
        kProfileLTP = 4
    };
    enum : std::uint8_t { kBitRateUnknown = 0, kCBR = 1, kVBR = 2 };

    TAACfile() { Reset(); }

    void Reset();
    // False when the file cannot be opened or one of its tags cannot be read; true otherwise,
    // also when no AAC stream is found (then Valid() is false).
    bool ReadFromFile(const std::string& fileName);
    bool ReadFromFile(CachedFile& file);

    std::uint64_t FileLength() const { return fileLength_; }
    std::uint8_t HeaderTypeID() const { return headerTypeID_; }
    std::uint8_t MPEGVersionID() const { return mpegVersionID_; }
    std::uint8_t ProfileID() const { return profileID_; }
    std::uint8_t Channels() const { return channels_; }
    std::uint32_t SampleRate() const { return sampleRate_; }
    // bit/s.
    std::uint32_t BitRate() const { return bitRate_; }
    std::uint8_t BitRateTypeID() const { return bitRateTypeID_; }
    const TID3v1& ID3v1() const { return id3v1_; }
    const TID3v2& ID3v2() const { return id3v2_; }
    const TAPEtag& APEtag() const { return apeTag_; }

    // "Unknown", "ADIF" or "ADTS".
    std::string HeaderType() const;
    // "Unknown", "MPEG-2" or "MPEG-4".
    std::string MPEGVersion() const;
    // "Unknown", "AAC Main", "AAC LC", "AAC SSR" or "AAC LTP".
    std::string Profile() const;
    // "Unknown", "CBR" or "VBR".
    std::string BitRateType() const;
    // Seconds: the bytes after the ID3v2 tag at the average bit rate.
    double Duration() const;
    bool Valid() const;

private:
    void ReadADIF(CachedFile& file);
    void ReadADTS(CachedFile& file);

    std::uint64_t fileLength_;
    std::uint8_t headerTypeID_;
    std::uint8_t mpegVersionID_;
    std::uint8_t profileID_;
    std::uint8_t channels_;
    std::uint32_t sampleRate_;
    std::uint32_t bitRate_;
    std::uint8_t bitRateTypeID_;
    TID3v1 id3v1_;
    TID3v2 id3v2_;
    TAPEtag apeTag_;
};

}  // namespace rv
