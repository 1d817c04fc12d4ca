#include "cd/toc_convert.h"

#include <algorithm>
#include <cstddef>

namespace rv {
namespace {

constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kDescriptorSize = 8;

TCDTOCEntry EntryAt(const std::uint8_t* descriptor) {
    return {descriptor[5], descriptor[6], descriptor[7], IsAudioTrack(descriptor[1])};
}

}  // namespace

bool IsAudioTrack(std::uint8_t adrControl) {
    return (adrControl & 0x04) == 0;
}

bool ConvertTOC(const TCDRawTOC& raw, TCDTOC& toc) {
    toc = TCDTOC{};
    const std::uint8_t first = raw.Data[2];
    const std::uint8_t last = raw.Data[3];
    if (first < 1 || first > last || last > 99) return false;
    const std::size_t count = last - first + 1;
    // The header's length counts the bytes after the length field itself.
    const std::size_t claimed = 2 + (std::size_t{raw.Data[0]} << 8 | raw.Data[1]);
    const std::size_t available = std::min({raw.Length, claimed, raw.Data.size()});
    if (kHeaderSize + (count + 1) * kDescriptorSize > available) return false;

    toc.Count = static_cast<std::uint8_t>(count);
    for (std::size_t i = 0; i < count; ++i) {
        toc.Tracks[i] = EntryAt(&raw.Data[kHeaderSize + i * kDescriptorSize]);
    }
    toc.LeadOut = EntryAt(&raw.Data[kHeaderSize + count * kDescriptorSize]);
    toc.LeadOut.Audio = false;
    return true;
}

}  // namespace rv
