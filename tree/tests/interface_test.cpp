// Adding, walking, initialising on first touch, the update bracket and its notifications,
// deletion and what the tree forgets with a deleted node.

#include <chrono>
#include <string>

#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

TEST(TreeInterface, AddsAndWalks) {
    IdTree tree;
    const PVirtualNode a = tree.Add(nullptr, 1);
    EXPECT_EQ(tree.GetNodeLevel(a), 0u);
    EXPECT_EQ(tree.GetFirst(), a);
    EXPECT_TRUE(a->Has(nsInitialized));
    EXPECT_EQ(tree.GetNext(a), nullptr);
    EXPECT_EQ(tree.GetPrevious(a), nullptr);
    const PVirtualNode a1 = tree.Add(a, 2), a1x = tree.Add(a1, 3), b = tree.Add(nullptr, 4);
    EXPECT_EQ(tree.GetNodeLevel(a1x), 2u);
    EXPECT_EQ(tree.Ids(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(tree.GetNext(a1x), b);
    EXPECT_EQ(tree.GetPrevious(b), a1x);
    EXPECT_EQ(tree.GetLast(), b);
    EXPECT_EQ(tree.GetLastNoInit(a), a1x);
    EXPECT_THROW(tree.GetPrevious(tree.Add(nullptr, 5)), EAssertionFailed);  // uninitialised

    const PVirtualNode before = tree.InsertNode(a1, amInsertBefore);
    tree.SetId(before, 6);
    tree.SetId(tree.InsertNode(a, amAddChildFirst), 7);
    tree.SetId(tree.InsertNode(b, amInsertAfter), 8);
    tree.SetId(tree.InsertNode(nullptr, amInsertBefore), 9);  // the root: first top-level node
    EXPECT_EQ(tree.Ids(), (std::vector<int>{9, 1, 7, 6, 2, 3, 4, 8, 5}));
    EXPECT_TREE_OK(tree);

    tree.SetMisc(toReadOnly, true);
    EXPECT_EQ(tree.AddChild(nullptr), nullptr);
    tree.DeleteNode(a);
    tree.Clear();
    EXPECT_EQ(tree.TotalCount(), 9u);
}

TEST(TreeInterface, InitialisesOnFirstTouch) {
    IdTree tree;
    std::vector<int> inits;
    tree.OnInitNode = [&](TBaseVirtualTree*, PVirtualNode parent, PVirtualNode n,
                          TVirtualNodeInitStates& states) {
        inits.push_back(tree.Id(n));
        if (!parent) states |= ivsHasChildren;  // top-level nodes get their children later
        if (tree.Id(n) == 2) states |= ivsExpanded | ivsSelected;
    };
    int asked = 0;
    tree.OnInitChildren = [&](TBaseVirtualTree*, PVirtualNode n, std::uint32_t& count) {
        ++asked;
        count = tree.Id(n) == 1 ? 3 : 0;
    };
    tree.SetRootNodeCount(2);
    tree.SetId(tree.GetFirstNoInit(), 1);
    tree.SetId(tree.GetFirstNoInit()->NextSibling, 2);
    EXPECT_TRUE(inits.empty());

    const PVirtualNode first = tree.GetFirst();
    EXPECT_EQ(inits, std::vector<int>{1});
    const PVirtualNode child = tree.GetFirstChild(first);  // children made on demand
    EXPECT_EQ(first->ChildCount, 3u);
    EXPECT_EQ(asked, 1);
    tree.SetId(child, 10);
    EXPECT_EQ(tree.GetNextNoInit(child)->States & nsInitialized, 0);

    // Node 2 asks to be expanded and selected; its children, none, clear its button.
    const PVirtualNode second = tree.GetNextSibling(first);
    EXPECT_TRUE(tree.Selected(second));
    EXPECT_FALSE(second->Has(nsHasChildren));
    EXPECT_EQ(asked, 2);
    EXPECT_TREE_OK(tree);
}

TEST(TreeInterface, WalksVisibleNodes) {
    // 1 (expanded) { 2 (hidden) { 3 }, 4 (collapsed) { 5 }, 6 }, 7
    IdTree tree;
    const PVirtualNode n1 = tree.Add(nullptr, 1), n2 = tree.Add(n1, 2), n3 = tree.Add(n2, 3);
    const PVirtualNode n4 = tree.Add(n1, 4), n5 = tree.Add(n4, 5), n6 = tree.Add(n1, 6);
    const PVirtualNode n7 = tree.Add(nullptr, 7);
    tree.ToggleNode(n1);
    tree.ToggleNode(n2);
    tree.SetIsVisible(n2, false);
    EXPECT_EQ(tree.VisibleCount(), 4u);

    std::vector<int> shown;
    for (PVirtualNode n = tree.GetFirstVisible(); n; n = tree.GetNextVisible(n))
        shown.push_back(tree.Id(n));
    EXPECT_EQ(shown, (std::vector<int>{1, 4, 6, 7}));
    shown.clear();
    for (PVirtualNode n = tree.GetLastVisible(); n; n = tree.GetPreviousVisible(n))
        shown.push_back(tree.Id(n));
    EXPECT_EQ(shown, (std::vector<int>{7, 6, 4, 1}));

    // From a node that is not shown: onwards from the node that hides it.
    EXPECT_EQ(tree.GetNextVisibleNoInit(n3), n4);
    EXPECT_EQ(tree.GetPreviousVisibleNoInit(n3), n1);
    EXPECT_EQ(tree.GetNextVisibleNoInit(n5), n6);
    EXPECT_EQ(tree.GetPreviousVisibleNoInit(n5), n4);
    EXPECT_EQ(tree.GetFirstVisibleChild(n1), n4);
    EXPECT_EQ(tree.GetLastVisibleChildNoInit(n1), n6);
    EXPECT_EQ(tree.GetFirstVisibleChild(n4), nullptr);  // collapsed
    EXPECT_EQ(tree.GetNextVisibleSibling(n4), n6);
    EXPECT_EQ(tree.GetPreviousVisibleSiblingNoInit(n4), nullptr);
    EXPECT_THROW(tree.GetNextVisibleSibling(tree.RootNode()), EAssertionFailed);
    EXPECT_FALSE(tree.VisiblePath(n5));
    tree.SetVisiblePath(n5, true);
    EXPECT_EQ(tree.GetNextVisibleNoInit(n4), n5);
    EXPECT_EQ(tree.GetVisibleParent(n5), n4);

    // Rows of 18 pixels: 1, 4, 5, 6, 7.
    int top = -1;
    EXPECT_EQ(tree.GetNodeAt(0, 40, false, top), n5);
    EXPECT_EQ(top, 36);
    EXPECT_EQ(tree.GetNodeAt(0, -5, false, top), n1);
    EXPECT_EQ(tree.GetNodeAt(0, 89, false, top), n7);
    EXPECT_EQ(tree.GetNodeAt(0, 90, false, top), nullptr);
    EXPECT_TREE_OK(tree);
}

TEST(TreeInterface, UpdateBracketNotifiesOnceAtTheEnd) {
    IdTree tree;
    std::vector<std::pair<PVirtualNode, TChangeReason>> changes;
    tree.OnStructureChange = [&](TBaseVirtualTree*, PVirtualNode n, TChangeReason r) {
        changes.emplace_back(n, r);
    };
    std::vector<TVTUpdateState> updating;
    tree.OnUpdating = [&](TBaseVirtualTree*, TVTUpdateState s) { updating.push_back(s); };
    int compared = 0;
    tree.OnCompareNodes = [&](TBaseVirtualTree*, PVirtualNode a, PVirtualNode b, TColumnIndex,
                              int& result) {
        ++compared;
        result = tree.Id(a) - tree.Id(b);
    };
    tree.SetAuto(toAutoSort, true);

    tree.BeginUpdate();
    tree.BeginUpdate();
    for (int i = 1000; i > 0; --i) tree.Add(nullptr, i);
    tree.EndUpdate();
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(compared, 0);
    tree.EndUpdate();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].second, crAccumulated);
    EXPECT_EQ(updating, (std::vector<TVTUpdateState>{usBegin, usUpdate, usUpdate, usEnd}));
    EXPECT_GT(compared, 0);
    EXPECT_EQ(tree.Id(tree.GetFirstNoInit()), 1);

    // Outside a bracket each change is reported at once, with its reason.
    changes.clear();
    const PVirtualNode first = tree.GetFirstNoInit();
    tree.Add(first, 5);
    const PVirtualNode inserted = tree.InsertNode(first, amInsertAfter);
    tree.DeleteNode(inserted);
    tree.DeleteChildren(first);
    using Change = std::pair<PVirtualNode, TChangeReason>;
    EXPECT_EQ(changes, (std::vector<Change>{{first, crChildAdded},
                                            {inserted, crNodeAdded},
                                            {nullptr, crChildDeleted},
                                            {first, crChildDeleted}}));
    EXPECT_TREE_OK(tree);
}

