#pragma once

#include <cstdint>
#include <string>

#include "readers/ape_tag.h"
#include "readers/cached_file.h"
#include "readers/id3v1.h"
#include "readers/id3v2.h"

namespace rv {

// Header and tags of a Monkey's Audio file (.ape, .mac), in the layout of format versions
// before 3980 and in the descriptor layout from 3980 on.
class TMonkey {
public:
    TMonkey() { Reset(); }

    void Reset();
    // Returns Valid(): false also when the file cannot be opened.
    bool ReadFromFile(const std::string& fileName);
    bool ReadFromFile(CachedFile& file);

    // A header with bits, sample rate, samples and channels all above 0 was read.
    bool Valid() const { return valid_; }
    // Format version, e.g. 3990.
    std::uint16_t Version() const { return version_; }
    // The version in thousands with two decimals, e.g. "3.99".
    const std::string& VersionStr() const { return versionStr_; }
    std::uint32_t Channels() const { return channels_; }
    std::uint32_t SampleRate() const { return sampleRate_; }
    std::uint32_t Bits() const { return bits_; }
    // Old layout with the peak-level flag only.
    std::uint32_t PeakLevel() const { return peakLevel_; }
    double PeakLevelRatio() const { return peakLevelRatio_; }
    std::uint64_t Samples() const { return samples_; }
    // Seconds.
    double Duration() const { return duration_; }
    // 1000 (fast) to 5000 (extra high) and beyond.
    std::uint32_t CompressionMode() const { return compressionMode_; }
    std::uint16_t FormatFlags() const { return formatFlags_; }
    // Format flags of the old layout.
    bool HasPeakLevel() const { return hasPeakLevel_; }
    bool HasSeekElements() const { return hasSeekElements_; }
    bool WavNotStored() const { return wavNotStored_; }
    std::uint64_t FileLength() const { return fileLength_; }
    const TID3v1& ID3v1() const { return id3v1_; }
    const TID3v2& ID3v2() const { return id3v2_; }
    const TAPEtag& APEtag() const { return apeTag_; }

private:
    bool ReadOldHeader(CachedFile& file, std::uint64_t offset);
    bool ReadDescriptorHeader(CachedFile& file, std::uint64_t offset);

    bool valid_;
    std::uint16_t version_;
    std::string versionStr_;
    std::uint32_t channels_;
    std::uint32_t sampleRate_;
    std::uint32_t bits_;
    std::uint32_t peakLevel_;
    double peakLevelRatio_;
    std::uint64_t samples_;
    double duration_;
    std::uint32_t compressionMode_;
    std::uint16_t formatFlags_;
    bool hasPeakLevel_, hasSeekElements_, wavNotStored_;
    std::uint64_t fileLength_;
    TID3v1 id3v1_;
    TID3v2 id3v2_;
    TAPEtag apeTag_;
};

// Blocks (samples per channel) in each but the last frame of an old-layout file.
std::uint32_t MonkeyOldBlocksPerFrame(std::uint16_t version, std::uint16_t compressionLevel);

}  // namespace rv
