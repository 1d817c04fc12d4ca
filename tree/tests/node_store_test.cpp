// The node record, the subtree counts and heights, the data areas, check states, alignment and
// the selection array.

#include <cstddef>

#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

TEST(TreeNodeStore, RootAndNewNodesStartAsDescribed) {
    IdTree tree;
    const PVirtualNode root = tree.RootNode();
    EXPECT_EQ(root->States, 225);
    EXPECT_EQ(root->TotalCount, 1u);
    EXPECT_EQ(root->NodeHeight, 18);
    EXPECT_EQ(root->TotalHeight, 18u);
    EXPECT_EQ(root->Align, 50);
    EXPECT_EQ(TBaseVirtualTree::TreeFromNode(root), &tree);
    // The record's fields lie in the order and widths the stream format knows.
    EXPECT_EQ(offsetof(TVirtualNode, States), 10u);
    EXPECT_EQ(offsetof(TVirtualNode, TotalCount), 16u);
    EXPECT_EQ(offsetof(TVirtualNode, Parent), 24u);

    const PVirtualNode n = tree.AddChild(nullptr);
    EXPECT_EQ(n->States, nsVisible);
    EXPECT_EQ(n->NodeHeight, 18);
    EXPECT_EQ(n->Align, 50);
    EXPECT_EQ(TBaseVirtualTree::TreeFromNode(n), &tree);
    EXPECT_EQ(kStreamedNodeStates & (nsChecking | nsCutOrCopy | nsDeleting), 0);

    tree.SetDefaultNodeHeight(0);
    EXPECT_EQ(tree.DefaultNodeHeight(), 18u);
    // Existing nodes keep their height; the root moves by the difference.
    tree.SetDefaultNodeHeight(20);
    EXPECT_EQ(n->NodeHeight, 18);
    EXPECT_EQ(root->TotalHeight, 38u);
    EXPECT_EQ(tree.AddChild(nullptr)->NodeHeight, 20);
    EXPECT_TREE_OK(tree);

    EXPECT_EQ(TVTPaintOptions::FromBits(tree.TreeOptions().PaintOptions().ToBits()),
              (TVTPaintOptions{toShowButtons, toShowDropmark, toShowRoot, toShowTreeLines,
                               toThemeAware, toUseBlendedImages}));
    EXPECT_EQ(tree.TreeOptions().PaintOptions().ToBits(), 0x1B60u);
    EXPECT_EQ(tree.TreeOptions().AutoOptions().ToBits(), 0x149u);
    EXPECT_EQ(tree.TreeOptions().MiscOptions().ToBits(), 0x1A9u);
    EXPECT_EQ(tree.TreeOptions().StringOptions().ToBits(), 0x5u);
    EXPECT_TRUE(tree.TreeOptions().SelectionOptions().Empty());
    EXPECT_EQ(tree.Colors().Get(TVTColors::TreeLineColor), clBtnShadow);
    EXPECT_EQ(tree.Colors().Get(TVTColors::HotColor), clWindowText);
    EXPECT_EQ(tree.Colors().Get(TVTColors::HeaderHotColor), clBtnShadow);
    EXPECT_EQ(tree.ScrollBarOptions().VerticalIncrement(), 20);
}

TEST(TreeNodeStore, CountsAndHeightsFollowTheStructure) {
    IdTree tree;
    tree.SetRootNodeCount(3);
    tree.SetRootNodeCount(5);
    EXPECT_EQ(tree.RootNode()->LastChild->Index, 4u);
    EXPECT_EQ(tree.RootNode()->LastChild->PrevSibling->Index, 3u);
    EXPECT_EQ(tree.VisibleCount(), 5u);

    // Children of a collapsed node count up to the root but add no height and no visible row.
    const PVirtualNode parent = tree.RootNode()->FirstChild;
    tree.SetChildCount(parent, 4);
    EXPECT_EQ(tree.RootNode()->TotalCount, 10u);
    EXPECT_EQ(tree.RootNode()->TotalHeight, 6u * 18);
    EXPECT_EQ(tree.VisibleCount(), 5u);
    tree.ToggleNode(parent);
    EXPECT_EQ(tree.RootNode()->TotalHeight, 10u * 18);
    EXPECT_EQ(tree.VisibleCount(), 9u);
    tree.SetNodeHeight(parent->FirstChild, 40);
    EXPECT_EQ(parent->TotalHeight, 18u * 4 + 40);
    tree.SetIsVisible(parent->LastChild, false);
    EXPECT_EQ(tree.VisibleCount(), 8u);
    EXPECT_EQ(parent->TotalHeight, 18u * 3 + 40);
    ASSERT_TREE_OK(tree);

    tree.SetRootNodeCount(0);
    EXPECT_EQ(tree.TotalCount(), 0u);
    EXPECT_EQ(tree.VisibleCount(), 0u);
    EXPECT_TREE_OK(tree);
}

