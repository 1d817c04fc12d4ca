#include "import/stream_fields.h"

#include <limits>

#include "platform/text/round.h"

namespace rv {

std::string ChannelCountText(unsigned channels) {
    return channels == 1 ? "Mono" : channels == 2 ? "Stereo" : "";
}

std::uint16_t BitRateField(double kbps) {
    constexpr auto kLargest = std::numeric_limits<std::uint16_t>::max();
    if (!(kbps > 0)) return 0;
    if (kbps >= kLargest) return kLargest;
    return static_cast<std::uint16_t>(kbps);
}

std::uint16_t FileSizeBitRate(std::uint64_t fileLength, double duration) {
    const std::int64_t seconds = Round(duration);
    if (seconds <= 0) return 0;
    return BitRateField(static_cast<double>(fileLength / 1024) * 8 * 1.024 /
                        static_cast<double>(seconds));
}

}  // namespace rv
