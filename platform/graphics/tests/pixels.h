#pragma once
// Pixel probes shared by the graphics and widget tests.

#include <gtest/gtest.h>

#include <sstream>

#include "platform/graphics/bitmap.h"

namespace rv::test {

// A white 24-bit bitmap of the given size.
inline TBitmap White(int w, int h) {
    return TBitmap(w, h, pf24bit);
}

// A bitmap of the given size (and pixel ratio) filled with one colour.
inline TBitmap Filled(int w, int h, TColor color, double pixelRatio = 1) {
    TBitmap b(w, h, pf24bit, pixelRatio);
    b.Canvas().Brush.Color = color;
    b.Canvas().FillRect({0, 0, w, h});
    return b;
}

// A pixel the picture should have.
struct Px {
    int x, y;
    TColor color;
};

// Success when every listed pixel has its colour; else names each one that differs.
inline testing::AssertionResult PixelsAre(const TBitmap& b, std::initializer_list<Px> expected) {
    std::ostringstream wrong;
    for (const Px& p : expected)
        if (b.Pixel(p.x, p.y) != p.color)
            wrong << "(" << p.x << "," << p.y << ") is " << std::hex << b.Pixel(p.x, p.y) << " not "
                  << p.color << std::dec << "; ";
    if (wrong.str().empty()) return testing::AssertionSuccess();
    return testing::AssertionFailure() << wrong.str();
}

// The probes below look at device pixels, which are the logical ones at the pixel ratio 1.

// The bounding box of the pixels `inset` or more from the edge for which `ink` holds; empty
// when there are none.
template <class Ink>
TRect BoundsWhere(const TBitmap& b, Ink ink, int inset = 0) {
    TRect box{b.PixelWidth(), b.PixelHeight(), 0, 0};
    for (int y = inset; y < b.PixelHeight() - inset; ++y)
        for (int x = inset; x < b.PixelWidth() - inset; ++x)
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
    return CountColor(b, {0, 0, b.PixelWidth(), b.PixelHeight()}, color);
}

// Whether two pictures have the same device pixels.
inline bool SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.PixelWidth() != b.PixelWidth() || a.PixelHeight() != b.PixelHeight()) return false;
    for (int y = 0; y < a.PixelHeight(); ++y)
        for (int x = 0; x < a.PixelWidth(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

// The pixels of a picture at ratio 1, copied: a fixed picture, which nothing draws again.
inline TBitmap FixedCopy(const TBitmap& picture) {
    TBitmap copy(picture.Width(), picture.Height(), picture.PixelFormat());
    copy.Canvas().Draw(0, 0, picture);
    return copy;
}

// Aligned 2 x 2 blocks of device pixels in `area` (logical pixels) whose pixels differ: none at
// all in a picture made for 100 % and enlarged, many where it was drawn at 200 %. 0 for any
// other ratio.
inline int FineBlocks(const TBitmap& b, const TRect& area) {
    if (b.PixelRatio() != 2) return 0;
    int fine = 0;
    for (int y = area.Top * 2; y + 1 < area.Bottom * 2; y += 2)
        for (int x = area.Left * 2; x + 1 < area.Right * 2; x += 2) {
            TColor c = b.Pixel(x, y);
            if (b.Pixel(x + 1, y) != c || b.Pixel(x, y + 1) != c || b.Pixel(x + 1, y + 1) != c)
                ++fine;
        }
    return fine;
}

inline int FineBlocks(const TBitmap& b) {
    return FineBlocks(b, {0, 0, b.Width(), b.Height()});
}

}  // namespace rv::test