// A copy is reported as reason 5 on the new node; copies of several children together as one
// accumulated change, once the copying has ended.
TEST(TreeInterface, CopiesAreReportedAsCopiedNodes) {
    IdTree tree;
    const PVirtualNode a = tree.Add(nullptr, 1), b = tree.Add(nullptr, 2);
    tree.Add(a, 3);
    tree.Add(a, 4);
    using Change = std::pair<PVirtualNode, TChangeReason>;
    std::vector<Change> changes;
    tree.OnStructureChange = [&](TBaseVirtualTree*, PVirtualNode n, TChangeReason r) {
        changes.emplace_back(n, r);
    };
    const PVirtualNode copy = tree.CopyTo(a, b, amAddChildLast, false);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(changes, (std::vector<Change>{{copy, crNodeCopied}}));
    EXPECT_EQ(static_cast<int>(crNodeCopied), 5);

    changes.clear();
    const PVirtualNode first = tree.CopyTo(a, b, amAddChildFirst, true);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].second, crAccumulated);
    EXPECT_EQ(changes[0].first->Parent, b);
    // Copies start with zeroed data (nothing here copies the user data).
    EXPECT_EQ(tree.Ids(), (std::vector<int>{1, 3, 4, 2, 0, 0, 0, 0, 0}));

    // Into another tree the target reports it.
    IdTree other;
    std::vector<Change> otherChanges;
    other.OnStructureChange = [&](TBaseVirtualTree*, PVirtualNode n, TChangeReason r) {
        otherChanges.emplace_back(n, r);
    };
    changes.clear();
    const PVirtualNode there = tree.CopyTo(b, other.RootNode(), amAddChildLast, false);
    ASSERT_NE(there, nullptr);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(otherChanges, (std::vector<Change>{{there, crNodeCopied}}));
    EXPECT_TREE_OK(tree);
    EXPECT_TREE_OK(other);
}

