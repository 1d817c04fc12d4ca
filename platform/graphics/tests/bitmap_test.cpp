#include <gtest/gtest.h>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/image_list.h"
#include "platform/graphics/tests/pixels.h"
#include "testsupport/temp_dir.h"

namespace rv {
namespace {

using test::Filled;
using test::InkBounds;
using test::PixelsAre;
using test::White;

TEST(Bitmap, RowsHoldBlueGreenRedInThePixelFormat) {
    TBitmap b(4, 2, pf24bit);
    b.Canvas().Brush.Color = RGB(10, 20, 30);
    b.Canvas().FillRect({1, 1, 2, 2});
    const std::uint8_t* row = b.ScanLine(1);
    EXPECT_EQ(std::vector<int>(row, row + 6), (std::vector<int>{255, 255, 255, 30, 20, 10}));

    b.SetPixelFormat(pf32bit);
    EXPECT_EQ(b.BytesPerPixel(), 4);
    row = b.ScanLine(1);
    EXPECT_EQ(row[4], 30);
    EXPECT_EQ(row[7], 255);

    // Writing a row changes what the canvas sees, and the canvas keeps drawing afterwards.
    std::uint8_t* first = b.ScanLine(0);
    first[0] = first[1] = 0;
    first[2] = 255;
    EXPECT_EQ(b.Canvas().GetPixel(0, 0), clRed);
    b.Canvas().Brush.Color = clLime;
    b.Canvas().FillRect({3, 0, 4, 1});
    EXPECT_EQ(b.Pixel(3, 0), clLime);
    EXPECT_EQ(b.ScanLine(2), nullptr);
}

TEST(Bitmap, ResizeKeepsContentAndCopiesAreDeep) {
    TBitmap b = Filled(4, 4, clRed);
    b.SetSize(6, 3);
    EXPECT_TRUE(PixelsAre(b, {{3, 2, clRed}, {5, 0, clWhite}, {0, 3, clNone}}));

    TBitmap copy = b;
    copy.Canvas().Brush.Color = clBlue;
    copy.Canvas().FillRect({0, 0, 1, 1});
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_EQ(copy.Pixel(0, 0), clBlue);

    TBitmap empty;
    empty.Canvas().FillRect({0, 0, 5, 5});  // harmless
    empty.SetSize(2, 2);
    EXPECT_EQ(empty.Pixel(1, 1), clWhite);
}

TEST(Bitmap, TransparentCopiesLeaveTheKeyColourOut) {
    TBitmap glyph = Filled(4, 4, clFuchsia);
    glyph.Canvas().Brush.Color = clBlue;
    glyph.Canvas().FillRect({1, 1, 3, 3});

    TBitmap target = White(10, 10);
    target.Canvas().Draw(2, 2, glyph);  // opaque: every pixel
    EXPECT_EQ(target.Pixel(2, 2), clFuchsia);

    TBitmap keyed = White(10, 10);
    glyph.Transparent = true;  // automatic colour: the bottom-left pixel
    EXPECT_EQ(glyph.TransparentColor(), clFuchsia);
    keyed.Canvas().Draw(2, 2, glyph);
    EXPECT_EQ(InkBounds(keyed, clWhite), (TRect{3, 3, 5, 5}));

    glyph.SetTransparentColor(clBlue);
    TBitmap fixed = White(10, 10);
    fixed.Canvas().Draw(0, 0, glyph);
    EXPECT_TRUE(PixelsAre(fixed, {{0, 0, clFuchsia}, {1, 1, clWhite}}));
}

TEST(Bitmap, CopyRectOntoItselfAndFiles) {
    TBitmap b = White(6, 6);
    b.Canvas().Brush.Color = clRed;
    b.Canvas().FillRect({0, 0, 3, 3});
    b.Canvas().CopyRect({1, 1, 7, 7}, b, {0, 0, 6, 6});
    EXPECT_TRUE(PixelsAre(b, {{0, 0, clRed}, {3, 3, clRed}, {4, 4, clWhite}}));

    test::TempDir dir;
    std::string path = dir / "b.png";
    ASSERT_TRUE(b.SaveToFile(path));
    TBitmap back;
    ASSERT_TRUE(back.LoadFromFile(path));
    EXPECT_EQ(back.Width(), 6);
    EXPECT_EQ(back.Pixel(3, 3), clRed);
    EXPECT_FALSE(back.LoadFromFile(dir / "missing.png"));
    EXPECT_EQ(back.Width(), 6);
}

TEST(Colors, SystemColoursAndBlending) {
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ColorToRGB(clNone), clBlack);
    EXPECT_EQ(BlendColors(clBlack, clWhite, 0.5), RGB(128, 128, 128));  // 127.5 to even
    EXPECT_EQ(BlendColors(RGB(0, 0, 0), RGB(4, 12, 20), 0.125), RGB(0, 2, 2));
    EXPECT_EQ(BlendColors(clRed, clBlue, 1.0), clBlue);
}

// Two 4 x 4 cells: a red square with a fuchsia ring, then all blue.
TBitmap Strip() {
    TBitmap strip = test::Filled(8, 4, clFuchsia);
    TCanvas& c = strip.Canvas();
    c.Brush.Color = clRed;
    c.FillRect({1, 1, 3, 3});
    c.Brush.Color = clBlue;
    c.FillRect({4, 0, 8, 4});
    return strip;
}

TEST(ImageList, MaskedCellsDrawOnlyTheirPictureDisabledBlendedMaskedAndOverlaid) {
    TImageList list(4, 4);
    EXPECT_EQ(list.AddMasked(Strip(), clDefault), 0);  // bottom-left pixel: fuchsia
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Add(Strip()), 2);
    EXPECT_EQ(list.Count(), 4);

