#pragma once

#include <cstdint>

// Fixed-width integers read from raw bytes with an explicit byte order. The caller checks that
// the bytes are there; these never look past the width they read.
namespace rv {

inline std::uint16_t LoadLE16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t LoadLE32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint64_t LoadLE64(const unsigned char* p) {
    return static_cast<std::uint64_t>(LoadLE32(p)) |
           (static_cast<std::uint64_t>(LoadLE32(p + 4)) << 32);
}

inline std::uint16_t LoadBE16(const unsigned char* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
inline std::uint32_t LoadBE24(const unsigned char* p) {
    return (static_cast<std::uint32_t>(p[0]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) |
           static_cast<std::uint32_t>(p[2]);
}
inline std::uint32_t LoadBE32(const unsigned char* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | LoadBE24(p + 1);
}
inline std::uint64_t LoadBE64(const unsigned char* p) {
    return (static_cast<std::uint64_t>(LoadBE32(p)) << 32) | LoadBE32(p + 4);
}

// Four bytes of seven bits each, most significant first (ID3v2 sizes).
inline std::uint32_t LoadSynchsafe32(const unsigned char* p) {
    return (static_cast<std::uint32_t>(p[0] & 0x7F) << 21) |
           (static_cast<std::uint32_t>(p[1] & 0x7F) << 14) |
           (static_cast<std::uint32_t>(p[2] & 0x7F) << 7) | static_cast<std::uint32_t>(p[3] & 0x7F);
}

}  // namespace rv
