#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/components/properties.h"

namespace rv {

// The text forms of the property kinds that a form storage writes, and the values read back
// from them. A reader returns false (and leaves `value`) when the text gives no value.

// The value's name; empty for a value without one.
std::string EnumerationText(const std::vector<std::string>& names, int value);
// The first value, from ordinal 0, whose name is the text (ASCII case ignored).
bool TextToEnumeration(const std::vector<std::string>& names, std::string_view text, int& value);

// "[" + the names of the members present, by ordinal, parted by "," + "]"; "[]" when empty.
std::string SetText(const std::vector<std::string>& names, std::uint32_t members);
// Every word between blanks, commas and brackets that names a member; other words are skipped.
std::uint32_t TextToSet(const std::vector<std::string>& names, std::string_view text);

// The shortest text of the value at the type's precision (7, 15, 18, 18, 19 significant
// digits), with a point: fixed ("1234.5", "0.00001") while its integral digits are no more than
// the precision and it is at least 0.00001, otherwise scientific ("1.5E20", "1E-6"); "NAN",
// "INF", "-INF".
std::string FloatText(long double value, TFloatType type);
// A number with a point, or with the locale's decimal separator; blanks around it allowed.
bool TextToFloat(std::string_view text, long double& value);

// The character as UTF-8.
std::string CharText(char32_t c);
// The text's first character.
bool TextToChar(std::string_view text, char32_t& c);

// Decimal; a text that is no 64-bit decimal number (sign allowed) gives false.
bool TextToInt64(std::string_view text, std::int64_t& value);

}  // namespace rv
