#include "net/md5.h"

#include <cstring>

#include "platform/text/hex_digits.h"

namespace rv {

namespace {

// The sine table: floor(|sin(i + 1)| * 2^32), i counting from 0.
constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

// The left rotations of each round's four steps.
constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

constexpr std::uint32_t RotateLeft(std::uint32_t x, int n) {
    return x << n | x >> (32 - n);
}

}  // namespace

void TMD5Context::Transform(const std::uint8_t* block) {
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = std::uint32_t{block[4 * i]} | std::uint32_t{block[4 * i + 1]} << 8 |
               std::uint32_t{block[4 * i + 2]} << 16 | std::uint32_t{block[4 * i + 3]} << 24;
    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (int i = 0; i < 64; ++i) {
        const int round = i / 16;
        std::uint32_t f;
        int k;
        switch (round) {
            case 0:  // F(X,Y,Z) = XY v not(X) Z
                f = (b & c) | (~b & d);
                k = i;
                break;
            case 1:  // G(X,Y,Z) = XZ v Y not(Z)
                f = (b & d) | (c & ~d);
                k = (5 * i + 1) % 16;
                break;
            case 2:  // H(X,Y,Z) = X xor Y xor Z
                f = b ^ c ^ d;
                k = (3 * i + 5) % 16;
                break;
            default:  // I(X,Y,Z) = Y xor (X v not(Z))
                f = c ^ (b | ~d);
                k = (7 * i) % 16;
        }
        const std::uint32_t rotated = b + RotateLeft(a + f + kSine[i] + x[k], kShift[round][i % 4]);
        a = d;
        d = c;
        c = b;
        b = rotated;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

void TMD5Context::Update(std::string_view bytes) {
    std::size_t used = static_cast<std::size_t>(bitCount_ / 8 % 64);
    bitCount_ += static_cast<std::uint64_t>(bytes.size()) * 8;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::size_t left = bytes.size();
    if (used > 0) {
        const std::size_t take = std::min(left, 64 - used);
        std::memcpy(block_ + used, data, take);
        data += take;
        left -= take;
        used += take;
        if (used < 64) return;
        Transform(block_);
    }
    for (; left >= 64; data += 64, left -= 64) Transform(data);
    if (left > 0) std::memcpy(block_, data, left);
}

TMD5Digest TMD5Context::Final() {
    const std::uint64_t bits = bitCount_;
    // A one bit, zeros up to 56 bytes of the last block, then the length in bits, low byte first.
    const std::size_t used = static_cast<std::size_t>(bits / 8 % 64);
    std::string padding(used < 56 ? 56 - used : 120 - used, '\0');
    padding[0] = '\x80';
    for (int i = 0; i < 8; ++i) padding += static_cast<char>(bits >> (8 * i) & 0xFF);
    Update(padding);
    TMD5Digest digest;
    for (int i = 0; i < 16; ++i)
        digest[i] = static_cast<std::uint8_t>(state_[i / 4] >> (8 * (i % 4)));
    *this = TMD5Context();
    return digest;
}

TMD5Digest MD5(std::string_view bytes) {
    TMD5Context context;
    context.Update(bytes);
    return context.Final();
}

std::string DigestToHex(const TMD5Digest& digest) {
    std::string text;
    for (const std::uint8_t byte : digest) AppendHexByte(text, byte);
    return text;
}

}  // namespace rv
