#pragma once

#include <cstdint>

namespace rv {

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// NaN gives 0; values beyond the 64-bit range saturate.
std::int64_t Round(double value);

// a × b / c rounded to the nearest integer, halves away from zero (the platform's MulDiv);
// -1 for c = 0.
int MulDiv(int a, int b, int c);

}  // namespace rv