TEST(TreeChangeDelay, DelaysAndMergesChanges) {
    IdTree tree;
    tree.MultiSelect();
    const PVirtualNode a = tree.Add(nullptr, 1), b = tree.Add(nullptr, 2);
    std::vector<PVirtualNode> changed;
    tree.OnChange = [&](TBaseVirtualTree*, PVirtualNode n) { changed.push_back(n); };
    tree.SetSelected(a, true);
    EXPECT_EQ(changed, std::vector<PVirtualNode>{a});

    changed.clear();
    tree.SetChangeDelay(300);
    const auto start = std::chrono::steady_clock::now();
    tree.SetSelected(a, false);
    tree.SetSelected(b, true);  // restarts the delay, reports only b
    EXPECT_TRUE(changed.empty());
    ASSERT_TRUE(PumpUntil([&] { return !changed.empty(); }));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(290));
    EXPECT_EQ(changed, std::vector<PVirtualNode>{b});

    // Structure changes wait as well and are reported once, for a node that is still there.
    std::vector<PVirtualNode> structure;
    tree.OnStructureChange = [&](TBaseVirtualTree*, PVirtualNode n, TChangeReason) {
        structure.push_back(n);
    };
    const PVirtualNode child = tree.InsertNode(a, amAddChildLast);
    tree.SetChildCount(child, 2);
    EXPECT_TRUE(structure.empty());
    tree.DeleteNode(child);
    ASSERT_TRUE(PumpUntil([&] { return !structure.empty(); }));
    EXPECT_EQ(structure, std::vector<PVirtualNode>{a});
}

