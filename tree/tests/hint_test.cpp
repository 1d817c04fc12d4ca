// The tree's hints: tooltips only for texts their cell cuts off, laid over the text; the sizes
// CalcHintRect gives, with and without the shadow; the work area keeping the hint on the screen;
// a popup that is shown without taking the activation or the focus; header hints; hints going
// when the mouse leaves their place; fading and sliding in on the hint window's timer.

#include "platform/windows/popup_windows.h"
#include "platform/windows/screens.h"
#include "platform/windows/tests/toolkit_input.h"
#include "platform/windows/top_level_window.h"
#include "tree/hint_window.h"
#include "tree/tests/input_fixture.h"

namespace rv::test {
namespace {

// Texts 40 pixels wide under a header of one column, starting 22 pixels into the row.
struct HintFixture : InputFixture {
    HintFixture() : InputFixture(3) {
        tree->Header().Columns().Add().SetWidth(60);
        tree->Header().SetOptions(tree->Header().Options() + TVTHeaderOptions{hoVisible});
        tree->ShowHint = true;
        tree->SetHintMode(hmTooltip);
        tree->SetHintAnimation(hatNone);
        tree->SetFocus();
    }
    bool ShowAt(int x, int y) {
        THintInfo info;
        info.CursorPos = {x, y};
        tree->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
        return Hint().Visible();
    }
    TVirtualTreeHintWindow& Hint() { return tree->HintWindow(); }
    TRect HintBounds() { return GetWindowBounds(Hint().Handle()); }
};

TEST(TreeHints, TooltipOnlyForTextsTheirCellCutsOff) {
    HintFixture f;
    // 22 … 62 in a column ending at 60: cut off.
    ASSERT_TRUE(f.ShowAt(30, InputFixture::RowY(1)));
    EXPECT_TRUE(f.Has(tsHint));
    // Laid over the text, one pixel out on each side, the shadow beyond.
    const TPoint text = ClientToScreen(f.tree->Handle(), {22, 18});
    EXPECT_EQ(f.HintBounds(), Bounds(text.X - 1, text.Y - 1, 40 + 2 + 5, 18 + 2 + 5));
    // A popup shown without the activation: the tree keeps the focus.
    EXPECT_TRUE(IsPopupWindow(f.Hint().Handle()));
    EXPECT_TRUE(IsWindowVisible(f.Hint().Handle()));
    EXPECT_NE(GetActiveWindow(), f.Hint().Handle());
    EXPECT_EQ(GetFocus(), f.tree->Handle());
    // Inside its place it stays; outside it goes.
    f.Move(40, InputFixture::RowY(1), 0);
    EXPECT_TRUE(f.Hint().Visible());
    f.Move(40, InputFixture::RowY(2), 0);
    EXPECT_FALSE(f.Hint().Visible());
    EXPECT_FALSE(f.Has(tsHint));

    // A text that fits its cell shows nothing.
    f.tree->Header().Columns()[0].SetWidth(100);
    EXPECT_FALSE(f.ShowAt(30, InputFixture::RowY(1)));
    // Nor do hints while the tree edits, holds the mouse or has hints off.
    f.tree->Header().Columns()[0].SetWidth(50);
    SetCapture(f.tree->Handle());
    EXPECT_FALSE(f.ShowAt(30, InputFixture::RowY(1)));
    ReleaseCapture();
    f.tree->ShowHint = false;
    EXPECT_FALSE(f.ShowAt(30, InputFixture::RowY(1)));
    f.tree->ShowHint = true;
    EXPECT_TRUE(f.ShowAt(30, InputFixture::RowY(1)));
    f.Press(30, InputFixture::RowY(0));  // a click takes it away
    EXPECT_FALSE(f.Hint().Visible());
}

TEST(TreeHints, SizesAndPlacesOfOtherHints) {
    HintFixture f;
    TVirtualTreeHintWindow& hint = f.Hint();
    std::string nodeHint = "Played 12 times";
    f.tree->OnGetHint = [&](TCustomVirtualStringTree*, PVirtualNode, TColumnIndex, TVSTTextType,
                            std::string& text) { text = nodeHint; };
    f.tree->SetHintMode(hmHint);
    ASSERT_TRUE(f.ShowAt(30, InputFixture::RowY(0)));
    TBitmap measure(1, 1);
    const TSize text = measure.Canvas().TextExtent(nodeHint);
    // The text, 2 × TextMargin + 2 wider and 6 higher, and the shadow.
    EXPECT_EQ(f.HintBounds().Width(), text.cx + 2 * 4 + 2 + 5);
    EXPECT_EQ(f.HintBounds().Height(), text.cy + 6 + 5);
    TVTHintData data;
    data.Tree = f.tree;
    hint.ShadowSize = 0;
    const TRect flat = hint.CalcHintRect(1000, nodeHint, data);
    EXPECT_EQ(flat, TRect(0, 0, text.cx + 10, text.cy + 6));
    hint.ShadowSize = TVirtualTreeHintWindow::kDefaultShadowSize;

    // A hint near the corner of the work area is moved back inside it.
    const TRect area = ScreenWorkAreas().front();
    hint.ActivateHint(Bounds(area.Right - 20, area.Bottom - 5, 100, 30), nodeHint);
    EXPECT_EQ(f.HintBounds(), Bounds(area.Right - 100, area.Bottom - 30, 100, 30));
    hint.ActivateHint(Bounds(area.Left - 50, area.Top - 8, 100, 30), nodeHint);
    EXPECT_EQ(f.HintBounds(), Bounds(area.Left, area.Top, 100, 30));
    hint.ActivateHint({}, nodeHint);
    EXPECT_FALSE(hint.Visible());

    // No hint text: no hint; hmHintAndDefault falls back to the control's own.
    nodeHint.clear();
    EXPECT_FALSE(f.ShowAt(30, InputFixture::RowY(0)));
    f.tree->Hint = "The library";
    f.tree->SetHintMode(hmHintAndDefault);
    EXPECT_TRUE(f.ShowAt(30, InputFixture::RowY(0)));
    f.tree->CancelHint();
    f.tree->SetHintMode(hmDefault);
    EXPECT_TRUE(f.ShowAt(150, 80));  // anywhere in the client area

    // A header column's hint, over the header, with hoShowHint only.
    f.tree->CancelHint();
    f.tree->Header().Columns()[0].SetHint("Title of the track");
    EXPECT_FALSE(f.ShowAt(20, -8));
    TVTHeader& header = f.tree->Header();
    header.SetOptions(header.Options() + TVTHeaderOptions{hoShowHint});
    EXPECT_TRUE(f.ShowAt(20, -8));
    EXPECT_EQ(f.tree->LastHintRect(), TRect(0, -17, 60, 0));
    EXPECT_FALSE(f.ShowAt(80, -8));  // past the last column
}

TEST(TreeHints, FadeAndSlideOnTheHintsTimer) {
    HintFixture f;
    TVirtualTreeHintWindow& hint = f.Hint();
    const auto tick = [&] { hint.Perform(WM_TIMER, TVirtualTreeHintWindow::kAnimationTimer); };
    f.tree->SetHintAnimation(hatFade);
    f.tree->SetAnimationDuration(100);
    ASSERT_TRUE(f.ShowAt(30, InputFixture::RowY(1)));
    EXPECT_EQ(hint.AnimationSteps(), 255);
    EXPECT_EQ(hint.AnimationStep(), 1);
    tick();
    // 255 steps in 200 ms, a tick every 10 ms.
    EXPECT_EQ(hint.AnimationStep(), 1 + 13);
    EXPECT_NEAR(GetWindowOpacity(hint.Handle()), 14 / 255.0, 0.01);
    for (int i = 0; i < 30; ++i) tick();
    EXPECT_EQ(hint.AnimationStep(), 255);
    EXPECT_DOUBLE_EQ(GetWindowOpacity(hint.Handle()), 1);

    f.tree->CancelHint();
    f.tree->SetHintAnimation(hatSlide);
    ASSERT_TRUE(f.ShowAt(30, InputFixture::RowY(1)));
    EXPECT_EQ(hint.AnimationSteps(), 25);
    EXPECT_EQ(f.HintBounds().Height(), 1);
    tick();
    EXPECT_EQ(f.HintBounds().Height(), 1 + 3);
    // The tree calls the animation off: the hint shows whole at once.
    f.tree->DoStateChange({tsCancelHintAnimation});
    tick();
    EXPECT_EQ(f.HintBounds().Height(), 25);
    EXPECT_EQ(hint.AnimationStep(), hint.AnimationSteps());
}

// The mouse resting on the tree: tooltips of cut-off texts and hints of a header that shows
// them come at once, other hints after the application's pause.
TEST(TreeHints, TooltipsComeWithoutThePauseOtherHintsWaitFor) {
    HintFixture f;
    const auto rest = [&](int x, int y) {
        SendToolkitMouse(f.tree->Handle(), ToolkitMouse::Move, {x, y});
        return PendingHintWindow() == f.tree->Handle() ? PendingHintPause() : -1;
    };
    EXPECT_EQ(rest(30, InputFixture::RowY(1)), 0);
    ASSERT_TRUE(PumpUntil([&] { return f.Hint().Visible(); }));
    EXPECT_EQ(f.Hint().HintData().Node, f.nodes[1]);

    f.tree->CancelHint();
    f.tree->SetHintMode(hmHint);
    EXPECT_EQ(rest(30, InputFixture::RowY(2)), HintSettings().HintPause);
    EXPECT_EQ(rest(20, -8), HintSettings().HintPause) << "the header shows no hints";
    TVTHeader& header = f.tree->Header();
    header.SetOptions(header.Options() + TVTHeaderOptions{hoShowHint});
    EXPECT_EQ(rest(20, -8), 0);
    // A press ends the rest; without the application's hints nothing waits.
    SendToolkitMouse(f.tree->Handle(), ToolkitMouse::Press, {30, InputFixture::RowY(2)});
    SendToolkitMouse(f.tree->Handle(), ToolkitMouse::Release, {30, InputFixture::RowY(2)});
    EXPECT_EQ(PendingHintWindow(), HWND(0));
    HintSettings().ShowHint = false;
    EXPECT_EQ(rest(30, InputFixture::RowY(0)), -1);
    HintSettings().ShowHint = true;
}

}  // namespace
}  // namespace rv::test
