#include <gtest/gtest.h>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/tests/pixels.h"

namespace rv {
namespace {

using test::InkBounds;
using test::White;

// Ink of glyphs, ignoring the faint edge pixels of smoothed text.
TRect GlyphBounds(const TBitmap& b) {
    TRect box{b.Width(), b.Height(), 0, 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (GetGValue(b.Pixel(x, y)) < 128) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box.IsEmpty() ? TRect{} : box;
}

struct TextCanvas {
    TBitmap bitmap = White(200, 60);
    TCanvas& c = bitmap.Canvas();
    TextCanvas() {
        c.Brush.Style = bsClear;
        c.Font.Color = clBlack;
    }
};

TEST(CanvasText, AlignmentPlacesTheTextInsideTheRectangle) {
    TextCanvas left, centre, right;
    TRect r{10, 10, 190, 50};
    left.c.DrawText("Wide", r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    centre.c.DrawText("Wide", r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    right.c.DrawText("Wide", r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    TRect a = GlyphBounds(left.bitmap), b = GlyphBounds(centre.bitmap),
          z = GlyphBounds(right.bitmap);
    ASSERT_FALSE(a.IsEmpty());
    EXPECT_GE(a.Left, 10);
    EXPECT_LE(a.Left, 12);
    EXPECT_LE(z.Right, 190);
    EXPECT_GE(z.Right, 186);
    EXPECT_NEAR((b.Left + b.Right) / 2.0, 100, 3);
    EXPECT_NEAR((a.Top + a.Bottom) / 2.0, 30, 3);  // centred vertically
    EXPECT_EQ(a.Width(), b.Width());
    EXPECT_EQ(a.Top, z.Top);
}

TEST(CanvasText, CalcRectMeasuresWithoutDrawing) {
    TextCanvas t;
    TSize one = t.c.TextExtent("Hello world");
    TRect r{0, 0, 1000, 0};
    int h = t.c.DrawText("Hello world", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(h, one.cy);
    EXPECT_EQ(r, (TRect{0, 0, one.cx, one.cy}));
    EXPECT_EQ(InkBounds(t.bitmap, clWhite), TRect{});

    // Word break: a rectangle narrower than the text makes two lines, none wider than it.
    int narrow = std::max(t.c.TextWidth("Hello"), t.c.TextWidth("world")) + 2;
    TRect w{0, 0, narrow, 0};
    h = t.c.DrawText("Hello world", w, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(h, 2 * one.cy);
    EXPECT_LE(w.Width(), narrow);

    // Line ends always break, unless single line.
    TRect lines{0, 0, 1000, 0};
    EXPECT_EQ(t.c.DrawText("a\r\nb\nc", lines, DT_CALCRECT), 3 * one.cy);
    TRect single{0, 0, 1000, 0};
    EXPECT_EQ(t.c.DrawText("a\r\nb\nc", single, DT_CALCRECT | DT_SINGLELINE), one.cy);
}

TEST(CanvasText, EllipsisPrefixAndClipping) {
    TextCanvas t;
    TRect r{0, 0, 40, 20};
    t.c.DrawText("A rather long caption", r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    TRect ink = GlyphBounds(t.bitmap);
    EXPECT_LE(ink.Right, 40);
    EXPECT_GT(ink.Right, 20);

    // Without the ellipsis the text is clipped to the rectangle.
    TextCanvas clipped;
    TRect c{0, 0, 40, 20};
    clipped.c.DrawText("A rather long caption", c, DT_SINGLELINE);
    EXPECT_LE(GlyphBounds(clipped.bitmap).Right, 40);
    TextCanvas free;
    TRect f{0, 0, 40, 20};
    free.c.DrawText("A rather long caption", f, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(GlyphBounds(free.bitmap).Right, 60);

    // "&&" is one ampersand and "&x" loses its mark but gains an underline.
    TRect m1{0, 0, 200, 0}, m2{0, 0, 200, 0};
    t.c.DrawText("Save && Close", m1, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(m1.Width(), t.c.TextWidth("Save & Close"));
    t.c.DrawText("Save && Close", m2, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(m2.Width(), t.c.TextWidth("Save && Close"));

    TextCanvas plain, marked;
    TRect p{0, 0, 200, 30}, q{0, 0, 200, 30};
    plain.c.DrawText("Home", p, DT_SINGLELINE);
    marked.c.DrawText("&Home", q, DT_SINGLELINE);
    EXPECT_GT(GlyphBounds(marked.bitmap).Bottom, GlyphBounds(plain.bitmap).Bottom);
}

TEST(CanvasText, UnsmoothedTextHasOnlyTheFontColour) {
    TBitmap b = White(80, 20);
    b.Canvas().Brush.Style = bsClear;
    b.Canvas().Font.Color = clBlack;
    b.Canvas().Font.Quality = fqNonAntialiased;
    b.Canvas().TextOut(2, 2, "Quality");
    int ink = 0, other = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x) {
            TColor c = b.Pixel(x, y);
            ink += c == clBlack;
            other += c != clBlack && c != clWhite;
        }
    EXPECT_GT(ink, 20);
    EXPECT_EQ(other, 0);
}

TEST(CanvasText, SolidBrushPaintsBehindTheText) {
    TBitmap b = White(100, 30);
    b.Canvas().Brush.Color = clYellow;
    b.Canvas().Font.Color = clBlack;
    b.Canvas().TextOut(5, 5, "Mm");
    TSize size = b.Canvas().TextExtent("Mm");
    EXPECT_EQ(InkBounds(b, clWhite), Bounds(5, 5, size.cx, size.cy));
    EXPECT_EQ(b.Canvas().PenPos(), (TPoint{5 + size.cx, 5}));
}

}  // namespace
}  // namespace rv
