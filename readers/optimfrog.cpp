#include "readers/optimfrog.h"

#include <string_view>

#include "readers/byte_order.h"
#include "readers/read_from_path.h"

namespace rv {

namespace {

constexpr std::size_t kHeaderSize = 23;
constexpr std::uint8_t kSampleTypes = 11;
constexpr std::uint8_t kChannelModes = 2;
constexpr std::uint8_t kCompressions = 10;
constexpr int kBits[kSampleTypes] = {8, 8, 16, 16, 24, 24, 32, 32, -32, -32, -32};

bool HasID(const TOfrHeader& header) {
    return std::string_view(header.ID, 4) == "OFR ";
}

}  // namespace

void TOptimFrog::Reset() {
    fileLength_ = 0;
    header_ = TOfrHeader();
    id3v1_.Reset();
    id3v2_.Reset();
    apeTag_.Reset();
}

bool TOptimFrog::ReadFromFile(const std::string& fileName) {
    return ReadFromPath(*this, fileName);
}

bool TOptimFrog::ReadFromFile(CachedFile& file) {
    Reset();
    id3v1_.ReadFromFile(file);
    id3v2_.ReadFromFile(file);
    apeTag_.ReadFromFile(file);
    fileLength_ = file.Size();
    // A short file leaves the missing header bytes zero.
    unsigned char h[kHeaderSize] = {};
    file.ReadAt(id3v2_.Size(), h, kHeaderSize);
    for (int i = 0; i < 4; ++i) header_.ID[i] = static_cast<char>(h[i]);
    header_.Size = LoadLE32(h + 4);
    header_.Length = LoadLE32(h + 8) | static_cast<std::uint64_t>(LoadLE16(h + 12)) << 32;
    header_.SampleType = h[14];
    header_.ChannelMode = h[15];
    header_.SampleRate = LoadLE32(h + 16);
    header_.EncoderID = LoadLE16(h + 20);
    header_.CompressionID = h[22];
    return HasID(header_);
}

bool TOptimFrog::Valid() const {
    return HasID(header_) && header_.SampleRate >= 1 && header_.SampleType < kSampleTypes &&
           header_.ChannelMode < kChannelModes && (header_.CompressionID >> 3) < kCompressions;
}

int TOptimFrog::Bits() const {
    return header_.SampleType < kSampleTypes ? kBits[header_.SampleType] : 0;
}

std::string TOptimFrog::ChannelMode() const {
    switch (header_.ChannelMode) {
        case 0:
            return "Mono";
        case 1:
            return "Stereo";
        default:
            return {};
    }
}

std::uint64_t TOptimFrog::Samples() const {
    // The length counts every channel's samples; the mode (0 or 1) halves it for stereo.
    return header_.ChannelMode < 48 ? header_.Length >> header_.ChannelMode : 0;
}

double TOptimFrog::Duration() const {
    if (header_.SampleRate < 1) return 0;
    return static_cast<double>(Samples()) / header_.SampleRate;
}

}  // namespace rv
