#pragma once

#include <cstdint>

namespace rv {

// The volume of the wave output: the low half of the word is the left channel's level, the high
// half the right's, 0 (silent) to 0xFFFF (full, the starting value). It applies to every device
// from the next piece of audio decoded: through PulseAudio as the volume of the device's stream in
// the server's mixer (so the desktop's sound settings show it), elsewhere as a gain applied while
// decoding, audio already queued for the sound output keeping the old level.
std::uint32_t WaveOutGetVolume();
void WaveOutSetVolume(std::uint32_t volume);

}  // namespace rv
