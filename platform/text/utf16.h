#pragma once

#include <string>
#include <string_view>

namespace rv {

// UTF-16 <-> UTF-8 without loss; a lone surrogate becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Appends `cp` (at most U+10FFFF) as one unit, or past U+FFFF as a surrogate pair.
void AppendUtf16(std::u16string& out, char32_t cp);

}  // namespace rv
