// Popups: shown without the activation, placed where the program puts them, shaped by a
// picture, with an opacity; cursors of the program's own pictures.

#include <gtest/gtest.h>

#include <QApplication>

#include "platform/graphics/bitmap.h"
#include "platform/windows/popup_windows.h"
#include "platform/windows/tests/host_fixture.h"
#include "platform/windows/top_level_window.h"

namespace rv {
namespace {

using test::RecordingWindow;

TEST(PopupWindow, ShownWithoutTheActivationWhereItIsPutAndShapedByItsPicture) {
    RecordingWindow owner;
    owner.Show();
    SetFocus(owner.wnd);
    ASSERT_EQ(GetActiveWindow(), owner.wnd);
    RecordingWindow popup(40, 20);
    SetWindowPopup(popup.wnd, {.translucent = true, .ignoresInput = true});
    EXPECT_TRUE(IsPopupWindow(popup.wnd));
    EXPECT_FALSE(IsPopupWindow(owner.wnd));
    // Partly off the screen: a popup is not fitted onto it, as other windows are.
    SetWindowBounds(popup.wnd, Bounds(-30, -10, 40, 20));
    popup.Show();
    EXPECT_TRUE(IsWindowVisible(popup.wnd));
    EXPECT_EQ(GetActiveWindow(), owner.wnd);
    EXPECT_EQ(GetWindowBounds(popup.wnd), Bounds(-30, -10, 40, 20));

    TBitmap shape(40, 20);
    shape.Canvas().Brush.Color = clFuchsia;
    shape.Canvas().FillRect({0, 0, 40, 20});
    shape.Canvas().Brush.Color = clRed;
    shape.Canvas().FillRect({5, 5, 15, 15});
    SetWindowShape(popup.wnd, shape, clFuchsia);
    EXPECT_TRUE(WindowShapeContains(popup.wnd, {5, 5}));
    EXPECT_TRUE(WindowShapeContains(popup.wnd, {14, 14}));
    EXPECT_FALSE(WindowShapeContains(popup.wnd, {15, 5}));
    EXPECT_FALSE(WindowShapeContains(popup.wnd, {30, 15}));
    SetWindowShape(popup.wnd, TBitmap{}, clFuchsia);
    EXPECT_TRUE(WindowShapeContains(popup.wnd, {30, 15}));
    EXPECT_FALSE(WindowShapeContains(popup.wnd, {40, 15}));

    SetWindowOpacity(popup.wnd, 0.5);
    EXPECT_NEAR(GetWindowOpacity(popup.wnd), 0.5, 1 / 255.0);
    SetWindowOpacity(popup.wnd, 3);
    EXPECT_DOUBLE_EQ(GetWindowOpacity(popup.wnd), 1);
}

TEST(Cursors, PicturesOfTheProgramsOwnAndTheSplitShapeInSlots) {
    RecordingWindow w;
    w.Show();
    TBitmap picture(16, 16);
    picture.Canvas().Brush.Color = clFuchsia;
    picture.Canvas().FillRect({0, 0, 16, 16});
    picture.Canvas().Brush.Color = clBlack;
    picture.Canvas().FillRect({7, 0, 9, 16});
    RegisterCursor(150, picture, clFuchsia, {8, 8});
    SetWindowCursor(w.wnd, 150);
    EXPECT_EQ(GetWindowCursorShown(w.wnd), 150);
    RegisterCursor(151, TCursorShape::HorizontalSplit);
    SetWindowCursor(w.wnd, 151);
    EXPECT_EQ(GetWindowCursorShown(w.wnd), crHSplit);
    // A slot registered again takes the new cursor.
    RegisterCursor(150, TCursorShape::HorizontalSplit);
    SetWindowCursor(w.wnd, 150);
    EXPECT_EQ(GetWindowCursorShown(w.wnd), crHSplit);
}

}  // namespace
}  // namespace rv
