#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rv {

// Numbers in files: floats are written with a point whatever the locale, so that a file never
// loses its fractions to the locale it was written in, and read back with a point or with the
// locale's decimal separator (files from older versions used the latter).

// Shortest general form with at most 15 significant digits, "." as separator, exponents as
// 1E20 or 1.5E-7; infinities and NaN as "INF", "-INF", "NAN".
std::string FloatToText(double value);

// Reads a float written with "." or with the current locale's separator; blanks around the
// number are allowed. Raises EXmlError when the text is no number.
double TextToFloat(std::string_view text);
// The same, giving false instead of raising.
bool TryTextToFloat(std::string_view text, double& value);

// Reads a whole number: decimal with an optional sign, or hexadecimal after "$" or "0x".
// Blanks around it are allowed. Raises EXmlError when the text is no whole number or the number
// lies outside the 64-bit range.
std::int64_t TextToInteger(std::string_view text);
bool TryTextToInteger(std::string_view text, std::int64_t& value);

}  // namespace rv
