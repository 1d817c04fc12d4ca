#pragma once

#include <cstdint>
#include <string>

#include "readers/cached_file.h"

namespace rv {

// Header and text chunks of a TwinVQ file (.vqf). The file carries its texts in chunks of its
// own, read as windows-1252 and returned as UTF-8; it has no other tags.
class TTwinVQ {
public:
    TTwinVQ() { Reset(); }

    void Reset();
    // False when the file cannot be opened or is shorter than its 40-byte header.
    bool ReadFromFile(const std::string& fileName);
    bool ReadFromFile(CachedFile& file);

    // The file begins with "TWIN".
    bool Valid() const { return valid_; }
    // 1 mono, 2 stereo, 0 unknown.
    std::uint8_t ChannelModeID() const { return channelModeID_; }
    // kbit/s. Kept wider than a byte so that a stored rate above 255 is not mistaken for a
    // small one.
    std::uint16_t BitRate() const { return bitRate_; }
    // Hz. Kept wider than 16 bits so that a stored rate of 66 kHz or more is not mistaken for a
    // small one.
    std::uint32_t SampleRate() const { return sampleRate_; }
    std::uint64_t FileLength() const { return fileLength_; }
    // Seconds; 0 when the bit rate is 0.
    double Duration() const { return duration_; }
    const std::string& Title() const { return title_; }
    const std::string& Comment() const { return comment_; }
    const std::string& Author() const { return author_; }
    const std::string& Copyright() const { return copyright_; }
    const std::string& OriginalFile() const { return originalFile_; }
    const std::string& Album() const { return album_; }

    // "Unknown", "Mono" or "Stereo".
    std::string ChannelMode() const;
    // Valid, but with a channel mode, bit rate, sample rate or duration no encoder writes.
    bool Corrupted() const;

private:
    void ReadHeader(const unsigned char* header, std::uint64_t fileSize);
    void ReadChunks(CachedFile& file);
    void SetChunk(std::string_view id, std::string_view body);

    bool valid_;
    std::uint8_t channelModeID_;
    std::uint16_t bitRate_;
    std::uint32_t sampleRate_;
    std::uint64_t fileLength_;
    double duration_;
    std::string title_, comment_, author_, copyright_, originalFile_, album_;
};

}  // namespace rv