// Before nodes are freed every reference into them goes: focus, range anchor, hot node, drop
// target, pending check nodes, the last search hit, the last changed node, an edit of a node
// inside; a pending structure change moves up to the nearest surviving node.
TEST(TreeInterface, DeletionForgetsEveryReferenceIntoTheSubtree) {
    IdTree tree;
    tree.MultiSelect();
    const PVirtualNode top = tree.Add(nullptr, 1), keep = tree.Add(nullptr, 2);
    const PVirtualNode mid = tree.Add(top, 3), leaf = tree.Add(mid, 4);
    std::vector<PVirtualNode> focus, changed, structure;
    tree.OnFocusChanged = [&](TBaseVirtualTree*, PVirtualNode n, TColumnIndex) {
        focus.push_back(n);
    };
    tree.OnChange = [&](TBaseVirtualTree*, PVirtualNode n) { changed.push_back(n); };
    tree.OnStructureChange = [&](TBaseVirtualTree*, PVirtualNode n, TChangeReason) {
        structure.push_back(n);
    };

    tree.SetFocusedNode(leaf);
    tree.hotNode_ = tree.dropTargetNode_ = tree.checkNode_ = leaf;
    tree.pendingCheckNode_ = tree.lastSearchNode_ = leaf;
    tree.DoStateChange({tsEditing, tsMouseCheckPending, tsKeyCheckPending});
    tree.BeginUpdate();
    tree.SetSelected(keep, true);
    tree.SetSelected(leaf, true);  // the last changed node, pending
    tree.SetChildCount(leaf, 2);   // a pending structure change of the leaf
    tree.DeleteNode(mid);
    EXPECT_EQ(tree.FocusedNode(), nullptr);
    EXPECT_EQ(tree.RangeAnchor(), keep);
    EXPECT_EQ(tree.hotNode_, nullptr);
    EXPECT_EQ(tree.dropTargetNode_, nullptr);
    EXPECT_EQ(tree.checkNode_, nullptr);
    EXPECT_EQ(tree.pendingCheckNode_, nullptr);
    EXPECT_EQ(tree.lastSearchNode_, nullptr);
    EXPECT_FALSE(
        tree.TreeStates().ContainsAny({tsEditing, tsMouseCheckPending, tsKeyCheckPending}));
    tree.EndUpdate();
    EXPECT_EQ(focus, std::vector<PVirtualNode>({leaf, nullptr}));
    EXPECT_EQ(changed, std::vector<PVirtualNode>{nullptr});
    EXPECT_EQ(structure, std::vector<PVirtualNode>{top});
    EXPECT_EQ(tree.SelectionCount(), 1u);
    EXPECT_TREE_OK(tree);

    // Deleting a node's children keeps the node as the one that changed.
    structure.clear();
    tree.BeginUpdate();
    tree.SetChildCount(tree.Add(top, 5), 1);
    tree.DeleteChildren(top);
    tree.EndUpdate();
    EXPECT_EQ(structure, std::vector<PVirtualNode>{top});
}

