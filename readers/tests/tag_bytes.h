#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Tags and MPEG frames built byte by byte from the formats' definitions, for the variants no
// encoder makes and for hostile input.
namespace rv::test {

std::string BE32(std::uint32_t value);
std::string LE16(std::uint16_t value);
std::string LE32(std::uint32_t value);
std::string LE64(std::uint64_t value);
std::string Synchsafe(std::uint32_t value);

// A 128-byte ID3v1 block; a track of 0 or more makes it version 1.1.
struct ID3v1Fields {
    std::string title{}, artist{}, album{}, year{}, comment{};
    int track = -1;
    unsigned char genre = 255;
};
std::string ID3v1Block(const ID3v1Fields& fields);

// One ID3v2 frame of the given major version (2: 3-character id and 3-byte size; 3: plain
// 32-bit size; 4: synchsafe size) and its body as stored (encoding byte first for text).
std::string ID3v2Frame(int version, std::string_view id, std::string_view body,
                       std::uint16_t flags = 0);
// The 10-byte header with a synchsafe size over `frames` plus `padding` zero bytes.
std::string ID3v2Tag(int version, std::string_view frames, std::size_t padding = 0,
                     unsigned char flags = 0);

// An APE tag (footer, optionally a header in front) with its items in order.
std::string APETag(std::uint32_t version,
                   const std::vector<std::pair<std::string, std::string>>& items,
                   bool withHeader = false);

// `count` identical MPEG frames of `length` bytes each with header FF b1 b2 b3.
std::string MPEGFrames(unsigned char b1, unsigned char b2, unsigned char b3, std::size_t length,
                       int count);

}  // namespace rv::test
