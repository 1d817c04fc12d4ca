// Mouse presses, moves and releases through the window procedure: buttons, check boxes,
// deferred and direct clearing, Ctrl and Shift clicks, the rubber band and its threshold, Alt,
// edit arming, the level constraint, double clicks, wheel panning and automatic scrolling.

#include "platform/windows/popup_windows.h"
#include "platform/windows/screens.h"
#include "tree/panning_marks.h"
#include "tree/tests/input_fixture.h"

namespace rv::test {
namespace {

TEST(TreeMouse, ButtonTogglesAndCheckBoxesPressAndRelease) {
    InputFixture f(3);
    InputTree& tree = *f.tree;
    tree.Add(f.nodes[0], 9);
    f.Click(5, f.RowY(0));
    EXPECT_TRUE(tree.Expanded(f.nodes[0]));
    EXPECT_EQ(tree.FocusedNode(), nullptr);  // the button moves neither focus nor selection
    EXPECT_EQ(tree.SelectionCount(), 0u);
    f.tree->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, f.RowY(0)));  // always toggles
    EXPECT_FALSE(tree.Expanded(f.nodes[0]));

    tree.SetMisc(toCheckSupport, true);
    for (PVirtualNode n : f.nodes) tree.SetCheckType(n, ctCheckBox);
    f.Press(30, f.RowY(1));
    EXPECT_EQ(tree.CheckState(f.nodes[1]), chkUncheckedPressed);
    f.Release(30, f.RowY(1));
    EXPECT_EQ(tree.CheckState(f.nodes[1]), chkChecked);
    f.Press(30, f.RowY(1));
    EXPECT_EQ(tree.CheckState(f.nodes[1]), chkCheckedPressed);
    f.Release(30, f.RowY(2));  // released on another node: nothing changes
    EXPECT_EQ(tree.CheckState(f.nodes[1]), chkChecked);
    EXPECT_EQ(tree.CheckState(f.nodes[2]), chkUnchecked);

    tree.SetFocusedNode(f.nodes[2]);
    f.Key(VK_SPACE);  // a pending Space check: the mouse leaves the boxes alone
    f.Press(30, f.RowY(0));
    EXPECT_EQ(tree.CheckState(f.nodes[0]), chkUnchecked);
    f.Release(30, f.RowY(0));
}

TEST(TreeMouse, DeferredClearingWaitsForAPossibleDrag) {
    InputFixture f(4);
    InputTree& tree = *f.tree;
    tree.MultiSelect();
    const auto selectThree = [&] {
        for (int i = 0; i < 3; ++i) tree.SetSelected(f.nodes[std::size_t(i)], true);
    };
    tree.SetDragMode(dmAutomatic);
    selectThree();
    f.Press(kLabelX, f.RowY(1));
    EXPECT_EQ(tree.SelectionCount(), 3u);
    EXPECT_TRUE(f.Has(tsClearPending));
    EXPECT_TRUE(f.Has(tsOLEDragPending));
    EXPECT_EQ(tree.FocusedNode(), f.nodes[1]);
    f.Release(kLabelX, f.RowY(1));
    EXPECT_EQ(tree.SelectionCount(), 1u);
    EXPECT_TRUE(tree.Selected(f.nodes[1]));
    EXPECT_FALSE(f.Has(tsClearPending) || f.Has(tsOLEDragPending));

    // Without automatic dragging and an OnDragAllowed that allows, the press clears at once.
    tree.SetDragMode(dmManual);
    selectThree();
    f.Press(kLabelX, f.RowY(0));
    EXPECT_EQ(tree.SelectionCount(), 1u);
    f.Release(kLabelX, f.RowY(0));
}

