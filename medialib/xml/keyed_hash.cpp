#include "medialib/xml/keyed_hash.h"

#include <bit>
#include <chrono>
#include <cstring>
#include <random>

namespace rv {

namespace {

struct Key {
    std::uint64_t k0, k1;
};

Key DrawKey() {
    std::uint64_t words[2] = {};
    try {
        std::random_device entropy;
        for (std::uint64_t& word : words)
            word = (std::uint64_t{entropy()} << 32) ^ std::uint64_t{entropy()};
    } catch (...) {
        // No entropy source: the clock still keeps the key from being known in advance.
        words[0] = static_cast<std::uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
        words[1] = reinterpret_cast<std::uintptr_t>(&words);
    }
    return {words[0], words[1]};
}

const Key& ProcessKey() {
    static const Key key = DrawKey();
    return key;
}

}  // namespace

std::uint64_t KeyedHash(std::string_view bytes) {
    const Key& key = ProcessKey();
    std::uint64_t v0 = 0x736f6d6570736575u ^ key.k0, v1 = 0x646f72616e646f6du ^ key.k1,
                  v2 = 0x6c7967656e657261u ^ key.k0, v3 = 0x7465646279746573u ^ key.k1;
    const auto round = [&] {
        v0 += v1;
        v1 = std::rotl(v1, 13) ^ v0;
        v0 = std::rotl(v0, 32);
        v2 += v3;
        v3 = std::rotl(v3, 16) ^ v2;
        v0 += v3;
        v3 = std::rotl(v3, 21) ^ v0;
        v2 += v1;
        v1 = std::rotl(v1, 17) ^ v2;
        v2 = std::rotl(v2, 32);
    };
    const char* p = bytes.data();
    size_t left = bytes.size();
    for (; left >= 8; p += 8, left -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        v3 ^= word;
        round();
        v0 ^= word;
    }
    std::uint64_t last = std::uint64_t{bytes.size()} << 56;
    for (size_t i = 0; i < left; ++i)
        last |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    v3 ^= last;
    round();
    v0 ^= last;
    v2 ^= 0xFF;
    round();
    round();
    round();
    return v0 ^ v1 ^ v2 ^ v3;
}

}  // namespace rv
