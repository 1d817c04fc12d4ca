#pragma once

#include "platform/graphics/bitmap.h"
#include "tree/tree_property_types.h"

namespace rv {

// The expand buttons: a "plus" for a collapsed node and a "minus" for an expanded one, 9 × 9
// logical pixels on magenta (0xFF00FF), which Draw leaves out.
inline constexpr int kExpandButtonSize = 9;
inline constexpr TColor kButtonTransparentColor = clFuchsia;

struct TExpandButtonLook {
    TVTButtonStyle Style = bsRectangle;
    TVTButtonFillMode FillMode = fmTreeColor;
    TColor TreeColor = clWindow;      // fmTreeColor's fill
    TColor LineColor = clBtnShadow;   // the frame (TreeLineColor)
    TColor SignColor = clWindowText;  // the plus and minus signs (the font colour)
    friend bool operator==(const TExpandButtonLook&, const TExpandButtonLook&) = default;
};

// Makes `button` the plus (or minus) button of `look` at `pixelRatio`:
// - bsTriangle: a black triangle pointing right (plus) or down (minus);
// - bsRectangle: a square framed in LineColor and filled by FillMode (fmTransparent: not at all,
//   fmShaded: a light gradient), a horizontal bar from x 2 to 6 at y 4, for plus also a
//   vertical one from y 2 to 6 at x 4, in SignColor (black with fmShaded).
void MakeExpandButton(TBitmap& button, bool plus, const TExpandButtonLook& look,
                      double pixelRatio = 1);

}  // namespace rv
