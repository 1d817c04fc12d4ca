#pragma once

#include <cstdint>
#include <string>

// Stream values in the form a track keeps them.
namespace rv {

// "Mono" for one channel, "Stereo" for two, empty for any other count.
std::string ChannelCountText(unsigned channels);

// A rate in kbit/s in the track's 16-bit field: the whole kbit/s, 0 for NaN and anything below
// 0, 65535 for anything beyond.
std::uint16_t BitRateField(double kbps);

// The rate of the formats whose readers give none, from the file's size and its duration
// rounded to whole seconds: (fileLength div 1024) * 8 * 1.024 / seconds, in the 16-bit field. A
// duration that rounds to 0 s has no rate: 0.
std::uint16_t FileSizeBitRate(std::uint64_t fileLength, double duration);

}  // namespace rv
