#pragma once

#include <array>
#include <cstdint>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/pen_brush.h"
#include "tree/expand_buttons.h"

namespace rv {

// What the tree keeps between paints: the expand buttons made for the pixel ratio last painted
// at, the pattern of the tree lines, the bitmap one row is composed in, and a canvas to measure
// text with outside painting.
struct TTreePaintResources {
    TBitmap plusButton;
    TBitmap minusButton;
    double buttonRatio = 0;  // 0: to be made again before the next paint
    bool themedButtons = false;
    TExpandButtonLook buttonLook;
    std::array<std::uint8_t, 8> linePattern = kDottedPattern;
    TBitmap row;
    std::int64_t rowTop = 0;  // the tree's y of the row being painted
    TBitmap measure{1, 1};
};

}  // namespace rv
