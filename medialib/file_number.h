#pragma once

#include <string_view>

// Fractions in library files are written with a point whatever the locale (the XML value's text
// form), so a file reads the same everywhere. Reading takes a point, and also the locale's
// separator, which files written under a comma locale by older versions carry.
namespace rv {

// The first separator that is not the locale's is taken as the locale's, then SafeStrToFloat:
// a text that is no number gives 0.
double FileStrToFloat(std::string_view text);

}  // namespace rv
