#pragma once

#include <string>

#include "platform/graphics/canvas.h"

namespace rv {

// The text cut so that it and "..." fit `width` pixels in the canvas's font: the most leading
// characters followed by "...", or for right-to-left text "..." followed by the most trailing
// ones. Cuts fall between characters (code points), never inside one. Empty for an empty text,
// a width of 0 or less, or one not wider than the ellipsis; `ellipsisWidth` 0 measures "...".
// Whether the text needs cutting at all is the caller's question.
std::string ShortenString(TCanvas& canvas, const std::string& text, int width, bool rightToLeft,
                          int ellipsisWidth = 0);

}  // namespace rv
