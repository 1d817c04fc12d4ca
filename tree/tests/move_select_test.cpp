// Moving and copying nodes (within a tree and between trees), whole-subtree expansion, making
// nodes anew, and selections of many nodes under their constraints.

#include "tree/tests/stream_bytes.h"
#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

// A tree whose copies keep their ids, as OnSaveNode and OnLoadNode would carry them.
struct CopyingTree : IdTree {
    using IdTree::SelectNodes;
    using IdTree::ToggleSelection;

protected:
    void CopyNodeData(const TBaseVirtualTree& source, PVirtualNode from, PVirtualNode to) override {
        SetId(to, static_cast<const IdTree&>(source).Id(from));
    }
};

TEST(TreeMoving, ChildrenKeepTheirOrderInEveryMode) {
    for (auto mode : {amInsertBefore, amInsertAfter, amAddChildFirst, amAddChildLast}) {
        SCOPED_TRACE(int(mode));
        CopyingTree tree;
        const PVirtualNode source = tree.Add(nullptr, 1), target = tree.Add(nullptr, 2);
        for (int id : {11, 12, 13}) tree.Add(source, id);
        tree.Add(target, 21);
        std::vector<int> moved;
        tree.OnNodeMoved = [&](TBaseVirtualTree*, PVirtualNode n) { moved.push_back(tree.Id(n)); };
        tree.MoveTo(source, target->FirstChild, mode, true);
        const std::vector<int> expected =
            mode == amInsertBefore  ? std::vector<int>{1, 2, 11, 12, 13, 21}
            : mode == amInsertAfter ? std::vector<int>{1, 2, 21, 11, 12, 13}
                                    : std::vector<int>{1, 2, 21, 11, 12, 13};
        EXPECT_EQ(tree.Ids(), expected);
        if (mode == amAddChildFirst || mode == amAddChildLast) {
            EXPECT_EQ(tree.ChildIds(target->FirstChild), (std::vector<int>{11, 12, 13}));
        }
        EXPECT_EQ(moved.size(), 3u);
        EXPECT_FALSE(tree.HasChildren(source));
        EXPECT_TREE_OK(tree);
    }
}

TEST(TreeMoving, RefusesATargetInsideTheMovedSubtree) {
    CopyingTree tree;
    const PVirtualNode a = tree.Add(nullptr, 1), b = tree.Add(a, 2), c = tree.Add(b, 3);
    try {
        tree.MoveTo(a, c, amAddChildLast, false);
        FAIL() << "no error";
    } catch (const EVirtualTreeError& e) {
        EXPECT_EQ(e.HelpContext, hcTFWrongMoveError);
    }
    EXPECT_EQ(tree.Ids(), (std::vector<int>{1, 2, 3}));
    // A refused move changes nothing either.
    tree.OnNodeMoving = [](TBaseVirtualTree*, PVirtualNode, PVirtualNode, bool& allowed) {
        allowed = false;
    };
    tree.MoveTo(c, nullptr, amAddChildLast, false);
    EXPECT_EQ(tree.GetNodeLevel(c), 2u);
    // Copying into the own subtree takes the subtree as it was.
    EXPECT_NE(tree.CopyTo(a, c, amAddChildLast, false), nullptr);
    EXPECT_EQ(tree.Ids(), (std::vector<int>{1, 2, 3, 1, 2, 3}));
    EXPECT_TREE_OK(tree);
}

