#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The playback volume of one simple control of an ALSA mixer, as a volume word (wave_volume.h).
// `device` is an ALSA control device ("hw:0", or any the configuration defines); the control's
// own range is stretched onto 0 ... 0xFFFF. A control of one channel answers its level in both
// halves and takes the mean of the two. Each call opens the mixer anew, so a card that comes or
// goes is seen at once. False when the device or a control of that name with a playback volume
// is not there.
namespace rv::audio_internal {

bool ReadMixerVolume(const std::string& device, const std::string& control, std::uint32_t& volume);
bool WriteMixerVolume(const std::string& device, const std::string& control, std::uint32_t volume);

// The numbers of the machine's sound cards.
std::vector<int> SoundCards();

}  // namespace rv::audio_internal
