#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/graphics/geometry.h"

namespace rv {

// How AlphaBlend mixes a source pixel into the destination.
enum class TBlendMode {
    bmConstantAlpha,          // one alpha for every pixel
    bmPerPixelAlpha,          // the source pixel's own alpha
    bmMasterAlpha,            // the source pixel's alpha scaled by the constant alpha
    bmConstantAlphaAndColor,  // the destination mixed with a colour; no source
};
using enum TBlendMode;

// Blends the part `r` of `source` onto `destination` at `target` (logical coordinates; both
// 32-bit bitmaps, whose device pixels are mixed), per colour channel
//   destination := destination + (source − destination) × alpha / 256
// with the arithmetic shift of the product; the destination's alpha bytes stay. In the first
// three modes `bias` is then added to each channel, saturating at 0 and 255; in the fourth it is
// the colour (a TColor) that takes the source's place, and `source` may be nil. The part is cut
// to both bitmaps; an empty one does nothing. A missing or not 32-bit bitmap raises Exception.
void AlphaBlend(const TBitmap* source, TBitmap* destination, const TRect& r, TPoint target,
                TBlendMode mode, int constantAlpha, int bias);

}  // namespace rv
