#pragma once

#include <string>
#include <string_view>

namespace rv {

// Standard Base64 with "=" padding. With maxLineLength > 0 a CR LF goes before the character
// at position maxLineLength (counting from 1) and after every further maxLineLength characters.
std::string Base64Encode(std::string_view bytes, int maxLineLength = 0);

}  // namespace rv