// A node moved into another tree goes here and arrives there, expanded, selected and checked as
// it was; this tree reports the move through the node's former parent, never the freed node.
TEST(TreeMoving, MovesAndCopiesBetweenTrees) {
    CopyingTree from, to;
    from.MultiSelect();
    to.MultiSelect();
    const PVirtualNode top = from.Add(nullptr, 1), a = from.Add(top, 2);
    from.Add(a, 3);
    from.FullExpand();
    from.SetSelected(a, true);
    a->CheckType = ctCheckBox;
    const PVirtualNode anchor = to.Add(nullptr, 9);
    std::vector<std::pair<PVirtualNode, TChangeReason>> changes;
    from.OnStructureChange = [&](TBaseVirtualTree*, PVirtualNode n, TChangeReason r) {
        changes.emplace_back(n, r);
    };
    int freed = 0, arrived = 0;
    from.OnFreeNode = [&](TBaseVirtualTree*, PVirtualNode) { ++freed; };
    to.OnNodeMoved = [&](TBaseVirtualTree*, PVirtualNode) { ++arrived; };
    from.MoveTo(a, anchor, amInsertBefore, false);
    EXPECT_EQ(from.Ids(), std::vector<int>{1});
    EXPECT_EQ(freed, 2);
    EXPECT_EQ(to.Ids(), (std::vector<int>{2, 3, 9}));
    EXPECT_EQ(arrived, 1);
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), std::make_pair(top, crNodeMoved));
    const PVirtualNode copy = to.GetFirstNoInit();
    EXPECT_TRUE(to.Expanded(copy));
    EXPECT_TRUE(to.Selected(copy));
    EXPECT_EQ(to.SelectionCount(), 1u);
    EXPECT_EQ(copy->CheckType, ctCheckBox);
    EXPECT_EQ(to.VisibleCount(), 3u);
    EXPECT_EQ(from.SelectionCount(), 0u);

    // Copies: refused by OnNodeCopying, else each announced by OnNodeCopied of the target.
    std::vector<int> copied;
    to.OnNodeCopied = [&](TBaseVirtualTree*, PVirtualNode n) { copied.push_back(to.Id(n)); };
    from.OnNodeCopying = [](TBaseVirtualTree*, PVirtualNode n, PVirtualNode, bool& allowed) {
        allowed = n->Index == 0;
    };
    const PVirtualNode second = from.Add(nullptr, 5);
    EXPECT_EQ(from.CopyTo(second, anchor, amAddChildLast, false), nullptr);
    const PVirtualNode made = from.CopyTo(top, anchor, amAddChildFirst, false);
    EXPECT_EQ(made, anchor->FirstChild);
    EXPECT_EQ(copied, std::vector<int>{1});
    EXPECT_EQ(from.Ids(), (std::vector<int>{1, 5}));
    EXPECT_EQ(to.Ids(), (std::vector<int>{2, 3, 9, 1}));
    EXPECT_TREE_OK(from);
    EXPECT_TREE_OK(to);
}

TEST(TreeExpansion, FullExpandAndCollapseWholeSubtrees) {
    IdTree tree;
    tree.FullExpand();  // nothing to do on an empty tree
    const PVirtualNode a = tree.Add(nullptr, 1), b = tree.Add(a, 2);
    tree.Add(b, 3);
    tree.Add(a, 4);
    tree.Add(nullptr, 5);
    std::vector<int> expanding, expanded;
    tree.OnExpanding = [&](TBaseVirtualTree*, PVirtualNode n, bool&) {
        expanding.push_back(tree.Id(n));
    };
    tree.OnExpanded = [&](TBaseVirtualTree*, PVirtualNode n) { expanded.push_back(tree.Id(n)); };
    tree.FullExpand();
    EXPECT_EQ(expanding, (std::vector<int>{1, 2}));  // the nodes with children, once each
    EXPECT_EQ(expanded, expanding);
    EXPECT_EQ(tree.VisibleCount(), 5u);
    EXPECT_FALSE(tree.TreeStates().Contains(tsExpanding));

    tree.FullCollapse(a);
    EXPECT_FALSE(tree.Expanded(a));
    EXPECT_FALSE(tree.Expanded(b));  // hidden parts collapse too
    EXPECT_EQ(tree.VisibleCount(), 2u);
    tree.FullExpand(b);  // the subtree only; its parent stays collapsed
    EXPECT_TRUE(tree.Expanded(b));
    EXPECT_FALSE(tree.Expanded(a));
    EXPECT_TREE_OK(tree);
}

