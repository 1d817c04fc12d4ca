// The file properties object of an ASF header, found by walking the header's objects.

#include "platform/audio/internal/asf_play_length.h"

#include <cstddef>
#include <string_view>

namespace rv::audio_internal {

namespace {

constexpr std::size_t kGuidBytes = 16;
// Sized: the GUIDs hold zero bytes.
constexpr std::string_view kHeaderObject(
    "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", kGuidBytes);
constexpr std::string_view kFilePropertiesObject(
    "\xA1\xDC\xAB\x8C\x47\xA9\xCF\x11\x8E\xE4\x00\xC0\x0C\x20\x53\x65", kGuidBytes);
constexpr std::size_t kObjectHeadBytes = 24;    // GUID and size
constexpr std::size_t kHeaderObjectBytes = 30;  // and the object count and two reserved bytes
// The file properties object, from its start: play duration, send duration, preroll (in ms),
// flags.
constexpr std::size_t kPlayDurationAt = 64;
constexpr std::size_t kPrerollAt = 80;
constexpr std::size_t kFlagsAt = 88;
constexpr std::size_t kFilePropertiesBytes = 104;
constexpr std::uint32_t kBroadcastFlag = 1;
// Header objects are few; a header claiming more is damaged.
constexpr int kMostObjects = 4096;

std::uint64_t LittleEndian(const char* bytes, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

}  // namespace

bool AsfPlayLength(const ReadOnlyFile& file, std::uint64_t& length100ns) {
    char head[kHeaderObjectBytes];
    if (!file.ReadExactAt(0, head, sizeof head) ||
        std::string_view(head, kGuidBytes) != kHeaderObject) {
        return false;
    }
    const std::uint64_t headerEnd = LittleEndian(head + kGuidBytes, 8);
    std::uint64_t at = kHeaderObjectBytes;
    for (int objects = 0; objects < kMostObjects && at < headerEnd; ++objects) {
        char object[kFilePropertiesBytes];
        if (!file.ReadExactAt(at, object, kObjectHeadBytes)) return false;
        const std::uint64_t size = LittleEndian(object + kGuidBytes, 8);
        if (size < kObjectHeadBytes || size > headerEnd - at) return false;
        if (std::string_view(object, kGuidBytes) == kFilePropertiesObject) {
            if (size < kFilePropertiesBytes || !file.ReadExactAt(at, object, sizeof object))
                return false;
            const std::uint64_t play = LittleEndian(object + kPlayDurationAt, 8);
            const std::uint64_t preroll = LittleEndian(object + kPrerollAt, 8);
            const auto flags = std::uint32_t(LittleEndian(object + kFlagsAt, 4));
            if ((flags & kBroadcastFlag) != 0 || preroll >= play / 10000) return false;
            length100ns = play - preroll * 10000;
            return true;
        }
        at += size;
    }
    return false;
}

}  // namespace rv::audio_internal
