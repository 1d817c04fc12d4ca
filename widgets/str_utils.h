#pragma once

#include <string>
#include <string_view>

namespace rv {

// Text helpers of the form storage. Positions count from 1, as the words of a placement
// ("10,20,600,400") are numbered.

// Every occurrence of `find` in `text` replaced, searched left to right without overlap and
// never in the inserted text. An empty `find` changes nothing.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);

// Words are the runs of characters that are not in `delims`; delimiters at either end or
// several in a row make no empty words.
int CountWords(std::string_view text, std::string_view delims);
// Position of the n-th word's first character, 0 when there are fewer words.
std::size_t WordStart(int n, std::string_view text, std::string_view delims);
// The n-th word, empty when there is none.
std::string NthWord(int n, std::string_view text, std::string_view delims);

// The whole text as a decimal integer (an optional sign, digits, nothing else), or
// `defaultValue` when it is no such number or does not fit.
int StrToIntDef(std::string_view text, int defaultValue);

}  // namespace rv
