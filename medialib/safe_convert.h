#pragma once

#include <cstdint>
#include <string_view>

// Tolerant number conversions for texts from files and dialogs: a text that is not a number
// gives 0, never an error.
namespace rv {

// An optional sign and decimal digits whose value fits 32 signed bits; nothing else (no blanks).
int32_t SafeStrToInt(std::string_view text);

// Optional blanks, sign, digits with the current locale's decimal separator, optional exponent,
// optional blanks. The other separator, a value beyond double range or any other text give 0.
double SafeStrToFloat(std::string_view text);

}  // namespace rv
