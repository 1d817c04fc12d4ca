#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Tag text arrives in several encodings; it leaves here as clean UTF-8: no control characters,
// no leading or trailing blanks, nothing cut inside a character.
namespace rv {

// The bytes of one text a reader keeps. The catalogue keeps 255 characters of a text, which take
// up to 1020 bytes in UTF-8 or UTF-16; as much again leaves room for blanks in front of the
// text and for the description in front of a comment.
inline constexpr std::size_t kTagTextBytes = 2048;

enum class TagEncoding {
    Latin,    // single bytes without an encoding of their own, read as windows-1252
    Utf16,    // UTF-16 with an optional byte-order mark, little-endian without one
    Utf16BE,  // UTF-16 big-endian (a byte-order mark is still honoured)
    Utf8,
};

// Width of the terminating zero in an encoding: two bytes for UTF-16, one otherwise.
std::size_t TerminatorWidth(TagEncoding encoding);

// Position of the first terminating zero (aligned on code units for UTF-16), or npos.
std::size_t FindTerminator(std::string_view bytes, TagEncoding encoding);

// Decodes the text up to its first terminating zero and cleans it, keeping at most the 255
// characters the catalogue keeps. A character cut by the end of `bytes` is dropped; malformed
// UTF-8 and lone surrogates become U+FFFD.
std::string DecodeTagText(std::string_view bytes, TagEncoding encoding);

// The text with every control character (C0, DEL, C1) turned into a blank and malformed UTF-8
// into U+FFFD, without blanks in front or at its end, then cut to its first `maxChars`
// characters (so a blank the cut falls after stays).
std::string CleanTagText(std::string_view utf8, std::size_t maxChars = std::string_view::npos);

// The number before the first "/" of a track text such as "3/12"; 0 when that is not a decimal
// number of at most `maxValue`.
std::uint32_t ParseTrackNumber(std::string_view text, std::uint32_t maxValue);

}  // namespace rv
