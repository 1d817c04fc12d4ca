#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text inside the program is UTF-8 in std::string. These are the few primitives everything else
// builds on; invalid input never throws, it becomes U+FFFD.
namespace rv {

inline constexpr char32_t kReplacementChar = 0xFFFD;
inline constexpr size_t kText255 = 255;

// Decodes the code point at `pos` and advances `pos` past it. A malformed sequence yields
// U+FFFD and advances past its longest valid-looking prefix (at least one byte).
char32_t DecodeUtf8(std::string_view text, size_t& pos);

// Appends the UTF-8 form of `cp`; surrogates and values past U+10FFFF append U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

bool IsValidUtf8(std::string_view text);
// Where the first malformed sequence starts; npos when there is none.
std::size_t FirstInvalidUtf8(std::string_view text);

// The text with every malformed sequence replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view text);

// Number of code points (a malformed sequence counts as one).
size_t Utf8Length(std::string_view text);

// The first `maxChars` characters of `text`, never splitting a character.
std::string CutToChars(std::string_view text, size_t maxChars);

// Turns every control character of the text that no XML file can hold (below the blank, but the
// layout characters TAB, LF and CR) into a blank, as the audio readers turn the control
// characters of tags into blanks. Text the catalogue takes in passes here: its library file
// then holds what the user sees.
void BlankControlChars(std::string& text);

// A "text255" value, as the catalogue keeps its texts: at most 255 characters, control
// characters as BlankControlChars leaves them.
std::string Text255(std::string_view text);
// The same in place; quick for a text that fits already.
void FitText255(std::string& text);

}  // namespace rv
