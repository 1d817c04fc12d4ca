#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Ogg Vorbis and FLAC structures built byte by byte from the formats' definitions, for the
// variants no encoder makes and for hostile input.
namespace rv::test {

// The body of a Vorbis comment: vendor length and vendor, field count, each field's length and
// text.
std::string VorbisCommentBody(std::string_view vendor, const std::vector<std::string>& fields);

// One Ogg page holding `payload` as segments of 255 bytes and a last shorter one; with
// `open` the payload ends on a full segment, so its packet goes on on the next page.
std::string OggPage(std::string_view payload, std::uint64_t granule, unsigned char flags = 0,
                    bool open = false);

// The 30-byte Vorbis identification header.
std::string VorbisIdentification(unsigned char channels, std::uint32_t sampleRate,
                                 std::int32_t nominalBitRate);

// An Ogg Vorbis stream: the identification header alone on the first page, the comment header
// (type 3, "vorbis", the body, the framing bit) on the second, a page of `audio` bytes ending
// at `granule`.
std::string OggVorbisFile(unsigned char channels, std::uint32_t sampleRate,
                          std::int32_t nominalBitRate, std::string_view commentBody,
                          std::uint64_t granule, std::size_t audio = 1000);

// A FLAC metadata block: header (last flag, type, 24-bit length) and body.
std::string FLACBlock(unsigned char type, std::string_view body, bool last);

// "fLaC" and a STREAMINFO block with the given values.
std::string FLACHead(unsigned channels, std::uint32_t sampleRate, unsigned bits,
                     std::uint64_t samples, bool last);

}  // namespace rv::test