TEST(TreeMouse, CtrlAndShiftClicksAndTheLevelConstraint) {
    InputFixture f(5);
    InputTree& tree = *f.tree;
    tree.MultiSelect();
    f.Click(kLabelX, f.RowY(0));
    f.Click(kLabelX, f.RowY(2), ssCtrl);
    EXPECT_EQ(tree.SelectionCount(), 2u);
    f.Click(kLabelX, f.RowY(0), ssCtrl);  // toggled off, and the anchor
    EXPECT_EQ(tree.SelectionCount(), 1u);
    EXPECT_FALSE(tree.Selected(f.nodes[0]));
    f.Click(kLabelX, f.RowY(3), ssShift);  // exactly the range from the anchor
    EXPECT_EQ(tree.SelectionCount(), 4u);
    EXPECT_EQ(tree.FocusedNode(), f.nodes[3]);
    f.Click(kLabelX, f.RowY(4));
    EXPECT_EQ(tree.SelectionCount(), 1u);

    f.Options({toLevelSelectConstraint});
    tree.Add(f.nodes[0], 10);
    tree.ToggleNode(f.nodes[0]);
    f.Click(50, f.RowY(1));  // the child, one level in
    EXPECT_EQ(tree.SelectionLevel(), 1);
    f.Click(kLabelX, f.RowY(2), ssCtrl);  // a top-level node: focused, not selected
    EXPECT_EQ(tree.FocusedNode(), f.nodes[1]);
    EXPECT_FALSE(tree.Selected(f.nodes[1]));
}

TEST(TreeMouse, RubberBandStartsPastTheThresholdAndAltStartsOne) {
    InputFixture f(3);
    InputTree& tree = *f.tree;
    tree.MultiSelect();
    tree.SetSelected(f.nodes[0], true);
    f.Press(100, 70);  // below the last row: clears and arms a band
    EXPECT_EQ(tree.SelectionCount(), 0u);
    EXPECT_TRUE(f.Has(tsDrawSelPending));
    f.Move(101, 69);
    EXPECT_TRUE(f.Has(tsDrawSelPending));
    EXPECT_EQ(tree.SelectionCount(), 0u);
    ASSERT_LT(GetSystemMetrics(SM_CXDRAG), 90);
    f.Move(10, 5);  // past the threshold: every text between 5 and 70 is in the band
    EXPECT_TRUE(f.Has(tsDrawSelecting));
    EXPECT_EQ(tree.SelectionCount(), 3u);
    f.Move(10, 30);  // shrinking it unselects the first row
    EXPECT_EQ(tree.SelectionCount(), 2u);
    f.Release(10, 30);
    EXPECT_FALSE(f.Has(tsDrawSelecting) || f.Has(tsDrawSelPending));
    EXPECT_EQ(tree.SelectionCount(), 2u);

    // Alt on a label: a band instead of a focus change; the pressed node stays the one
    // selected in the main column.
    tree.SetFocusedNode(nullptr);
    f.Press(kLabelX, f.RowY(1), ssAlt);
    EXPECT_TRUE(f.Has(tsDrawSelPending));
    EXPECT_EQ(tree.SelectionCount(), 1u);
    EXPECT_TRUE(tree.Selected(f.nodes[1]));
    EXPECT_EQ(tree.FocusedNode(), nullptr);
    tree.Perform(WM_KEYDOWN, VK_ESCAPE, 1);  // Escape ends the band
    EXPECT_FALSE(f.Has(tsDrawSelPending));
}

TEST(TreeMouse, PressOnTheSelectedFocusedNodeArmsEditing) {
    InputFixture f(3);
    InputTree& tree = *f.tree;
    tree.SetFocus();
    ASSERT_TRUE(tree.Focused());
    f.Click(kLabelX, f.RowY(0));
    EXPECT_FALSE(f.Has(tsEditPending));
    f.Press(kLabelX, f.RowY(0));
    EXPECT_TRUE(f.Has(tsEditPending));
    f.Release(kLabelX, f.RowY(0));  // not editable: nothing waits
    EXPECT_FALSE(f.Has(tsEditPending));

    tree.SetMisc(toEditable, true);
    f.Click(kLabelX, f.RowY(0));
    EXPECT_TRUE(f.Has(tsEditPending));  // timer 2 runs
    tree.Perform(WM_TIMER, TBaseVirtualTree::kEditTimer, 0);
    EXPECT_FALSE(f.Has(tsEditPending));
}

