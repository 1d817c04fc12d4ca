#pragma once

#include <string>

namespace rv {

// The channel mode of a stream that only tells its number of channels.
inline std::string ChannelCountMode(unsigned channels) {
    return channels == 1 ? "Mono" : channels == 2 ? "Stereo" : "Unknown";
}

}  // namespace rv