TEST(TreeNodeStore, ComparesPositions) {
    IdTree tree;
    const PVirtualNode a = tree.Add(nullptr, 1), b = tree.Add(nullptr, 2);
    const PVirtualNode a1 = tree.Add(a, 3), a2 = tree.Add(a, 4), b1 = tree.Add(b, 5);
    EXPECT_EQ(tree.CompareNodePositions(a1, a), 1);
    EXPECT_EQ(tree.CompareNodePositions(a, a1), -1);
    EXPECT_EQ(tree.CompareNodePositions(a2, a2), 0);
    EXPECT_LT(tree.CompareNodePositions(a2, b1), 0);
    EXPECT_GT(tree.CompareNodePositions(b1, a1), 0);
    EXPECT_EQ(tree.CompareNodePositions(a1, a2), -1);
    EXPECT_THROW(tree.CompareNodePositions(nullptr, a), EAssertionFailed);
    EXPECT_EQ(tree.GetNodeLevel(a1), 1u);
    EXPECT_TRUE(tree.HasAsParent(a1, a));
    EXPECT_FALSE(tree.HasAsParent(a, a1));
}

TEST(TreeNodeStore, DataAreas) {
    TBaseVirtualTree plain(nullptr);
    struct Areas : TBaseVirtualTree {
        using TBaseVirtualTree::AllocateInternalDataArea;
        using TBaseVirtualTree::TBaseVirtualTree;
    } tree(nullptr);
    const auto first = tree.AllocateInternalDataArea(4);
    EXPECT_EQ(tree.AllocateInternalDataArea(3), first + 4);
    EXPECT_EQ(tree.InternalDataSize(), 8);
    tree.SetNodeDataSize(-5);
    EXPECT_EQ(tree.NodeDataSize(), -1);
    tree.SetNodeDataSize(12);
    const PVirtualNode n = tree.AddChild(nullptr);
    EXPECT_EQ(static_cast<char*>(tree.GetNodeData(n)), reinterpret_cast<char*>(n) + first + 8);
    EXPECT_EQ(tree.GetNodeData(nullptr), nullptr);
    EXPECT_EQ(tree.GetNodeData(tree.RootNode()), nullptr);
    EXPECT_THROW(tree.AllocateInternalDataArea(4), EAssertionFailed);
    EXPECT_THROW(plain.GetNodeData(nullptr), EAssertionFailed);  // NodeDataSize not set

    // The string tree keeps 4 bytes per node for its text width, before the user data.
    IdTree strings;
    EXPECT_EQ(strings.InternalDataSize(), 4);
}

// The pointer given to AddChild is stored whole; a data area smaller than a pointer is refused
// before anything is added.
TEST(TreeNodeStore, InitialUserDataNeedsRoomForAPointer) {
    int value = 0;
    IdTree small;  // 4 bytes of user data
    EXPECT_THROW(
        try { small.AddChild(nullptr, &value); } catch (const EVirtualTreeError& e) {
            EXPECT_EQ(e.HelpContext, 2008);
            throw;
        },
        EVirtualTreeError);
    EXPECT_EQ(small.TotalCount(), 0u);
    small.SetNodeDataSize(3);
    EXPECT_THROW(small.AddChild(nullptr, &value), EVirtualTreeError);

    IdTree tree;
    tree.SetNodeDataSize(12);
    std::vector<PVirtualNode> freed;
    tree.OnFreeNode = [&](TBaseVirtualTree*, PVirtualNode n) { freed.push_back(n); };
    const PVirtualNode n = tree.AddChild(nullptr, &value);
    void* stored;
    std::memcpy(&stored, tree.GetNodeData(n), sizeof stored);
    EXPECT_EQ(stored, &value);
    EXPECT_TRUE(n->Has(nsInitialUserData));
    EXPECT_FALSE(n->Has(nsInitialized));
    tree.AddChild(nullptr);  // neither initialised nor given data: no OnFreeNode
    tree.Clear();
    EXPECT_EQ(freed, std::vector<PVirtualNode>{n});
}

// Children added by a child count make a parent whose children were all hidden show its button
// again.
TEST(TreeNodeStore, ChildCountClearsAllChildrenHidden) {
    IdTree tree;
    const PVirtualNode parent = tree.Add(nullptr, 1);
    tree.SetIsVisible(tree.Add(parent, 2), false);
    EXPECT_TRUE(parent->Has(nsAllChildrenHidden));
    tree.SetChildCount(parent, 3);
    EXPECT_FALSE(parent->Has(nsAllChildrenHidden));
    EXPECT_TREE_OK(tree);
}

