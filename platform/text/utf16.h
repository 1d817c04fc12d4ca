#pragma once

#include <string>
#include <string_view>

namespace rv {

// UTF-16 <-> UTF-8 without loss; a lone surrogate becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Decodes the character at `pos` (a unit, or a surrogate pair) and advances `pos` past it; a lone
// surrogate yields U+FFFD and advances one unit.
char32_t DecodeUtf16(std::u16string_view utf16, size_t& pos);

// Whether `unit` is the first half of a surrogate pair.
constexpr bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

// Appends `cp` (at most U+10FFFF) as one unit, or past U+FFFF as a surrogate pair.
void AppendUtf16(std::u16string& out, char32_t cp);

}  // namespace rv
