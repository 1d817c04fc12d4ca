#include "import/track_builders.h"

#include <cstdlib>
#include <exception>

#include "import/audio_format.h"
#include "import/stream_fields.h"
#include "import/tag_merge.h"
#include "platform/text/format.h"
#include "platform/text/round.h"

namespace rv {

namespace {

constexpr std::uint8_t kAudioFiles = 1;  // MediaType
constexpr const char* kUnknown = "<unknown>";

// A reader that can tell a damaged stream (Musepack, TwinVQ) finds it not valid either.
template <typename Reader>
bool IsValid(const Reader& reader) {
    if constexpr (requires { reader.Corrupted(); })
        return reader.Valid() && !reader.Corrupted();
    else
        return reader.Valid();
}

// The steps every format shares: read the file (a reader that throws skips it like one that
// finds it not valid), take the duration, let `fill` set the other stream fields and the tag
// fields, then the fall-backs of the track's use.
template <typename Reader, typename Fill>
std::optional<TTrack> Build(const std::string& fileName, Reader& reader, Fill fill,
                            TrackUse use = TrackUse::Library) {
    try {
        reader.ReadFromFile(fileName);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (!IsValid(reader)) return std::nullopt;
    TTrack track;
    track.Duration = reader.Duration();
    fill(track);
    if (track.Title.empty()) track.Title = FileTitle(fileName);
    if (use == TrackUse::PlayList) return track;
    track.MediaType = kAudioFiles;
    if (track.Artist.empty()) track.Artist = kUnknown;
    if (track.Album.empty()) track.Album = kUnknown;
    return track;
}

// ID3v1 first, then ID3v2, then the APE tag.
void MergeTags(TTrack& track, const auto& reader) {
    MergeTag(track, reader.ID3v1());
    MergeTag(track, reader.ID3v2());
    MergeTag(track, reader.APEtag());
}

}  // namespace

std::optional<TTrack> BuildMPEGaudioTrack(const std::string& fileName, TMPEGaudio& reader,
                                          TrackUse use) {
    return Build(
        fileName, reader,
        [&](TTrack& track) {
            track.ChannelMode = reader.ChannelMode();
            track.Bitrate = reader.BitRate();
            track.Format = Format("%s %s", reader.Version().c_str(), reader.Layer().c_str());
            MergeTags(track, reader);
        },
        use);
}

std::optional<TTrack> BuildMPEGplusTrack(const std::string& fileName, TMPEGplus& reader) {
    return Build(fileName, reader, [&](TTrack& track) {
        track.ChannelMode = reader.ChannelMode();
        track.Bitrate = reader.BitRate();
        track.Format = Format("MPEG Plus Stream Version %d", reader.StreamVersion());
        MergeTags(track, reader);
    });
}

std::optional<TTrack> BuildOggVorbisTrack(const std::string& fileName, TOggVorbis& reader) {
    return Build(fileName, reader, [&](TTrack& track) {
        track.ChannelMode = reader.ChannelMode();
        track.Bitrate = reader.BitRate();
        track.Format = "Ogg Vorbis";
        MergeTag(track, {reader.Track(), reader.Title(), reader.Artist(), reader.Album(),
                         reader.Genre(), reader.Date()});
    });
}

std::optional<TTrack> BuildTwinVQTrack(const std::string& fileName, TTwinVQ& reader) {
    return Build(fileName, reader, [&](TTrack& track) {
        track.ChannelMode = reader.ChannelMode();
        track.Bitrate = reader.BitRate();
        track.Format = "Twin VQ";
        MergeTag(track,
                 {.Title = reader.Title(), .Artist = reader.Author(), .Album = reader.Album()});
    });
}

std::optional<TTrack> BuildWAVPackTrack(const std::string& fileName, TWAVPackfile& reader) {
    return Build(fileName, reader, [&](TTrack& track) {
        track.ChannelMode = ChannelCountText(reader.Channels());
        track.Bitrate = BitRateField(static_cast<double>(Round(reader.BitRate())));
        track.Format = Format("Packed WAVE %d (%d bit)", reader.Version(), reader.Bits());
        MergeTags(track, reader);
    });
}

std::string AACFormatText(const TAACfile& reader) {
    static constexpr const char* kVersionNumbers[] = {"", "1", "2", "2.5"};
    const std::uint8_t id = reader.MPEGVersionID();
    const std::string profile =
        id == 0 ? reader.Profile()
                : std::string(id < 4 ? kVersionNumbers[id] : "") + " " + reader.Profile();
    return Format("%s Version %s", reader.MPEGVersion().c_str(), profile.c_str());
}

std::optional<TTrack> BuildAACTrack(const std::string& fileName, TAACfile& reader) {
    return Build(fileName, reader, [&](TTrack& track) {
        track.ChannelMode = ChannelCountText(reader.Channels());
        track.Bitrate = FileSizeBitRate(reader.FileLength(), track.Duration);
        track.Format = AACFormatText(reader);
        MergeTags(track, reader);
    });
}

std::optional<TTrack> BuildWMATrack(const std::string& fileName, TWMAfile& reader, TrackUse use) {
    return Build(
        fileName, reader,
        [&](TTrack& track) {
            track.ChannelMode = reader.ChannelMode();
            track.Bitrate = BitRateField(reader.BitRate());
            track.Format = "Windows Media Audio";
            MergeTag(track, {reader.Track(), reader.Title(), reader.Artist(), reader.Album(),
                             reader.Genre(), reader.Year()});
        },
        use);
}

std::optional<TTrack> BuildFLACTrack(const std::string& fileName, TFLACfile& reader) {
    return Build(fileName, reader, [&](TTrack& track) {
        track.ChannelMode = ChannelCountText(reader.Channels());
        track.Bitrate = FileSizeBitRate(reader.FileLength(), track.Duration);
        track.Format = Format("FLAC (%u bit)", reader.Bits());
        // FLAC files take no APE tag.
        MergeTag(track, reader.VorbisComment());
        MergeTag(track, reader.ID3v1());
        MergeTag(track, reader.ID3v2());
    });
}

std::optional<TTrack> BuildMonkeyTrack(const std::string& fileName, TMonkey& reader) {
    return Build(fileName, reader, [&](TTrack& track) {
        track.ChannelMode = ChannelCountText(reader.Channels());
        track.Bitrate = FileSizeBitRate(reader.FileLength(), track.Duration);
        track.Format = Format("Monkey Audio (%u bit)", reader.Bits());
        MergeTags(track, reader);
    });
}

std::optional<TTrack> BuildOptimFROGTrack(const std::string& fileName, TOptimFrog& reader) {
    return Build(fileName, reader, [&](TTrack& track) {
        track.ChannelMode = reader.ChannelMode();
        track.Bitrate = FileSizeBitRate(reader.FileLength(), track.Duration);
        // Floating-point samples have negative bits.
        track.Format = Format("OptimFROG (%d bit)", std::abs(reader.Bits()));
        MergeTags(track, reader);
    });
}

}  // namespace rv
