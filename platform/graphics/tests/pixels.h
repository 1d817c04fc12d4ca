#pragma once
// Pixel probes shared by the graphics tests.

#include "platform/graphics/bitmap.h"

namespace rv::test {

// A white 24-bit bitmap of the given size.
inline TBitmap White(int w, int h) {
    return TBitmap(w, h, pf24bit);
}

// The bounding box of every pixel that differs from `background`; empty when none does.
inline TRect InkBounds(const TBitmap& b, TColor background) {
    TRect box{b.Width(), b.Height(), 0, 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) != background) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box.IsEmpty() ? TRect{} : box;
}

inline int CountColor(const TBitmap& b, const TRect& area, TColor color) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x) n += b.Pixel(x, y) == color;
    return n;
}

}  // namespace rv::test