TEST(TreeMouse, RightClickSelectKeepsASelectionForItsMenu) {
    InputFixture f(3);
    InputTree& tree = *f.tree;
    tree.MultiSelect();
    f.Options({toRightClickSelect});
    TPopupMenu menu(nullptr);
    tree.SetPopupMenu(&menu);
    tree.SetSelected(f.nodes[0], true);
    tree.SetSelected(f.nodes[1], true);
    f.Press(kLabelX, f.RowY(1), 0, WM_RBUTTONDOWN);
    EXPECT_EQ(tree.SelectionCount(), 2u);
    f.Release(kLabelX, f.RowY(1), 0, WM_RBUTTONUP);
    EXPECT_EQ(menu.PopupCount, 1);
    tree.SetPopupMenu(nullptr);
}

TEST(TreeMouse, WheelPanningAndAutomaticScrollSteps) {
    InputFixture f(20);
    InputTree& tree = *f.tree;
    const auto cursorAt = [&](int x, int y) {
        SetCursorPos(ClientToScreen(tree.Handle(), {x, y}));
    };
    tree.SetOffsetY(-100);
    f.Press(50, 50, 0, WM_MBUTTONDOWN);
    EXPECT_TRUE(f.Has(tsWheelPanning));
    // The mark where panning started: up and down only, as nothing scrolls sideways.
    ASSERT_NE(tree.PanningWindow(), nullptr);
    const HWND mark = tree.PanningWindow()->Handle();
    const TPoint start = ClientToScreen(tree.Handle(), {50, 50});
    EXPECT_EQ(tree.PanningWindow()->Shape(), psNS);
    EXPECT_TRUE(IsWindowVisible(mark));
    EXPECT_TRUE(IsPopupWindow(mark));
    EXPECT_EQ(GetWindowBounds(mark), Bounds(start.X - 16, start.Y - 16, 32, 32));
    EXPECT_FALSE(WindowShapeContains(mark, {0, 0}));
    EXPECT_TRUE(WindowShapeContains(mark, {16, 16}));
    EXPECT_EQ(GetWindowCursorShown(tree.Handle()), PanningCursor(psNS));
    f.Move(50, 30, MK_MBUTTON);  // 20 above the start: 12 a tick
    EXPECT_EQ(GetWindowCursorShown(tree.Handle()), PanningCursor(psN));
    cursorAt(50, 30);
    tree.Perform(WM_TIMER, TBaseVirtualTree::kScrollTimer, 0);
    EXPECT_EQ(tree.OffsetY(), -88);
    f.Move(50, 42, MK_MBUTTON);  // within the dead zone of 8
    EXPECT_EQ(GetWindowCursorShown(tree.Handle()), PanningCursor(psNS));
    cursorAt(50, 42);
    tree.Perform(WM_TIMER, TBaseVirtualTree::kScrollTimer, 0);
    EXPECT_EQ(tree.OffsetY(), -88);
    f.Press(kLabelX, f.RowY(1));  // a left press only ends panning
    EXPECT_FALSE(f.Has(tsWheelPanning));
    EXPECT_EQ(tree.PanningWindow(), nullptr);
    EXPECT_EQ(GetWindowCursorShown(tree.Handle()), crDefault);
    EXPECT_EQ(tree.FocusedNode(), nullptr);
    f.Release(kLabelX, f.RowY(1));

    // A band drawn upward out of the client area: 20 pixels a row of distance, 20 in the zone.
    tree.MultiSelect();
    tree.TreeOptions().SetAutoOptions(tree.TreeOptions().AutoOptions() +
                                      TVTAutoOptions{toAutoScroll});
    f.Press(150, 50);
    f.Move(150, -3);
    ASSERT_TRUE(f.Has(tsDrawSelecting));
    f.Move(150, -3);
    EXPECT_TRUE(f.Has(tsScrolling));
    cursorAt(150, -3);
    tree.Perform(WM_TIMER, TBaseVirtualTree::kScrollTimer, 0);
    EXPECT_EQ(tree.OffsetY(), -28);
    cursorAt(150, 5);
    tree.Perform(WM_TIMER, TBaseVirtualTree::kScrollTimer, 0);
    EXPECT_EQ(tree.OffsetY(), -8);
    f.Release(150, 5);
    EXPECT_FALSE(f.Has(tsScrolling));
}

