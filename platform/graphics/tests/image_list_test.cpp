#include <gtest/gtest.h>

#include "platform/graphics/image_list.h"
#include "platform/graphics/tests/pixels.h"

namespace rv {
namespace {

using test::InkBounds;
using test::PixelsAre;
using test::White;

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

TEST(ImageList, MaskedCellsDrawOnlyTheirPicture) {
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
}

TEST(ImageList, DisabledBlendedMaskAndOverlay) {
    TImageList list(4, 4);
    list.AddMasked(Strip(), clFuchsia);

    TBitmap grey = White(4, 4);
    list.Draw(grey.Canvas(), 0, 0, 0, false);
    TColor g = grey.Pixel(1, 1);
    EXPECT_TRUE(GetRValue(g) == GetGValue(g) && GetGValue(g) == GetBValue(g)) << std::hex << g;
    EXPECT_EQ(grey.Pixel(0, 0), clWhite);

    TBitmap half = White(4, 4);
    list.DrawEx(half.Canvas(), 0, 0, 0, CLR_NONE, clBlue, ILD_TRANSPARENT | ILD_BLEND50);
    EXPECT_EQ(half.Pixel(1, 1), RGB(128, 0, 128));

    TBitmap background = White(4, 4);
    list.DrawEx(background.Canvas(), 0, 0, 0, clYellow, CLR_NONE, ILD_NORMAL);
    EXPECT_TRUE(PixelsAre(background, {{0, 0, clYellow}, {1, 1, clRed}}));

    TBitmap mask = test::Filled(4, 4, clLime);
    list.DrawEx(mask.Canvas(), 0, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);
    EXPECT_TRUE(PixelsAre(mask, {{0, 0, clWhite}, {1, 1, clBlack}}));

    // Overlay 1 is image 1 (all blue), drawn over image 0.
    list.SetOverlay(1, 1);
    TBitmap over = White(4, 4);
    list.DrawEx(over.Canvas(), 0, 0, 0, CLR_NONE, CLR_NONE,
                ILD_TRANSPARENT | IndexToOverlayMask(1));
    EXPECT_EQ(over.Pixel(0, 0), clBlue);
}

}  // namespace
}  // namespace rv
