#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/tests/pixels.h"

namespace rv {
namespace {

using test::CountColor;
using test::InkBounds;
using test::PixelsAre;

// Device pixels of a bitmap, row by row: '#' for `ink`, '.' for anything else.
std::vector<std::string> Rows(const TBitmap& b, TColor ink, TRect area) {
    std::vector<std::string> rows;
    for (int y = area.Top; y < area.Bottom; ++y) {
        std::string row;
        for (int x = area.Left; x < area.Right; ++x) row += b.Pixel(x, y) == ink ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

TEST(CanvasScale, LinesAndOutlinesCoverWholeLogicalPixelsAtTwiceTheResolution) {
    TBitmap b(20, 12, pf24bit, 2);
    EXPECT_EQ(std::make_tuple(b.Width(), b.Height(), b.PixelWidth(), b.PixelHeight()),
              std::make_tuple(20, 12, 40, 24));
    TCanvas& c = b.Canvas();
    EXPECT_EQ(c.PixelRatio(), 2);
    EXPECT_EQ(c.ClipRect(), (TRect{0, 0, 20, 12}));

    // A line is two device pixels thick and has no gap: logical 2..11 on row 5.
    c.MoveTo(2, 5);
    c.LineTo(12, 5);
    EXPECT_EQ(InkBounds(b, clWhite), (TRect{4, 10, 24, 12}));
    EXPECT_EQ(CountColor(b, clBlack), 20 * 2);
    EXPECT_EQ(c.GetPixel(11, 5), clBlack);

    // Wider pens cover whole logical pixels across the line too, the same ones at both scales.
    for (int width : {2, 3})
        for (int ratio : {1, 2}) {
            TBitmap wide(12, 12, pf24bit, ratio);
            wide.Canvas().Pen.Width = width;
            wide.Canvas().MoveTo(3, 5);
            wide.Canvas().LineTo(8, 5);
            TRect ink = InkBounds(wide, clWhite);
            EXPECT_EQ(std::make_pair(ink.Top, ink.Bottom),
                      std::make_pair(ratio * 4, ratio * (width == 2 ? 6 : 7)))
                << width << " at " << ratio;
            EXPECT_EQ(CountColor(wide, clBlack), ink.Width() * ink.Height()) << "solid";
        }

    // A diagonal: each logical pixel a full 2 x 2 block, corner to corner.
    TBitmap d(8, 8, pf24bit, 2);
    d.Canvas().MoveTo(0, 0);
    d.Canvas().LineTo(4, 4);
    EXPECT_EQ(Rows(d, clBlack, {0, 0, 10, 10}),
              (std::vector<std::string>{"##........", "##........", "..##......", "..##......",
                                        "....##....", "....##....", "......##..", "......##..",
                                        "..........", ".........."}));

    // Dots and the focus rectangle alternate logical pixels.
    TBitmap dots(6, 2, pf24bit, 2);
    dots.Canvas().Pen.Style = psDot;
    dots.Canvas().MoveTo(0, 0);
    dots.Canvas().LineTo(6, 0);
    dots.Canvas().DrawFocusRect({0, 1, 6, 2});
    EXPECT_EQ(
        Rows(dots, clBlack, {0, 0, 12, 4}),
        (std::vector<std::string>{"##..##..##..", "##..##..##..", "..##..##..##", "..##..##..##"}));

    // A rectangle's outline and a rounded one's straight edges: one logical pixel, the brush
    // right inside.
    TBitmap r(12, 10, pf24bit, 2);
    r.Canvas().Brush.Color = clLime;
    r.Canvas().Rectangle(1, 1, 11, 9);
    r.Canvas().Pen.Color = clRed;
    r.Canvas().RoundRect(3, 3, 9, 7, 2, 2);
    EXPECT_EQ(InkBounds(r, clWhite), (TRect{2, 2, 22, 18}));
    EXPECT_TRUE(PixelsAre(r, {{2, 10, clBlack},
                              {3, 10, clBlack},
                              {4, 10, clLime},
                              {21, 17, clBlack},
                              {19, 15, clLime},
                              {12, 6, clRed},
                              {12, 7, clRed},
                              {12, 8, clLime},
                              {12, 12, clRed},
                              {12, 13, clRed},
                              {12, 11, clLime}}));
}

TEST(CanvasScale, PicturesKeepTheirLogicalSizeAndAtOneAndAHalfLinesTileWithoutGaps) {
    // A picture at the canvas's ratio goes over one to one, one of ratio 1 is enlarged without
    // smoothing.
    TBitmap target(10, 10, pf24bit, 2);
    TBitmap sharp(2, 2, pf24bit, 2);
    sharp.SetPixel(1, 1, clRed);
    target.Canvas().Draw(3, 2, sharp);
    EXPECT_TRUE(PixelsAre(target, {{7, 5, clRed}, {6, 5, clWhite}, {6, 4, clWhite}}));
    TBitmap plain = test::White(2, 2);
    plain.SetPixel(1, 1, clBlue);
    target.Canvas().Draw(6, 6, plain);
    EXPECT_EQ(InkBounds(target, clWhite), (TRect{7, 5, 16, 16}));
    EXPECT_EQ(CountColor(target, {14, 14, 16, 16}, clBlue), 4);
    EXPECT_EQ(CountColor(target, clWhite), 20 * 20 - 5) << "nothing smoothed";

    // Copies, sizes and the bottom-left transparent colour are the bitmap's own.
    TBitmap copy = sharp;
    copy.SetSize(3, 3);
    EXPECT_EQ(std::make_tuple(copy.PixelRatio(), copy.PixelWidth(), copy.Pixel(1, 1)),
              std::make_tuple(2.0, 6, clRed));
    copy.SetPixel(0, 5, clYellow);
    EXPECT_EQ(copy.TransparentColor(), clYellow);

    // At 150 % a logical pixel is one or two device pixels wide; neighbouring lines in two colours
    // cover every device column without a gap or a blend.
    TBitmap h(8, 2, pf24bit, 1.5);
    EXPECT_EQ(h.PixelWidth(), 12);
    for (int x = 0; x < 8; ++x) {
        h.Canvas().Pen.Color = x % 2 ? clRed : clBlack;
        h.Canvas().MoveTo(x, 0);
        h.Canvas().LineTo(x, 2);
    }
    EXPECT_EQ(CountColor(h, clRed) + CountColor(h, clBlack), 12 * 3);
    EXPECT_EQ(CountColor(h, clRed), 4 * 3);
}

}  // namespace
}  // namespace rv
