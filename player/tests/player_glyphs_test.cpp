// The player window's button pictures keep their size and background at every scale and are
// drawn at the screen's pixel ratio: slopes and curves in device pixels, straight edges on the
// same logical pixels as at 100 %.

#include <gtest/gtest.h>

#include "platform/graphics/tests/pixels.h"
#include "player/player_glyphs.h"

namespace rv::test {
namespace {

TEST(PlayerGlyphs, AreDrawnAtTheRatioOfTheScreen) {
    struct Row {
        TPlayerGlyph glyph;
        bool slopes;  // triangles, discs or crossed lines; otherwise boxes only
    };
    const Row rows[] = {
        {TPlayerGlyph::Play, true},         {TPlayerGlyph::Pause, false},
        {TPlayerGlyph::Stop, false},        {TPlayerGlyph::Previous, true},
        {TPlayerGlyph::Next, true},         {TPlayerGlyph::Exit, true},
        {TPlayerGlyph::AddFiles, false},    {TPlayerGlyph::RemoveFile, false},
        {TPlayerGlyph::ClearFiles, true},   {TPlayerGlyph::ShowHide, false},
        {TPlayerGlyph::AddToLibrary, true},
    };
    const TColor background = RGB(255, 0, 255);
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.glyph));
        const TBitmap picture = PlayerGlyph(row.glyph);
        ASSERT_EQ(picture.Width(), 16);
        ASSERT_EQ(picture.Height(), 16);
        EXPECT_EQ(picture.TransparentColor(), background);
        const TBitmap sharp = picture.ForRatio(2);
        ASSERT_EQ(sharp.PixelWidth(), 32);
        ASSERT_EQ(sharp.Height(), 16);
        EXPECT_EQ(sharp.TransparentColor(), background);
        if (row.slopes) {
            EXPECT_GT(FineBlocks(sharp), 4);
            continue;
        }
        // Boxes cover whole logical pixels: the picture at 100 %, each pixel twice as wide
        // and high.
        int differ = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) differ += sharp.Pixel(x, y) != picture.Pixel(x / 2, y / 2);
        EXPECT_EQ(differ, 0);
    }
}

}  // namespace
}  // namespace rv::test
