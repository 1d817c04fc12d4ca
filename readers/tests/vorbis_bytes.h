#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "readers/tests/tag_bytes.h"

// Ogg Vorbis and FLAC structures built byte by byte from the formats' definitions, for the
// variants no encoder makes and for hostile input.
namespace rv::test {

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

// One Ogg page holding `payload` as segments of 255 bytes and a last shorter one; with
// `open` the payload ends on a full segment, so its packet goes on on the next page.
inline std::string OggPage(std::string_view payload, std::uint64_t granule, unsigned char flags = 0,
                           bool open = false) {
    std::string lacing(payload.size() / 255, '\xFF');
    if (!open) lacing += static_cast<char>(payload.size() % 255);
    return "OggS" + std::string(1, '\0') + static_cast<char>(flags) + LE64(granule) + LE32(0x1234) +
           LE32(0) + LE32(0) + static_cast<char>(lacing.size()) + lacing + std::string(payload);
}

// The 30-byte Vorbis identification header.
inline std::string VorbisIdentification(unsigned char channels, std::uint32_t sampleRate,
                                        std::int32_t nominalBitRate) {
    return "\x01vorbis" + LE32(0) + static_cast<char>(channels) + LE32(sampleRate) + LE32(0) +
           LE32(static_cast<std::uint32_t>(nominalBitRate)) + LE32(0) + "\xB8\x01";
}

// An Ogg Vorbis stream: the identification header alone on the first page, the comment header
// (type 3, "vorbis", the body, the framing bit) on the second, a page of `audio` bytes ending
// at `granule`.
inline std::string OggVorbisFile(unsigned char channels, std::uint32_t sampleRate,
                                 std::int32_t nominalBitRate, std::string_view commentBody,
                                 std::uint64_t granule, std::size_t audio = 1000) {
    return OggPage(VorbisIdentification(channels, sampleRate, nominalBitRate), 0, 2) +
           OggPage("\x03vorbis" + std::string(commentBody) + "\x01", 0) +
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
