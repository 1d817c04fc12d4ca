#pragma once
// What a person looks for in a picture of a window: the texts put in are drawn where their
// controls are, and drawn pictures are as fine as the screen.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>

#include "platform/framework/control.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/tests/pixels.h"
#include "platform/windows/window_host.h"

namespace rv::test {

// Where a control is in a picture of the top-level window `window`, in logical pixels.
inline TRect PlaceIn(const TControl* control, HWND window) {
    TPoint at = control->ClientToScreen({0, 0});
    TRect origin = GetWindowRect(window);
    return Bounds(at.X - origin.Left, at.Y - origin.Top, control->Width(), control->Height());
}

// How far apart two colours are: the sum of their channels' differences.
inline int ColourDistance(TColor a, TColor b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

// The pixels of `area` near the colour `ink` (the core of glyphs drawn in it), and the columns
// from the first to the last one holding such a pixel, in logical pixels.
struct TInk {
    int pixels = 0;
    int span = 0;
};
inline TInk InkIn(const TBitmap& shot, const TRect& area, TColor ink) {
    const double ratio = shot.PixelRatio();
    const TColor rgb = ColorToRGB(ink);
    TInk found;
    int first = -1, last = -1;
    const int left = int(area.Left * ratio), right = int(area.Right * ratio);
    for (int y = int(area.Top * ratio); y < int(area.Bottom * ratio); ++y)
        for (int x = left; x < right; ++x) {
            TColor c = shot.Pixel(x, y);
            if (c == clNone) continue;
            // Thin strokes (a colon's dots) come out lighter than the ink itself.
            if (ColourDistance(c, rgb) > 200) continue;
            ++found.pixels;
            first = first < 0 ? x : std::min(first, x);
            last = std::max(last, x);
        }
    if (first >= 0) found.span = int((last - first) / ratio) + 1;
    return found;
}

// The colour most pixels of `area` have apart from those near `a` or `b` (the box a selected
// text stands on, drawn in neither the field's colour nor its font's); clNone when there is none.
inline TColor MostOtherColourIn(const TBitmap& shot, const TRect& area, TColor a, TColor b) {
    const double ratio = shot.PixelRatio();
    std::map<TColor, int> seen;
    for (int y = int(area.Top * ratio); y < int(area.Bottom * ratio); ++y)
        for (int x = int(area.Left * ratio); x < int(area.Right * ratio); ++x) {
            const TColor c = shot.Pixel(x, y);
            if (ColourDistance(c, ColorToRGB(a)) > 200 && ColourDistance(c, ColorToRGB(b)) > 200)
                ++seen[c];
        }
    const auto most = std::max_element(
        seen.begin(), seen.end(), [](const auto& l, const auto& r) { return l.second < r.second; });
    return most == seen.end() ? clNone : most->first;
}

// The width of a text in a font, as the controls measure it.
inline int TextWidthIn(const TFont& font, const std::string& text) {
    TBitmap scratch(1, 1);
    scratch.Canvas().Font = font;
    return scratch.Canvas().TextWidth(text);
}

// A text of `length` characters, about `width` logical pixels wide, is drawn in `area`: ink in
// it, across about as many columns as the text is wide.
inline void ExpectText(const TBitmap& shot, const TRect& area, TColor ink, std::size_t length,
                       int width, const std::string& what) {
    TInk found = InkIn(shot, area, ink);
    EXPECT_GE(found.pixels, int(length)) << what;
    // (A glyph's sides are blank: a single colon is narrower than its width.)
    EXPECT_GE(found.span, std::max(1, width * 6 / 10 - 2)) << what << ": ink across " << found.span;
    EXPECT_LE(found.span, width + 4) << what << ": ink across " << found.span;
}

// The pixels of `area` that are not `colour`.
inline int PixelsOtherThan(const TBitmap& shot, const TRect& area, TColor colour) {
    const double ratio = shot.PixelRatio();
    const TColor rgb = ColorToRGB(colour);
    int other = 0;
    for (int y = int(area.Top * ratio); y < int(area.Bottom * ratio); ++y)
        for (int x = int(area.Left * ratio); x < int(area.Right * ratio); ++x)
            if (shot.Pixel(x, y) != rgb) ++other;
    return other;
}

}  // namespace rv::test
