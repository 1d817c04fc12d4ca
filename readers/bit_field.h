#pragma once

#include <cstddef>
#include <cstdint>

namespace rv {

// The `count` bits (at most 25) that start `bitPosition` bits into `bytes`, most significant
// first, as bit-packed headers store them. Bits beyond `size` read as zeros, so a field cut by
// the end of the data never reads past it.
inline std::uint32_t BitsAt(const unsigned char* bytes, std::size_t size, std::uint64_t bitPosition,
                            unsigned count) {
    const std::uint64_t first = bitPosition / 8;
    std::uint32_t word = 0;
    for (std::uint64_t i = first; i < first + 4; ++i)
        word = (word << 8) | (i < size ? bytes[i] : 0u);
    word <<= bitPosition % 8;
    return word >> (32 - count);
}

}  // namespace rv
