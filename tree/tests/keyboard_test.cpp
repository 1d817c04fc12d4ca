// The keyboard through the window procedure: navigation, range extension, the numeric-pad keys,
// Space on a check box, Ctrl+A, and the scroll bar codes and the wheel.

#include "platform/windows/desktop_settings.h"
#include "tree/tests/input_fixture.h"

namespace rv::test {
namespace {

TEST(TreeKeyboard, NavigationMatrix) {
    InputFixture f(20);
    InputTree& tree = *f.tree;
    tree.SetFocusedNode(f.nodes[0]);
    f.Key(VK_UP);  // at the first node the focus stays
    EXPECT_EQ(tree.FocusedNode(), f.nodes[0]);
    f.Key(VK_DOWN);
    EXPECT_EQ(tree.FocusedNode(), f.nodes[1]);
    EXPECT_TRUE(tree.Selected(f.nodes[1]));
    EXPECT_EQ(tree.SelectionCount(), 1u);

    // Page Down: the rows that fit into the 96 pixels of the client area, 5 of 18.
    f.Key(VK_NEXT);
    EXPECT_EQ(tree.FocusedNode(), f.nodes[6]);
    f.Key(VK_PRIOR);
    EXPECT_EQ(tree.FocusedNode(), f.nodes[1]);
    f.Key(VK_END);
    EXPECT_EQ(tree.FocusedNode(), f.nodes[19]);
    EXPECT_EQ(tree.OffsetY(), 96 - 360);  // brought into view
    f.Key(VK_HOME);
    EXPECT_EQ(tree.FocusedNode(), f.nodes[0]);
    EXPECT_EQ(tree.OffsetY(), 0);
    EXPECT_EQ(tree.SelectionCount(), 1u);

    // Ctrl moves the view, not the focus.
    f.Key(VK_DOWN, ssCtrl);
    EXPECT_EQ(tree.FocusedNode(), f.nodes[0]);
    EXPECT_EQ(tree.OffsetY(), -18);
}

TEST(TreeKeyboard, ShiftExtendsOnlyWithMultiSelect) {
    InputFixture f(10);
    InputTree& tree = *f.tree;
    tree.SetFocusedNode(f.nodes[2]);
    f.Key(VK_DOWN, ssShift);  // single selection: a plain move
    EXPECT_EQ(tree.SelectionCount(), 1u);

    tree.MultiSelect();
    tree.ClearSelection();
    f.Key(VK_UP);  // node 2 focused, selected and the anchor
    f.Key(VK_DOWN, ssShift);
    f.Key(VK_DOWN, ssShift);
    EXPECT_EQ(tree.SelectionCount(), 3u);
    EXPECT_EQ(tree.RangeAnchor(), f.nodes[2]);
    f.Key(VK_UP, ssShift);  // back toward the anchor unselects what it leaves
    EXPECT_EQ(tree.SelectionCount(), 2u);
    EXPECT_FALSE(tree.Selected(f.nodes[4]));
    f.Key(VK_END, ssShift);  // a range to the end
    EXPECT_EQ(tree.SelectionCount(), 8u);
    f.Key(VK_UP);  // no modifier: only the new focus stays selected
    EXPECT_EQ(tree.SelectionCount(), 1u);
    EXPECT_TRUE(tree.Selected(f.nodes[8]));

    f.Key('A', ssCtrl);
    EXPECT_EQ(tree.SelectionCount(), 10u);
    tree.TreeOptions().SetSelectionOptions({});
    tree.ClearSelection();
    f.Key('A', ssCtrl);  // only with multi-select
    EXPECT_EQ(tree.SelectionCount(), 0u);
}

TEST(TreeKeyboard, LeftRightAndThePadKeys) {
    InputFixture f(3);
    InputTree& tree = *f.tree;
    PVirtualNode parent = f.nodes[0];
    PVirtualNode child = tree.Add(parent, 10);
    tree.Add(child, 11);
    tree.SetFocusedNode(parent);
    f.Key(VK_RIGHT);  // expands first
    EXPECT_TRUE(tree.Expanded(parent));
    EXPECT_EQ(tree.FocusedNode(), parent);
    f.Key(VK_RIGHT);  // then goes to the first child
    EXPECT_EQ(tree.FocusedNode(), child);
    f.Key(VK_LEFT);  // a collapsed child goes to its parent
    EXPECT_EQ(tree.FocusedNode(), parent);
    f.Key(VK_LEFT);  // the expanded parent collapses
    EXPECT_FALSE(tree.Expanded(parent));
    EXPECT_EQ(tree.FocusedNode(), parent);

    f.Key(VK_MULTIPLY);  // the whole subtree
    EXPECT_TRUE(tree.Expanded(parent));
    EXPECT_TRUE(tree.Expanded(child));
    f.Key(VK_DIVIDE);
    EXPECT_FALSE(tree.Expanded(parent));
    EXPECT_FALSE(tree.Expanded(child));
    f.Key(VK_OEM_PLUS);  // a typed "+" is the pad's add
    EXPECT_TRUE(tree.Expanded(parent));
    EXPECT_FALSE(tree.Expanded(child));
    f.Key(VK_SUBTRACT);
    EXPECT_FALSE(tree.Expanded(parent));
    f.Key(VK_ADD, ssCtrl | ssShift);  // everything
    EXPECT_TRUE(tree.Expanded(child));
    f.Key(VK_OEM_MINUS, ssCtrl | ssShift);
    EXPECT_FALSE(tree.Expanded(parent));
}

TEST(TreeKeyboard, SpaceChecksOnReleaseAndAnotherKeyCancels) {
    InputFixture f(3);
    InputTree& tree = *f.tree;
    tree.SetMisc(toCheckSupport, true);
    for (PVirtualNode n : f.nodes) tree.SetCheckType(n, ctCheckBox);
    tree.SetFocusedNode(f.nodes[0]);

    f.Key(VK_SPACE);
    EXPECT_TRUE(f.Has(tsKeyCheckPending));
    EXPECT_EQ(tree.CheckState(f.nodes[0]), chkUncheckedPressed);
    f.Key(VK_DOWN);  // abandoned: back to its normal look, nothing changed
    EXPECT_FALSE(f.Has(tsKeyCheckPending));
    EXPECT_EQ(tree.CheckState(f.nodes[0]), chkUnchecked);
    f.KeyUp(VK_SPACE);
    EXPECT_EQ(tree.CheckState(f.nodes[0]), chkUnchecked);

    f.Key(VK_SPACE);  // on node 1 now
    f.KeyUp(VK_SPACE);
    EXPECT_EQ(tree.CheckState(f.nodes[1]), chkChecked);
    f.Key(VK_SPACE);
    f.KeyUp(VK_SPACE);
    EXPECT_EQ(tree.CheckState(f.nodes[1]), chkUnchecked);
}

TEST(TreeScrollMessages, EveryCodeAndTheBottomClamp) {
    InputFixture f(20);  // 360 pixels of rows in 96
    InputTree& tree = *f.tree;
    const auto vscroll = [&](int code) { tree.Perform(WM_VSCROLL, WPARAM(code), 0); };
    vscroll(SB_LINEUP);
    EXPECT_EQ(tree.OffsetY(), 0);
    vscroll(SB_LINEDOWN);
    EXPECT_EQ(tree.OffsetY(), -20);
    vscroll(SB_PAGEDOWN);
    EXPECT_EQ(tree.OffsetY(), -116);
    vscroll(SB_PAGEUP);
    EXPECT_EQ(tree.OffsetY(), -20);
    vscroll(SB_BOTTOM);
    EXPECT_EQ(tree.OffsetY(), 96 - 360);
    EXPECT_EQ(GetScrollPos(tree.Handle(), SB_VERT), 360 - 96);
    vscroll(SB_TOP);
    EXPECT_EQ(tree.OffsetY(), 0);
    vscroll(SB_THUMBTRACK);  // the bar's track position: where it is
    EXPECT_TRUE(f.Has(tsThumbTracking));
    vscroll(SB_ENDSCROLL);
    EXPECT_FALSE(f.Has(tsThumbTracking));

    // Horizontally over two columns of 300 in a client area of 180.
    for (int i = 0; i < 2; ++i) tree.Header().Columns().Add().SetWidth(300);
    tree.UpdateScrollBars(true);
    ASSERT_EQ(tree.ClientWidth(), 180);
    const auto hscroll = [&](int code) { tree.Perform(WM_HSCROLL, WPARAM(code), 0); };
    hscroll(SB_LINERIGHT);
    EXPECT_EQ(tree.OffsetX(), -20);
    hscroll(SB_PAGERIGHT);
    EXPECT_EQ(tree.OffsetX(), -200);
    hscroll(SB_RIGHT);
    EXPECT_EQ(tree.OffsetX(), 180 - 600);
    hscroll(SB_LEFT);
    EXPECT_EQ(tree.OffsetX(), 0);
}

TEST(TreeScrollMessages, WheelByLinesPagesAndSideways) {
    InputFixture f(20);
    InputTree& tree = *f.tree;
    const auto wheel = [&](int delta, bool shift) {
        tree.Perform(WM_MOUSEWHEEL, MAKEWPARAM(shift ? MK_SHIFT : 0, delta), 0);
    };
    wheel(-WHEEL_DELTA, false);  // toward the end by the desktop's lines of a row each
    EXPECT_EQ(tree.OffsetY(), -18 * GetWheelScrollLines());
    wheel(WHEEL_DELTA, false);
    EXPECT_EQ(tree.OffsetY(), 0);
    wheel(-WHEEL_DELTA, true);  // a page: the whole rows of the client area
    EXPECT_EQ(tree.OffsetY(), -90);

    // All rows fit: the wheel goes sideways, by Indent or by a page of Indent steps.
    InputFixture g(2);
    for (int i = 0; i < 2; ++i) g.tree->Header().Columns().Add().SetWidth(300);
    g.tree->UpdateScrollBars(true);
    g.tree->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(g.tree->OffsetX(), -18);
    g.tree->Perform(WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, -WHEEL_DELTA), 0);
    const int width = g.tree->ClientWidth();
    EXPECT_EQ(g.tree->OffsetX(), -18 - width / 18 * 18);
}

TEST(TreeKeyboard, F1AsksTheNodesThenTheControlsForAHelpContext) {
    InputFixture f(2);
    InputTree& tree = *f.tree;
    PVirtualNode child = tree.Add(f.nodes[1], 5);
    tree.SetExpanded(f.nodes[1], true);
    std::vector<int> shown;
    App().OnHelp = [&](int context) {
        shown.push_back(context);
        return true;
    };
    tree.OnGetHelpContext = [&](TBaseVirtualTree*, PVirtualNode n, TColumnIndex, int& context) {
        if (n == f.nodes[1]) context = 42;  // the child has none: its parent's counts
    };
    tree.SetFocusedNode(child);
    f.Key(VK_F1);
    tree.SetFocusedNode(f.nodes[0]);
    f.Key(VK_F1);  // no context of the nodes, nor of the controls: no help
    f.form.form.HelpContext = 7;
    f.Key(VK_F1);
    tree.HelpContext = 9;
    f.Key(VK_F1);
    EXPECT_EQ(shown, (std::vector<int>{42, 7, 9}));
    App().OnHelp = nullptr;
}

}  // namespace
}  // namespace rv::test
