// The scroll bars as the window reports them after expanding, collapsing and resizing, the
// offsets and their clamp, bringing a node into view and the top node, on a shown form.

#include <climits>

#include "platform/framework/tests/form_fixture.h"
#include "platform/windows/window_host.h"
#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

TScrollInfo Bar(const TBaseVirtualTree& tree, int bar) {
    TScrollInfo info;
    EXPECT_TRUE(GetScrollInfo(tree.Handle(), bar, info));
    return info;
}

// A tree of `count` top-level nodes at 200 × 100 pixels: a client area of 196 × 96 inside the
// two-pixel border, 180 wide once the vertical bar shows.
struct ScrollFixture {
    explicit ScrollFixture(int count) {
        tree = form.Add<IdTree>(Bounds(0, 0, 200, 100));
        for (int i = 0; i < count; ++i) nodes.push_back(tree->Add(nullptr, i));
    }
    FormWith form;
    IdTree* tree;
    std::vector<PVirtualNode> nodes;
};

TEST(TreeScrolling, BarsFollowExpandingCollapsingAndResizing) {
    ScrollFixture f(10);
    IdTree& tree = *f.tree;
    EXPECT_TRUE(IsScrollBarVisible(tree.Handle(), SB_VERT));
    EXPECT_FALSE(IsScrollBarVisible(tree.Handle(), SB_HORZ));
    EXPECT_EQ(tree.ClientWidth(), 180);
    TScrollInfo v = Bar(tree, SB_VERT);
    EXPECT_EQ(v.nMax, 180);  // ten rows of 18
    EXPECT_EQ(v.nPage, 97u);
    EXPECT_EQ(v.nPos, 0);

    for (int i = 0; i < 5; ++i) tree.Add(f.nodes[0], 100 + i);
    tree.ToggleNode(f.nodes[0]);
    EXPECT_EQ(Bar(tree, SB_VERT).nMax, 270);
    tree.SetOffsetY(-1000);  // to the bottom: 96 − 270
    EXPECT_EQ(tree.OffsetY(), -174);
    EXPECT_EQ(Bar(tree, SB_VERT).nPos, 174);

    // Collapsing shortens the range; the position slides back to the last full page.
    tree.ToggleNode(f.nodes[0]);
    v = Bar(tree, SB_VERT);
    EXPECT_EQ(v.nMax, 180);
    EXPECT_EQ(v.nPos, 84);
    EXPECT_EQ(tree.OffsetY(), -84);

    // Taller than the rows: no bar, no offset.
    tree.SetBounds(0, 0, 200, 300);
    EXPECT_FALSE(IsScrollBarVisible(tree.Handle(), SB_VERT));
    EXPECT_EQ(tree.OffsetY(), 0);
    EXPECT_EQ(tree.ClientWidth(), 196);

    // AlwaysVisible keeps both bars, disabled; without allowed bars nothing scrolls.
    tree.ScrollBarOptions().SetAlwaysVisible(true);
    EXPECT_TRUE(IsScrollBarVisible(tree.Handle(), SB_VERT));
    EXPECT_TRUE(IsScrollBarVisible(tree.Handle(), SB_HORZ));
    tree.ScrollBarOptions().SetAlwaysVisible(false);
    tree.SetBounds(0, 0, 200, 100);
    tree.ScrollBarOptions().SetScrollBars(ssNone);
    EXPECT_FALSE(IsScrollBarVisible(tree.Handle(), SB_VERT));
    tree.SetOffsetY(-50);
    EXPECT_EQ(tree.OffsetY(), -50);  // the range still holds it
    tree.ScrollBarOptions().SetScrollBars(ssVertical);
    EXPECT_TRUE(IsScrollBarVisible(tree.Handle(), SB_VERT));
    EXPECT_EQ(Bar(tree, SB_VERT).nPos, 50);
    EXPECT_TREE_OK(tree);
}

TEST(TreeScrolling, HorizontalOffsetStaysWithinTheContent) {
    ScrollFixture f(3);
    IdTree& tree = *f.tree;
    // Rows narrower than the client: there is nothing to scroll, in neither direction.
    tree.SetOffsetX(-10);
    EXPECT_EQ(tree.OffsetX(), 0);
    tree.SetOffsetX(30);
    EXPECT_EQ(tree.OffsetX(), 0);

    for (int i = 0; i < 3; ++i) tree.Header().Columns().Add().SetWidth(100);
    EXPECT_EQ(tree.RangeX(), 300);
    EXPECT_TRUE(IsScrollBarVisible(tree.Handle(), SB_HORZ));
    EXPECT_EQ(Bar(tree, SB_HORZ).nMax, 300);
    tree.SetOffsetX(-1000);
    EXPECT_EQ(tree.OffsetX(), 196 - 300);
    tree.SetOffsetX(50);
    EXPECT_EQ(tree.OffsetX(), 0);
    // Narrower columns pull the offset back.
    tree.SetOffsetX(-60);
    tree.Header().Columns()[2].SetWidth(10);
    EXPECT_EQ(tree.OffsetX(), 196 - 210);
    tree.Header().Columns()[1].SetWidth(10);
    EXPECT_EQ(tree.OffsetX(), 0);
    EXPECT_FALSE(IsScrollBarVisible(tree.Handle(), SB_HORZ));
}

