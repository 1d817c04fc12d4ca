#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Tags and MPEG frames built byte by byte from the formats' definitions, for the variants no
// encoder makes and for hostile input.
namespace rv::test {

inline std::string Fixed(std::string_view text, std::size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, '\0');
    return out;
}

inline std::string BE32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}
inline std::string LE16(std::uint16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}
inline std::string LE32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}
inline std::string LE64(std::uint64_t value) {
    return LE32(static_cast<std::uint32_t>(value)) + LE32(static_cast<std::uint32_t>(value >> 32));
}
inline std::string Synchsafe(std::uint32_t v) {
    return {static_cast<char>((v >> 21) & 0x7F), static_cast<char>((v >> 14) & 0x7F),
            static_cast<char>((v >> 7) & 0x7F), static_cast<char>(v & 0x7F)};
}

// A 128-byte ID3v1 block; a track of 0 or more makes it version 1.1.
struct ID3v1Fields {
    std::string title{}, artist{}, album{}, year{}, comment{};
    int track = -1;
    unsigned char genre = 255;
};
inline std::string ID3v1Block(const ID3v1Fields& f) {
    std::string block =
        "TAG" + Fixed(f.title, 30) + Fixed(f.artist, 30) + Fixed(f.album, 30) + Fixed(f.year, 4);
    if (f.track >= 0)
        block += Fixed(f.comment, 28) + '\0' + static_cast<char>(f.track);
    else
        block += Fixed(f.comment, 30);
    return block + static_cast<char>(f.genre);
}

// One ID3v2 frame of the given major version (2: 3-character id and 3-byte size; 3: plain
// 32-bit size; 4: synchsafe size) and its body as stored (encoding byte first for text).
inline std::string ID3v2Frame(int version, std::string_view id, std::string_view body,
                              std::uint16_t flags = 0) {
    const auto size = static_cast<std::uint32_t>(body.size());
    if (version == 2) return std::string(id) + BE32(size).substr(1) + std::string(body);
    return std::string(id) + (version == 4 ? Synchsafe(size) : BE32(size)) +
           static_cast<char>(flags >> 8) + static_cast<char>(flags) + std::string(body);
}
// The 10-byte header with a synchsafe size over `frames` plus `padding` zero bytes.
inline std::string ID3v2Tag(int version, std::string_view frames, std::size_t padding = 0,
                            unsigned char flags = 0) {
    const auto size = static_cast<std::uint32_t>(frames.size() + padding);
    return std::string("ID3") + static_cast<char>(version) + '\0' + static_cast<char>(flags) +
           Synchsafe(size) + std::string(frames) + std::string(padding, '\0');
}

// An APE tag (footer, optionally a header in front) with its items in order.
inline std::string APETag(std::uint32_t version,
                          const std::vector<std::pair<std::string, std::string>>& items,
                          bool withHeader = false) {
    std::string body;
    for (const auto& [key, value] : items)
        body += LE32(static_cast<std::uint32_t>(value.size())) + LE32(0) + key + '\0' + value;
    const auto size = static_cast<std::uint32_t>(body.size() + 32);
    const auto count = static_cast<std::uint32_t>(items.size());
    auto block = [&](std::uint32_t flags) {
        return "APETAGEX" + LE32(version) + LE32(size) + LE32(count) + LE32(flags) +
               std::string(8, '\0');
    };
    return (withHeader ? block(0xA0000000) : std::string()) + body + block(0x80000000);
}

// `count` identical MPEG frames of `length` bytes each with header FF b1 b2 b3.
inline std::string MPEGFrames(unsigned char b1, unsigned char b2, unsigned char b3,
                              std::size_t length, int count) {
    std::string frame(length, '\0');
    frame[0] = static_cast<char>(0xFF);
    frame[1] = static_cast<char>(b1);
    frame[2] = static_cast<char>(b2);
    frame[3] = static_cast<char>(b3);
    std::string out;
    for (int i = 0; i < count; ++i) out += frame;
    return out;
}

}  // namespace rv::test
