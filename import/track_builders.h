#pragma once

#include <optional>
#include <string>

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

// One track record per audio file: each builder reads the file with the reader it is given
// (which keeps nothing of an earlier file, so one reader serves every file of its format) and
// makes the track from the stream and the tags. A file that cannot be read, or that the reader
// finds not valid, gives nothing.
//
// Every track made for the library has MediaType 1 (audio files), a title (the file's name when
// the tags give none) and an artist and album ("<unknown>" when the tags give none); ID, Genre
// and Release may stay 0 or empty.
namespace rv {

// What a track is made for: the library, as above, or the player's play list, which shows the
// record as the stream and the tags leave it (MediaType 0, no "<unknown>"), only the title
// falling back to the file's name.
enum class TrackUse { Library, PlayList };

// ID3v1 first, then ID3v2, then the APE tag; "MPEG 1 Layer III".
std::optional<TTrack> BuildMPEGaudioTrack(const std::string& fileName, TMPEGaudio& reader,
                                          TrackUse use = TrackUse::Library);
// Not when corrupted. ID3v1, ID3v2, APE; "MPEG Plus Stream Version 7".
std::optional<TTrack> BuildMPEGplusTrack(const std::string& fileName, TMPEGplus& reader);
// Its comment fields; "Ogg Vorbis".
std::optional<TTrack> BuildOggVorbisTrack(const std::string& fileName, TOggVorbis& reader);
// Not when corrupted. Title, author and album chunks only; "Twin VQ".
std::optional<TTrack> BuildTwinVQTrack(const std::string& fileName, TTwinVQ& reader);
// ID3v1, ID3v2, APE; "Packed WAVE 0 (16 bit)" with the block version and bits.
std::optional<TTrack> BuildWAVPackTrack(const std::string& fileName, TWAVPackfile& reader);
// ID3v1, ID3v2, APE; "MPEG-4 Version 2 AAC LC" (see AACFormatText); the file-size rate.
std::optional<TTrack> BuildAACTrack(const std::string& fileName, TAACfile& reader);
// Its header texts; "Windows Media Audio".
std::optional<TTrack> BuildWMATrack(const std::string& fileName, TWMAfile& reader,
                                    TrackUse use = TrackUse::Library);
// The Vorbis comment, then ID3v1, then ID3v2; "FLAC (16 bit)"; the file-size rate.
std::optional<TTrack> BuildFLACTrack(const std::string& fileName, TFLACfile& reader);
// ID3v1, ID3v2, APE; "Monkey Audio (16 bit)"; the file-size rate.
std::optional<TTrack> BuildMonkeyTrack(const std::string& fileName, TMonkey& reader);
// ID3v1, ID3v2, APE; "OptimFROG (32 bit)", also for floating-point samples; the file-size rate.
std::optional<TTrack> BuildOptimFROGTrack(const std::string& fileName, TOptimFrog& reader);

// "%s Version %s" with the MPEG version name and the profile text: the reader's version number
// (1 for MPEG-2, 2 for MPEG-4), a blank and the profile name; the profile name alone when the
// number is 0.
std::string AACFormatText(const TAACfile& reader);

}  // namespace rv
