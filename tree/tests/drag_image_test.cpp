// The drag image: its move restrictions, the alpha channel of a fading picture (centre, edges,
// corners, the key colour), composing it onto a picture, and the translucent window it is shown
// in, which neither takes the mouse nor the activation.

#include <gtest/gtest.h>

#include "platform/windows/popup_windows.h"
#include "platform/windows/tests/gui_app.h"
#include "platform/windows/top_level_window.h"
#include "platform/windows/window_host.h"
#include "tree/drag_image.h"

namespace rv::test {
namespace {

TBitmap Picture(int width, int height, TColor color) {
    TBitmap b(width, height);
    b.Canvas().Brush.Color = color;
    b.Canvas().FillRect({0, 0, width, height});
    return b;
}

TEST(TreeDragImage, MovesWithinItsRestriction) {
    App();
    TVTDragImage image;
    image.Windowed = false;
    std::vector<TRect> moves;
    image.OnMove = [&](const TRect&, const TRect& after) { moves.push_back(after); };
    image.PrepareDrag(Picture(40, 20, clRed), {100, 50}, {10, 5});
    EXPECT_EQ(image.GetDragImageRect(), Bounds(90, 45, 40, 20));
    image.ShowDragImage();
    ASSERT_TRUE(image.Visible());

    struct Case {
        TVTDragMoveRestriction restriction;
        TPoint to;
        TPoint corner;
        bool moves;
    };
    const Case cases[] = {
        {dmrNone, {110, 60}, {100, 55}, true},
        {dmrHorizontalOnly, {130, 90}, {120, 55}, true},
        {dmrHorizontalOnly, {130, 20}, {120, 55}, false},  // only up: no move at all
        {dmrVerticalOnly, {10, 40}, {120, 75}, true},
        {dmrVerticalOnly, {200, 40}, {120, 75}, false},
    };
    for (const Case& c : cases) {
        image.MoveRestriction = c.restriction;
        EXPECT_EQ(image.WillMove(c.to), c.moves);
        EXPECT_EQ(image.DragTo(c.to), c.moves);
        EXPECT_EQ(image.ImagePosition(), c.corner);
        EXPECT_EQ(image.LastPosition(), c.to);
    }
    EXPECT_EQ(moves.size(), 4u);  // shown, and each move
    image.HideDragImage();
    EXPECT_FALSE(image.WillMove({0, 0}));
    EXPECT_TRUE(moves.back().IsEmpty());
    image.EndDrag();
    EXPECT_FALSE(image.Prepared());
}

TEST(TreeDragImage, FadingAlphaAndKeyColour) {
    App();
    TVTDragImage image;
    image.Windowed = false;
    image.Fade = true;
    image.ColorKey = clLime;
    TBitmap picture = Picture(41, 21, clBlue);
    picture.SetPixel(20, 10, clLime);  // the centre itself is the key colour
    picture.SetPixel(3, 3, clLime);
    image.PrepareDrag(picture, {0, 0}, {0, 0});
    EXPECT_EQ(image.AlphaAt(20, 10), 0);
    EXPECT_EQ(image.AlphaAt(3, 3), 0);
    EXPECT_EQ(image.AlphaAt(21, 10), 255);  // 1 pixel of 41 off the centre: 255 × 0.9988
    // The middle of the left and right edges, 20 of 41 from the centre: 1 − 2 × 0.238.
    EXPECT_EQ(image.AlphaAt(0, 10), 134);
    EXPECT_EQ(image.AlphaAt(40, 10), 134);
    EXPECT_EQ(image.AlphaAt(20, 0), 225);  // 10 of 41: 1 − 2 × 0.0595
    EXPECT_EQ(image.AlphaAt(0, 0), 103);   // the corner, √500 of 41: 1 − 2 × 0.297
    EXPECT_DOUBLE_EQ(DragImageFallOff(0, 10), 1);
    EXPECT_DOUBLE_EQ(DragImageFallOff(5, 10), 0.5);
    EXPECT_DOUBLE_EQ(DragImageFallOff(8, 10), 0);

    // Without fading the picture is opaque but for the key colour.
    image.Fade = false;
    image.PrepareDrag(picture, {0, 0}, {0, 0});
    EXPECT_EQ(image.AlphaAt(0, 0), 255);
    EXPECT_EQ(image.AlphaAt(3, 3), 0);
}

TEST(TreeDragImage, ComposesWithTransparencyAndBias) {
    App();
    TVTDragImage image;
    image.Windowed = false;
    image.Transparency = 128;
    image.PrepareBias = 20;
    image.PrepareDrag(Picture(10, 10, RGB(100, 100, 100)), {15, 5}, {5, 5});
    TBitmap target(30, 10, pf32bit);
    target.Canvas().Brush.Color = RGB(200, 200, 200);
    target.Canvas().FillRect({0, 0, 30, 10});
    image.ComposeOnto(target, {0, 0});
    // 200 + (120 − 200) × 128 / 256 = 160 where the picture lies (10 … 20), 200 elsewhere.
    EXPECT_EQ(target.Pixel(12, 5), RGB(160, 160, 160));
    EXPECT_EQ(target.Pixel(9, 5), RGB(200, 200, 200));
    EXPECT_EQ(target.Pixel(20, 5), RGB(200, 200, 200));
}

TEST(TreeDragImage, WindowFollowsWithoutTakingTheMouseOrTheActivation) {
    App();
    TVTDragImage image;
    image.PrepareDrag(Picture(30, 20, clRed), {200, 150}, {15, 10});
    ASSERT_NE(image.Window(), HWND(0));
    EXPECT_TRUE(IsPopupWindow(image.Window()));
    EXPECT_FALSE(IsWindowVisible(image.Window()));
    image.ShowDragImage();
    EXPECT_TRUE(IsWindowVisible(image.Window()));
    EXPECT_NE(GetActiveWindow(), image.Window());
    EXPECT_EQ(GetWindowBounds(image.Window()), Bounds(185, 140, 30, 20));
    image.DragTo({240, 170});
    EXPECT_EQ(GetWindowBounds(image.Window()), Bounds(225, 160, 30, 20));
    image.HideDragImage();
    EXPECT_FALSE(IsWindowVisible(image.Window()));
    image.EndDrag();
    EXPECT_EQ(image.Window(), HWND(0));
}

}  // namespace
}  // namespace rv::test
