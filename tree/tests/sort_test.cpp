// Sorting: stable in both directions, top down through initialised nodes, automatic with
// toAutoSort, and a failing comparison leaves the siblings as they were.

#include <random>
#include <stdexcept>
#include <utility>

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

// The comparisons a merge sort of a chain asks for, in their order: the first count / 2 nodes
// and the other (count + 1) / 2 are each sorted, then merged, the first run's node taken on a tie.
class MergeModel {
public:
    MergeModel(std::function<int(int, int)> compare, TSortDirection direction)
        : compare_(std::move(compare)), direction_(direction) {}
    std::vector<int> Sort(const std::vector<int>& ids) { return Sort(ids.data(), ids.size()); }
    std::vector<std::pair<int, int>> pairs;

private:
    std::vector<int> Sort(const int* ids, std::size_t count) {
        if (count < 2) return {ids, ids + count};
        const std::vector<int> a = Sort(ids, count / 2);
        const std::vector<int> b = Sort(ids + count / 2, (count + 1) / 2);
        std::vector<int> merged;
        std::size_t i = 0, j = 0;
        while (i < a.size() && j < b.size()) {
            pairs.emplace_back(a[i], b[j]);
            const int result = compare_(a[i], b[j]);
            const bool second = direction_ == sdAscending ? result > 0 : result < 0;
            merged.push_back(second ? b[j++] : a[i++]);
        }
        merged.insert(merged.end(), a.begin() + long(i), a.end());
        merged.insert(merged.end(), b.begin() + long(j), b.end());
        return merged;
    }
    std::function<int(int, int)> compare_;
    TSortDirection direction_;
};

// Applications see the comparisons: each pair is asked in the order of the model above, for
// lists of every small length and for thousands of nodes with few distinct keys.
TEST(TreeSort, AsksThePairsOfAMergeOfTheChainInItsOrder) {
    std::mt19937 random(7);
    const auto key = [](int id) { return id % 13; };
    for (std::size_t count : {2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 17u, 31u, 1000u, 2999u}) {
        for (TSortDirection direction : {sdAscending, sdDescending}) {
            SCOPED_TRACE(std::to_string(count) + (direction == sdAscending ? " up" : " down"));
            IdTree tree;
            std::vector<int> ids(count);
            for (std::size_t i = 0; i < count; ++i) ids[i] = int(random() % 100000);
            for (int id : ids) tree.Add(nullptr, id);
            std::vector<std::pair<int, int>> asked;
            tree.OnCompareNodes = [&](TBaseVirtualTree*, PVirtualNode a, PVirtualNode b,
                                      TColumnIndex, int& result) {
                asked.emplace_back(tree.Id(a), tree.Id(b));
                result = key(tree.Id(a)) - key(tree.Id(b));
            };
            tree.Sort(nullptr, 0, direction);

            MergeModel model([&](int a, int b) { return key(a) - key(b); }, direction);
            const std::vector<int> expected = model.Sort(ids);
            ASSERT_EQ(asked, model.pairs);
            EXPECT_EQ(tree.ChildIds(nullptr), expected);
            ASSERT_TREE_OK(tree);
            // Stable: equal keys keep the order they had.
            std::vector<int> stable = ids;
            std::stable_sort(stable.begin(), stable.end(), [&](int a, int b) {
                return direction == sdAscending ? key(a) < key(b) : key(a) > key(b);
            });
            EXPECT_EQ(expected, stable);
        }
    }
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
