// The wave output's volume word, shared by every device's decoder.

#include "platform/audio/wave_volume.h"

#include <atomic>

namespace rv {

namespace {
std::atomic<std::uint32_t> g_volume{0xFFFFFFFF};
}

std::uint32_t WaveOutGetVolume() {
    return g_volume.load();
}

void WaveOutSetVolume(std::uint32_t volume) {
    g_volume.store(volume);
}

}  // namespace rv
