#include "readers/aac_file.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/text/round.h"
#include "readers/bit_field.h"
#include "readers/bounded_reader.h"
#include "readers/read_from_path.h"

namespace rv {

namespace {

constexpr std::uint32_t kSampleRates[16] = {96000, 88200, 64000, 48000, 44100, 32000, 24000, 22050,
                                            16000, 12000, 11025, 8000,  0,     0,     0,     0};

// Enough for an ADIF header with its first program config element: a copyright id and fifteen
// elements in each of the three channel lists take fewer than 60 bytes.
constexpr std::size_t kADIFBytes = 128;
// An ADTS header with its CRC.
constexpr std::size_t kADTSBytes = 9;
constexpr std::uint32_t kSamplesPerFrame = 1024;

constexpr std::string_view kHeaderTypes[3] = {"Unknown", "ADIF", "ADTS"};
constexpr std::string_view kMPEGVersions[3] = {"Unknown", "MPEG-2", "MPEG-4"};
constexpr std::string_view kProfiles[5] = {"Unknown", "AAC Main", "AAC LC", "AAC SSR", "AAC LTP"};
constexpr std::string_view kBitRateTypes[3] = {"Unknown", "CBR", "VBR"};

template <std::size_t N>
std::string Name(const std::string_view (&names)[N], std::uint8_t id) {
    return std::string(names[id < N ? id : 0]);
}

// Channels of the listed elements of a program config element: a channel pair element (is_cpe
// set) carries two channels, a single channel element one. Moves `bit` past the list.
unsigned ElementChannels(const unsigned char* bytes, std::uint64_t& bit, unsigned count) {
    unsigned channels = 0;
    for (unsigned i = 0; i < count; ++i, bit += 5)
        channels += 1 + BitsAt(bytes, kADIFBytes, bit, 1);
    return channels;
}

}  // namespace

void TAACfile::Reset() {
    fileLength_ = 0;
    headerTypeID_ = kHeaderUnknown;
    mpegVersionID_ = kMPEGUnknown;
    profileID_ = kProfileUnknown;
    channels_ = 0;
    sampleRate_ = 0;
    bitRate_ = 0;
    bitRateTypeID_ = kBitRateUnknown;
    id3v1_.Reset();
    id3v2_.Reset();
    apeTag_.Reset();
}

bool TAACfile::ReadFromFile(const std::string& fileName) {
    return ReadFromPath(*this, fileName);
}

bool TAACfile::ReadFromFile(CachedFile& file) {
    Reset();
    if (!id3v2_.ReadFromFile(file) || !id3v1_.ReadFromFile(file) || !apeTag_.ReadFromFile(file))
        return false;
    fileLength_ = file.Size();

    unsigned char id[4] = {};
    file.ReadAt(id3v2_.Size(), id, sizeof id);
    if (std::memcmp(id, "ADIF", 4) == 0) {
        headerTypeID_ = kHeaderADIF;
        ReadADIF(file);
    } else if (id[0] == 0xFF && (id[1] & 0xF0) == 0xF0) {
        headerTypeID_ = kHeaderADTS;
        ReadADTS(file);
    }
    return true;
}

void TAACfile::ReadADIF(CachedFile& file) {
    unsigned char header[kADIFBytes] = {};
    file.ReadAt(id3v2_.Size(), header, kADIFBytes);
    auto bits = [&](std::uint64_t at, unsigned count) {
        return BitsAt(header, kADIFBytes, at, count);
    };

    // After "ADIF": copyright_id_present, the 72-bit copyright id, original_copy and home.
    const std::uint64_t p = bits(32, 1) ? 32 + 75 : 32 + 3;
    bitRateTypeID_ = bits(p, 1) ? kVBR : kCBR;
    bitRate_ = bits(p + 1, 23);
    // The first program config element, behind the element count and, for a constant rate,
    // the buffer fullness; q is its object type.
    const std::uint64_t q = bitRateTypeID_ == kCBR ? p + 52 : p + 32;
    mpegVersionID_ = kMPEG4;
    profileID_ = static_cast<std::uint8_t>(bits(q, 2) + 1);
    sampleRate_ = kSampleRates[bits(q + 2, 4)];
    const unsigned front = bits(q + 6, 4);
    const unsigned side = bits(q + 10, 4);
    const unsigned back = bits(q + 14, 4);
    const unsigned lfe = bits(q + 18, 2);

    // Skip the association and coupling counts and the optional mixdown fields to reach the
    // element lists.
    std::uint64_t at = q + 27;
    if (bits(at++, 1)) at += 4;  // mono mixdown element
    if (bits(at++, 1)) at += 4;  // stereo mixdown element
    if (bits(at++, 1)) at += 3;  // matrix mixdown index and pseudo surround
    unsigned channels = ElementChannels(header, at, front);
    channels += ElementChannels(header, at, side);
    channels += ElementChannels(header, at, back);
    channels_ = static_cast<std::uint8_t>(channels + lfe);
}

void TAACfile::ReadADTS(CachedFile& file) {
    const std::uint64_t start = id3v2_.Size();
    BoundedReader reader(file, start, file.Size());
    std::uint64_t total = 0;
    std::uint64_t frames = 0;
    for (;;) {
        // A step whose sync word is missing still counts as a frame in the average.
        ++frames;
        unsigned char header[kADTSBytes] = {};
        if (!reader.SeekForward(start + total)) break;
        reader.ReadSome(header, kADTSBytes);
        auto bits = [&](std::uint64_t at, unsigned count) {
            return BitsAt(header, kADTSBytes, at, count);
        };
        if (bits(0, 12) != 0xFFF) break;

        mpegVersionID_ = bits(12, 1) ? kMPEG2 : kMPEG4;
        profileID_ = static_cast<std::uint8_t>(bits(16, 2) + 1);
        sampleRate_ = kSampleRates[bits(18, 4)];
        channels_ = static_cast<std::uint8_t>(bits(23, 3));
        // Both versions keep the frame length at bit 30, behind the copyright bits.
        const std::uint32_t length = bits(30, 13);
        total += length;
        // A buffer fullness of all ones marks a variable rate.
        bitRateTypeID_ = bits(43, 11) == 0x7FF ? kVBR : kCBR;
        if (bitRateTypeID_ == kCBR || length == 0 || start + total >= file.Size()) break;
    }
    const double rate = static_cast<double>(total) * 8 / kSamplesPerFrame / frames * sampleRate_;
    bitRate_ = static_cast<std::uint32_t>(std::min<std::int64_t>(Round(rate), UINT32_MAX));
}

std::string TAACfile::HeaderType() const {
    return Name(kHeaderTypes, headerTypeID_);
}

std::string TAACfile::MPEGVersion() const {
    return Name(kMPEGVersions, mpegVersionID_);
}

std::string TAACfile::Profile() const {
    return Name(kProfiles, profileID_);
}

std::string TAACfile::BitRateType() const {
    return Name(kBitRateTypes, bitRateTypeID_);
}

double TAACfile::Duration() const {
    if (bitRate_ == 0) return 0;
    return static_cast<double>(fileLength_ - id3v2_.Size()) * 8 / bitRate_;
}

bool TAACfile::Valid() const {
    return headerTypeID_ != kHeaderUnknown && channels_ > 0 && sampleRate_ >= 1 && bitRate_ > 0;
}

}  // namespace rv
