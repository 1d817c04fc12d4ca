#include "readers/musepack.h"

#include "platform/text/round.h"
#include "readers/byte_order.h"
#include "readers/read_from_path.h"

namespace rv {

namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::uint32_t kSamplesPerFrame = 1152;
constexpr std::uint64_t kID3v1Size = 128;
// "MP+" followed by the version byte: 7 for 7.0, 0x17 for 7.1.
constexpr std::uint32_t kMarkerSV7 = 0x072B504D;
constexpr std::uint32_t kMarkerSV71 = 0x172B504D;

constexpr std::uint32_t kSampleRates[4] = {44100, 48000, 37800, 32000};
constexpr const char* kModeNames[3] = {"Unknown", "Stereo", "Joint Stereo"};

// The stream version of a 32-byte header: 4, 5, 6, 7, 71 or 0 when unknown.
std::uint8_t StreamVersionOf(const unsigned char* header) {
    const std::uint32_t marker = LoadLE32(header);
    if (marker == kMarkerSV7) return 7;
    if (marker == kMarkerSV71) return 71;
    // Older streams carry no marker; their version sits in the first word's bits 11 and up,
    // below which the top bits of the band count are always set.
    switch ((header[1] & 0x1F) >> 1) {
        case 3:
            return 4;
        case 7:
            return 5;
        case 11:
            return 6;
        default:
            return 0;
    }
}

}  // namespace

void TMPEGplus::Reset() {
    valid_ = false;
    channelModeID_ = 0;
    fileLength_ = 0;
    frames_ = 0;
    sampleRate_ = 0;
    storedBitRate_ = 0;
    streamVersion_ = 0;
    id3v1_.Reset();
    id3v2_.Reset();
    apeTag_.Reset();
}

bool TMPEGplus::ReadFromFile(const std::string& fileName) {
    return ReadFromPath(*this, fileName);
}

bool TMPEGplus::ReadFromFile(CachedFile& file) {
    Reset();
    const std::uint64_t start = id3v2_.ReadFromFile(file) ? id3v2_.Size() : 0;
    unsigned char header[kHeaderSize];
    if (!file.ReadExactAt(start, header, kHeaderSize)) return false;
    fileLength_ = file.Size();
    if (const std::uint8_t version = StreamVersionOf(header); version != 0) {
        ReadHeader(header, version);
        id3v1_.ReadFromFile(file);
        apeTag_.ReadFromFile(file);
    }
    return true;
}

void TMPEGplus::ReadHeader(const unsigned char* header, std::uint8_t streamVersion) {
    valid_ = true;
    streamVersion_ = streamVersion;
    const bool sv7 = streamVersion_ >= 7;
    sampleRate_ = kSampleRates[header[10] & 3];
    if (sv7)
        channelModeID_ = (header[11] & 0x7F) >= 64 ? 2 : 1;  // the mid-side flag
    else
        channelModeID_ = (header[2] & 0x7F) != 0 ? 2 : 1;
    const std::uint32_t word2 = LoadLE32(header + 4);
    frames_ = streamVersion_ == 4 ? word2 >> 16 : word2;
    if (streamVersion_ == 4 || streamVersion_ == 5)
        storedBitRate_ = static_cast<std::uint16_t>(LoadLE32(header) >> 23);
}

std::string TMPEGplus::ChannelMode() const {
    return kModeNames[channelModeID_ <= 2 ? channelModeID_ : 0];
}

std::uint16_t TMPEGplus::BitRate() const {
    if (storedBitRate_ != 0) return storedBitRate_;
    if (frames_ < 1) return 0;
    std::uint64_t tags = id3v2_.Size() + apeTag_.Size();
    if (id3v1_.Exists()) tags += kID3v1Size;
    // Forged tag sizes may claim more than the file holds: no stream, no rate.
    if (tags >= fileLength_) return 0;
    const double streamBits = static_cast<double>(fileLength_ - tags) * 8;
    const std::int64_t kbps =
        Round(streamBits * (sampleRate_ / 1000.0) / frames_ / kSamplesPerFrame);
    // A huge rate must not wrap round into a plausible one.
    return static_cast<std::uint16_t>(kbps > 0xFFFF ? 0xFFFF : kbps);
}

double TMPEGplus::Duration() const {
    if (sampleRate_ < 1) return 0;
    return static_cast<double>(frames_) * kSamplesPerFrame / sampleRate_;
}

bool TMPEGplus::Corrupted() const {
    if (!valid_) return false;
    const std::uint16_t bitRate = BitRate();
    return bitRate < 3 || bitRate > 480;
}

}  // namespace rv
