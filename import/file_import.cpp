#include "import/file_import.h"

#include "import/audio_format.h"
#include "import/track_builders.h"
#include "platform/text/format.h"

namespace rv {

std::optional<TTrack> BuildTrack(const std::string& fileName, FormatReaders& readers) {
    switch (AudioFormatOf(fileName)) {
        case AudioFormat::MPEGaudio:
            return BuildMPEGaudioTrack(fileName, readers.MPEGaudio);
        case AudioFormat::MPEGplus:
            return BuildMPEGplusTrack(fileName, readers.MPEGplus);
        case AudioFormat::OggVorbis:
            return BuildOggVorbisTrack(fileName, readers.OggVorbis);
        case AudioFormat::TwinVQ:
            return BuildTwinVQTrack(fileName, readers.TwinVQ);
        case AudioFormat::WAVPack:
            return BuildWAVPackTrack(fileName, readers.WAVPack);
        case AudioFormat::AAC:
            return BuildAACTrack(fileName, readers.AAC);
        case AudioFormat::WMA:
            return BuildWMATrack(fileName, readers.WMA);
        case AudioFormat::FLAC:
            return BuildFLACTrack(fileName, readers.FLAC);
        case AudioFormat::Monkey:
            return BuildMonkeyTrack(fileName, readers.Monkey);
        case AudioFormat::OptimFROG:
            return BuildOptimFROGTrack(fileName, readers.OptimFrog);
        case AudioFormat::None:
            break;
    }
    return std::nullopt;
}

std::string LibraryCountsText(const TMediaLib& library) {
    return CountsText(library.GetArtistCount(), library.AlbumCount(), library.TrackCount());
}

std::string CountsText(int artists, unsigned albums, unsigned tracks) {
    return Format("Artists: %d   Albums: %u   Tracks: %u", artists, albums, tracks);
}

TFindIndex FileImport::AddFile(const std::string& fileName, TMediaLib& library) {
    TFindIndex index;
    if (std::optional<TTrack> track = BuildTrack(fileName, readers_))
        index = library.AddTrack(std::move(*track));
    DoStatus(LibraryCountsText(library));
    return index;
}

void FileImport::DoStatus(const std::string& text) {
    if (OnStatus) OnStatus(text);
}

}  // namespace rv
