// Pictures the program draws are drawn again for each pixel ratio they are painted at, in image
// lists too; at 100 % they are what they always were.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/image_list.h"
#include "platform/graphics/tests/pixels.h"
#include "testsupport/temp_dir.h"

namespace rv {
namespace {

using test::Filled;
using test::FineBlocks;
using test::FixedCopy;
using test::SamePixels;

// Two 8 x 8 cells on fuchsia: a black right triangle (a diagonal edge at its right), then a red
// disc.
TBitmap Strip(double ratio) {
    TBitmap b = Filled(16, 8, clFuchsia, ratio);
    TCanvas& c = b.Canvas();
    c.Pen.Color = clBlack;
    c.Brush.Color = clBlack;
    const TPoint corners[] = {{1, 0}, {7, 6}, {1, 6}};
    c.Polygon(corners);
    c.Pen.Color = clRed;
    c.Brush.Color = clRed;
    c.Ellipse({8, 0, 16, 8});
    return b;
}

// For each device row holding `ink`, the device column right of its last such pixel.
std::vector<int> RightEdgeOf(const TBitmap& b, TColor ink) {
    std::vector<int> edge;
    for (int y = 0; y < b.PixelHeight(); ++y) {
        int right = 0;
        for (int x = 0; x < b.PixelWidth(); ++x)
            if (b.Pixel(x, y) == ink) right = x + 1;
        if (right > 0) edge.push_back(right);
    }
    return edge;
}

TEST(DrawnPicture, IsDrawnOncePerRatioForEveryCopyAndKeepsItsTransparency) {
    int made = 0;
    TBitmap picture = TBitmap::Drawn([&made](double ratio) {
        ++made;
        return Strip(ratio);
    });
    EXPECT_TRUE(SamePixels(picture, Strip(1)));
    EXPECT_TRUE(SamePixels(picture.ForRatio(1), picture));
    EXPECT_EQ(made, 1);

    picture.Transparent = true;
    picture.SetTransparentColor(clFuchsia);
    const TBitmap copy = picture;
    const TBitmap sharp = copy.ForRatio(2);
    EXPECT_EQ(picture.ForRatio(2).PixelWidth(), 32);      // the copies share what was drawn
    EXPECT_TRUE(SamePixels(sharp.ForRatio(1), picture));  // and back, without drawing
    EXPECT_EQ(made, 2);
    EXPECT_EQ(sharp.Width(), 16);
    EXPECT_TRUE(sharp.Transparent);
    EXPECT_EQ(sharp.TransparentColor(), clFuchsia);

    // The triangle's slope steps one device pixel per device row, not two every other row.
    std::vector<int> edge = RightEdgeOf(sharp, clBlack), steps;
    for (std::size_t y = 1; y < edge.size(); ++y) steps.push_back(edge[y] - edge[y - 1]);
    EXPECT_GE(std::count(steps.begin(), steps.end(), 1), 10);
    EXPECT_EQ(std::count(steps.begin(), steps.end(), 2), 0);

    // Reaching into the pixels makes a picture of its own, which nothing draws again.
    test::TempDir dir;
    ASSERT_TRUE(Strip(1).SaveToFile(dir / "strip.png"));
    const std::pair<const char*, std::function<void(TBitmap&)>> changes[] = {
        {"canvas", [](TBitmap& b) { b.Canvas(); }},
        {"pixel", [](TBitmap& b) { b.SetPixel(0, 0, clBlue); }},
        {"scan line", [](TBitmap& b) { b.ScanLine(0); }},
        {"size", [](TBitmap& b) { b.SetSize(20, 8); }},
        {"format", [](TBitmap& b) { b.SetPixelFormat(pf32bit); }},
        {"file", [&](TBitmap& b) { ASSERT_TRUE(b.LoadFromFile(dir / "strip.png")); }},
    };
    for (const auto& [what, change] : changes) {
        TBitmap changed = picture;
        change(changed);
        EXPECT_FALSE(changed.Redrawable()) << what;
        EXPECT_EQ(changed.ForRatio(2).PixelRatio(), 1) << what;
        EXPECT_TRUE(picture.Redrawable()) << what;
    }
    EXPECT_FALSE(TBitmap::Drawn(nullptr).Redrawable());
}

// Every way an image list draws, on a canvas at `ratio`, each image at its own place.
TBitmap DrawnBy(const TImageList& list, double ratio) {
    TBitmap target = Filled(40, 40, clWhite, ratio);
    TCanvas& c = target.Canvas();
    for (int i = 0; i < list.Count(); ++i) {
        list.Draw(c, 0, 10 * i, i);
        list.Draw(c, 10, 10 * i, i, false);
        list.DrawEx(c, i, 20, 10 * i, CLR_NONE, clBlue, ILD_TRANSPARENT | ILD_BLEND50);
        list.DrawEx(c, i, 30, 10 * i, CLR_NONE, CLR_NONE, ILD_MASK);
    }
    return target;
}

TEST(DrawnPicture, ImageListsCutFromADrawnPictureAreAsFineAsTheCanvas) {
    TImageList drawn(8, 8), fixed(8, 8);
    EXPECT_EQ(drawn.AddMasked(TBitmap::Drawn(Strip), clDefault), 0);
    EXPECT_EQ(fixed.AddMasked(FixedCopy(TBitmap::Drawn(Strip)), clDefault), 0);
    ASSERT_EQ(drawn.Count(), 2);

    // At 100 % nothing changes: every kind of drawing gives the fixed picture's pixels.
    EXPECT_TRUE(SamePixels(DrawnBy(drawn, 1), DrawnBy(fixed, 1)));

    // At 200 % the drawn images have their own device pixels, in every kind of drawing; the
    // fixed ones are enlarged.
    const TBitmap fine = DrawnBy(drawn, 2), coarse = DrawnBy(fixed, 2);
    for (int column = 0; column < 4; ++column)
        for (int image = 0; image < 2; ++image) {
            const TRect cell = Bounds(10 * column, 10 * image, 8, 8);
            EXPECT_GT(FineBlocks(fine, cell), 4) << "column " << column << " image " << image;
            EXPECT_EQ(FineBlocks(coarse, cell), 0) << "column " << column << " image " << image;
        }

    TBitmap image;
    ASSERT_TRUE(drawn.GetBitmap(1, image));
    EXPECT_TRUE(image.Redrawable());
    EXPECT_EQ(image.ForRatio(2).PixelWidth(), 16);
}

TEST(DrawnPicture, ImageListsTakeAPictureAtTwiceTheSizeWhole) {
    // A fixed picture at 200 %, lime on fuchsia: the automatic mask colour is its bottom-left
    // device pixel, and every form of the image covers all of its device pixels.
    TBitmap big = Filled(8, 8, clFuchsia, 2);
    big.Canvas().Brush.Color = clLime;
    big.Canvas().FillRect({0, 2, 6, 6});  // 12 x 8 device pixels
    TImageList list(8, 8);
    list.AddMasked(big, clDefault);
    const TBitmap target = DrawnBy(list, 2);
    auto count = [&](int column, TColor color) {
        TBitmap part(8, 8, pf24bit, 2);
        part.Canvas().CopyRect({0, 0, 8, 8}, target, Bounds(10 * column, 0, 8, 8));
        return test::CountColor(part, color);
    };
    const int inked = 12 * 8, around = 16 * 16 - inked;
    EXPECT_EQ(count(0, clLime), inked);
    EXPECT_EQ(count(0, clWhite), around);
    EXPECT_EQ(count(1, clLime), 0);  // disabled: grey all over
    EXPECT_EQ(count(1, clWhite), around);
    EXPECT_EQ(count(2, BlendColors(clLime, clBlue, 0.5)), inked);
    EXPECT_EQ(count(3, clBlack), inked);
    EXPECT_EQ(count(3, clWhite), around);
}

}  // namespace
}  // namespace rv
