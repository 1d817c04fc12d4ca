#pragma once
// Pixel probes shared by the graphics and widget tests.

#include "platform/graphics/bitmap.h"

namespace rv::test {

// A white 24-bit bitmap of the given size.
inline TBitmap White(int w, int h) {
    return TBitmap(w, h, pf24bit);
}

// The bounding box of the pixels `inset` or more from the edge for which `ink` holds; empty
// when there are none.
template <class Ink>
TRect BoundsWhere(const TBitmap& b, Ink ink, int inset = 0) {
    TRect box{b.Width(), b.Height(), 0, 0};
    for (int y = inset; y < b.Height() - inset; ++y)
        for (int x = inset; x < b.Width() - inset; ++x)
            if (ink(b.Pixel(x, y))) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box.IsEmpty() ? TRect{} : box;
}

// Every pixel that differs from `background`.
inline TRect InkBounds(const TBitmap& b, TColor background) {
    return BoundsWhere(b, [&](TColor c) { return c != background; });
}

// Dark pixels only, which leaves out the faint edges of smoothed text.
inline TRect DarkBounds(const TBitmap& b, int inset = 0, int below = 128) {
    return BoundsWhere(
        b, [&](TColor c) { return GetGValue(c) < below; }, inset);
}

inline int CountColor(const TBitmap& b, const TRect& area, TColor color) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x) n += b.Pixel(x, y) == color;
    return n;
}

inline int CountColor(const TBitmap& b, TColor color) {
    return CountColor(b, {0, 0, b.Width(), b.Height()}, color);
}

}  // namespace rv::test
