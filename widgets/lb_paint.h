#pragma once

#include <string>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "widgets/lb_types.h"

namespace rv {

// Paints one owner-drawn button (both kinds share it) into a canvas of Width x Height.
// FadeStep 0..8 mixes HotTrackColor into the face: 8 is the full hot colour.
void PaintLbButton(TCanvas& canvas, int width, int height, TAlignment alignment,
                   const std::string& caption, TLbButtonLayout layout, const TFont& font,
                   TColor shadowColor, TColor lightColor, TColor hotTrackColor,
                   TColor colorWhenDown, TColor color, TLbButtonStyle style, bool hasPopup,
                   bool wordWrap, bool flat, bool enabled, bool transparent, bool hot, bool pressed,
                   const TBitmap& glyph, int numGlyphs, int fadeStep);

// The face colour PaintLbButton uses.
TColor LbFaceColor(TColor color, TColor hotTrackColor, TColor colorWhenDown, bool enabled,
                   bool pressed, int fadeStep);

// Our pictures for the predefined kinds ("LBOK" … "LBALL": two cells, normal and disabled) and
// the 5 x 3 pop-up arrow "LBARROW". An unknown name gives an empty bitmap.
TBitmap LoadLbBitmap(const std::string& name);

}  // namespace rv
