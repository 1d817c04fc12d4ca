// The position cache and its worker: the entries for trees around the entry spacing, look-ups
// with and without the cache against a plain walk, the worker thread's lifetime, the queue, and
// what the worker must leave alone.

#include <memory>
#include <string>
#include <thread>

#include "tree/tests/cache_fixture.h"

namespace rv::test {
namespace {

class CacheTree : public IdTree {
public:
    using TBaseVirtualTree::PositionCache;
};

TEST_F(TreeCacheTest, HasAnEntryEvery2000RowsAndOneForTheLastRow) {
    // Shown rows → the rows that get an entry (0-based).
    const std::vector<std::pair<std::uint32_t, std::vector<std::size_t>>> cases = {
        {2001, {0, 2000}},
        {5000, {0, 2000, 4000, 4999}},
        {10001, {0, 2000, 4000, 6000, 8000, 10000}},
    };
    std::mt19937 random(11);
    for (const auto& [shown, expected] : cases) {
        SCOPED_TRACE(std::to_string(shown) + " rows");
        CacheTree tree;
        FillShown(tree, shown, random);
        ASSERT_EQ(tree.VisibleCount(), shown);
        ASSERT_TRUE(WaitForCache(tree));
        EXPECT_FALSE(tree.TreeStates().ContainsAny({tsValidating, tsValidationNeeded}));
        const std::vector<Row> rows = ShownRows(tree);
        const auto& entries = tree.PositionCache().Entries();
        ASSERT_EQ(entries.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(entries[i].Node, rows[expected[i]].node) << "entry " << i;
            EXPECT_EQ(entries[i].AbsoluteTop, rows[expected[i]].top) << "entry " << i;
        }
    }

    // 2000 rows keep no entries, also when a larger tree shrinks to them.
    CacheTree tree;
    FillShown(tree, 2300, random);
    ASSERT_TRUE(WaitForCache(tree));
    tree.BeginUpdate();
    while (tree.VisibleCount() > 2000) {
        const PVirtualNode last = tree.GetLastVisibleNoInit();
        tree.DeleteNode(last->Parent == tree.RootNode() ? last : last->Parent);
    }
    FillShown(tree, 2000, random);
    tree.EndUpdate();
    ASSERT_EQ(tree.VisibleCount(), 2000u);
    RunPastTimer(50);
    EXPECT_FALSE(tree.TreeStates().Contains(tsUseCache));
    EXPECT_TRUE(tree.PositionCache().Entries().empty());
}

// Every position at a row boundary (the last pixel of a row and the first of the next), every
// node's top, and the positions below the last row, all as the plain walk has them.
std::string CompareWithWalk(CacheTree& tree) {
    const std::vector<Row> rows = ShownRows(tree);
    auto check = [&](std::int64_t y) { return CheckRowAt(tree, rows, y); };
    for (const Row& r : rows) {
        for (std::int64_t y : {r.top - 1, r.top, r.top + r.height - 1})
            if (y >= 0)
                if (std::string problem = check(y); !problem.empty()) return problem;
        if (tree.GetNodeTop(r.node) != r.top)
            return "GetNodeTop of the row at " + std::to_string(r.top) + " differs";
    }
    const std::int64_t bottom = rows.back().top + rows.back().height;
    for (std::int64_t y : {bottom - 1, bottom, bottom + 1, bottom + 100})
        if (std::string problem = check(y); !problem.empty()) return problem;
    return "";
}

TEST_F(TreeCacheTest, LookUpsMatchAPlainWalkWithAndWithoutTheCache) {
    std::mt19937 random(5);
    for (std::uint32_t shown : {5000u, 10001u}) {
        SCOPED_TRACE(std::to_string(shown) + " rows");
        CacheTree tree;
        FillShown(tree, shown, random);
        // Queued, but the worker's notices are not in yet: no cache.
        ASSERT_FALSE(tree.TreeStates().Contains(tsUseCache));
        EXPECT_EQ(CompareWithWalk(tree), "");
        ASSERT_TRUE(WaitForCache(tree));
        EXPECT_EQ(CompareWithWalk(tree), "");

        // A change drops the cache at once; the next one has the new tops.
        const PVirtualNode first = tree.GetFirstVisibleNoInit();
        tree.SetNodeHeight(first, first->NodeHeight + 7u);
        EXPECT_FALSE(tree.TreeStates().Contains(tsUseCache));
        EXPECT_EQ(CompareWithWalk(tree), "");
        ASSERT_TRUE(WaitForCache(tree));
        EXPECT_EQ(CompareWithWalk(tree), "");
    }
}

TEST_F(TreeCacheTest, NodeTopOfNodesThatAreNotShown) {
    CacheTree tree;
    std::mt19937 random(3);
    FillShown(tree, 3000, random);
    const PVirtualNode hidden = tree.AddChild(nullptr);
    const PVirtualNode under = tree.AddChild(hidden);
    tree.SetIsVisible(hidden, false);
    const PVirtualNode after = tree.AddChild(nullptr);
    ASSERT_TRUE(WaitForCache(tree));
    // A hidden node sits where it would be shown: on the next row's top.
    EXPECT_EQ(tree.GetNodeTop(hidden), ShownRows(tree).back().top);
    EXPECT_EQ(tree.GetNodeTop(hidden), tree.GetNodeTop(after));
    EXPECT_EQ(tree.GetNodeTop(under), -1);
}

TEST_F(TreeCacheTest, ANoticeOfAnOvertakenRoundIsIgnored) {
    CacheTree tree;
    std::mt19937 random(8);
    FillShown(tree, 10001, random);
    // The worker builds the cache meanwhile; its notices wait in the queue.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    tree.BeginUpdate();
    const PVirtualNode first = tree.GetFirstVisibleNoInit();
    tree.SetNodeHeight(first, first->NodeHeight + 3u);
    // They belong to a round that the change ended.
    RunPastTimer(50);
    EXPECT_FALSE(tree.TreeStates().ContainsAny({tsUseCache, tsValidating}));
    EXPECT_EQ(CompareWithWalk(tree), "");
    tree.EndUpdate();
    ASSERT_TRUE(WaitForCache(tree));
    EXPECT_EQ(CompareWithWalk(tree), "");
}

// A tree that notes every node measured or initialised, and on which thread.
class WatchedTree : public CacheTree {
public:
    WatchedTree() {
        OnInitNode = [this](TBaseVirtualTree*, PVirtualNode, PVirtualNode,
                            TVirtualNodeInitStates&) { Note(); };
    }
    int calls = 0;
    bool otherThread = false;

protected:
    void MeasureItemHeight(PVirtualNode) override { Note(); }

private:
    void Note() {
        ++calls;
        otherThread = otherThread || std::this_thread::get_id() != gui_;
    }
    std::thread::id gui_ = std::this_thread::get_id();
};

TEST_F(TreeCacheTest, TheWorkerNeitherInitialisesNorMeasuresNodes) {
    WatchedTree tree;
    tree.SetMisc(toVariableNodeHeight, true);
    tree.SetRootNodeCount(6000);
    ASSERT_TRUE(WaitForCache(tree));
    // The window shows its first rows, and the GUI thread may measure those; the worker's walk
    // over all 6,000 initialises and measures nothing.
    EXPECT_FALSE(tree.otherThread);
    EXPECT_LT(tree.calls, 20);
    int initialised = 0;
    for (PVirtualNode n = tree.GetFirstInitialized(); n; n = tree.GetNextInitialized(n))
        ++initialised;
    EXPECT_LT(initialised, 20);
    EXPECT_EQ(tree.PositionCache().Entries().back().AbsoluteTop, 5999u * 18);
}

TEST(TreeCacheWorker, StartsWithTheFirstTreeAndEndsWithTheLast) {
    EXPECT_EQ(ValidationWorkerNumber(), 0u);
    auto a = std::make_unique<IdTree>();
    const std::uint64_t first = ValidationWorkerNumber();
    EXPECT_NE(first, 0u);
    auto b = std::make_unique<IdTree>();
    a.reset();
    EXPECT_EQ(ValidationWorkerNumber(), first);
    b.reset();
    EXPECT_EQ(ValidationWorkerNumber(), 0u);
    IdTree c;
    EXPECT_NE(ValidationWorkerNumber(), 0u);
    EXPECT_NE(ValidationWorkerNumber(), first);
}

TEST(TreeCacheWorker, QueuesATreeOnce) {
    IdTree tree;
    TTreeValidation a(tree), b(tree);
    TTreeQueue queue;
    queue.Add(&a);
    queue.Add(&b);
    queue.Add(&a);
    EXPECT_EQ(queue.Count(), 2u);
    EXPECT_TRUE(queue.Remove(&a));
    EXPECT_FALSE(queue.Remove(&a));
    EXPECT_EQ(queue.Count(), 1u);
}

}  // namespace
}  // namespace rv::test
