#pragma once

#include <string>
#include <string_view>

namespace rv {

// The coder of stored values that should not stand in the settings as plain text: each byte of
// the text XORed with the key's bytes in turn (the key starting over at its end; an empty key
// leaves the bytes) and written as two lower-case hexadecimal digits. It hides a value from a
// glance, nothing more.
std::string XorHexEncode(std::string_view key, std::string_view text);

// The reverse: each pair of hexadecimal digits (either case) gives one byte; a pair that is no
// hexadecimal number counts as 32; a last odd character is ignored.
std::string XorHexDecode(std::string_view key, std::string_view hex);

}  // namespace rv
