#pragma once

#include <string>
#include <string_view>

// Numbers in text under the user's locale: the locale's decimal separator, and reading numbers
// written with a point whatever the locale says.
namespace rv {

// The current locale's decimal separator (LC_NUMERIC); "." when the locale names none.
std::string LocaleDecimalPoint();

// The whole text as a number with a point, in the form "[-]digits[.digits][e[-]digits]" (also
// "inf" and "nan"). A value too small to hold becomes zero or the nearest tiny number; one too
// large to hold, like any other text, gives false and leaves `value` as it was.
bool PointTextToFloat(std::string_view text, double& value);

}  // namespace rv
