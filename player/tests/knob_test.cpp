// The knob: its angles and range, the mouse with its dead corners and clamped ends, the keys,
// the spring and the position label.

#include "player/knob.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/framework/tests/form_fixture.h"
#include "platform/graphics/tests/pixels.h"

namespace rv::test {
namespace {

// A label stand-in: any control shows the text it is given.
class Label : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

struct KnobTest : ::testing::Test {
    KnobTest() {
        knob = f.Add<TKnob>(10, 10);
        knob->SetMax(255);
        knob->OnChange = [this](TObject*) { changes.push_back(knob->Position()); };
    }
    // The mouse on the knob at (x, y), with the left button held or not.
    void Mouse(UINT msg, int x, int y, WPARAM keys = MK_LBUTTON) {
        knob->Perform(msg, keys, MAKELPARAM(x, y));
    }
    void Key(int key) { knob->Perform(WM_KEYDOWN, WPARAM(key)); }

    FormWith f;
    TKnob* knob = nullptr;
    std::vector<int> changes;
};

TEST_F(KnobTest, ThePointerSweepsThreeHundredDegreesAndThePositionStaysInTheRange) {
    EXPECT_EQ(knob->Width(), 40);
    EXPECT_EQ(knob->PointerAngle(), 240);
    knob->SetPosition(255);
    EXPECT_EQ(knob->PointerAngle(), -60);
    knob->SetPosition(300);
    EXPECT_EQ(knob->Position(), 255);
    knob->SetPosition(-4);
    EXPECT_EQ(knob->Position(), 0);
    // 85 of 255 is a third of the way: 100 degrees on.
    knob->SetPosition(85);
    EXPECT_EQ(knob->PointerAngle(), 140);
    // Every assignment tells, also one that changes nothing.
    knob->SetPosition(85);
    EXPECT_EQ(changes, (std::vector<int>{255, 255, 0, 85, 85}));

    // A range that runs downwards keeps the position between its ends too.
    knob->SetMin(300);
    EXPECT_EQ(knob->Position(), 255);
    knob->SetPosition(400);
    EXPECT_EQ(knob->Position(), 300);
    EXPECT_EQ(knob->PointerAngle(), 240);
    knob->SetMax(300);  // empty: every angle is Min
    EXPECT_EQ(knob->AngleStep(), 0);

    // The knob stays round: the larger side wins when it grows, the smaller when it shrinks.
    knob->SetBounds(0, 0, 60, 30);
    EXPECT_EQ(knob->BoundsRect(), (TRect{0, 0, 60, 60}));
    knob->SetBounds(0, 0, 30, 35);
    EXPECT_EQ(knob->BoundsRect(), (TRect{0, 0, 30, 30}));
    knob->SetBounds(0, 0, 30, 45);
    EXPECT_EQ(knob->BoundsRect(), (TRect{0, 0, 45, 45}));
}

TEST_F(KnobTest, ThePointerIsDrawnAtTheLowerLeftForMinAndTheLowerRightForMax) {
    knob->SetLineColor(clRed);
    TBitmap low = Filled(40, 40, clLime);
    knob->PaintTo(low.Canvas());
    // From 9 to 15 pixels out from (20, 20) at 240 degrees: (15.5, 27.8) to (12.5, 33).
    EXPECT_TRUE(PixelsAre(low, {{15, 28, clRed}, {25, 28, ColorToRGB(clBtnFace)}}));
    EXPECT_EQ(CountColor(low, {0, 0, 40, 20}, clRed), 0);
    knob->SetPosition(255);
    TBitmap high = Filled(40, 40, clLime);
    knob->PaintTo(high.Canvas());
    EXPECT_TRUE(PixelsAre(high, {{25, 28, clRed}, {15, 28, ColorToRGB(clBtnFace)}}));
}

TEST_F(KnobTest, TheMouseTurnsItWithinItsEndsAndItsCornersAreDead) {
    // A corner lies outside the circle.
    Mouse(WM_LBUTTONDOWN, 1, 1);
    Mouse(WM_LBUTTONUP, 1, 1, 0);
    EXPECT_FALSE(knob->Focused());
    EXPECT_TRUE(changes.empty());

    // Straight up is half way: 150 of 300 degrees, 127.5 rounded to even.
    Mouse(WM_LBUTTONDOWN, 20, 2);
    EXPECT_TRUE(knob->Focused());
    EXPECT_TRUE(knob->Dragging());
    EXPECT_EQ(knob->Position(), 128);
    // Below the lower left end it stays at Min; below the lower right at Max.
    Mouse(WM_MOUSEMOVE, 18, 39);
    EXPECT_EQ(knob->Position(), 0);
    EXPECT_EQ(knob->PointerAngle(), 240);
    Mouse(WM_MOUSEMOVE, 22, 39);
    EXPECT_EQ(knob->Position(), 255);
    // Left of the centre, level with it: 60 degrees from the lower end.
    Mouse(WM_LBUTTONUP, 2, 20, 0);
    EXPECT_EQ(knob->Position(), 51);
    EXPECT_FALSE(knob->Dragging());
    // Without the button the knob stays where it is.
    Mouse(WM_MOUSEMOVE, 38, 20, 0);
    EXPECT_EQ(knob->Position(), 51);
    EXPECT_EQ(changes, (std::vector<int>{128, 0, 255, 51}));
}

TEST_F(KnobTest, KeysStepPageAndJumpToTheEnds) {
    EXPECT_EQ(knob->Perform(WM_GETDLGCODE) & DLGC_WANTARROWS, DLGC_WANTARROWS);
    knob->SetPosition(100);
    const std::pair<int, int> steps[] = {
        {VK_PRIOR, 110}, {VK_NEXT, 100}, {VK_UP, 101},    {VK_RIGHT, 102}, {VK_DOWN, 101},
        {VK_LEFT, 100},  {VK_END, 255},  {VK_PRIOR, 255}, {VK_HOME, 0},    {VK_LEFT, 0},
    };
    for (auto [key, expected] : steps) {
        Key(key);
        EXPECT_EQ(knob->Position(), expected) << "key " << key;
    }
    knob->SetPageSize(100);
    Key(VK_PRIOR);
    EXPECT_EQ(knob->Position(), 100);
}

TEST_F(KnobTest, ASpringLoadedKnobReturnsToZero) {
    knob->SetPosition(50);
    knob->SetSpringLoaded(true);
    EXPECT_EQ(knob->Position(), 0);
    Mouse(WM_LBUTTONDOWN, 20, 2);
    EXPECT_EQ(knob->Position(), 128);
    Mouse(WM_LBUTTONUP, 20, 2, 0);
    EXPECT_EQ(knob->Position(), 0);
    // Losing the focus while held lets go as well.
    Mouse(WM_LBUTTONDOWN, 20, 2);
    f.Add<TKnob>(100, 10)->SetFocus();
    EXPECT_FALSE(knob->Dragging());
    EXPECT_EQ(knob->Position(), 0);
}

TEST_F(KnobTest, TheLabelShowsThePositionOrWhatTheMousePointsAt) {
    auto* label = f.Add<Label>(100, 100);
    knob->SetCaption("%");
    knob->SetPosition(20);
    knob->SetPositionLabel(label);
    EXPECT_EQ(label->Caption(), "20 %");
    Mouse(WM_MOUSEMOVE, 20, 2, 0);
    EXPECT_EQ(label->Caption(), "128 %");
    knob->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(label->Caption(), "20 %");
    knob->SetCaption("dB");
    EXPECT_EQ(label->Caption(), "20 dB");
    knob->SetVisible(false);
    knob->SetEnabled(false);
    EXPECT_FALSE(label->Visible());
    EXPECT_FALSE(label->Enabled());
    knob->SetVisible(true);
    EXPECT_TRUE(label->Visible());
    // A freed label is let go.
    delete label;
    EXPECT_EQ(knob->PositionLabel(), nullptr);
    knob->SetPosition(30);
}

}  // namespace
}  // namespace rv::test
