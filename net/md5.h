#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace rv {

using TMD5Digest = std::array<std::uint8_t, 16>;

// The MD5 message digest of RFC 1321, fed in pieces of any size.
class TMD5Context {
public:
    void Update(std::string_view bytes);
    // The digest of everything fed; the context starts afresh afterwards.
    TMD5Digest Final();

private:
    void Transform(const std::uint8_t* block);

    std::uint32_t state_[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    std::uint64_t bitCount_ = 0;
    std::uint8_t block_[64] = {};
};

TMD5Digest MD5(std::string_view bytes);

// The digest as 32 lower-case hexadecimal digits.
std::string DigestToHex(const TMD5Digest& digest);

}  // namespace rv
