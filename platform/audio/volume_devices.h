#pragma once

#include <cstdint>

namespace rv {

// The outputs whose volume a player sets, each with its devices: the auxiliary output (CD audio
// played by the drive into the sound card), the wave output and the MIDI output. A volume is a
// word as in wave_volume.h: the left channel's level in the low half, the right's in the high
// half, 0 to 0xFFFF.
//
// The wave output has one device, 0, whose volume is the gain of wave_volume.h. The auxiliary
// and MIDI devices are the sound cards whose mixer has a "CD" control (auxiliary) or a "Synth"
// or "MIDI" control (MIDI) with a playback volume, numbered as the cards; a machine without one
// has no such device, as a machine without the hardware.
enum class TVolumeOutput { voAuxiliary, voWaveOut, voMidiOut };
using enum TVolumeOutput;

// The first device of the output whose volume can be set; -1 when there is none.
int FindVolumeDevice(TVolumeOutput output);

// False (and the volume untouched) when the device is not there, or no longer.
bool GetDeviceVolume(TVolumeOutput output, int device, std::uint32_t& volume);
bool SetDeviceVolume(TVolumeOutput output, int device, std::uint32_t volume);

}  // namespace rv
