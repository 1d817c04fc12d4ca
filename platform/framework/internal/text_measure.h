#pragma once
// Sizes of text for controls that fit themselves to it, measured as their canvas draws it.

#include <string>

#include "platform/graphics/font.h"
#include "platform/graphics/geometry.h"

namespace rv {

// The bounds DrawText gives the text in the font, with `flags` (DT_CALCRECT is added) and, for
// DT_WORDBREAK, lines at most `width` wide.
TSize MeasureText(const TFont& font, const std::string& text, unsigned flags, int width = 0);

}  // namespace rv
