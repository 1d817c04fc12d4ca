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
// node's top, the display rectangle of every 37th row and of the rows around each cache entry,
// and the positions below the last row, all as the plain walk has them.
std::string CompareWithWalk(CacheTree& tree) {
    const std::vector<Row> rows = ShownRows(tree);
    auto check = [&](std::int64_t y) { return CheckRowAt(tree, rows, y); };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        for (std::int64_t y : {r.top - 1, r.top, r.top + r.height - 1})
            if (y >= 0)
                if (std::string problem = check(y); !problem.empty()) return problem;
        if (tree.GetNodeTop(r.node) != r.top)
            return "GetNodeTop of the row at " + std::to_string(r.top) + " differs";
        const std::size_t k = i % TPositionCache::kSpacing;
        if (i % 37 == 0 || k < 2 || k + 2 > TPositionCache::kSpacing || i + 2 > rows.size()) {
            const TRect rect = tree.GetDisplayRect(r.node, NoColumn, false);
            if (rect.Top != r.top + tree.OffsetY() || rect.Bottom != rect.Top + r.height)
                return "GetDisplayRect of the row at " + std::to_string(r.top) + " differs";
        }
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

// The entries a complete cache of the tree has: every 2000th shown row and the last one.
std::string CheckEntries(const CacheTree& tree) {
    const std::vector<Row> rows = ShownRows(tree);
    const auto& entries = tree.PositionCache().Entries();
    std::vector<std::size_t> expected;
    for (std::size_t i = 0; i < rows.size(); i += TPositionCache::kSpacing) expected.push_back(i);
    if (expected.back() + 1 != rows.size()) expected.push_back(rows.size() - 1);
    if (entries.size() != expected.size()) return "entry count differs";
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (entries[i].Node != rows[expected[i]].node ||
            entries[i].AbsoluteTop != rows[expected[i]].top)
            return "entry " + std::to_string(i) + " differs";
    return "";
}

// Counts the validation rounds the tree enters.
struct RoundCounter {
    explicit RoundCounter(TBaseVirtualTree& tree) {
        tree.OnStateChange = [this](TBaseVirtualTree*, TVirtualTreeStates enter,
                                    TVirtualTreeStates) {
            if (enter.Contains(tsValidating)) ++rounds;
        };
    }
    int rounds = 0;
};

// A row under a collapsed parent moves no shown row: a complete cache stays in use, and a walk
// that such a change stopped goes on by itself. As written, the cache was dropped and never
// queued again, and every look-up walked from the top until the next structural change.
TEST_F(TreeCacheTest, AHiddenRowsHeightChangeKeepsTheCacheOrRebuildsIt) {
    CacheTree tree;
    std::mt19937 random(21);
    FillShown(tree, 6000, random);
    const PVirtualNode collapsed = tree.AddChild(nullptr);
    tree.SetChildCount(collapsed, 4);
    FillShown(tree, 9000, random);
    const PVirtualNode hidden = collapsed->FirstChild;
    ASSERT_FALSE(tree.FullyVisible(hidden));

    // While the worker walks (its round queued by the filling, its notices not taken yet).
    ASSERT_TRUE(tree.TreeStates().Contains(tsValidationNeeded));
    tree.SetNodeHeight(hidden, 33);
    ASSERT_TRUE(WaitForCache(tree));
    EXPECT_EQ(CheckEntries(tree), "");

    // With the cache complete: it stays, and no round runs for it.
    const RoundCounter counter(tree);
    tree.SetNodeHeight(hidden, 7);
    tree.SetNodeHeight(hidden->NextSibling, 50);
    EXPECT_TRUE(tree.TreeStates().Contains(tsUseCache));
    RunPastTimer(50);
    EXPECT_TRUE(tree.TreeStates().Contains(tsUseCache));
    EXPECT_EQ(counter.rounds, 0);
    EXPECT_EQ(CheckEntries(tree), "");
    EXPECT_EQ(CompareWithWalk(tree), "");

    // A change that stops a walk outside any update bracket queues the tree again by itself.
    tree.SetNodeHeight(tree.GetFirstVisibleNoInit(), 25);
    tree.SetNodeHeight(hidden, 9);
    ASSERT_TRUE(WaitForCache(tree));
    EXPECT_EQ(CheckEntries(tree), "");
}

// The display rectangle finds the row's top through the cache, as GetNodeAt does: an entry
// moved by hand moves the rectangles of the rows found from it.
TEST_F(TreeCacheTest, TheDisplayRectangleIsAnsweredFromTheCache) {
    CacheTree tree;
    tree.SetRootNodeCount(10000);
    ASSERT_TRUE(WaitForCache(tree));
    EXPECT_EQ(CompareWithWalk(tree), "");
    auto& entry = const_cast<TCacheEntry&>(tree.PositionCache().Entries()[2]);
    ASSERT_EQ(entry.Node->Index, 4000u);
    const PVirtualNode after = entry.Node->NextSibling->NextSibling;
    const int before = tree.GetDisplayRect(after, NoColumn, false).Top;
    EXPECT_EQ(before, 4002 * 18 + tree.OffsetY());
    entry.AbsoluteTop += 1000;
    EXPECT_EQ(tree.GetDisplayRect(after, NoColumn, false).Top, before + 1000);
    EXPECT_EQ(tree.GetNodeTop(after), 4002 * 18 + 1000);
    entry.AbsoluteTop -= 1000;
    EXPECT_EQ(tree.GetDisplayRect(after, NoColumn, false).Top, before);
}

// An update bracket with no change in it keeps a complete cache; a change keeps the entries
// before it, and the next round walks on from the last of them.
TEST_F(TreeCacheTest, AnEmptyBracketKeepsTheCacheAndAChangeKeepsTheEntriesBeforeIt) {
    CacheTree tree;
    std::mt19937 random(17);
    FillShown(tree, 10001, random);
    ASSERT_TRUE(WaitForCache(tree));
    const std::vector<TCacheEntry> complete = tree.PositionCache().Entries();
    ASSERT_EQ(complete.size(), 6u);
    const RoundCounter counter(tree);
    tree.BeginUpdate();
    tree.EndUpdate();
    EXPECT_TRUE(tree.TreeStates().Contains(tsUseCache));
    RunPastTimer(50);
    EXPECT_TRUE(tree.TreeStates().Contains(tsUseCache));
    EXPECT_EQ(counter.rounds, 0);

    // A row between the third and the fourth entry grows: three entries stay valid.
    const std::vector<Row> rows = ShownRows(tree);
    const PVirtualNode changed = rows[5000].node;
    tree.BeginUpdate();
    tree.SetNodeHeight(changed, changed->NodeHeight + 11u);
    EXPECT_FALSE(tree.TreeStates().Contains(tsUseCache));
    EXPECT_EQ(tree.PositionCache().ValidCount(), 3u);
    // Another change further down keeps them; one above the second entry cuts them to two.
    tree.SetNodeHeight(rows[9000].node, 3);
    EXPECT_EQ(tree.PositionCache().ValidCount(), 3u);
    tree.SetNodeHeight(rows[3999].node, 4);
    EXPECT_EQ(tree.PositionCache().ValidCount(), 2u);
    tree.EndUpdate();
    ASSERT_TRUE(WaitForCache(tree));
    EXPECT_EQ(counter.rounds, 1);
    EXPECT_EQ(CheckEntries(tree), "");
    EXPECT_EQ(CompareWithWalk(tree), "");
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(tree.PositionCache().Entries()[i].Node, complete[i].Node);

    // Expanding, collapsing, hiding and sorting below the last full entry keep the entries before
    // it. (The entries are read inside an update bracket: outside one the worker is on the tree.)
    PVirtualNode parent = nullptr;
    for (std::size_t i = 8001; i < rows.size() && !parent; ++i)
        if (rows[i].node->ChildCount > 0 && !rows[i].node->Has(nsExpanded)) parent = rows[i].node;
    ASSERT_NE(parent, nullptr);
    tree.BeginUpdate();
    tree.ToggleNode(parent);
    EXPECT_EQ(tree.PositionCache().ValidCount(), 5u);
    tree.EndUpdate();
    ASSERT_TRUE(WaitForCache(tree));
    EXPECT_EQ(CheckEntries(tree), "");
    tree.BeginUpdate();
    tree.Sort(parent, 0, sdDescending);
    tree.SetIsVisible(parent->FirstChild, false);
    tree.ToggleNode(parent);
    EXPECT_EQ(tree.PositionCache().ValidCount(), 5u);
    tree.EndUpdate();
    ASSERT_TRUE(WaitForCache(tree));
    EXPECT_EQ(CheckEntries(tree), "");
    EXPECT_EQ(CompareWithWalk(tree), "");

    // A deletion starts over.
    tree.BeginUpdate();
    tree.DeleteNode(rows[9500].node->Parent == tree.RootNode() ? rows[9500].node
                                                               : rows[9500].node->Parent);
    EXPECT_EQ(tree.PositionCache().ValidCount(), 0u);
    tree.EndUpdate();
    ASSERT_TRUE(WaitForCache(tree));
    EXPECT_EQ(CheckEntries(tree), "");
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
