#include "readers/mpeg_audio.h"

#include <string_view>

#include "platform/text/round.h"
#include "readers/byte_order.h"
#include "readers/cached_file.h"
#include "readers/read_from_path.h"
#include "readers/tag_text.h"

namespace rv {

namespace {

// At most two blocks of this size are searched: at the end of the ID3v2 tag and mid-file.
constexpr std::size_t kBlockSize = 3458;
constexpr std::size_t kLastStart = kBlockSize / 2;
constexpr std::size_t kID3v1Size = 128;

constexpr std::string_view kVersionNames[4] = {"MPEG 2.5", "MPEG ?", "MPEG 2", "MPEG 1"};
constexpr std::string_view kLayerNames[4] = {"Layer ?", "Layer III", "Layer II", "Layer I"};
constexpr std::string_view kModeNames[5] = {"Stereo", "Joint Stereo", "Dual Channel", "Mono",
                                            "Unknown"};

// Where a Xing header follows the frame header: after the side information, whose size
// depends on version and channel count.
std::size_t VBRHeaderOffset(const TFrameData& frame) {
    const bool mono = frame.ModeID == kMPEGModeMono;
    if (frame.VersionID == kMPEGVersion1) return mono ? 21 : 36;
    return mono ? 13 : 21;
}

}  // namespace

void TMPEGaudio::Reset() {
    fileLength_ = 0;
    vbr_ = TVBRData();
    frame_ = TFrameData();
    id3v1_.Reset();
    id3v2_.Reset();
    apeTag_.Reset();
}

bool TMPEGaudio::ReadFromFile(const std::string& fileName) {
    return ReadFromPath(*this, fileName);
}

bool TMPEGaudio::ReadFromFile(CachedFile& file) {
    Reset();
    if (!id3v2_.ReadFromFile(file) || !id3v1_.ReadFromFile(file) || !apeTag_.ReadFromFile(file)) {
        Reset();
        return false;
    }
    fileLength_ = file.Size();

    unsigned char block[kBlockSize] = {};
    std::size_t got = file.ReadAt(id3v2_.Size(), block, kBlockSize);
    bool found = FindFrame(block);
    if (!found && got == kBlockSize) {
        for (auto& b : block) b = 0;
        got = file.ReadAt((fileLength_ - id3v2_.Size()) / 2, block, kBlockSize);
        found = FindFrame(block);
    }
    if (!found) Reset();
    return true;
}

bool TMPEGaudio::FindFrame(const unsigned char* block) {
    for (std::size_t i = 0; i <= kLastStart; ++i) {
        if (!IsFrameHeader(block + i)) continue;
        TFrameData candidate;
        DecodeFrameHeader(block + i, candidate);
        const std::uint16_t length = MPEGFrameLength(candidate);
        if (i + length + 4 > kBlockSize || !IsFrameHeader(block + i + length)) continue;
        frame_ = candidate;
        frame_.Found = true;
        frame_.Position = static_cast<std::uint32_t>(i);
        frame_.Size = length;
        FindVBR(block, i + VBRHeaderOffset(frame_));
        if (vbr_.Found) {
            // A frame holding a VBR header carries no audio, and some writers mark it plain
            // stereo whatever the stream's mode: the mode is the first audio frame's.
            TFrameData audio;
            DecodeFrameHeader(block + i + length, audio);
            frame_.ModeID = audio.ModeID;
            frame_.ModeExtensionID = audio.ModeExtensionID;
            // "Info" says the stream is constant-rate: its rate is the audio frames' own. The
            // byte count would add the header frame and what encoders append, and a header
            // frame may be written at a higher rate to hold the header.
            if (vbr_.ID == "Info") frame_.BitRateID = audio.BitRateID;
        }
        return true;
    }
    return false;
}

void TMPEGaudio::FindVBR(const unsigned char* block, std::size_t k) {
    vbr_ = TVBRData();
    if (k + 128 > kBlockSize) return;
    const std::string_view id(reinterpret_cast<const char*>(block + k), 4);
    // "Info" is the constant-rate twin of "Xing", with the same fields.
    if (id == "Xing" || id == "Info") {
        vbr_.Found = true;
        vbr_.ID = std::string(id);
        vbr_.Frames = LoadBE32(block + k + 8);
        vbr_.Bytes = LoadBE32(block + k + 12);
        vbr_.Scale = block[k + 119];
        vbr_.VendorID =
            DecodeTagText(std::string_view(reinterpret_cast<const char*>(block + k + 120), 8),
                          TagEncoding::Latin);
    } else if (id == "VBRI") {
        vbr_.Found = true;
        vbr_.ID = "VBRI";
        vbr_.Scale = block[k + 9];
        vbr_.Bytes = LoadBE32(block + k + 10);
        vbr_.Frames = LoadBE32(block + k + 14);
    }
}

std::string TMPEGaudio::Version() const {
    return std::string(kVersionNames[frame_.VersionID & 3]);
}

std::string TMPEGaudio::Layer() const {
    return std::string(kLayerNames[frame_.LayerID & 3]);
}

std::uint16_t TMPEGaudio::BitRate() const {
    if (vbr_.Found && vbr_.Frames > 0 && vbr_.ID != "Info") {
        const unsigned coefficient = MPEGCoefficient(frame_);
        if (coefficient == 0) return 0;
        const double perFrame = static_cast<double>(vbr_.Bytes) / vbr_.Frames;
        const std::int64_t kbps =
            Round((perFrame - MPEGPadding(frame_)) * SampleRate() / coefficient / 1000);
        // A forged header must not wrap round into a plausible rate.
        return static_cast<std::uint16_t>(kbps < 0 ? 0 : kbps > 0xFFFF ? 0xFFFF : kbps);
    }
    return MPEGBitRate(frame_);
}

std::uint16_t TMPEGaudio::SampleRate() const {
    return MPEGSampleRate(frame_);
}

std::string TMPEGaudio::ChannelMode() const {
    return std::string(kModeNames[frame_.ModeID <= 4 ? frame_.ModeID : 4]);
}

double TMPEGaudio::Duration() const {
    if (!frame_.Found) return 0;
    std::uint64_t skipped = id3v2_.Size() + frame_.Position;
    if (id3v1_.Exists()) skipped += kID3v1Size;
    const std::uint64_t stream = skipped < fileLength_ ? fileLength_ - skipped : 0;
    if (vbr_.Found && vbr_.Frames > 0) {
        const unsigned sampleRate = SampleRate();
        if (sampleRate == 0) return 0;
        const double counted =
            static_cast<double>(MPEGCoefficient(frame_)) * vbr_.Frames * 8 / sampleRate;
        if (!Truncated()) return counted;
        // The file ends long before the frames it counts: its bytes tell how much it holds.
        if (vbr_.Bytes > 0) return counted * static_cast<double>(stream) / vbr_.Bytes;
    }
    const unsigned bitRate = MPEGBitRate(frame_);
    if (bitRate == 0) return 0;
    return static_cast<double>(stream) / bitRate / 1000 * 8;
}

bool TMPEGaudio::Truncated() const {
    // The stream the header counts: its byte count, or without one the least the frames can
    // take, each at the lowest bit rate.
    std::uint64_t counted = vbr_.Bytes;
    if (counted == 0) {
        TFrameData smallest = frame_;
        smallest.BitRateID = 1;
        smallest.PaddingBit = 0;
        counted = std::uint64_t{vbr_.Frames} * MPEGFrameLength(smallest);
    }
    // The whole file is measured, as some writers count the ID3v2 tag in with the stream; a
    // tenth short is more than tags and trailing bytes explain.
    const std::uint64_t held = fileLength_ - (id3v1_.Exists() ? kID3v1Size : 0);
    return held * 10 < counted * 9;
}

bool TMPEGaudio::Valid() const {
    const std::uint16_t bitRate = BitRate();
    return frame_.Found && bitRate >= 8 && bitRate <= 448 && Duration() >= 0.1;
}

}  // namespace rv