// A full collapse passes by the subtrees with nothing expanded in them and counts the shown rows
// once at its end; what the handlers see is as before: every expanded node with children in
// reverse pre-order, also a childless one that came from a stream expanded, and at each event
// the rows then shown. A node a handler expands behind the walk stays expanded, and the next
// full collapse still finds it.
TEST(TreeExpansion, FullCollapseFiresForEveryExpandedNodeAndCountsRight) {
    IdTree tree;
    CarryIds(tree);
    // 1 {2 {3 {8}}, 4 {6}}, 5 (loaded expanded, with children to come and none yet), 7
    const std::uint16_t open = nsInitialized | nsVisible | nsExpanded | nsHasChildren;
    const std::string bytes = Concat(
        {StreamHeader(), U32(3),
         Node(BaseData(2, 18, open),
              Node(BaseData(1, 18, open),
                   Node(BaseData(1, 18, open),
                        Node(BaseData(0, 18, nsVisible), "", Chunk(4, U32(8))), Chunk(4, U32(3))),
                   Chunk(4, U32(2))) +
                  Node(BaseData(1, 18, open),
                       Node(BaseData(0, 18, nsVisible), "", Chunk(4, U32(6))), Chunk(4, U32(4))),
              Chunk(4, U32(1))),
         Node(BaseData(0, 18, open), "", Chunk(4, U32(5))),
         Node(BaseData(0, 18, nsVisible), "", Chunk(4, U32(7)))});
    TReadOnlyMemoryStream in(bytes.data(), bytes.size());
    tree.LoadFromStream(in);
    ASSERT_EQ(tree.Ids(), (std::vector<int>{1, 2, 3, 8, 4, 6, 5, 7}));
    ASSERT_EQ(tree.VisibleCount(), 8u);
    EXPECT_TREE_OK(tree);

    std::vector<int> collapsing, collapsed;
    std::vector<std::uint32_t> shown;
    PVirtualNode four = nullptr;
    for (PVirtualNode n = tree.GetFirstNoInit(); n; n = tree.GetNextNoInit(n))
        if (tree.Id(n) == 4) four = n;
    tree.OnCollapsing = [&](TBaseVirtualTree*, PVirtualNode n, bool&) {
        collapsing.push_back(tree.Id(n));
    };
    tree.OnCollapsed = [&](TBaseVirtualTree*, PVirtualNode n) {
        collapsed.push_back(tree.Id(n));
        shown.push_back(tree.VisibleCount());
        if (tree.Id(n) == 2) tree.SetExpanded(four, true);
    };
    tree.FullCollapse();
    EXPECT_EQ(collapsing, (std::vector<int>{5, 4, 3, 2, 1}));
    EXPECT_EQ(collapsed, collapsing);
    // Rows after each: 5 alone hides nothing; 4 hides 6; 3 hides 8; 2 hides 3 (and 4 opens
    // again, showing 6); 1 hides 2, 4 and 6.
    EXPECT_EQ(shown, (std::vector<std::uint32_t>{8, 7, 6, 5, 3}));
    EXPECT_EQ(tree.VisibleCount(), 3u);
    EXPECT_TRUE(tree.Expanded(four));
    EXPECT_TREE_OK(tree);

    collapsing.clear();
    tree.OnCollapsed = nullptr;
    tree.FullCollapse();
    EXPECT_EQ(collapsing, (std::vector<int>{4}));
    EXPECT_EQ(tree.VisibleCount(), 3u);
    EXPECT_TREE_OK(tree);
}

