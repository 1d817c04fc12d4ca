#pragma once

#include <functional>
#include <optional>
#include <string>

#include "medialib/media_lib.h"
#include "medialib/records.h"
#include "readers/aac_file.h"
#include "readers/flac.h"
#include "readers/monkey.h"
#include "readers/mpeg_audio.h"
#include "readers/musepack.h"
#include "readers/ogg_vorbis.h"
#include "readers/optimfrog.h"
#include "readers/twinvq.h"
#include "readers/wavpack_file.h"
#include "readers/wma_file.h"

namespace rv {

// One reader per audio format, made once and reused for every file of that format.
struct FormatReaders {
    TMPEGaudio MPEGaudio;
    TMPEGplus MPEGplus;
    TOggVorbis OggVorbis;
    TTwinVQ TwinVQ;
    TWAVPackfile WAVPack;
    TAACfile AAC;
    TWMAfile WMA;
    TMonkey Monkey;
    TOptimFrog OptimFrog;
    TFLACfile FLAC;
};

// The track of an audio file, made by the builder its extension picks (track_builders.h) with
// that format's reader; nothing for any other extension and for a file the builder skips.
std::optional<TTrack> BuildTrack(const std::string& fileName, FormatReaders& readers);

// "Artists: %d   Albums: %d   Tracks: %d" with the library's counts, or with the counts given.
std::string LibraryCountsText(const TMediaLib& library);
std::string CountsText(int artists, unsigned albums, unsigned tracks);

// Brings audio files into a library one at a time, reporting the library's counts after each.
// Every file that enters the catalogue comes through here: the folder scan, the "Add Track from
// File..." command and the player window's "add to library".
class FileImport {
public:
    FileImport() = default;
    virtual ~FileImport() = default;
    FileImport(const FileImport&) = delete;
    FileImport& operator=(const FileImport&) = delete;

    // Files the track of `fileName` in `library` (TMediaLib::AddTrack) and returns its address;
    // (-1, -1, -1) when the file gave none (another extension, unreadable or not valid: skipped
    // without a word). OnStatus gets the library's counts either way.
    TFindIndex AddFile(const std::string& fileName, TMediaLib& library);

    // The text for the status bar, after every AddFile.
    std::function<void(const std::string& text)> OnStatus;

protected:
    virtual void DoStatus(const std::string& text);

private:
    FormatReaders readers_;
};

}  // namespace rv
