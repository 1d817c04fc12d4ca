// The choice of sound output: REELVAULT_AUDIO=auto (or unset), pulse, alsa or null.

#include <cstdlib>
#include <string>

#include "platform/audio/internal/audio_sink.h"

namespace rv::audio_internal {

std::unique_ptr<AudioSink> OpenSink(const SinkFormat& format, MCIERROR& error) {
    const char* setting = std::getenv("REELVAULT_AUDIO");
    const std::string choice = setting ? setting : "";
    if (choice == "pulse") return OpenPulseSink(format, error);
    if (choice == "alsa") return OpenAlsaSink(format, error);
    if (choice == "null") {
        error = 0;
        return OpenNullSink(format);
    }
    if (!choice.empty() && choice != "auto") {
        error = MCIERR_INVALID_DEVICE_NAME;
        return nullptr;
    }
    if (auto sink = OpenPulseSink(format, error)) return sink;
    // A busy ALSA device says more than an absent PulseAudio.
    return OpenAlsaSink(format, error);
}

}  // namespace rv::audio_internal
