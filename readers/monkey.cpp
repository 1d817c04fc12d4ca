#include "readers/monkey.h"

#include <algorithm>
#include <string_view>

#include "platform/text/format.h"
#include "readers/byte_order.h"
#include "readers/read_from_path.h"

namespace rv {

namespace {

constexpr std::size_t kCommonSize = 6;  // "MAC " and the version
constexpr std::size_t kOldHeaderSize = 30;
constexpr std::size_t kDescriptorRest = 46;  // the descriptor after the common part
constexpr std::uint32_t kDescriptorSize = kCommonSize + kDescriptorRest;
constexpr std::size_t kMaxHeaderSize = 24;
constexpr std::uint16_t kFirstDescriptorVersion = 3980;

constexpr std::uint16_t kFlag8Bit = 0x01;
constexpr std::uint16_t kFlagSeekElements = 0x04;
constexpr std::uint16_t kFlag24Bit = 0x08;
constexpr std::uint16_t kFlagWavNotStored = 0x10;
constexpr std::uint16_t kFlagPeakLevel = 0x20;

constexpr std::uint16_t kExtraHighCompression = 4000;

}  // namespace

std::uint32_t MonkeyOldBlocksPerFrame(std::uint16_t version, std::uint16_t compressionLevel) {
    if (version >= 3950) return 294912;
    if (version >= 3900 || (version >= 3800 && compressionLevel == kExtraHighCompression))
        return 73728;
    return 9216;
}

void TMonkey::Reset() {
    valid_ = false;
    version_ = 0;
    versionStr_.clear();
    channels_ = 0;
    sampleRate_ = 0;
    bits_ = 0;
    peakLevel_ = 0;
    peakLevelRatio_ = 0;
    samples_ = 0;
    duration_ = 0;
    compressionMode_ = 0;
    formatFlags_ = 0;
    hasPeakLevel_ = hasSeekElements_ = wavNotStored_ = false;
    fileLength_ = 0;
    id3v1_.Reset();
    id3v2_.Reset();
    apeTag_.Reset();
}

bool TMonkey::ReadFromFile(const std::string& fileName) {
    return ReadFromPath(*this, fileName);
}

bool TMonkey::ReadFromFile(CachedFile& file) {
    Reset();
    id3v2_.ReadFromFile(file);
    id3v1_.ReadFromFile(file);
    apeTag_.ReadFromFile(file);
    fileLength_ = file.Size();
    const std::uint64_t start = id3v2_.Exists() ? id3v2_.Size() : 0;

    unsigned char common[kCommonSize];
    if (!file.ReadExactAt(start, common, kCommonSize) ||
        std::string_view(reinterpret_cast<const char*>(common), 4) != "MAC ")
        return false;
    version_ = LoadLE16(common + 4);
    versionStr_ = Format("%4.2f", version_ / 1000.0);

    const bool read = version_ < kFirstDescriptorVersion
                          ? ReadOldHeader(file, start + kCommonSize)
                          : ReadDescriptorHeader(file, start + kCommonSize);
    if (!read) return false;
    if (sampleRate_ > 0) duration_ = static_cast<double>(samples_) / sampleRate_;
    valid_ = bits_ > 0 && sampleRate_ > 0 && samples_ > 0 && channels_ > 0;
    return valid_;
}

bool TMonkey::ReadOldHeader(CachedFile& file, std::uint64_t offset) {
    unsigned char h[kOldHeaderSize];
    if (!file.ReadExactAt(offset, h, kOldHeaderSize)) return false;
    const std::uint16_t compressionLevel = LoadLE16(h);
    compressionMode_ = compressionLevel;
    formatFlags_ = LoadLE16(h + 2);
    channels_ = LoadLE16(h + 4);
    sampleRate_ = LoadLE32(h + 6);
    // h + 10: WAV header bytes, h + 14: terminating bytes.
    const std::uint32_t totalFrames = LoadLE32(h + 18);
    const std::uint32_t finalFrameBlocks = LoadLE32(h + 22);

    bits_ = 16;
    if (formatFlags_ & kFlag8Bit) bits_ = 8;
    if (formatFlags_ & kFlag24Bit) bits_ = 24;
    hasSeekElements_ = formatFlags_ & kFlagSeekElements;
    wavNotStored_ = formatFlags_ & kFlagWavNotStored;
    hasPeakLevel_ = formatFlags_ & kFlagPeakLevel;
    if (hasPeakLevel_) {
        peakLevel_ = LoadLE32(h + 26);
        peakLevelRatio_ = peakLevel_ / static_cast<double>(1u << bits_) / 2 * 100;
    }
    if (totalFrames != 0)
        samples_ = static_cast<std::uint64_t>(totalFrames - 1) *
                       MonkeyOldBlocksPerFrame(version_, compressionLevel) +
                   finalFrameBlocks;
    return true;
}

bool TMonkey::ReadDescriptorHeader(CachedFile& file, std::uint64_t offset) {
    unsigned char d[kDescriptorRest];
    if (!file.ReadExactAt(offset, d, kDescriptorRest)) return false;
    const std::uint32_t descriptorBytes = LoadLE32(d + 2);
    const std::uint32_t headerBytes = LoadLE32(d + 6);
    // The header follows the whole descriptor, which may have grown; one that claims to be
    // shorter than its known fields is broken, and the header cannot be found.
    if (descriptorBytes < kDescriptorSize) return false;
    offset += kDescriptorRest + (descriptorBytes - kDescriptorSize);

    unsigned char h[kMaxHeaderSize] = {};
    const std::size_t size = std::min<std::uint32_t>(headerBytes, kMaxHeaderSize);
    if (!file.ReadExactAt(offset, h, size)) return false;
    compressionMode_ = LoadLE16(h);
    formatFlags_ = LoadLE16(h + 2);
    const std::uint32_t blocksPerFrame = LoadLE32(h + 4);
    const std::uint32_t finalFrameBlocks = LoadLE32(h + 8);
    const std::uint32_t totalFrames = LoadLE32(h + 12);
    bits_ = LoadLE16(h + 16);
    channels_ = LoadLE16(h + 18);
    sampleRate_ = LoadLE32(h + 20);
    if (totalFrames != 0)
        samples_ =
            static_cast<std::uint64_t>(blocksPerFrame) * (totalFrames - 1) + finalFrameBlocks;
    return true;
}

}  // namespace rv
