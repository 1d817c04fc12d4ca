#pragma once

#include <string>

// Hexadecimal digits as the texts we read and write use them: either case read, lower case
// written.
namespace rv {

// The value of a hexadecimal digit of either case; -1 for any other character.
inline constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Appends `byte` as two lower-case hexadecimal digits, the high one first.
inline void AppendHexByte(std::string& out, unsigned char byte) {
    constexpr char kDigits[] = "0123456789abcdef";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
}

}  // namespace rv
