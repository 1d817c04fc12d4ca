// The texts of the audio devices' error numbers.

#include <cstdint>
#include <string>

#include "platform/audio/mci.h"

namespace rv {

namespace {

struct ErrorText {
    std::uint32_t error;
    const char* text;
};

constexpr ErrorText kTexts[] = {
    {MCIERR_INVALID_DEVICE_ID, "No audio device is open under this device id."},
    {MCIERR_HARDWARE, "The sound output failed."},
    {MCIERR_INVALID_DEVICE_NAME,
     "REELVAULT_AUDIO names no known sound output; use auto, pulse, alsa or null."},
    {MCIERR_OUT_OF_MEMORY, "There is not enough memory to play the file."},
    {MCIERR_CANNOT_LOAD_DRIVER,
     "The file is not in a format that can be played (MPEG audio layer I, II or III, or Windows "
     "Media Audio)."},
    {MCIERR_UNSUPPORTED_FUNCTION, "The audio device does not support this request."},
    {MCIERR_FILE_NOT_FOUND, "The file could not be found."},
    {MCIERR_INTERNAL, "The audio decoder failed."},
    {MCIERR_OUTOFRANGE, "The position lies beyond the end of the file."},
    {MCIERR_BAD_TIME_FORMAT, "The audio device keeps time in milliseconds only."},
    {MCIERR_INVALID_FILE, "The file is damaged or holds no audio that can be played."},
    {MCIERR_DEVICE_NOT_INSTALLED,
     "There is no sound output to play on: no PulseAudio or ALSA output could be opened."},
    {MCIERR_WAVE_OUTPUTSINUSE, "The sound output is busy: another program is using it."},
    {MCIERR_FILE_READ, "The file could not be read."},
};

}  // namespace

bool MciGetErrorString(MCIERROR error, std::string& text) {
    for (const auto& entry : kTexts) {
        if (entry.error == error) {
            text = entry.text;
            return true;
        }
    }
    text.clear();
    return false;
}

}  // namespace rv
