#pragma once

#include <string>
#include <string_view>

namespace rv {

// Standard Base64 with "=" padding. With maxLineLength > 0 a CR LF goes before the character
// at position maxLineLength (counting from 1) and after every further maxLineLength characters.
std::string Base64Encode(std::string_view bytes, int maxLineLength = 0);

// The bytes of a Base64 text; characters up to the blank (line ends, tabs ...) are skipped
// anywhere. Raises EXmlError for a character outside the alphabet, padding anywhere but at the
// end, or a length that is no multiple of four.
std::string Base64Decode(std::string_view text);

}  // namespace rv
