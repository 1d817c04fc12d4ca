#pragma once

#include <memory>
#include <span>
#include <string>

#include "platform/graphics/color.h"
#include "platform/graphics/edge_flags.h"
#include "platform/graphics/font.h"
#include "platform/graphics/geometry.h"
#include "platform/graphics/pen_brush.h"
#include "platform/graphics/text_flags.h"

namespace rv {

class TBitmap;
class CanvasImpl;

// GDI-like drawing on a bitmap or, during a paint message, on a window. Coordinates are logical:
// device = logical + Origin(). Rectangles keep the platform's rule (right and bottom outside).
// Pen, Brush and Font are read at each operation; change them freely between calls.
//
// Every coordinate names a whole pixel of the layout ("logical pixel"). On a screen at a scale
// factor, and on a bitmap made for one, a logical pixel covers PixelRatio() x PixelRatio() device
// pixels (at 150 % alternately one and two device pixels wide, as the painter rounds them):
// - Fills, lines and outlines cover whole logical pixels, the same ones at every scale. A pen of
//   width 1 is one logical pixel wide (two device pixels at 200 %), so lines that touch at 100 %
//   touch at any scale and nothing is ever dotted by the scaling. psDot, the focus rectangle and
//   pattern brushes alternate logical pixels.
// - Text and curved outlines are drawn at the device's own resolution, aliased where asked.
// - Bitmaps are placed at their logical size: one made at the device's ratio maps one to one onto
//   its pixels, one of ratio 1 is enlarged without smoothing.
class TCanvas {
public:
    explicit TCanvas(std::unique_ptr<CanvasImpl> impl);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    TFont Font;

    // Lines: LineTo leaves the end point out, as the platform does.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    TPoint PenPos() const { return penPos_; }
    void Polyline(std::span<const TPoint> points);

    // Shapes: outline with Pen, interior with Brush. Without a pen (psClear) the filled figure is
    // one pixel smaller at the right and bottom, as on the platform.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void Ellipse(const TRect& r);
    // The outline of the ellipse that fills r, counterclockwise from where the ray from its centre
    // through `start` meets it to where the ray through `end` does (the same point: all of it).
    void Arc(const TRect& r, TPoint start, TPoint end);
    void Polygon(std::span<const TPoint> points);

    void FillRect(const TRect& r);       // Brush, no outline
    void FrameRect(const TRect& r);      // one pixel in Brush's colour
    void DrawFocusRect(const TRect& r);  // every other pixel inverted; twice removes it
    // Draws a 3-D edge; with BF_ADJUST the rectangle shrinks by the edge's width.
    void DrawEdge(TRect& r, unsigned edge, unsigned flags);
    void InvertRect(const TRect& r);

    TColor GetPixel(int x, int y) const;  // clNone outside a bitmap canvas or the clip
    void SetPixel(int x, int y, TColor color);

    // Text in Font; the background behind glyphs is Brush's colour when Brush is solid.
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const TRect& r, int x, int y, const std::string& text);  // clipped to r
    TSize TextExtent(const std::string& text) const;
    int TextWidth(const std::string& text) const { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) const { return TextExtent(text).cy; }
    // Returns the height of the text; with DT_CALCRECT nothing is drawn and r is set to the text's
    // bounds (its right edge to the widest line, its bottom below the last line).
    int DrawText(const std::string& text, TRect& r, unsigned flags);

    // Bitmaps. Draw honours the bitmap's Transparent setting (pixels of its transparent colour
    // are left out); CopyRect copies every pixel and may use this canvas's own bitmap as source.
    void Draw(int x, int y, const TBitmap& bitmap);
    void DrawTransparent(int x, int y, const TBitmap& bitmap, TColor keyColor);
    void StretchDraw(const TRect& dest, const TBitmap& bitmap);
    void CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect);
    // 32-bit source with its alpha channel laid over the pixels here.
    void DrawAlpha(int x, int y, const TBitmap& bitmap, int constantAlpha = 255);

    // Clipping, in logical coordinates at the time of the call.
    void SetClipRect(const TRect& r);
    void IntersectClipRect(const TRect& r);
    void ExcludeClipRect(const TRect& r);
    void RemoveClip();
    TRect ClipRect() const;  // bounds of the visible part, logical coordinates
    bool RectVisible(const TRect& r) const;

    // The device point that logical (0, 0) maps to.
    TPoint Origin() const;
    void SetOrigin(int x, int y);
    void MoveOrigin(int dx, int dy);
    // Pattern brushes start their 8 x 8 cell at this device point.
    TPoint BrushOrigin() const;
    void SetBrushOrigin(int x, int y);

    // Device pixels per logical pixel of what this canvas paints: the bitmap's ratio, or for a
    // window the screen's. Bitmaps that go to this canvas are made at it.
    double PixelRatio() const;

    // Saves pens, brush, font, clip and origins; RestoreState(n) returns to the state saved by the
    // n-th call (the result of SaveState), RestoreState() to the last one.
    int SaveState();
    void RestoreState(int level = -1);

    CanvasImpl& Impl() { return *impl_; }

private:
    void LineSegment(TPoint from, TPoint to, bool includeEnd);

    std::unique_ptr<CanvasImpl> impl_;
    TPoint penPos_;
};

}  // namespace rv