TEST(TreeMouse, PanningMarksAndCursorsByTheWaysTheViewMoves) {
    struct Case {
        int dx, dy;
        bool horizontal, vertical;
        TPanningShape shape;
    };
    const Case cases[] = {
        {0, 0, true, true, psAll},   {8, -8, true, true, psAll},  {0, 0, false, true, psNS},
        {0, 0, true, false, psEW},   {0, -9, true, true, psN},    {9, -9, true, true, psNE},
        {-20, 30, true, true, psSW}, {-20, 30, false, true, psS}, {20, 3, true, true, psE},
        {20, 30, true, false, psE},  {-9, -30, true, true, psNW}, {9, 9, true, true, psSE},
        {-30, 0, false, true, psNS},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PanningCursorShape(c.dx, c.dy, 8, c.horizontal, c.vertical), c.shape)
            << c.dx << "," << c.dy;
    EXPECT_EQ(PanningMarkShape(true, true), psAll);
    EXPECT_NE(PanningCursor(psN), PanningCursor(psS));
    // The pictures: the key colour around the ring, the dot in the middle, the arrows' tips.
    TBitmap b(32, 32);
    DrawPanningShape(b.Canvas(), psNS, 0, 0);
    EXPECT_EQ(b.Pixel(0, 0), kPanningKeyColor);
    EXPECT_EQ(b.Pixel(16, 16), clBlack);
    EXPECT_EQ(b.Pixel(15, 5), clBlack);   // up
    EXPECT_EQ(b.Pixel(16, 26), clBlack);  // down
    EXPECT_EQ(b.Pixel(5, 15), clWhite);   // no left arrow
    DrawPanningShape(b.Canvas(), psW, 0, 0);
    EXPECT_EQ(b.Pixel(5, 15), clBlack);
    EXPECT_EQ(b.Pixel(15, 5), clWhite);
}

TEST(TreeMouse, HotTrackingAndColumnClicks) {
    InputFixture f(3);
    InputTree& tree = *f.tree;
    std::vector<std::pair<PVirtualNode, PVirtualNode>> changes;
    tree.OnHotChange = [&](TBaseVirtualTree*, PVirtualNode from, PVirtualNode to) {
        changes.emplace_back(from, to);
    };
    f.Move(kLabelX, f.RowY(0), 0);
    f.Move(kLabelX + 1, f.RowY(0), 0);
    f.Move(150, f.RowY(1), 0);  // beside a text: no hot node
    EXPECT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].second, f.nodes[0]);
    EXPECT_EQ(tree.HotNode(), nullptr);
    tree.Perform(CM_MOUSELEAVE);

    TVirtualTreeColumns& columns = tree.Header().Columns();
    for (int i = 0; i < 2; ++i) columns.Add().SetWidth(80);
    std::vector<TColumnIndex> clicked;
    tree.OnColumnClick = [&](TBaseVirtualTree*, TColumnIndex c, TShiftState) {
        clicked.push_back(c);
    };
    f.Click(100, f.RowY(0));
    f.Press(100, f.RowY(0));
    f.Release(30, f.RowY(0));  // released in another column
    EXPECT_EQ(clicked, std::vector<TColumnIndex>{1});
}

}  // namespace
}  // namespace rv::test
