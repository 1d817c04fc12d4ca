#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "readers/tests/tag_bytes.h"

// ASF header objects built byte by byte, for the cases ffmpeg does not write: descriptors of
// every value type, broken object sizes, out-of-range stream values.
namespace rv::test {

// UTF-8 to UTF-16LE, with a terminating zero unit when `terminate`.
std::string Utf16LE(std::string_view utf8, bool terminate = true);

// An object: the GUID given in its text form, the 64-bit size over header and body, the body.
// `size` overrides the size field when given.
std::string ASFObject(std::string_view guid, std::string_view body,
                      std::optional<std::uint64_t> size = std::nullopt);
// The header object around `children`; `count` overrides their number when not -1.
std::string ASFHeader(const std::vector<std::string>& children, long count = -1);

std::string FileProperties(std::uint32_t maxBitRate);
std::string StreamProperties(std::uint16_t channels, std::uint32_t sampleRate,
                             std::uint32_t byteRate);
// Title, author, copyright, description and rating; an empty text is stored with length 0.
std::string ContentDescription(const std::vector<std::string>& texts);

struct Descriptor {
    std::string name;
    std::uint16_t type = 0;  // 0 text (value in UTF-8, stored as UTF-16), others raw bytes
    std::string value;
};
std::string ExtendedContentDescription(const std::vector<Descriptor>& descriptors);

}  // namespace rv::test
