#pragma once

#include <string>

// Audio files for playback tests, made by real encoders from one source: a 440 Hz sine at half of
// full scale (so an RMS of 0.5 / sqrt(2) of full scale), 44.1 kHz, stereo, made by sox.
namespace rv::test {

enum class ToneFormat { Mp3, Mp2, Wma };

// The encoders a format needs (sox for the source, then lame or ffmpeg).
const char* ToneEncoder(ToneFormat format);

// Texts the encoder writes into the file's tags (lame: ID3v1 and ID3v2; ffmpeg: the Windows Media
// header); empty ones are left out.
struct ToneTags {
    std::string Title, Artist, Album, Year, Track;
};

// Writes `path` with `seconds` of the tone; false (with the failing tool's output in `why`) when
// an encoder failed.
bool MakeTone(const std::string& path, ToneFormat format, double seconds, std::string& why,
              const ToneTags& tags = {});

// Tags a Windows Media Audio file after encoding, as a tag editor does: a year and a long comment
// written by mutagen (Debian's /usr/bin/python3 with python3-mutagen), which grow the header past
// the file size it states. False (with the reason in `why`) when mutagen is missing or failed.
bool RetagWma(const std::string& path, std::string& why);

// The tone's RMS, as a fraction of full scale.
inline constexpr double kToneRms = 0.35355339;

}  // namespace rv::test