// A read-only tree cannot drop its nodes, so it keeps their data size too.
TEST(TreeNodeStore, ReadOnlyTreeKeepsItsNodeDataSize) {
    IdTree tree;
    const PVirtualNode n = tree.Add(nullptr, 7);
    tree.SetMisc(toReadOnly, true);
    tree.SetNodeDataSize(64);
    EXPECT_EQ(tree.NodeDataSize(), 4);
    EXPECT_EQ(tree.Id(n), 7);
    tree.SetMisc(toReadOnly, false);
    tree.SetNodeDataSize(64);
    EXPECT_EQ(tree.NodeDataSize(), 64);
    EXPECT_EQ(tree.TotalCount(), 1u);  // cleared and made again
}

// Heights are 32-bit but positions signed: totals stop at 2^31 − 1 and come back exactly.
TEST(TreeNodeStore, HeightsStopAtTheLimit) {
    IdTree tree;
    tree.SetDefaultNodeHeight(65535);
    tree.SetRootNodeCount(32770);  // 32770 × 65535 + 65535 > 2^31
    EXPECT_EQ(tree.RootNode()->TotalHeight, TBaseVirtualTree::kMaxTotalHeight);
    ASSERT_TREE_OK(tree);
    tree.SetRootNodeCount(32760);
    EXPECT_EQ(tree.RootNode()->TotalHeight, 32761u * 65535);
    const PVirtualNode parent = tree.GetFirstNoInit();
    tree.SetChildCount(parent, 32800);
    tree.ToggleNode(parent);
    EXPECT_EQ(parent->TotalHeight, TBaseVirtualTree::kMaxTotalHeight);
    tree.DeleteNode(parent->FirstChild);
    EXPECT_EQ(parent->TotalHeight, TBaseVirtualTree::kMaxTotalHeight);
    ASSERT_TREE_OK(tree);
    tree.ToggleNode(parent);
    EXPECT_EQ(tree.RootNode()->TotalHeight, 32761u * 65535);
    tree.SetChildCount(parent, 10);
    tree.ToggleNode(parent);
    EXPECT_EQ(parent->TotalHeight, 11u * 65535);
    EXPECT_TREE_OK(tree);
    int top = 0;
    EXPECT_EQ(tree.GetNodeAt(0, 2'000'000'000, false, top), tree.GetNodeAt(0, 2'000'000'000));
    EXPECT_EQ(top % 65535, 0);
}

TEST(TreeNodeStore, CheckStatesPropagate) {
    IdTree tree;
    const PVirtualNode parent = tree.Add(nullptr, 1);
    const PVirtualNode boxes[] = {tree.Add(parent, 2), tree.Add(parent, 3), tree.Add(parent, 4)};
    const PVirtualNode radio = tree.Add(parent, 5);
    tree.SetCheckType(parent, ctTriStateCheckBox);
    for (PVirtualNode b : boxes) tree.SetCheckType(b, ctCheckBox);
    tree.SetCheckType(radio, ctRadioButton);
    std::vector<PVirtualNode> checked;
    tree.OnChecked = [&](TBaseVirtualTree*, PVirtualNode n) { checked.push_back(n); };

    tree.SetCheckState(boxes[0], chkChecked);
    EXPECT_EQ(parent->CheckState, chkMixed);
    EXPECT_EQ(checked, (std::vector<PVirtualNode>{parent, boxes[0]}));
    tree.SetCheckState(boxes[1], chkChecked);
    tree.SetCheckState(boxes[2], chkChecked);
    EXPECT_EQ(parent->CheckState, chkChecked);

    // Unchecking the parent passes down, except to a disabled child.
    tree.SetIsDisabled(boxes[2], true);
    tree.SetCheckState(parent, chkUnchecked);
    EXPECT_EQ(boxes[0]->CheckState, chkUnchecked);
    EXPECT_EQ(boxes[2]->CheckState, chkChecked);
    EXPECT_EQ(parent->CheckState, chkMixed);
    tree.SetCheckState(boxes[2], chkUnchecked);  // disabled: no change
    EXPECT_EQ(boxes[2]->CheckState, chkChecked);

    tree.OnChecking = [](TBaseVirtualTree*, PVirtualNode, TCheckState&, bool& allowed) {
        allowed = false;
    };
    tree.SetCheckState(boxes[0], chkChecked);
    EXPECT_EQ(boxes[0]->CheckState, chkUnchecked);
    tree.OnChecking = nullptr;

    // A radio button being checked unchecks its radio siblings only.
    const PVirtualNode radio2 = tree.Add(parent, 6);
    tree.SetCheckType(radio2, ctRadioButton);
    tree.SetIsDisabled(boxes[2], false);
    tree.SetCheckState(boxes[2], chkChecked);
    tree.SetCheckState(radio, chkChecked);
    tree.SetCheckState(radio2, chkChecked);
    EXPECT_EQ(radio->CheckState, chkUnchecked);
    EXPECT_EQ(radio2->CheckState, chkChecked);
    EXPECT_EQ(boxes[2]->CheckState, chkChecked);
    EXPECT_EQ(tree.GetFirstChecked(), boxes[2]);
    EXPECT_EQ(tree.GetNextChecked(boxes[2]), radio2);

    tree.SetMisc(toReadOnly, true);
    tree.SetCheckState(boxes[0], chkChecked);
    EXPECT_EQ(boxes[0]->CheckState, chkUnchecked);
}

