#pragma once

#include <cstdint>

namespace rv {

// The volume of the wave output: the low half of the word is the left channel's level, the high
// half the right's, 0 (silent) to 0xFFFF (full, the starting value). It is a gain applied as the
// audio is decoded, to every device: audio decoded from now on takes the new level, audio already
// queued for the sound output keeps the old one.
std::uint32_t WaveOutGetVolume();
void WaveOutSetVolume(std::uint32_t volume);

}  // namespace rv
