#pragma once

#include <cstddef>
#include <string_view>

// Character classes of XML text held as UTF-8.
namespace rv::xml_chars {

// Blanks are the characters with codes 1 to 32.
inline bool IsBlank(char c) {
    return static_cast<unsigned char>(c) - 1u < 32u;
}

// Letters (of any script), "_" start a name; digits, "-", ".", ":" and combining marks may
// follow.
bool IsNameStartChar(char32_t c);
bool IsNameChar(char32_t c);

// The characters an XML 1.0 document may contain: TAB, LF, CR and everything from the blank on,
// less the surrogates and U+FFFE, U+FFFF.
inline bool IsXmlChar(char32_t c) {
    return c >= 0x20 ? (c < 0xD800 || (c >= 0xE000 && c <= 0x10FFFF && c != 0xFFFE && c != 0xFFFF))
                     : (c == 0x9 || c == 0xA || c == 0xD);
}

// Length in bytes of the name that starts `text`; 0 when it does not start with a name.
size_t NameLength(std::string_view text);

// Whether `text` is one whole name.
inline bool IsName(std::string_view text) {
    return !text.empty() && NameLength(text) == text.size();
}

// Whether the text holds a character that is neither a blank nor one XML cannot carry.
bool HasSolidChar(std::string_view text);

// `text` without the blanks at either end.
std::string_view TrimBlanks(std::string_view text);

}  // namespace rv::xml_chars