// FullExpand passes by children that were initialised leaves when their parent opened, but not
// when opening it changed them: what OnExpanded adds below them is expanded too, and children that
// initialise with children of their own are entered.
TEST(TreeExpansion, FullExpandReachesWhatOpeningANodeMade) {
    IdTree tree;
    const PVirtualNode a = tree.Add(nullptr, 1), b = tree.Add(nullptr, 2);
    for (int i = 0; i < 3; ++i) {
        tree.Add(a, 10 + i);
        tree.Add(b, 20 + i);
    }
    tree.InitRecursive(nullptr);
    PVirtualNode made = nullptr;
    tree.OnExpanded = [&](TBaseVirtualTree*, PVirtualNode n) {
        if (n == a && !made) made = tree.Add(tree.Add(a->FirstChild, 30), 31);
    };
    tree.FullExpand();
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(tree.Expanded(a->FirstChild));
    EXPECT_TRUE(tree.Expanded(made->Parent));
    EXPECT_TRUE(tree.FullyVisible(made));
    EXPECT_TRUE(tree.Expanded(b));
    EXPECT_EQ(tree.VisibleCount(), 2u + 6u + 2u);
    EXPECT_TREE_OK(tree);

    // Children met uninitialised are initialised on the way and entered when they get children.
    IdTree lazy;
    lazy.OnInitNode = [&](TBaseVirtualTree*, PVirtualNode, PVirtualNode node,
                          TVirtualNodeInitStates& states) {
        if (lazy.GetNodeLevel(node) == 1) states |= ivsHasChildren;
    };
    lazy.OnInitChildren = [](TBaseVirtualTree*, PVirtualNode, std::uint32_t& count) { count = 2; };
    lazy.SetRootNodeCount(2);
    lazy.SetChildCount(lazy.GetFirstNoInit(), 3);
    lazy.FullExpand();
    EXPECT_EQ(lazy.VisibleCount(), 2u + 3u + 3u * 2u);
    EXPECT_TREE_OK(lazy);
}

// With toAutoExpand the focus moving on to a sibling collapses the node it leaves.
TEST(TreeExpansion, AutoExpandCollapsesTheSiblingTheFocusLeaves) {
    IdTree tree;
    const PVirtualNode a = tree.Add(nullptr, 1), b = tree.Add(nullptr, 2);
    const PVirtualNode a1 = tree.Add(a, 3);
    tree.Add(b, 4);
    tree.FullExpand();
    tree.SetFocusedNode(a);
    tree.SetFocusedNode(b);  // without the option nothing collapses
    EXPECT_TRUE(tree.Expanded(a));
    tree.SetAuto(toAutoExpand, true);
    tree.SetFocusedNode(a);
    EXPECT_FALSE(tree.Expanded(b));
    EXPECT_TRUE(tree.Expanded(a));
    tree.ToggleNode(b);
    tree.SetFocusedNode(a1);  // a child, not a sibling: a stays open
    EXPECT_TRUE(tree.Expanded(a));
    EXPECT_TRUE(tree.Expanded(b));
    EXPECT_EQ(tree.VisibleCount(), 4u);
    EXPECT_TREE_OK(tree);
}

TEST(TreeExpansion, AutoFreeOnCollapseMakesChildrenAnew) {
    IdTree tree;
    tree.SetAuto(toAutoFreeOnCollapse, true);
    tree.SetAuto(toAutoScrollOnExpand, false);  // scrolling to the last child initialises it
    int freed = 0, asked = 0, initialised = 0;
    tree.OnInitNode = [&](TBaseVirtualTree*, PVirtualNode parent, PVirtualNode,
                          TVirtualNodeInitStates& states) {
        ++initialised;
        if (!parent) states |= ivsHasChildren;
    };
    tree.OnInitChildren = [&](TBaseVirtualTree*, PVirtualNode, std::uint32_t& count) {
        ++asked;
        count = 3;
    };
    tree.OnFreeNode = [&](TBaseVirtualTree*, PVirtualNode) { ++freed; };
    tree.SetRootNodeCount(1);
    const PVirtualNode top = tree.GetFirst();
    tree.ToggleNode(top);
    EXPECT_EQ(asked, 1);
    tree.GetNext(tree.GetFirstChild(top));  // two children initialised
    tree.ToggleNode(top);
    EXPECT_EQ(freed, 2);
    EXPECT_EQ(tree.ChildCount(top), 0u);
    EXPECT_TRUE(tree.HasChildren(top));
    tree.ToggleNode(top);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(tree.ChildCount(top), 3u);

    // Making anew: ReinitNode asks OnInitNode again, ResetNode forgets the node's children.
    initialised = 0;
    tree.ReinitNode(top, true);
    EXPECT_EQ(initialised, 1 + 3);
    std::vector<PVirtualNode> reset;
    tree.OnResetNode = [&](TBaseVirtualTree*, PVirtualNode n) { reset.push_back(n); };
    tree.ResetNode(top);
    EXPECT_EQ(reset, std::vector<PVirtualNode>{top});
    EXPECT_FALSE(top->Has(nsInitialized | nsExpanded | nsHasChildren));
    EXPECT_EQ(tree.ChildCount(top), 0u);
    tree.InitRecursive(nullptr);
    EXPECT_EQ(tree.TotalCount(), 1u + 3);
    EXPECT_TREE_OK(tree);
}

