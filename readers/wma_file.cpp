#include "readers/wma_file.h"

#include "readers/asf_header.h"
#include "readers/channel_mode.h"
#include "readers/read_from_path.h"
#include "readers/tag_text.h"

namespace rv {

namespace {

// No audio encoder writes more than the rate of uncompressed 32-bit samples of the largest
// stream taken: two channels at 96 kHz.
constexpr std::uint32_t kMaxByteRate = 2 * 96000 * 4;
constexpr std::uint32_t kMaxBitRate = kMaxByteRate * 8;

// Bounds of a plausible audio stream.
bool Plausible(const ASFHeaderData& data) {
    return data.MaxBitRate >= 1 && data.MaxBitRate <= kMaxBitRate && data.Channels >= 1 &&
           data.Channels <= 2 && data.SampleRate >= 8000 && data.SampleRate <= 96000 &&
           data.ByteRate >= 1 && data.ByteRate <= kMaxByteRate;
}

// Seconds of audio: the play duration less the preroll, the time the player waits before the
// first sample. A broadcast file has no play duration; then the whole file at the maximum bit
// rate is the estimate.
double DurationOf(const ASFHeaderData& data) {
    constexpr std::uint64_t kUnitsPerMillisecond = 10000;
    if (!data.Broadcast && data.Preroll < data.PlayDuration / kUnitsPerMillisecond)
        return static_cast<double>(data.PlayDuration - data.Preroll * kUnitsPerMillisecond) / 1e7;
    return static_cast<double>(data.FileSize) * 8 / data.MaxBitRate;
}

std::uint32_t TrackOf(const ASFHeaderData& data) {
    if (data.TrackNumber) return ParseTrackNumber(*data.TrackNumber, UINT32_MAX);
    // WM/Track counts from zero.
    const std::string& zeroBased = data.Texts[ASFHeaderData::kTrack];
    const std::uint32_t track = ParseTrackNumber(zeroBased, UINT32_MAX - 1);
    return track > 0 || zeroBased == "0" ? track + 1 : 0;
}

}  // namespace

void TWMAfile::Reset() {
    valid_ = false;
    fileLength_ = 0;
    channelModeID_ = 0;
    sampleRate_ = 0;
    duration_ = 0;
    bitRate_ = 0;
    title_.clear();
    artist_.clear();
    album_.clear();
    year_.clear();
    genre_.clear();
    comment_.clear();
    track_ = 0;
}

bool TWMAfile::ReadFromFile(const std::string& fileName) {
    return ReadFromPath(*this, fileName);
}

bool TWMAfile::ReadFromFile(CachedFile& file) {
    Reset();
    ASFHeaderData data;
    const ASFReadResult result = ReadASFHeader(file, data);
    if (result == ASFReadResult::Failed) return false;
    if (result == ASFReadResult::NotASF || !Plausible(data)) return true;

    valid_ = true;
    fileLength_ = data.FileSize;
    channelModeID_ = static_cast<std::uint8_t>(data.Channels);
    sampleRate_ = data.SampleRate;
    duration_ = DurationOf(data);
    bitRate_ = data.ByteRate * 8 / 1000;
    title_ = data.Texts[ASFHeaderData::kTitle];
    artist_ = data.Texts[ASFHeaderData::kAuthor];
    album_ = data.Texts[ASFHeaderData::kAlbum];
    year_ = data.Texts[ASFHeaderData::kYear];
    genre_ = data.Texts[ASFHeaderData::kGenre];
    comment_ = data.Texts[ASFHeaderData::kDescription];
    track_ = TrackOf(data);
    return true;
}

std::string TWMAfile::ChannelMode() const {
    return ChannelCountMode(channelModeID_);
}

}  // namespace rv
