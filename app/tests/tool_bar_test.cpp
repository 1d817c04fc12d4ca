// The main window's tool bar: seven flat buttons with two-cell glyphs that the program draws at
// the screen's pixel ratio, the hot and the down colour.

#include <gtest/gtest.h>

#include "app/tests/app_fixture.h"
#include "app/tests/picture_checks.h"
#include "app/tool_bar_glyphs.h"
#include "platform/windows/window_image.h"

namespace rv {
namespace {

constexpr TColor kKey = RGB(255, 0, 255);

bool Grey(TColor c) {
    return c == kKey || c == clWhite || c == clGray;
}

TEST(ToolBarGlyphs, TwoCellsThePictureAndItsGreyEmbossedFormAtEveryRatio) {
    using enum TToolBarGlyph;
    for (TToolBarGlyph glyph : {New, Open, Save, Scan, Preferences, Exit, Player}) {
        SCOPED_TRACE(int(glyph));
        const TBitmap picture = ToolBarGlyph(glyph);
        ASSERT_EQ(picture.Width(), 32);
        ASSERT_EQ(picture.Height(), 16);
        for (double ratio : {1.0, 2.0}) {
            const TBitmap p = picture.ForRatio(ratio);
            const int cell = int(16 * ratio), bottom = p.PixelHeight() - 1;
            // The buttons leave out the colour of each cell's bottom-left pixel.
            EXPECT_EQ(p.Pixel(0, bottom), kKey);
            EXPECT_EQ(p.Pixel(cell, bottom), kKey);
            int coloured = 0, grey = 0, white = 0, other = 0;
            for (int y = 0; y <= bottom; ++y)
                for (int x = 0; x < cell; ++x) {
                    coloured += !Grey(p.Pixel(x, y));
                    const TColor disabled = p.Pixel(cell + x, y);
                    grey += disabled == clGray;
                    white += disabled == clWhite;
                    other += !Grey(disabled);
                }
            EXPECT_GT(coloured, 20 * ratio * ratio);
            EXPECT_GT(grey, 20 * ratio * ratio);
            EXPECT_GT(white, 5 * ratio * ratio);
            EXPECT_EQ(other, 0);
        }
        const TBitmap sharp = picture.ForRatio(2);
        EXPECT_GT(test::FineBlocks(sharp, {0, 0, 16, 16}), 2);
        EXPECT_GT(test::FineBlocks(sharp, {16, 0, 32, 16}), 2);
    }
}

using ToolBar = test::AppTest;

TEST_F(ToolBar, ItsButtonsCarryTheirGlyphsAndShowTheDisabledOneWhenDisabled) {
    for (TLbSpeedButton* b : {W().sbNew, W().sbOpen, W().sbSave, W().sbScan, W().sbPrefs,
                              W().sbExit, W().sbMP3Player}) {
        SCOPED_TRACE(b->Name());
        EXPECT_TRUE(b->Flat());
        EXPECT_EQ(b->HotTrackColor(), TColor(0xD2BDB6));
        EXPECT_EQ(b->ColorWhenDown(), TColor(0xB59285));
        EXPECT_EQ(b->NumGlyphs(), 2);
        EXPECT_TRUE(b->Glyph().Redrawable());
    }
    // Scan waits for a library: its lens shows only once there is one.
    const TColor lens = RGB(200, 230, 250);
    auto lensPixels = [&] {
        W().UpdateCommands();
        Settle();
        const TBitmap shot = WindowImage(W().Handle(), 1);
        const TRect area = test::PlaceIn(W().sbScan, W().Handle());
        return test::CountColor(shot, area, lens);
    };
    W().Show();
    EXPECT_FALSE(W().sbScan->Enabled());
    EXPECT_EQ(lensPixels(), 0);
    ShowLibrary();
    EXPECT_GT(lensPixels(), 20);
    EXPECT_TRUE(W().sbScan->Enabled());
}

}  // namespace
}  // namespace rv
