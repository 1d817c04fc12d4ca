// The tree's other window messages: the timers by id, cancel mode and focus loss, the cursor,
// the header strip in the frame, and the item queries with their checks of what comes in.

#include <cstring>

#include "tree/tests/input_fixture.h"

namespace rv::test {
namespace {

TEST(TreeWindowMessages, TimersCancelModeAndFocusLoss) {
    InputFixture f(5);
    InputTree& tree = *f.tree;
    tree.Add(f.nodes[0], 9);
    tree.SetIncrementalSearch(isAll);
    f.Type("n");
    EXPECT_EQ(tree.SearchBuffer(), "n");
    tree.Perform(WM_CANCELMODE);
    EXPECT_EQ(tree.SearchBuffer(), "");
    EXPECT_FALSE(f.Has(tsIncrementalSearching));

    // A press that the release never ends: cancel mode takes its pending parts back.
    tree.SetMisc(toCheckSupport, true);
    tree.SetCheckType(f.nodes[1], ctCheckBox);
    f.Press(30, f.RowY(1));
    EXPECT_EQ(tree.CheckState(f.nodes[1]), chkUncheckedPressed);
    tree.Perform(WM_CANCELMODE);
    EXPECT_EQ(tree.CheckState(f.nodes[1]), chkUnchecked);
    EXPECT_FALSE(f.Has(tsMouseCheckPending));

    // The expand timer opens the drop target.
    tree.dropTargetNode_ = f.nodes[0];
    tree.Perform(WM_TIMER, TBaseVirtualTree::kExpandTimer, 0);
    EXPECT_TRUE(tree.Expanded(f.nodes[0]));
    tree.dropTargetNode_ = nullptr;

    // Focus loss ends panning too.
    for (int i = 0; i < 20; ++i) tree.Add(nullptr, 100 + i);
    f.Press(50, 50, 0, WM_MBUTTONDOWN);
    ASSERT_TRUE(f.Has(tsWheelPanning));
    tree.Perform(WM_CANCELMODE);
    EXPECT_TRUE(f.Has(tsWheelPanning));
    tree.Perform(WM_KILLFOCUS);
    EXPECT_FALSE(f.Has(tsWheelPanning));
}

TEST(TreeWindowMessages, AnswersCursorAndFrame) {
    InputFixture f(3);
    InputTree& tree = *f.tree;
    EXPECT_EQ(tree.Perform(WM_ERASEBKGND), 1);
    EXPECT_EQ(tree.Perform(WM_GETDLGCODE), LRESULT(DLGC_WANTARROWS | DLGC_WANTCHARS));
    tree.SetWantTabs(true);
    EXPECT_TRUE(tree.Perform(WM_GETDLGCODE) & DLGC_WANTTAB);

    tree.TreeOptions().SetPaintOptions(tree.TreeOptions().PaintOptions() +
                                       TVTPaintOptions{toHotTrack});
    tree.SetHotCursor(crHandPoint);
    f.Move(kLabelX, f.RowY(0), 0);
    ASSERT_EQ(tree.HotNode(), f.nodes[0]);
    TCursor offered = crDefault;
    tree.OnGetCursor = [&](TBaseVirtualTree*, TCursor& cursor) { offered = cursor; };
    EXPECT_EQ(tree.Perform(WM_SETCURSOR, tree.Handle(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 1);
    EXPECT_EQ(offered, crHandPoint);  // the hot node's cursor, which the handler may change
    f.Move(150, f.RowY(2), 0);
    tree.Perform(WM_SETCURSOR, tree.Handle(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(offered, crDefault);

    // The header strip answers as border, so that it gets the frame's mouse messages.
    tree.Header().Columns().Add().SetWidth(100);
    tree.Header().SetOptions(tree.Header().Options() + TVTHeaderOptions{hoVisible});
    const TRect strip = tree.HeaderRect();
    const TPoint origin = GetClientOffset(tree.Handle());
    const auto hitTest = [&](int wx, int wy) {
        const TPoint screen = ClientToScreen(tree.Handle(), {wx - origin.X, wy - origin.Y});
        return tree.Perform(WM_NCHITTEST, 0, MAKELPARAM(screen.X, screen.Y));
    };
    EXPECT_EQ(hitTest(strip.Left + 5, strip.Top + 3), HTBORDER);
    EXPECT_EQ(hitTest(strip.Left + 5, strip.Bottom + 3), HTCLIENT);
    EXPECT_EQ(GetClientOffset(tree.Handle()).Y, 2 + tree.Header().Height());
}

TEST(TreeItemQueries, RelationsStateTextAndForeignNodes) {
    InputFixture f(3);
    InputTree& tree = *f.tree;
    tree.Names = {"first", "sécond"};
    PVirtualNode child = tree.Add(f.nodes[1], 0);
    EXPECT_EQ(tree.GetNextItem(TVGN_ROOT, nullptr), f.nodes[0]);
    EXPECT_EQ(tree.GetNextItem(TVGN_PARENT, f.nodes[1]), nullptr);  // a top-level node
    EXPECT_EQ(tree.GetNextItem(TVGN_PARENT, child), f.nodes[1]);
    EXPECT_EQ(tree.GetNextItem(TVGN_CHILD, f.nodes[1]), child);
    EXPECT_EQ(tree.GetNextItem(TVGN_NEXT, f.nodes[0]), f.nodes[1]);
    EXPECT_EQ(tree.GetNextItem(TVGN_LASTVISIBLE, nullptr), f.nodes[2]);
    EXPECT_EQ(tree.GetNextItem(99, f.nodes[0]), nullptr);

    // Addresses that are not this tree's nodes are no nodes.
    InputFixture other(1);
    int local = 0;
    for (const void* foreign :
         {static_cast<const void*>(other.nodes[0]), static_cast<const void*>(&local),
          static_cast<const void*>(tree.RootNode()),
          static_cast<const void*>(reinterpret_cast<const char*>(child) + 8)})
        EXPECT_FALSE(tree.OwnsNode(foreign));
    EXPECT_EQ(tree.GetNextItem(TVGN_NEXT, other.nodes[0]), nullptr);
    PVirtualNode gone = tree.Add(nullptr, 5);
    tree.DeleteNode(gone);
    EXPECT_FALSE(tree.OwnsNode(gone));
    TRect r;
    EXPECT_FALSE(tree.GetItemRect(other.nodes[0], false, r));
    EXPECT_FALSE(tree.GetItemRect(child, false, r));  // collapsed away
    ASSERT_TRUE(tree.GetItemRect(f.nodes[1], false, r));
    EXPECT_EQ(r.Top, 18);

    tree.SetFocusedNode(f.nodes[1]);
    tree.SetSelected(f.nodes[1], true);
    char text[8];
    std::memset(text, 'x', sizeof text);
    TTreeItem item;
    item.Mask = TVIF_HANDLE | TVIF_STATE | TVIF_TEXT | TVIF_CHILDREN;
    item.Item = f.nodes[1];
    item.Text = text;
    item.TextMax = 3;  // "s" and the two bytes of "é" do not fit with the terminator
    ASSERT_TRUE(tree.GetItem(item));
    EXPECT_STREQ(text, "s");
    EXPECT_EQ(item.State, unsigned(TVIS_FOCUSED | TVIS_SELECTED));
    EXPECT_EQ(item.Children, 1);
    item.TextMax = 0;  // no room: nothing written
    text[0] = 'x';
    ASSERT_TRUE(tree.GetItem(item));
    EXPECT_EQ(text[0], 'x');
    item.TextMax = -5;
    ASSERT_TRUE(tree.GetItem(item));
    EXPECT_EQ(text[0], 'x');
    item.Item = other.nodes[0];
    EXPECT_FALSE(tree.GetItem(item));
}

}  // namespace
}  // namespace rv::test
