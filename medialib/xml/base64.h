#pragma once

#include <string>
#include <string_view>

#include "platform/text/base64.h"

namespace rv {

// The bytes of a Base64 text as Base64DecodeTo reads it. Raises EXmlError for a character
// outside the alphabet, padding anywhere but at the end, or a length that is no multiple of four.
std::string Base64Decode(std::string_view text);

}  // namespace rv
