// The owner-drawn scroll bar: layout, limits, the repeat on arrows and track, dragging, and the
// parts' looks.

#include "player/fat_scroll_bar.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/framework/tests/form_fixture.h"
#include "platform/graphics/tests/pixels.h"

namespace rv::test {
namespace {

struct ScrollBarTest : ::testing::Test {
    ScrollBarTest() {
        bar = f.Add<TFatScrollBar>(10, 10);
        bar->OnChange = [this](TObject*) { changes.push_back(bar->Position()); };
    }
    // The mouse at (x, y) of the bar, through the form that routes it there.
    void Mouse(UINT msg, int x, int y, WPARAM keys = MK_LBUTTON) {
        f.form.Perform(msg, keys, MAKELPARAM(x + bar->Left(), y + bar->Top()));
    }
    // One beat of the repeat timer.
    void Tick() { SendMessage(bar->RepeatTimerWindow(), WM_TIMER, 1, 0); }
    TBitmap Picture(double ratio = 1) {
        TBitmap p = Filled(bar->Width(), bar->Height(), clLime, ratio);
        bar->PaintTo(p.Canvas());
        return p;
    }

    FormWith f;
    TFatScrollBar* bar = nullptr;
    std::vector<int> changes;
};

TEST_F(ScrollBarTest, ArrowsTrackAndScrollerAreLaidOutAlongTheBar) {
    ASSERT_EQ(bar->BoundsRect(), (TRect{10, 10, 160, 28}));
    EXPECT_EQ(bar->PartRect(kFirstArrow), (TRect{0, 0, 18, 18}));
    EXPECT_EQ(bar->PartRect(kSecondArrow), (TRect{132, 0, 150, 18}));
    EXPECT_EQ(bar->PartRect(kScroller), (TRect{18, 0, 36, 18}));
    EXPECT_TRUE(bar->PartRect(kTrackBefore).IsEmpty());
    EXPECT_EQ(bar->PartRect(kTrackAfter), (TRect{36, 0, 132, 18}));
    // 35 % of 18 is 6.3, 65 % is 11.7.
    using Triangle = std::array<TPoint, 3>;
    EXPECT_EQ(bar->ArrowTriangle(0), (Triangle{{{6, 9}, {12, 6}, {12, 12}}}));
    EXPECT_EQ(bar->ArrowTriangle(1), (Triangle{{{144, 9}, {138, 6}, {138, 12}}}));

    // Half way: half of the 96 pixels the scroller can travel.
    bar->SetPosition(50);
    EXPECT_EQ(bar->PartRect(kScroller), (TRect{66, 0, 84, 18}));
    EXPECT_EQ(bar->PartRect(kTrackBefore), (TRect{18, 0, 66, 18}));
    EXPECT_EQ(bar->PartRect(kTrackAfter), (TRect{84, 0, 132, 18}));

    bar->SetKind(sbVertical);
    bar->SetBounds(0, 0, 18, 150);
    EXPECT_EQ(bar->PartRect(kSecondArrow), (TRect{0, 132, 18, 150}));
    EXPECT_EQ(bar->PartRect(kScroller), (TRect{0, 66, 18, 84}));
    EXPECT_EQ(bar->ArrowTriangle(0), (Triangle{{{9, 6}, {6, 12}, {12, 12}}}));

    bar->SetArrowStretch(0);
    EXPECT_EQ(bar->ArrowStretch(), 1);
    bar->SetArrowStretch(150);
    EXPECT_EQ(bar->ArrowStretch(), 100);
}

TEST_F(ScrollBarTest, ValuesOutsideTheLimitsAreIgnored) {
    bar->SetPosition(150);
    bar->SetPosition(-1);
    EXPECT_EQ(bar->Position(), 0);
    bar->SetMax(-1);
    bar->SetMin(-1);
    bar->SetMin(101);
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 100);
    bar->SetSmallChange(0);
    bar->SetSmallChange(5);  // must stay below LargeChange
    EXPECT_EQ(bar->SmallChange(), 1);
    bar->SetLargeChange(0);
    EXPECT_EQ(bar->LargeChange(), 5);
    bar->SetSmallChange(4);
    bar->SetLargeChange(3);
    EXPECT_EQ(bar->LargeChange(), 5);
    bar->SetLargeChange(4);
    EXPECT_EQ(bar->LargeChange(), 4);
    // Arrows: 2 up to half the length; the scroller: 2 up to what the arrows leave, less one.
    for (int width : {1, 76}) bar->SetArrowWidth(width);
    EXPECT_EQ(bar->ArrowWidth(), 18);
    bar->SetArrowWidth(75);
    EXPECT_EQ(bar->ArrowWidth(), 75);
    bar->SetArrowWidth(15);
    for (int width : {1, 120}) bar->SetScrollerWidth(width);
    EXPECT_EQ(bar->ScrollerWidth(), 18);
    bar->SetScrollerWidth(119);
    EXPECT_EQ(bar->ScrollerWidth(), 119);
    for (int interval : {0, 10000}) bar->SetScrollInterval(interval);
    EXPECT_EQ(bar->ScrollInterval(), 50);
    bar->SetScrollInterval(9999);
    EXPECT_EQ(bar->ScrollInterval(), 9999);
    EXPECT_TRUE(changes.empty());
}

TEST_F(ScrollBarTest, AShrinkingOrEmptyRangeKeepsPositionAndScrollerInside) {
    bar->SetPosition(80);
    bar->SetMax(60);
    EXPECT_EQ(bar->Position(), 60);
    EXPECT_EQ(bar->PartRect(kScroller).Right, 132);
    bar->SetMax(0);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(bar->PartRect(kScroller), (TRect{18, 0, 36, 18}));
    Picture();  // paints
    // A range from 10 to 20 starts at the left end and ends at the right.
    bar->SetMax(20);
    bar->SetMin(10);
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_EQ(bar->PartRect(kScroller).Left, 18);
    bar->SetPosition(20);
    EXPECT_EQ(bar->PartRect(kScroller).Right, 132);
    // Dragged half way it stands half way between them.
    Mouse(WM_LBUTTONDOWN, 120, 9);
    Mouse(WM_MOUSEMOVE, 120 - 48, 9);
    Mouse(WM_LBUTTONUP, 120 - 48, 9, 0);
    EXPECT_EQ(bar->Position(), 15);
    EXPECT_EQ(changes, (std::vector<int>{80, 60, 0, 10, 20, 15}));
}

TEST_F(ScrollBarTest, HoldingAnArrowRepeatsItsStepUntilTheMouseLeavesIt) {
    Mouse(WM_LBUTTONDOWN, 140, 9);
    EXPECT_EQ(bar->PressedPart(), kSecondArrow);
    EXPECT_EQ(bar->PartState(kSecondArrow), stDown);
    EXPECT_TRUE(bar->Repeating());
    // The first step comes one interval after the press.
    EXPECT_EQ(bar->Position(), 0);
    for (int i = 0; i < 3; ++i) Tick();
    EXPECT_EQ(bar->Position(), 3);
    bar->SetPosition(99);
    Tick();
    Tick();
    EXPECT_EQ(bar->Position(), 100);

    // Off the arrow the next beat stops the repeat; back on it, it goes on.
    bar->SetPosition(90);
    Mouse(WM_MOUSEMOVE, 100, 9);  // the track before the scroller, now at 104 ... 122
    EXPECT_EQ(bar->PartState(kSecondArrow), stCold);
    EXPECT_EQ(bar->PartState(kTrackBefore), stHot);
    Tick();
    EXPECT_FALSE(bar->Repeating());
    EXPECT_EQ(bar->Position(), 90);
    Mouse(WM_MOUSEMOVE, 140, 9);
    EXPECT_TRUE(bar->Repeating());
    Tick();
    EXPECT_EQ(bar->Position(), 91);
    Mouse(WM_LBUTTONUP, 140, 9, 0);
    EXPECT_FALSE(bar->Repeating());
    EXPECT_EQ(bar->PressedPart(), kNoPart);
    EXPECT_EQ(bar->PartState(kSecondArrow), stHot);

    // The track pages until the scroller reaches the mouse.
    bar->SetPosition(0);
    Mouse(WM_LBUTTONDOWN, 60, 9);
    EXPECT_EQ(bar->PressedPart(), kTrackAfter);
    for (int i = 0; i < 10; ++i) Tick();
    EXPECT_EQ(bar->Position(), 30);  // the scroller then spans 47 ... 64
    EXPECT_FALSE(bar->Repeating());
    EXPECT_EQ(bar->PartState(kScroller), stHot);
    Mouse(WM_LBUTTONUP, 60, 9, 0);
}

TEST_F(ScrollBarTest, TheScrollerFollowsADragToEitherEndAndAnyReleaseEndsIt) {
    bar->SetPosition(50);
    Mouse(WM_LBUTTONDOWN, 71, 9);  // five pixels into the scroller
    EXPECT_TRUE(bar->Dragging());
    EXPECT_FALSE(bar->Repeating());
    Mouse(WM_MOUSEMOVE, 71 + 24, 9);  // a quarter of the travel on
    EXPECT_EQ(bar->Position(), 75);
    // Far past either end the scroller stops at the end.
    Mouse(WM_MOUSEMOVE, 1000, 9);
    EXPECT_EQ(bar->Position(), 100);
    Mouse(WM_MOUSEMOVE, -500, 9);
    EXPECT_EQ(bar->Position(), 0);
    // Let go away from the scroller: the drag is over all the same.
    Mouse(WM_LBUTTONUP, 140, 30, 0);
    EXPECT_FALSE(bar->Dragging());
    EXPECT_EQ(bar->PressedPart(), kNoPart);
    Mouse(WM_MOUSEMOVE, 100, 9, 0);
    EXPECT_EQ(bar->Position(), 0);

    // Another button's release ends it too.
    Mouse(WM_LBUTTONDOWN, 20, 9);
    Mouse(WM_RBUTTONUP, 20, 9, MK_LBUTTON);
    EXPECT_FALSE(bar->Dragging());
    Mouse(WM_MOUSEMOVE, 100, 9);
    EXPECT_EQ(bar->Position(), 0);
    Mouse(WM_LBUTTONUP, 100, 9, 0);
    EXPECT_EQ(changes, (std::vector<int>{50, 75, 100, 0}));
}

TEST_F(ScrollBarTest, PartsShowTheirStateInTheirStyleColours) {
    int in = 0, out = 0;
    bar->OnMouseIn = [&](TObject*) { ++in; };
    bar->OnMouseOut = [&](TObject*) { ++out; };
    Mouse(WM_MOUSEMOVE, 9, 9, 0);
    EXPECT_EQ(in, 1);
    EXPECT_EQ(bar->PartState(kFirstArrow), stHot);
    // Hot arrow button: the shadow colour with the arrow in the window colour.
    TBitmap hot = Picture();
    const TColor shadow = ColorToRGB(clBtnShadow), window = ColorToRGB(clWindow);
    EXPECT_TRUE(
        PixelsAre(hot, {{3, 3, shadow}, {9, 9, window}, {140, 9, ColorToRGB(clWindowText)}}));
    Mouse(WM_LBUTTONDOWN, 9, 9);
    TBitmap down = Picture();
    EXPECT_TRUE(PixelsAre(down, {{3, 3, ColorToRGB(clWindowText)}, {0, 0, window}}));
    Mouse(WM_LBUTTONUP, 9, 9, 0);
    Mouse(WM_MOUSEMOVE, 300, 9, 0);  // onto the form
    EXPECT_EQ(out, 1);
    EXPECT_EQ(bar->PartState(kFirstArrow), stCold);

    // As the player dresses it: a green track and a black scroller framed in white.
    bar->StyleTrack().Fill().SetColorCold(clGreen);
    bar->StyleScroller().Fill().SetColorCold(clBlack);
    bar->StyleScroller().Border().SetColorCold(clWhite);
    TBitmap dressed = Picture(2);
    EXPECT_TRUE(PixelsAre(dressed, {{100, 18, clGreen},
                                    {50, 18, clBlack},
                                    {37, 18, clWhite},
                                    {36, 18, clWhite},
                                    {38, 18, clBlack}}));
    // A pattern picture is tiled over the part.
    TBitmap stripes = Filled(2, 1, clRed);
    stripes.SetPixel(1, 0, clBlue);
    bar->StyleTrack().Fill().SetPatternCold(stripes);
    EXPECT_TRUE(
        PixelsAre(Picture(), {{40, 9, clRed}, {41, 9, clBlue}, {36, 9, ColorToRGB(clBtnShadow)}}));
}

}  // namespace
}  // namespace rv::test
