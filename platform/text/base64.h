#pragma once

#include <string>
#include <string_view>

namespace rv {

// Standard Base64 (RFC 2045 alphabet) with "=" padding. With maxLineLength > 0 a CR LF goes
// before the character at position maxLineLength (counting from 1) and after every further
// maxLineLength characters.
std::string Base64Encode(std::string_view bytes, int maxLineLength = 0);

// What can be wrong with a Base64 text.
enum class Base64Fault {
    None,
    Length,     // the count of characters is no multiple of four
    Padding,    // "=" anywhere but at the end
    Character,  // a character outside the alphabet
};

// The bytes of a Base64 text into `bytes`; characters up to the blank (line ends, tabs ...) are
// skipped anywhere. On a fault `bytes` is left unspecified.
Base64Fault Base64DecodeTo(std::string_view text, std::string& bytes);

}  // namespace rv
