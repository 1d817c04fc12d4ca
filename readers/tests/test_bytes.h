#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

// Tags, MPEG frames, Ogg pages and FLAC blocks built byte by byte from the formats' definitions,
// for the variants no encoder makes and for hostile input; and reading such bytes as a file.
namespace rv::test {

// Writes `bytes` as a file in a fresh temporary folder and has `reader` read it by name.
template <typename Reader>
bool ReadBytes(Reader& reader, std::string_view bytes) {
    TempDir dir;
    const std::string path = dir / "file";
    WriteFileBytes(path, bytes);
    return reader.ReadFromFile(path);
}

// A fresh reader that has read `bytes`, which must succeed.
template <typename Reader>
Reader Read(std::string_view bytes) {
    Reader reader;
    EXPECT_TRUE(ReadBytes(reader, bytes));
    return reader;
}

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
    block += f.track < 0 ? Fixed(f.comment, 30)
                         : Fixed(f.comment, 28) + '\0' + static_cast<char>(f.track);
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
    std::string frame = {'\xFF', static_cast<char>(b1), static_cast<char>(b2),
                         static_cast<char>(b3)};
    frame.resize(length, '\0');
    std::string out;
    for (int i = 0; i < count; ++i) out += frame;
    return out;
}

// The body of a Vorbis comment: vendor length and vendor, field count, each field's length and
// text.
inline std::string VorbisCommentBody(std::string_view vendor,
                                     const std::vector<std::string>& fields) {
    std::string body = LE32(static_cast<std::uint32_t>(vendor.size())) + std::string(vendor);
    body += LE32(static_cast<std::uint32_t>(fields.size()));
    for (const std::string& field : fields)
        body += LE32(static_cast<std::uint32_t>(field.size())) + field;
    return body;
}

// One Ogg page holding `payload` as segments of 255 bytes and a last shorter one.
inline std::string OggPage(std::string_view payload, std::uint64_t granule, unsigned char flags) {
    std::string lacing(payload.size() / 255, '\xFF');
    lacing += static_cast<char>(payload.size() % 255);
    return "OggS" + std::string(1, '\0') + static_cast<char>(flags) + LE64(granule) + LE32(0x1234) +
           LE32(0) + LE32(0) + static_cast<char>(lacing.size()) + lacing + std::string(payload);
}

// An Ogg Vorbis stream: the 30-byte identification header alone on the first page, the comment
// header (type 3, "vorbis", the body, the framing bit) on the second, a page of `audio` bytes
// ending at `granule`.
inline std::string OggVorbisFile(unsigned char channels, std::uint32_t sampleRate,
                                 std::int32_t nominalBitRate, std::string_view commentBody,
                                 std::uint64_t granule, std::size_t audio = 1000) {
    const std::string identification =
        "\x01vorbis" + LE32(0) + static_cast<char>(channels) + LE32(sampleRate) + LE32(0) +
        LE32(static_cast<std::uint32_t>(nominalBitRate)) + LE32(0) + "\xB8\x01";
    return OggPage(identification, 0, 2) +
           OggPage("\x03vorbis" + std::string(commentBody) + "\x01", 0, 0) +
           OggPage(std::string(audio % 255 == 0 ? audio + 1 : audio, 'a'), granule, 4);
}

// A FLAC metadata block: header (last flag, type, 24-bit length) and body.
inline std::string FLACBlock(unsigned char type, std::string_view body, bool last) {
    const auto length = static_cast<std::uint32_t>(body.size());
    return static_cast<char>(type | (last ? 0x80 : 0)) + BE32(length).substr(1) + std::string(body);
}

// "fLaC" and a STREAMINFO block with the given values.
inline std::string FLACHead(unsigned channels, std::uint32_t sampleRate, unsigned bits,
                            std::uint64_t samples, bool last) {
    std::string info(34, '\0');
    info[10] = static_cast<char>(sampleRate >> 12);
    info[11] = static_cast<char>(sampleRate >> 4);
    info[12] =
        static_cast<char>(((sampleRate & 0x0F) << 4) | ((channels - 1) << 1) | ((bits - 1) >> 4));
    info[13] = static_cast<char>((((bits - 1) & 0x0F) << 4) | ((samples >> 32) & 0x0F));
    for (int i = 0; i < 4; ++i) info[14 + i] = static_cast<char>(samples >> (24 - 8 * i));
    return "fLaC" + FLACBlock(0, info, last);
}

}  // namespace rv::test
