// Sorting: stable in both directions, top down through initialised nodes, automatic with
// toAutoSort, and a failing comparison leaves the siblings as they were.

#include <stdexcept>

#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

// Nodes compare by id / 10, so ids of one tens share a key and show the stability.
class KeyTree : public IdTree {
public:
    KeyTree() {
        OnCompareNodes = [this](TBaseVirtualTree*, PVirtualNode a, PVirtualNode b,
                                TColumnIndex column, int& result) {
            columns.push_back(column);
            result = Id(a) / 10 - Id(b) / 10;
        };
    }
    std::vector<TColumnIndex> columns;
};

TEST(TreeSort, IsStableInBothDirections) {
    KeyTree tree;
    for (int id : {31, 12, 33, 11, 20, 32, 13}) tree.Add(nullptr, id);
    tree.Sort(nullptr, 0, sdAscending);
    EXPECT_EQ(tree.ChildIds(nullptr), (std::vector<int>{12, 11, 13, 20, 31, 33, 32}));
    tree.Sort(nullptr, 0, sdDescending);
    EXPECT_EQ(tree.ChildIds(nullptr), (std::vector<int>{31, 33, 32, 20, 12, 11, 13}));
    ASSERT_TREE_OK(tree);
    // Index follows the new order, and so do the walks.
    PVirtualNode n = tree.GetFirst();
    EXPECT_EQ(n->Index, 0u);
    EXPECT_EQ(tree.Id(tree.GetNext(n)), 33);
    EXPECT_EQ(tree.GetPrevious(tree.GetNext(n)), n);
    EXPECT_EQ(tree.RootNode()->LastChild->Index, 6u);

    // Without a handler everything compares equal and nothing moves.
    tree.OnCompareNodes = nullptr;
    tree.Sort(nullptr, 0, sdAscending);
    EXPECT_EQ(tree.ChildIds(nullptr), (std::vector<int>{31, 33, 32, 20, 12, 11, 13}));
}

TEST(TreeSort, SortTreeGoesTopDownThroughInitialisedNodes) {
    KeyTree tree;
    // Child counts leave the nodes uninitialised.
    tree.SetRootNodeCount(2);
    const PVirtualNode a = tree.GetFirstNoInit(), b = a->NextSibling;
    tree.SetChildCount(a, 2);
    tree.SetChildCount(b, 2);
    int ids[] = {20, 50, 40, 10, 70, 60}, i = 0;
    for (PVirtualNode n = a; n; n = tree.GetNextNoInit(n)) tree.SetId(n, ids[i++]);
    tree.SortTree(-2, sdAscending);  // no sort column: nothing sorts
    EXPECT_EQ(tree.Ids(), (std::vector<int>{20, 50, 40, 10, 70, 60}));
    EXPECT_TRUE(tree.columns.empty());

    // Without DoInit only initialised nodes are sorted and entered: here the root's children.
    tree.SortTree(-1, sdAscending, false);
    EXPECT_EQ(tree.Ids(), (std::vector<int>{10, 70, 60, 20, 50, 40}));
    EXPECT_EQ(tree.columns.front(), -1);
    tree.GetFirst();  // initialises b
    tree.SortTree(-1, sdAscending, false);
    EXPECT_EQ(tree.Ids(), (std::vector<int>{10, 60, 70, 20, 50, 40}));
    EXPECT_FALSE(a->Has(nsInitialized));
    tree.SortTree(3, sdAscending);
    EXPECT_EQ(tree.Ids(), (std::vector<int>{10, 60, 70, 20, 40, 50}));
    EXPECT_EQ(tree.UpdateCount(), 0u);
    EXPECT_TREE_OK(tree);
}

TEST(TreeSort, SortsAutomaticallyByTheHeader) {
    KeyTree tree;
    tree.SetAuto(toAutoSort, true);
    tree.Add(nullptr, 30);
    tree.Add(nullptr, 10);
    EXPECT_EQ(tree.ChildIds(nullptr), (std::vector<int>{10, 30}));  // sort column -1 sorts
    tree.Header().SetSortDirection(sdDescending);
    EXPECT_EQ(tree.ChildIds(nullptr), (std::vector<int>{30, 10}));

    // The header's setter keeps -1 as its lowest column; only a loaded header holds -2, which
    // stops the automatic sorting.
    tree.Header().SetSortColumn(-2);
    EXPECT_EQ(tree.Header().SortColumn(), -1);
    tree.Header().SetSortColumn(7);
    EXPECT_EQ(tree.Header().SortColumn(), -1);
    tree.Header().BeginLoading();
    tree.Header().SetSortColumn(-2);
    tree.Header().EndLoading();
    EXPECT_EQ(tree.Header().SortColumn(), -2);
    tree.columns.clear();
    tree.Add(nullptr, 50);
    tree.BeginUpdate();
    tree.Add(nullptr, 0);
    tree.EndUpdate();
    EXPECT_EQ(tree.ChildIds(nullptr), (std::vector<int>{30, 10, 50, 0}));
    EXPECT_TRUE(tree.columns.empty());
}

// An edit whose end is refused keeps the order.
TEST(TreeSort, WaitsForARefusedEdit) {
    struct Editing : KeyTree {
        bool DoEndEdit() override { return false; }
    } tree;
    tree.Add(nullptr, 20);
    tree.Add(nullptr, 10);
    tree.DoStateChange({tsEditing});
    tree.Sort(nullptr, 0, sdAscending);
    EXPECT_EQ(tree.ChildIds(nullptr), (std::vector<int>{20, 10}));
}

// A comparison that throws leaves chain, first and last child, Index and counts as they were.
TEST(TreeSort, FailedComparisonLeavesTheSiblingsAsTheyWere) {
    KeyTree tree;
    const PVirtualNode parent = tree.Add(nullptr, 1);
    for (int id : {90, 80, 70, 60, 50, 40, 30, 20, 10}) tree.Add(parent, id);
    int calls = 0;
    tree.OnCompareNodes = [&](TBaseVirtualTree*, PVirtualNode a, PVirtualNode b, TColumnIndex,
                              int& result) {
        if (++calls == 12) throw std::runtime_error("compare failed");
        result = tree.Id(a) - tree.Id(b);
    };
    EXPECT_THROW(tree.SortTree(0, sdAscending), std::runtime_error);
    EXPECT_EQ(tree.ChildIds(parent), (std::vector<int>{90, 80, 70, 60, 50, 40, 30, 20, 10}));
    EXPECT_EQ(tree.UpdateCount(), 0u);
    ASSERT_TREE_OK(tree);
    std::vector<int> backwards;
    for (PVirtualNode n = parent->LastChild; n; n = n->PrevSibling) backwards.push_back(tree.Id(n));
    EXPECT_EQ(backwards, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90}));
    tree.SortTree(0, sdAscending);
    EXPECT_EQ(tree.ChildIds(parent), (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90}));
}

}  // namespace
}  // namespace rv::test
