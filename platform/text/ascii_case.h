#pragma once

#include <string>
#include <string_view>

// Case rules that fold only the ASCII letters A-Z / a-z; every other byte compares as it is.
// This is the equality the catalogue uses for names.
namespace rv {

inline constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}
inline constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 32) : c;
}

std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);

// Texts of different lengths are never equal.
bool SameText(std::string_view a, std::string_view b);

// <0, 0, >0 by the bytes folded to upper case, taken as unsigned; on a tie the shorter first.
int CompareText(std::string_view a, std::string_view b);

// Whether `text` is an ASCII letter followed by letters, digits and characters of `others`: the
// form of a URL's scheme, an encoding's name ...
bool IsAsciiName(std::string_view text, std::string_view others);

}  // namespace rv
