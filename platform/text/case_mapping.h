#pragma once

#include <string>
#include <string_view>

// Unicode case rules: the full mappings of the Basic Multilingual Plane (one character may
// become several, as ß becomes SS), and the simple lower case of every plane.
namespace rv {

enum class CaseMapping { Folding = 0, Lower = 1, Title = 2, Upper = 3 };

// The mapping of one character, or the character itself when it has none. The table is built
// on first use, once, whichever threads ask at the same time.
std::u32string CaseLookup(char32_t code, CaseMapping mapping);

// Every UTF-16 unit of the text replaced by its full upper case. Surrogates have no mapping and
// stay as they are.
std::u16string WideUpperCaseFull(std::u16string_view text);

// The simple lower case of a character of any plane (one character for one, as İ gives i), or
// the character itself when it has none.
char32_t SimpleLowerCase(char32_t code);

}  // namespace rv
