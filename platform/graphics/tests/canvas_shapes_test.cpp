#include <gtest/gtest.h>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/tests/pixels.h"

namespace rv {
namespace {

using test::CountColor;
using test::InkBounds;
using test::PixelsAre;
using test::White;

TEST(CanvasFill, RectanglesLeaveRightAndBottomOutAndPatternsFollowTheBrushOrigin) {
    TBitmap b = White(20, 20);
    b.Canvas().Brush.Color = clRed;
    b.Canvas().FillRect({2, 3, 7, 9});
    EXPECT_EQ(InkBounds(b, clWhite), (TRect{2, 3, 7, 9}));

    // Outline in the pen, inside in the brush, all within the rectangle; without a pen the
    // filled area is one pixel smaller at the right and bottom.
    for (bool pen : {true, false}) {
        TBitmap r = White(20, 20);
        r.Canvas().Pen.Color = clBlue;
        if (!pen) r.Canvas().Pen.Style = psClear;
        r.Canvas().Brush.Color = clLime;
        r.Canvas().Rectangle(1, 1, 11, 6);
        EXPECT_EQ(InkBounds(r, clWhite), (pen ? TRect{1, 1, 11, 6} : TRect{1, 1, 10, 5}));
        if (pen) {
            EXPECT_TRUE(PixelsAre(r, {{1, 1, clBlue}, {10, 5, clBlue}, {5, 3, clLime}}));
        }
    }

    // FrameRect draws a one-pixel ring in the brush colour, hollow brushes draw nothing.
    TBitmap f = White(10, 10);
    f.Canvas().Brush.Color = clBlack;
    f.Canvas().FrameRect({2, 2, 8, 8});
    EXPECT_EQ(CountColor(f, clBlack), 20);
    f.Canvas().Brush.Style = bsClear;
    f.Canvas().FillRect({0, 0, 10, 10});
    EXPECT_EQ(f.Pixel(0, 0), clWhite);

    TBitmap pattern = White(16, 16);
    pattern.Canvas().Brush.SetPattern(kDottedPattern, clBlack, clYellow);
    pattern.Canvas().FillRect({0, 0, 16, 16});
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(pattern.Pixel(x, y), ((x + y) % 2 == 0) ? clBlack : clYellow)
                << x << "," << y;

    // Shifting the origin by one pixel swaps the phase; a clNone background keeps what is there.
    TBitmap s = White(8, 8);
    s.Canvas().SetBrushOrigin(1, 0);
    s.Canvas().Brush.SetPattern(kDottedPattern, clBlack, clNone);
    s.Canvas().FillRect({0, 0, 8, 8});
    EXPECT_TRUE(PixelsAre(s, {{0, 0, clWhite}, {1, 0, clBlack}}));
    EXPECT_EQ(CountColor(s, clBlack), 32);

    // The pattern stays tied to the device, not to the logical origin.
    TBitmap o = White(8, 8);
    o.Canvas().SetOrigin(1, 0);
    o.Canvas().Brush.SetPattern(kDottedPattern, clBlack, clYellow);
    o.Canvas().FillRect({-1, 0, 7, 8});
    EXPECT_EQ(o.Pixel(0, 0), clBlack);
}

TEST(CanvasLines, EndPointsDotsAndXor) {
    TBitmap b = White(20, 20);
    b.Canvas().MoveTo(2, 5);
    b.Canvas().LineTo(12, 5);
    EXPECT_EQ(InkBounds(b, clWhite), (TRect{2, 5, 12, 6}));
    EXPECT_EQ(b.Canvas().PenPos(), (TPoint{12, 5}));

    // A diagonal covers one pixel per step, the last left out.
    TBitmap d = White(20, 20);
    d.Canvas().MoveTo(0, 0);
    d.Canvas().LineTo(10, 10);
    EXPECT_EQ(CountColor(d, clBlack), 10);
    EXPECT_TRUE(PixelsAre(d, {{9, 9, clBlack}, {10, 10, clWhite}}));

    TBitmap dots = White(20, 4);
    dots.Canvas().Pen.Style = psDot;
    dots.Canvas().MoveTo(0, 1);
    dots.Canvas().LineTo(20, 1);
    EXPECT_EQ(CountColor(dots, clBlack), 10);
    EXPECT_TRUE(PixelsAre(dots, {{0, 1, clBlack}, {1, 1, clWhite}}));

    // Xor twice gives the picture back.
    TBitmap x = White(10, 10);
    x.Canvas().Brush.Color = clRed;
    x.Canvas().FillRect({0, 0, 5, 10});
    x.Canvas().Pen.Mode = pmXor;
    x.Canvas().Pen.Color = clWhite;
    for (int i = 0; i < 2; ++i) {
        x.Canvas().MoveTo(0, 3);
        x.Canvas().LineTo(10, 3);
        EXPECT_TRUE(
            PixelsAre(x, {{2, 3, i == 0 ? clAqua : clRed}, {7, 3, i == 0 ? clBlack : clWhite}}));
    }
}

TEST(CanvasShapes, RoundRectPolygonEllipseEdgesAndFocusRectangles) {
    TBitmap b = test::Filled(30, 20, clFuchsia);
    b.Canvas().Pen.Color = clBlack;
    b.Canvas().Brush.Color = clLime;
    b.Canvas().RoundRect(0, 0, 30, 20, 6, 6);
    // Corners outside the curve, straight edges on the outline.
    EXPECT_TRUE(PixelsAre(b, {{0, 0, clFuchsia},
                              {29, 19, clFuchsia},
                              {15, 0, clBlack},
                              {15, 19, clBlack},
                              {15, 10, clLime}}));
    EXPECT_EQ(InkBounds(b, clFuchsia), (TRect{0, 0, 30, 20}));

    TBitmap p = White(20, 20);
    p.Canvas().Pen.Style = psClear;
    p.Canvas().Brush.Color = clBlue;
    const TPoint triangle[] = {{0, 0}, {19, 0}, {0, 19}};
    p.Canvas().Polygon(triangle);
    EXPECT_TRUE(PixelsAre(p, {{3, 3, clBlue}, {16, 16, clWhite}}));

    TBitmap e = White(21, 21);
    e.Canvas().Brush.Color = clRed;
    e.Canvas().Pen.Color = clRed;
    e.Canvas().Ellipse({0, 0, 21, 21});
    EXPECT_TRUE(PixelsAre(e, {{10, 10, clRed}, {1, 1, clWhite}, {10, 0, clRed}}));

    // Arcs run counterclockwise: from the upper right to the lower left is the upper left half.
    TBitmap a = White(21, 21);
    a.Canvas().Pen.Color = clRed;
    a.Canvas().Arc({0, 0, 21, 21}, {21, 0}, {0, 21});
    EXPECT_TRUE(PixelsAre(
        a,
        {{10, 0, clRed}, {0, 10, clRed}, {20, 10, clWhite}, {10, 20, clWhite}, {10, 10, clWhite}}));
    a.Canvas().Pen.Color = clBlue;
    a.Canvas().Arc({0, 0, 21, 21}, {10, 30}, {10, 30});  // all of it
    EXPECT_TRUE(PixelsAre(a, {{10, 0, clBlue}, {20, 10, clBlue}, {10, 20, clBlue}}));

    TBitmap edge = White(12, 12);
    TRect r{1, 1, 11, 11};
    edge.Canvas().DrawEdge(r, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE);
    EXPECT_EQ(r, (TRect{3, 3, 9, 9}));
    // Outer and inner left, outer and inner right, outer bottom, middle.
    EXPECT_TRUE(PixelsAre(edge, {{1, 5, ColorToRGB(cl3DLight)},
                                 {2, 5, ColorToRGB(clBtnHighlight)},
                                 {10, 5, ColorToRGB(cl3DDkShadow)},
                                 {9, 5, ColorToRGB(clBtnShadow)},
                                 {5, 10, ColorToRGB(cl3DDkShadow)},
                                 {5, 5, ColorToRGB(clBtnFace)},
                                 {0, 0, clWhite}}));

    // A sunken edge on the left only.
    TBitmap s = White(6, 6);
    TRect left{0, 0, 6, 6};
    s.Canvas().DrawEdge(left, EDGE_SUNKEN, BF_LEFT);
    EXPECT_TRUE(PixelsAre(
        s, {{0, 3, ColorToRGB(clBtnShadow)}, {1, 3, ColorToRGB(cl3DDkShadow)}, {3, 0, clWhite}}));
    EXPECT_EQ(left, (TRect{0, 0, 6, 6}));

    // The focus rectangle inverts every other pixel of its ring; drawing it again removes it.
    TBitmap f = White(10, 10);
    f.Canvas().DrawFocusRect({1, 1, 9, 9});
    EXPECT_TRUE(PixelsAre(f, {{1, 1, clBlack}, {2, 1, clWhite}, {3, 1, clBlack}, {5, 5, clWhite}}));
    EXPECT_EQ(CountColor(f, clBlack), 14);
    f.Canvas().DrawFocusRect({1, 1, 9, 9});
    EXPECT_EQ(InkBounds(f, clWhite), TRect{});
}

TEST(CanvasClip, SetIntersectExcludeSaveRestoreAndOrigin) {
    TBitmap b = White(20, 20);
    TCanvas& c = b.Canvas();
    c.Brush.Color = clBlack;
    c.SetClipRect({2, 2, 12, 12});
    c.IntersectClipRect({5, 0, 20, 8});
    EXPECT_EQ(c.ClipRect(), (TRect{5, 2, 12, 8}));
    int level = c.SaveState();
    c.ExcludeClipRect({7, 4, 9, 6});
    c.FillRect({0, 0, 20, 20});
    EXPECT_EQ(InkBounds(b, clWhite), (TRect{5, 2, 12, 8}));
    EXPECT_EQ(b.Pixel(8, 5), clWhite);
    EXPECT_EQ(CountColor(b, clBlack), 7 * 6 - 4);

    c.Brush.Color = clRed;
    c.RestoreState(level);
    EXPECT_EQ(c.Brush.Color, clBlack);
    c.Brush.Color = clRed;
    c.FillRect({0, 0, 20, 20});
    // The exclusion went with the restored state.
    EXPECT_TRUE(PixelsAre(b, {{8, 5, clRed}, {1, 1, clWhite}}));
    EXPECT_FALSE(c.RectVisible({0, 0, 2, 2}));

    // Logical coordinates move with the origin; a clip set afterwards is taken where it is drawn.
    c.RemoveClip();
    c.SetOrigin(10, 10);
    c.IntersectClipRect({0, 0, 3, 3});
    c.Brush.Color = clBlue;
    c.FillRect({-10, -10, 10, 10});
    EXPECT_EQ(InkBounds(b, clWhite).Right, 13);
    EXPECT_TRUE(PixelsAre(b, {{10, 10, clBlue}, {12, 12, clBlue}, {13, 13, clWhite}}));
    EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 3, 3}));
    EXPECT_EQ(c.GetPixel(0, 0), clBlue);
    EXPECT_EQ(c.GetPixel(5, 5), clNone);  // outside the clip
}

}  // namespace
}  // namespace rv