TEST(TreeNodeStore, AlignOffsets) {
    IdTree tree;
    const PVirtualNode n = tree.Add(nullptr, 1);
    int align = 0, button = 0;
    tree.GetAlignOffsets(n, align, button);  // proportional, buttons shown: the 9-pixel button
    EXPECT_EQ(align, 9);                     // MulDiv(18 − 9, 50, 100) = 5, plus 4
    EXPECT_EQ(button, 5);
    TImageList images(16, 16);
    tree.SetNodeHeight(n, 30);
    tree.GetAlignOffsets(n, align, button, &images);
    EXPECT_EQ(align, 15);  // MulDiv(14, 50, 100) + 8
    tree.TreeOptions().SetPaintOptions({});
    tree.GetAlignOffsets(n, align, button);
    EXPECT_EQ(align, 15);
    tree.SetNodeAlignment(naFromTop);
    tree.GetAlignOffsets(n, align, button);
    EXPECT_EQ(align, 50);
    tree.SetNodeAlignment(naFromBottom);
    tree.GetAlignOffsets(n, align, button);
    EXPECT_EQ(align, -20);
    EXPECT_EQ(button, -24);
}

TEST(TreeNodeStore, SelectionArrayStaysOrderedAndPacks) {
    IdTree tree;
    std::vector<PVirtualNode> nodes;
    for (int i = 0; i < 20; ++i) nodes.push_back(tree.Add(nullptr, i));
    tree.SetSelected(nodes[3], true);
    tree.SetSelected(nodes[5], true);  // single selection: 3 goes
    EXPECT_EQ(tree.SelectionCount(), 1u);
    EXPECT_FALSE(tree.Selected(nodes[3]));
    EXPECT_EQ(tree.RangeAnchor(), nodes[5]);

    tree.MultiSelect();  // switching it on clears the selection
    EXPECT_EQ(tree.SelectionCount(), 0u);
    for (int i : {5, 17, 2, 9, 11, 0}) tree.SetSelected(nodes[i], true);
    EXPECT_EQ(tree.SelectionCount(), 6u);
    EXPECT_EQ(tree.RangeAnchor(), nodes[5]);
    ASSERT_TREE_OK(tree);

    tree.BeginUpdate();
    tree.SetSelected(nodes[9], false);
    tree.SetSelected(nodes[9], true);
    tree.SetSelected(nodes[9], false);
    tree.DeleteNode(nodes[11]);
    EXPECT_EQ(tree.SelectionCount(), 4u);
    EXPECT_EQ(tree.SelectionArray().size(), 7u);  // marked, not yet removed
    ASSERT_TREE_OK(tree);
    tree.EndUpdate();
    EXPECT_EQ(tree.SelectionArray().size(), 4u);
    ASSERT_TREE_OK(tree);

    const std::vector<PVirtualNode> sorted = tree.GetSortedSelection(false);
    EXPECT_EQ(sorted, (std::vector<PVirtualNode>{nodes[0], nodes[2], nodes[5], nodes[17]}));
    EXPECT_EQ(tree.GetFirstSelected(), nodes[0]);
    EXPECT_EQ(tree.GetNextSelected(nodes[5]), nodes[17]);

    tree.SelectAll(false);
    EXPECT_EQ(tree.SelectionCount(), 19u);
    EXPECT_TREE_OK(tree);
    tree.ClearSelection();
    EXPECT_EQ(tree.SelectionCount(), 0u);
    EXPECT_EQ(tree.GetFirstSelected(), nullptr);
    EXPECT_TREE_OK(tree);
}

}  // namespace
}  // namespace rv::test
