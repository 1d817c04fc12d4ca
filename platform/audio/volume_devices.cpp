// The devices of the three outputs with a volume: the wave output's gain and the sound cards'
// mixer controls.

#include "platform/audio/volume_devices.h"

#include <string>
#include <vector>

#include "platform/audio/internal/alsa_mixer.h"
#include "platform/audio/wave_volume.h"

namespace rv {

namespace {

using audio_internal::ReadMixerVolume;
using audio_internal::WriteMixerVolume;

// The mixer controls that carry an output, in the order they are looked for; the mixers name the
// MIDI synthesiser's level either way.
std::vector<std::string> ControlsOf(TVolumeOutput output) {
    if (output == voAuxiliary) return {"CD"};
    return {"Synth", "MIDI"};
}

std::string CardDevice(int card) {
    return "hw:" + std::to_string(card);
}

}  // namespace

int FindVolumeDevice(TVolumeOutput output) {
    if (output == voWaveOut) return 0;
    for (int card : audio_internal::SoundCards()) {
        std::uint32_t volume = 0;
        if (GetDeviceVolume(output, card, volume)) return card;
    }
    return -1;
}

bool GetDeviceVolume(TVolumeOutput output, int device, std::uint32_t& volume) {
    if (output == voWaveOut) {
        if (device != 0) return false;
        volume = WaveOutGetVolume();
        return true;
    }
    if (device < 0) return false;
    for (const std::string& control : ControlsOf(output))
        if (ReadMixerVolume(CardDevice(device), control, volume)) return true;
    return false;
}

bool SetDeviceVolume(TVolumeOutput output, int device, std::uint32_t volume) {
    if (output == voWaveOut) {
        if (device != 0) return false;
        WaveOutSetVolume(volume);
        return true;
    }
    if (device < 0) return false;
    for (const std::string& control : ControlsOf(output))
        if (WriteMixerVolume(CardDevice(device), control, volume)) return true;
    return false;
}

}  // namespace rv
