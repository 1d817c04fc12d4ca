#pragma once

#include "platform/graphics/bitmap.h"

namespace rv {

// The pictures of the main window's tool bar, drawn rather than loaded: two 16 x 16 cells, the
// picture and its grey, embossed form for the disabled button, on a colour the buttons leave out
// (the bottom-left pixel's); drawn again at the pixel ratio of the screen they are shown on.
enum class TToolBarGlyph { New, Open, Save, Scan, Preferences, Exit, Player };

TBitmap ToolBarGlyph(TToolBarGlyph glyph);

}  // namespace rv
