#include "player/play_list.h"

#include <algorithm>

#include "import/audio_format.h"
#include "import/track_builders.h"
#include "platform/framework/list_view.h"
#include "platform/text/format.h"
#include "platform/text/round.h"

namespace rv {

namespace {

template <typename Reader, typename Build>
std::optional<TAudioTrack> Read(const std::string& fileName, Reader& reader, Build build) {
    std::optional<TTrack> track = build(fileName, reader, TrackUse::PlayList);
    if (!track) return std::nullopt;
    TAudioTrack audio;
    static_cast<TTrack&>(audio) = std::move(*track);
    audio.FileName = fileName;
    audio.FileSize = reader.FileLength();
    return audio;
}

}  // namespace

std::optional<TAudioTrack> ReadAudioTrack(const std::string& fileName, TPlayerReaders& readers) {
    switch (AudioFormatOf(fileName)) {
        case AudioFormat::MPEGaudio:
            return Read(fileName, readers.MPEGaudio, BuildMPEGaudioTrack);
        case AudioFormat::WMA:
            return Read(fileName, readers.WMA, BuildWMATrack);
        default:
            return std::nullopt;
    }
}

std::string MinutesSecondsText(double seconds) {
    const std::int64_t whole = std::max<std::int64_t>(Round(seconds), 0);
    return Format("%2.2lld:%2.2lld", static_cast<long long>(whole / 60),
                  static_cast<long long>(whole % 60));
}

std::string PlayListTotalsText(int files, std::uint64_t bytes, double seconds) {
    const std::int64_t whole = std::max<std::int64_t>(Round(seconds), 0);
    return Format("%d files (%llu MB): %lldh %2.2lldm %2.2llds", files,
                  static_cast<unsigned long long>(bytes / 1024 / 1024),
                  static_cast<long long>(whole / 3600), static_cast<long long>(whole % 3600 / 60),
                  static_cast<long long>(whole % 60));
}

bool TPlayList::AddFile(const std::string& fileName) {
    const std::optional<TAudioTrack> track = ReadAudioTrack(fileName, readers_);
    if (!track || !(track->Duration > 0)) return false;
    AddRow(*track);
    return true;
}

void TPlayList::AddRow(const TAudioTrack& track) {
    TListItem* row = view_.AddItem();
    row->SetCaption(std::to_string(track.ID));
    row->SetSubItems({track.Artist, track.Album, track.Title, MinutesSecondsText(track.Duration),
                      std::to_string(track.Bitrate), track.FileName, track.Format,
                      track.ChannelMode});
    sizes_.push_back({track.Duration, track.FileSize});
}

void TPlayList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    view_.DeleteItem(index);
    sizes_.erase(sizes_.begin() + index);
}

void TPlayList::Clear() {
    view_.ClearItems();
    sizes_.clear();
}

std::string TPlayList::TotalsText() const {
    double seconds = 0;
    std::uint64_t bytes = 0;
    for (const Sizes& t : sizes_) {
        seconds += t.Duration;
        bytes += t.FileSize;
    }
    return PlayListTotalsText(Count(), bytes, seconds);
}

}  // namespace rv