// The vertical range is signed 32-bit: heights stop at 2^31 − 1 pixels, and scrolling to the
// end of a taller tree neither runs over nor reaches below that point.
TEST(TreeScrolling, RangeStopsAtTheLimitOfTheScrollBar) {
    ScrollFixture f(0);
    IdTree& tree = *f.tree;
    tree.BeginUpdate();
    tree.SetRootNodeCount(40000);
    for (PVirtualNode n = tree.GetFirstNoInit(); n; n = n->NextSibling)
        tree.SetNodeHeight(n, 65535);
    tree.EndUpdate();
    const int range = int(TBaseVirtualTree::kMaxTotalHeight) - 18;
    EXPECT_EQ(tree.RangeY(), range);
    EXPECT_EQ(Bar(tree, SB_VERT).nMax, range);
    tree.SetOffsetY(INT_MIN);
    EXPECT_EQ(tree.OffsetY(), 96 - range);
    tree.SetOffsetY(INT_MAX);
    EXPECT_EQ(tree.OffsetY(), 0);
    tree.ScrollIntoView(tree.GetLastNoInit(), false);
    EXPECT_EQ(tree.OffsetY(), 96 - range);
    tree.ScrollIntoView(tree.GetFirstNoInit(), true);
    EXPECT_EQ(tree.OffsetY(), 0);
}

TEST(TreeScrolling, ScrollIntoViewPutsTheNodeAtItsPlace) {
    ScrollFixture f(20);
    IdTree& tree = *f.tree;
    const auto& n = f.nodes;
    // Below: its bottom at the client's bottom (row 10 spans 180 … 198).
    EXPECT_TRUE(tree.ScrollIntoView(n[10], false));
    EXPECT_EQ(tree.OffsetY(), 96 - 198);
    const TRect row = tree.GetDisplayRect(n[10], NoColumn, false);
    EXPECT_EQ(row.Top, 78);
    EXPECT_EQ(row.Bottom, 96);
    // Above: its top at the client's top.
    EXPECT_TRUE(tree.ScrollIntoView(n[2], false));
    EXPECT_EQ(tree.OffsetY(), -36);
    // Centred: its bottom at half the client height.
    EXPECT_TRUE(tree.ScrollIntoView(n[10], true));
    EXPECT_EQ(tree.OffsetY(), 48 - 198);
    EXPECT_FALSE(tree.ScrollIntoView(n[9], false));  // in view already
    EXPECT_FALSE(tree.ScrollIntoView(nullptr, false));

    // A node in a collapsed branch: every collapsed ancestor is expanded first.
    const PVirtualNode a = tree.Add(n[15], 100), b = tree.Add(a, 101);
    std::vector<int> expanded;
    tree.OnExpanded = [&](TBaseVirtualTree*, PVirtualNode node) {
        expanded.push_back(tree.Id(node));
    };
    EXPECT_TRUE(tree.ScrollIntoView(b, false));
    EXPECT_EQ(expanded, (std::vector<int>{100, 15}));
    EXPECT_TRUE(tree.VisiblePath(b));
    EXPECT_EQ(tree.GetDisplayRect(b, NoColumn, false).Bottom, 96);

    tree.SetTopNode(n[5]);
    EXPECT_EQ(tree.OffsetY(), -90);
    EXPECT_EQ(tree.TopNode(), n[5]);
    tree.SetTopNode(n[19]);  // the last page cannot start lower than the end allows
    EXPECT_EQ(tree.OffsetY(), 96 - tree.RangeY());
}

TEST(TreeScrolling, ExpandingBringsTheChildrenIntoView) {
    ScrollFixture f(20);
    IdTree& tree = *f.tree;
    const auto& n = f.nodes;
    for (int i = 0; i < 3; ++i) tree.Add(n[3], 100 + i);
    tree.ToggleNode(n[3]);  // its last child ends at 54 + 18 + 54 = 126
    EXPECT_EQ(tree.OffsetY(), 96 - 126);
    for (int i = 0; i < 10; ++i) tree.Add(n[8], 200 + i);
    tree.ToggleNode(n[8]);  // 198 pixels do not fit: the node goes to the top
    EXPECT_EQ(tree.TopNode(), n[8]);
    tree.SetAuto(toAutoScrollOnExpand, false);
    tree.SetOffsetY(0);
    tree.ToggleNode(n[3]);
    tree.ToggleNode(n[3]);
    EXPECT_EQ(tree.OffsetY(), 0);
}

}  // namespace
}  // namespace rv::test