// The rows 0 … 9 of a flat tree, and a tree of three parents with three children each.
TEST(TreeSelection, RangesAndTogglesFollowTheAnchor) {
    CopyingTree tree;
    tree.MultiSelect();
    std::vector<PVirtualNode> n;
    for (int i = 0; i < 10; ++i) n.push_back(tree.Add(nullptr, i));
    auto selected = [&] {
        std::vector<int> ids;
        for (PVirtualNode s : tree.GetSortedSelection(false)) ids.push_back(tree.Id(s));
        return ids;
    };
    tree.SetSelected(n[2], true);  // the anchor
    tree.ToggleSelection(n[2], n[5]);
    EXPECT_EQ(selected(), (std::vector<int>{2, 3, 4, 5}));
    tree.ToggleSelection(n[5], n[4]);  // back towards the anchor
    EXPECT_EQ(selected(), (std::vector<int>{2, 3, 4}));
    tree.ToggleSelection(n[4], n[0]);  // across it
    EXPECT_EQ(selected(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(tree.RangeAnchor(), n[2]);
    tree.SelectNodes(n[7], n[8], true);
    EXPECT_EQ(selected(), (std::vector<int>{0, 1, 2, 7, 8}));
    tree.SelectNodes(n[6], n[4], false);
    EXPECT_EQ(selected(), (std::vector<int>{4, 5, 6}));
    tree.InvertSelection(true);
    EXPECT_EQ(selected(), (std::vector<int>{0, 1, 2, 3, 7, 8, 9}));
    tree.SetIsDisabled(n[9], true);
    tree.ClearSelection();
    tree.SelectAll(false);
    EXPECT_EQ(tree.SelectionCount(), 9u);  // not the disabled node
    EXPECT_TREE_OK(tree);
}

TEST(TreeSelection, ConstraintsKeepALevelOrTheAnchorsSiblings) {
    CopyingTree tree;
    std::vector<PVirtualNode> parents, kids;
    for (int p = 0; p < 3; ++p) {
        parents.push_back(tree.Add(nullptr, p));
        for (int c = 0; c < 3; ++c) kids.push_back(tree.Add(parents.back(), 10 * p + c + 10));
    }
    tree.FullExpand();
    tree.TreeOptions().SetSelectionOptions({toMultiSelect, toLevelSelectConstraint});
    tree.SetSelected(kids[1], true);
    tree.SelectNodes(parents[0], kids[8], true);  // every row: only the children join
    EXPECT_EQ(tree.SelectionCount(), 9u);
    EXPECT_FALSE(tree.Selected(parents[1]));
    tree.SetSelected(parents[2], true);
    EXPECT_FALSE(tree.Selected(parents[2]));

    tree.TreeOptions().SetSelectionOptions({toMultiSelect, toSiblingSelectConstraint});
    EXPECT_EQ(tree.SelectionCount(), 0u);
    tree.SetSelected(kids[4], true);  // the anchor, a child of the second parent
    tree.SelectNodes(kids[4], kids[8], true);
    EXPECT_EQ(tree.SelectionCount(), 2u);  // kids[4] and kids[5]
    EXPECT_TRUE(tree.Selected(kids[5]));
    EXPECT_FALSE(tree.Selected(kids[6]));

    // With nothing selected or focused, a batch takes the rule from its first node, as a single
    // node joining an empty selection does: the top-level rows, not the children of both.
    tree.ClearSelection();
    ASSERT_EQ(tree.FocusedNode(), nullptr);
    ASSERT_EQ(tree.RangeAnchor(), nullptr);
    tree.SelectAll(true);
    EXPECT_EQ(tree.SelectionCount(), 3u);
    for (PVirtualNode p : parents) EXPECT_TRUE(tree.Selected(p));
    EXPECT_EQ(tree.RangeAnchor(), parents[0]);
    tree.SetSelected(kids[0], true);  // refused alone as well
    EXPECT_FALSE(tree.Selected(kids[0]));
    tree.ClearSelection();
    ASSERT_EQ(tree.RangeAnchor(), nullptr);
    tree.SelectNodes(kids[1], kids[7], false);  // a range from the second child of the first
    EXPECT_EQ(tree.SelectionCount(), 2u);
    EXPECT_TRUE(tree.Selected(kids[1]) && tree.Selected(kids[2]));
    tree.ClearSelection();
    tree.InvertSelection(true);
    EXPECT_EQ(tree.SelectionCount(), 3u);
    EXPECT_TRUE(tree.Selected(parents[2]));
    EXPECT_FALSE(tree.Selected(kids[8]));
    EXPECT_TREE_OK(tree);

    // Inside an update bracket the batch merges with the entries marked for removal.
    tree.TreeOptions().SetSelectionOptions({toMultiSelect});
    tree.SelectAll(true);
    tree.BeginUpdate();
    for (int i : {1, 4, 7}) tree.SetSelected(kids[std::size_t(i)], false);
    tree.SetSelected(kids[4], true);
    tree.InvertSelection(false);
    EXPECT_EQ(tree.SelectionCount(), 2u);
    EXPECT_TREE_OK(tree);
    tree.EndUpdate();
    EXPECT_EQ(tree.SelectionArray().size(), 2u);
    EXPECT_TREE_OK(tree);
}

TEST(TreeSelection, SelectingMovesTheFocusOffAHiddenColumn) {
    CopyingTree tree;
    const PVirtualNode a = tree.Add(nullptr, 0), b = tree.Add(nullptr, 1);
    TVirtualTreeColumns& columns = tree.Header().Columns();
    for (int i = 0; i < 3; ++i) columns.Add();
    tree.TreeOptions().SetSelectionOptions({toExtendedFocus, toMultiSelect});
    auto hide = [&](TColumnIndex column, bool hidden) {
        TVTColumnOptions options = columns[column].Options();
        hidden ? options.Exclude(coVisible) : options.Include(coVisible);
        columns[column].SetOptions(options);
    };
    // A shown focused column stays.
    tree.SetFocusedColumn(2);
    tree.SetSelected(a, true);
    EXPECT_EQ(tree.FocusedColumn(), 2);
    // Hidden, it gives way to the main column when a node is selected (not when one leaves).
    hide(2, true);
    tree.SetSelected(a, false);
    EXPECT_EQ(tree.FocusedColumn(), 2);
    tree.SetSelected(a, true);
    EXPECT_EQ(tree.FocusedColumn(), 0);
    // With the main column hidden as well, to the first column shown.
    tree.Header().SetMainColumn(1);
    tree.SetFocusedColumn(2);
    hide(1, true);
    tree.SetSelected(b, true);
    EXPECT_EQ(tree.FocusedColumn(), 0);
    // The first by display order, not by index.
    hide(2, false);
    columns[0].SetPosition(2);
    hide(0, true);
    tree.SetFocusedColumn(0);
    tree.SetSelected(a, false);
    tree.SetSelected(a, true);
    EXPECT_EQ(tree.FocusedColumn(), 2);
}

}  // namespace
}  // namespace rv::test