TEST(TreeInterface, FreesEachInitialisedNodeOnce) {
    std::vector<int> freed;
    {
        IdTree tree;
        // The base tree frees the last nodes after the derived part is gone.
        tree.OnFreeNode = [&](TBaseVirtualTree* sender, PVirtualNode n) {
            int id;
            std::memcpy(&id, sender->GetNodeData(n), sizeof id);
            freed.push_back(id);
        };
        for (int i = 1; i <= 3; ++i) tree.Add(tree.Add(nullptr, i), 10 + i);
        for (PVirtualNode n = tree.GetFirst(); n; n = tree.GetNext(n)) {
        }
        tree.Add(nullptr, 99);  // never touched: nothing to free
        tree.DeleteNode(tree.GetFirstNoInit()->NextSibling);
        EXPECT_EQ(freed, (std::vector<int>{12, 2}));
        tree.DeleteChildren(tree.GetFirstNoInit());
        EXPECT_EQ(freed, (std::vector<int>{12, 2, 11}));
        freed.clear();
    }
    EXPECT_EQ(freed, (std::vector<int>{13, 3, 1}));  // the destructor frees the rest
}

TEST(TreeInterface, ClearEmptiesEverything) {
    IdTree tree;
    tree.MultiSelect();
    for (int i = 0; i < 100; ++i) tree.Add(tree.Add(nullptr, i), i);
    tree.SetFocusedNode(tree.GetFirst());
    tree.SelectAll(false);
    tree.DoStateChange({tsCutPending});
    std::vector<PVirtualNode> changed;
    tree.OnChange = [&](TBaseVirtualTree*, PVirtualNode n) { changed.push_back(n); };
    tree.Clear();
    EXPECT_EQ(tree.TotalCount(), 0u);
    EXPECT_EQ(tree.FocusedNode(), nullptr);
    EXPECT_EQ(tree.OffsetX(), 0);
    EXPECT_EQ(tree.OffsetY(), 0);
    EXPECT_FALSE(tree.TreeStates().Contains(tsCutPending));
    EXPECT_EQ(changed, std::vector<PVirtualNode>{nullptr});
    EXPECT_TREE_OK(tree);
    // The store is usable again.
    tree.Add(tree.Add(nullptr, 1), 2);
    EXPECT_EQ(tree.Ids(), (std::vector<int>{1, 2}));
    EXPECT_TREE_OK(tree);
}

TEST(TreeInterface, DeletesSelectedNodes) {
    IdTree tree;
    tree.MultiSelect();
    std::vector<PVirtualNode> n;
    for (int i = 0; i < 8; ++i) n.push_back(tree.Add(nullptr, i));
    tree.Add(n[3], 30);
    for (int i : {1, 2, 3, 6}) tree.SetSelected(n[i], true);
    tree.SetSelected(n[3]->FirstChild, true);
    tree.DeleteSelectedNodes();
    EXPECT_EQ(tree.Ids(), (std::vector<int>{0, 4, 5, 7}));
    EXPECT_EQ(tree.SelectionCount(), 0u);
    EXPECT_TREE_OK(tree);

    // Deleting selected children outside a bracket reports the change and packs the array at
    // once, not at some later EndUpdate.
    tree.SetSelected(tree.Add(n[0], 40), true);
    std::vector<PVirtualNode> changed;
    tree.OnChange = [&](TBaseVirtualTree*, PVirtualNode node) { changed.push_back(node); };
    tree.DeleteChildren(n[0]);
    EXPECT_EQ(changed, std::vector<PVirtualNode>{nullptr});
    EXPECT_TRUE(tree.SelectionArray().empty());
    EXPECT_TREE_OK(tree);
}

// Deep chains are walked, deleted and sorted without running out of stack.
TEST(TreeInterface, HandlesVeryDeepTrees) {
    IdTree tree;
    PVirtualNode n = nullptr;
    for (int i = 0; i < 30000; ++i) n = tree.Add(n, i);
    tree.SortTree(0, sdAscending);
    EXPECT_EQ(tree.GetNodeLevel(n), 29999u);
    tree.DeleteNode(tree.GetFirstNoInit()->FirstChild);
    EXPECT_EQ(tree.TotalCount(), 1u);
    n = tree.GetFirstNoInit();
    for (int i = 0; i < 30000; ++i) n = tree.Add(n, i);
    tree.OnFreeNode = [](TBaseVirtualTree*, PVirtualNode) {};
    tree.Clear();
    EXPECT_EQ(tree.TotalCount(), 0u);
}

}  // namespace
}  // namespace rv::test
