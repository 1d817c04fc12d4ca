#pragma once

#include <string>
#include <string_view>

// What a file's name tells the import: the audio format its extension picks, and the title a
// track without one gets.
namespace rv {

enum class AudioFormat {
    None,  // an extension no reader takes
    MPEGaudio,
    MPEGplus,
    OggVorbis,
    TwinVQ,
    WAVPack,
    AAC,
    WMA,
    FLAC,
    Monkey,
    OptimFROG,
};

// The extension with its dot: the text from the last "." after the last "/"; empty when the
// name has none.
std::string_view FileExtension(std::string_view fileName);

// The format the extension names, ASCII letter case ignored.
AudioFormat AudioFormatOf(std::string_view fileName);

// The name without folder and extension as clean text (readers/tag_text.h): malformed UTF-8
// replaced, control characters made blanks, no blanks at either end, at most 255 characters. The
// whole name when taking the extension away would leave nothing (a file called ".mp3").
std::string FileTitle(std::string_view fileName);

}  // namespace rv