    TBitmap b = White(10, 10);
    list.Draw(b.Canvas(), 3, 3, 0);
    EXPECT_EQ(InkBounds(b, clWhite), (TRect{4, 4, 6, 6}));
    EXPECT_EQ(b.Pixel(4, 4), clRed);

    list.Draw(b.Canvas(), 0, 0, 3);  // unmasked copy: every pixel
    EXPECT_EQ(b.Pixel(0, 0), clBlue);
    list.Draw(b.Canvas(), 0, 0, 9);  // no such image: nothing
    EXPECT_EQ(b.Pixel(0, 0), clBlue);

    TBitmap cell;
    ASSERT_TRUE(list.GetBitmap(0, cell));
    EXPECT_EQ(cell.PixelFormat(), pf32bit);
    EXPECT_EQ(cell.ScanLine(0)[3], 0);
    EXPECT_EQ(cell.ScanLine(1)[4 + 3], 255);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 3);

    // Drawn disabled, blended, as a mask and with an overlay.
    TImageList masked(4, 4);
    masked.AddMasked(Strip(), clFuchsia);

    TBitmap grey = White(4, 4);
    masked.Draw(grey.Canvas(), 0, 0, 0, false);
    TColor g = grey.Pixel(1, 1);
    EXPECT_TRUE(GetRValue(g) == GetGValue(g) && GetGValue(g) == GetBValue(g)) << std::hex << g;
    EXPECT_EQ(grey.Pixel(0, 0), clWhite);

    TBitmap half = White(4, 4);
    masked.DrawEx(half.Canvas(), 0, 0, 0, CLR_NONE, clBlue, ILD_TRANSPARENT | ILD_BLEND50);
    EXPECT_EQ(half.Pixel(1, 1), RGB(128, 0, 128));

    TBitmap background = White(4, 4);
    masked.DrawEx(background.Canvas(), 0, 0, 0, clYellow, CLR_NONE, ILD_NORMAL);
    EXPECT_TRUE(PixelsAre(background, {{0, 0, clYellow}, {1, 1, clRed}}));

    TBitmap mask = test::Filled(4, 4, clLime);
    masked.DrawEx(mask.Canvas(), 0, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);
    EXPECT_TRUE(PixelsAre(mask, {{0, 0, clWhite}, {1, 1, clBlack}}));

    // Overlay 1 is image 1 (all blue), drawn over image 0.
    masked.SetOverlay(1, 1);
    TBitmap over = White(4, 4);
    masked.DrawEx(over.Canvas(), 0, 0, 0, CLR_NONE, CLR_NONE,
                  ILD_TRANSPARENT | IndexToOverlayMask(1));
    EXPECT_EQ(over.Pixel(0, 0), clBlue);
    // DrawOverlay counts overlays from 0 and draws both images in the same form: disabled, the
    // overlay's blue turns a grey of its own, darker than the red's.
    TBitmap plain = White(4, 4), disabledOver = White(4, 4);
    masked.DrawOverlay(plain.Canvas(), 0, 0, 0, 0);
    EXPECT_EQ(plain.Pixel(0, 0), clBlue);
    masked.DrawOverlay(disabledOver.Canvas(), 0, 0, 0, 0, false);
    masked.Draw(grey.Canvas(), 0, 0, 1, false);
    EXPECT_EQ(disabledOver.Pixel(0, 0), grey.Pixel(0, 0));
    EXPECT_LT(GetRValue(disabledOver.Pixel(0, 0)), GetRValue(g));
    TBitmap none = White(4, 4);
    masked.DrawOverlay(none.Canvas(), 0, 0, 0, -1);
    EXPECT_EQ(none.Pixel(0, 0), clWhite);
}

}  // namespace
}  // namespace rv
