// The tree as a drop target: where a drop would land and with what effect, as toolkit drags
// with positions and keys deliver them; scrolling and opening nodes under a waiting drag; the
// drop; and the insertion of dropped nodes in every attach mode.

#include "platform/transfer/tests/test_data_object.h"
#include "tree/tests/drop_fixture.h"
#include "tree/vt_data_object.h"

namespace rv::test {
namespace {

constexpr DWORD kCopy = DROPEFFECT_COPY, kMove = DROPEFFECT_MOVE, kLink = DROPEFFECT_LINK;

TEST(TreeDrop, EffectsFollowTheSourceAndTheKeysWithinWhatIsAllowed) {
    InputFixture f(1);
    InputTree& tree = *f.tree;
    const struct {
        bool fromThisTree;
        TShiftState shift;
        DWORD allowed, expected;
    } table[] = {
        {false, 0, kCopy | kMove, kCopy},
        {true, 0, kCopy | kMove, kMove},
        {true, 0, kCopy, kCopy},                       // move not allowed: what is allowed
        {false, 0, kMove | kLink, kMove | kLink},      // copy not allowed: all allowed
        {false, ssCtrl, kCopy | kMove, kCopy},         //
        {true, ssCtrl | ssAlt, kCopy | kMove, kCopy},  // Alt not looked at with Ctrl
        {false, ssShift, kCopy | kMove, kMove},        //
        {false, ssCtrl | ssShift, kCopy | kMove | kLink, kLink},
        {false, ssCtrl | ssShift, kCopy | kMove, kCopy},  // link not allowed: the source's
        {false, ssAlt, kCopy | kLink, kLink},
        {true, ssAlt, kMove, kMove},
    };
    for (const auto& row : table) {
        TObject* source = row.fromThisTree ? &tree : nullptr;
        EXPECT_EQ(tree.SuggestDropEffect(source, row.shift, {0, 0}, row.allowed), row.expected)
            << row.fromThisTree << " " << row.shift << " " << row.allowed;
    }
}

TEST(TreeDrop, ToolkitDragsGiveTheDropModeAndEffect) {
    DropFixture f(3);
    f.data = std::make_shared<TVTDataObject>(*f.other, false);
    // The label of row 1, the rest of the row above and below its middle, below the last row.
    const struct {
        TPoint at;
        bool dropMark;
        DWORD keys;
        TDropMode mode;
        int target;  // index of the drop target node, -1 none
        DWORD effect;
    } table[] = {
        {{kLabelX, 18 + 9}, true, MK_LBUTTON, dmOnNode, 1, kCopy},
        {{150, 18 + 3}, true, MK_LBUTTON, dmAbove, 1, kCopy},
        {{150, 18 + 14}, true, MK_LBUTTON | MK_SHIFT, dmBelow, 1, kMove},
        {{150, 18 + 3}, false, MK_LBUTTON, dmOnNode, 1, kCopy},
        {{kLabelX, 80}, true, MK_LBUTTON | MK_CONTROL, dmNowhere, -1, kCopy},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.at.Y);
        auto paint = f.tree->TreeOptions().PaintOptions();
        row.dropMark ? paint.Include(toShowDropmark) : paint.Exclude(toShowDropmark);
        f.tree->TreeOptions().SetPaintOptions(paint);
        f.overs.clear();
        f.Drag(ToolkitDrag::Enter, {0, 0});
        EXPECT_EQ(f.Drag(ToolkitDrag::Move, row.at, row.keys), row.effect);
        EXPECT_EQ(f.tree->LastDropMode(), row.mode);
        EXPECT_EQ(f.tree->DropTargetNode(),
                  row.target < 0 ? nullptr : f.nodes[std::size_t(row.target)]);
        ASSERT_EQ(f.overs.size(), 2u);
        EXPECT_EQ(f.overs[0].state, dsDragEnter);
        EXPECT_EQ(f.overs[1].state, dsDragMove);
        EXPECT_EQ(f.overs[1].source, f.other);  // found through the data's reference
        EXPECT_EQ(f.overs[1].pt, row.at);
        EXPECT_EQ(f.overs[1].mode, row.mode);
        f.Drag(ToolkitDrag::Leave, {});
        EXPECT_EQ(f.overs.back().state, dsDragLeave);
        EXPECT_EQ(f.tree->DropTargetNode(), nullptr);
    }
    // Enter judges by the label and the halves only, whatever toShowDropmark says.
    f.Drag(ToolkitDrag::Enter, {150, 18 + 14});
    EXPECT_EQ(f.tree->LastDropMode(), dmBelow);
    f.Drag(ToolkitDrag::Leave, {});

    // With toReportMode only the main column's label or image counts.
    TVirtualTreeColumns& columns = f.tree->Header().Columns();
    for (int i = 0; i < 2; ++i) columns.Add().SetWidth(90);
    f.tree->SetMisc(toReportMode, true);
    f.Drag(ToolkitDrag::Enter, {0, 0});
    f.Drag(ToolkitDrag::Move, {120, 9});  // column 1
    EXPECT_EQ(f.tree->LastDropMode(), dmNowhere);
    EXPECT_EQ(f.tree->DropTargetNode(), nullptr);
    f.Drag(ToolkitDrag::Move, {kLabelX, 9});
    EXPECT_EQ(f.tree->DropTargetNode(), f.nodes[0]);
    f.Drag(ToolkitDrag::Leave, {});
}

TEST(TreeDrop, WithoutAHandlerNothingIsTakenAndNothingDrops) {
    DropFixture f(3);
    f.tree->OnDragOver = nullptr;
    f.data = std::make_shared<TVTDataObject>(*f.other, false);
    DWORD effect = kCopy;
    const TPoint screen = ClientToScreen(f.tree->Handle(), {kLabelX, 9});
    EXPECT_EQ(f.tree->DragManager().DragEnter(f.data, MK_LBUTTON, screen, effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(f.Drag(ToolkitDrag::Move, {kLabelX, 9}), DROPEFFECT_NONE);
    EXPECT_EQ(f.Drag(ToolkitDrag::Drop, {kLabelX, 9}), DROPEFFECT_NONE);
    EXPECT_TRUE(f.drops.empty());
    effect = kCopy;
    EXPECT_EQ(f.tree->DragDrop(f.data, MK_LBUTTON, screen, effect), E_FAIL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
}

TEST(TreeDrop, ADropTellsTheFormatsKeysPointAndModeAndPassesTheEffectBack) {
    DropFixture f(3);
    f.data = std::make_shared<TVTDataObject>(*f.other, false);
    f.OnDrop = [](TBaseVirtualTree&, TObject*, const std::shared_ptr<IDataObject>&, DWORD& effect,
                  TDropMode) { effect = DROPEFFECT_MOVE; };
    f.Drag(ToolkitDrag::Enter, {kLabelX, 9});
    EXPECT_EQ(f.Drag(ToolkitDrag::Drop, {kLabelX, 27}, MK_CONTROL), kMove);
    ASSERT_EQ(f.drops.size(), 1u);
    EXPECT_EQ(f.drops[0].source, f.other);
    EXPECT_EQ(f.drops[0].shift, TShiftState(ssCtrl));
    EXPECT_EQ(f.drops[0].pt, (TPoint{kLabelX, 27}));
    EXPECT_EQ(f.drops[0].mode, dmOnNode);
    EXPECT_EQ(f.drops[0].effect, kCopy);  // as suggested for Ctrl, before the handler's answer
    // The formats in the data object's order: the string tree's.
    const auto& offered = static_cast<TVTDataObject&>(*f.data).FormatEtcArray();
    ASSERT_EQ(f.formats.size(), offered.size());
    EXPECT_EQ(f.formats[0], CF_VIRTUALTREE());
    EXPECT_EQ(f.tree->DropTargetNode(), nullptr);

    // A handler that raises ends the drop: the target is forgotten and the error goes on.
    f.OnDrop = [](TBaseVirtualTree&, TObject*, const std::shared_ptr<IDataObject>&, DWORD&,
                  TDropMode) { throw Exception("refused"); };
    DWORD effect = kCopy;
    const TPoint screen = ClientToScreen(f.tree->Handle(), {kLabelX, 9});
    f.tree->DragManager().DragEnter(f.data, MK_LBUTTON, screen, effect);
    EXPECT_EQ(f.tree->DropTargetNode(), f.nodes[0]);
    EXPECT_THROW(f.tree->DragManager().Drop(f.data, 0, screen, effect), Exception);
    EXPECT_EQ(f.tree->DropTargetNode(), nullptr);
    EXPECT_FALSE(f.tree->DragManager().IsDropTarget());
}

TEST(TreeDrop, AWaitingDragScrollsAndOpensTheNodeUnderIt) {
    DropFixture f(30);
    f.data = std::make_shared<TVTDataObject>(*f.other, false);
    InputTree& tree = *f.tree;
    tree.SetAuto(toAutoScroll, true);
    tree.SetAutoScrollDelay(0);
    f.Drag(ToolkitDrag::Enter, {kLabelX, 40});
    // In the lower edge zone the drag-over scrolls and says so; a drop whose effect is only that
    // flag is refused.
    DWORD effect = kCopy;
    const TPoint bottom = ClientToScreen(tree.Handle(), {kLabelX, tree.ClientHeight() - 2});
    ASSERT_EQ(tree.DragOver(f.other, MK_LBUTTON, dsDragMove, bottom, effect), S_OK);
    EXPECT_EQ(effect, kCopy | DROPEFFECT_SCROLL);
    EXPECT_EQ(tree.OffsetY(), -20);  // one VerticalIncrement
    f.Accept = false;
    effect = kCopy;
    tree.DragOver(f.other, MK_LBUTTON, dsDragMove, bottom, effect);
    EXPECT_EQ(effect, DROPEFFECT_SCROLL);
    effect = kCopy;
    EXPECT_EQ(tree.DragManager().Drop(f.data, MK_LBUTTON, bottom, effect), E_FAIL);
    EXPECT_TRUE(f.drops.empty());
    f.Accept = true;

    // Held over a collapsed node with children, the node opens after AutoExpandDelay, once.
    tree.SetOffsetY(0);
    tree.Add(f.nodes[1], 900);
    tree.Add(f.nodes[2], 901);
    tree.SetAutoExpandDelay(30);
    int expanded = 0;
    tree.OnExpanded = [&](TBaseVirtualTree*, PVirtualNode) { ++expanded; };
    f.Drag(ToolkitDrag::Enter, {kLabelX, 18 + 9});
    f.Drag(ToolkitDrag::Move, {kLabelX, 18 + 9});
    // Moving on to another node starts the delay anew.
    f.Drag(ToolkitDrag::Move, {kLabelX, 36 + 9});
    EXPECT_TRUE(PumpUntil([&] { return expanded == 1; }));
    EXPECT_TRUE(tree.Expanded(f.nodes[2]));
    EXPECT_FALSE(tree.Expanded(f.nodes[1]));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(expanded, 1);
    f.Drag(ToolkitDrag::Leave, {});
}

// The framework's own drag: CM_DRAG with a drag object, Shift and Ctrl as the only keys.
TEST(TreeDrop, FrameworkDragsAskTheSameRoutinesWithoutData) {
    DropFixture f(30);
    InputTree& tree = *f.tree;
    TDragControlObject dragged(f.other);
    TDragRec rec;
    rec.Source = &dragged;
    auto send = [&](TDragMessage kind, TPoint client) {
        rec.Pos = ClientToScreen(tree.Handle(), client);
        return tree.Perform(CM_DRAG, WPARAM(kind), LPARAM(&rec));
    };
    f.Keys(ssShift);
    EXPECT_EQ(send(dmDragEnter, {kLabelX, 18 + 9}), 1);
    EXPECT_TRUE(tree.TreeStates().Contains(tsFrameworkDragging));
    EXPECT_EQ(send(dmDragMove, {kLabelX, 36 + 9}), 1);
    ASSERT_EQ(f.overs.size(), 2u);
    EXPECT_EQ(f.overs[0].state, dsDragEnter);
    EXPECT_EQ(f.overs[1].state, dsDragMove);
    EXPECT_EQ(f.overs[1].source, &dragged);
    EXPECT_EQ(f.overs[1].shift, TShiftState(ssShift));  // Alt is no part of it
    EXPECT_EQ(f.overs[1].effect, kMove);                // of copy and move, as Shift asks
    EXPECT_EQ(f.overs[1].pt, (TPoint{kLabelX, 36 + 9}));
    EXPECT_EQ(tree.DropTargetNode(), f.nodes[2]);

    // The drop goes to the node the last move found, without a data object.
    f.Keys(ssCtrl);
    std::shared_ptr<IDataObject> given = std::make_shared<TVTDataObject>(*f.other, false);
    f.OnDrop = [&](TBaseVirtualTree&, TObject*, const std::shared_ptr<IDataObject>& data, DWORD&,
                   TDropMode) {
        given = data;
        EXPECT_EQ(tree.DropTargetNode(), f.nodes[2]);
    };
    send(dmDragDrop, {kLabelX, 36 + 9});
    ASSERT_EQ(f.drops.size(), 1u);
    EXPECT_EQ(given, nullptr);
    EXPECT_EQ(f.drops[0].source, &dragged);
    EXPECT_EQ(f.drops[0].shift, TShiftState(ssCtrl));
    EXPECT_EQ(f.drops[0].effect, kMove);  // the effect the last move left
    EXPECT_EQ(f.drops[0].mode, dmOnNode);
    EXPECT_EQ(tree.DropTargetNode(), nullptr);
    EXPECT_FALSE(tree.TreeStates().Contains(tsFrameworkDragging));

    // Refused, the move answers 0; at the lower edge it waits to scroll (with toAutoScroll);
    // leaving forgets the target, the state and the scrolling.
    f.Accept = false;
    send(dmDragEnter, {kLabelX, 9});
    EXPECT_EQ(send(dmDragMove, {kLabelX, 9}), 0);
    send(dmDragMove, {kLabelX, tree.ClientHeight() - 2});
    EXPECT_FALSE(tree.TreeStates().Contains(tsScrollPending));
    tree.SetAuto(toAutoScroll, true);
    send(dmDragMove, {kLabelX, tree.ClientHeight() - 2});
    EXPECT_TRUE(tree.TreeStates().Contains(tsScrollPending));
    send(dmDragLeave, {kLabelX, 9});
    EXPECT_EQ(f.overs.back().state, dsDragLeave);
    EXPECT_EQ(tree.DropTargetNode(), nullptr);
    EXPECT_FALSE(tree.TreeStates().ContainsAny({tsFrameworkDragging, tsScrollPending}));

    // The target at a point is the tree itself when no child control is there.
    EXPECT_EQ(send(dmFindTarget, {kLabelX, 9}), reinterpret_cast<LRESULT>(&tree));
    f.Keys(0);
}

// ---- Inserting the nodes of a data object ---------------------------------------------------

struct Insertion : DropFixture {
    Insertion() : DropFixture(3) {
        // The other tree's 100, 101, 102 are the payload.
        for (PVirtualNode n : others) other->SetSelected(n, true);
        data = std::make_shared<TVTDataObject>(*other, false);
    }
};

TEST(TreeDrop, StreamedNodesStandInTheOrderOfTheirMode) {
    const struct {
        TVTNodeAttachMode mode;
        std::vector<int> top;       // top-level ids afterwards
        std::vector<int> children;  // children of node 1
    } table[] = {
        {amAddChildLast, {0, 1, 2}, {100, 101, 102}},
        {amAddChildFirst, {0, 1, 2}, {102, 101, 100}},
        {amInsertBefore, {0, 100, 101, 102, 1, 2}, {}},
        {amInsertAfter, {0, 1, 102, 101, 100, 2}, {}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(int(row.mode));
        Insertion f;
        ASSERT_TRUE(f.tree->ProcessOLEData(f.other, f.data, f.nodes[1], row.mode, false));
        EXPECT_EQ(f.tree->ChildIds(nullptr), row.top);
        EXPECT_EQ(f.tree->ChildIds(f.nodes[1]), row.children);
        EXPECT_EQ(f.other->RootNodeCount(), 3u);  // copied, not moved
        EXPECT_TREE_OK(*f.tree);
    }
}

TEST(TreeDrop, MovedNodesKeepTheirOrderInEveryMode) {
    for (auto mode : {amAddChildLast, amAddChildFirst, amInsertBefore, amInsertAfter}) {
        SCOPED_TRACE(int(mode));
        Insertion f;
        f.other->SelectAll(false);
        f.other->CutToClipboard();  // the cut set is what moves outside a drag
        ASSERT_TRUE(f.tree->ProcessOLEData(f.other, f.data, f.nodes[1], mode, true));
        const std::vector<int> moved{100, 101, 102};
        const std::vector<int> ids = mode == amAddChildLast || mode == amAddChildFirst
                                         ? f.tree->ChildIds(f.nodes[1])
                                         : f.tree->ChildIds(nullptr);
        EXPECT_NE(std::search(ids.begin(), ids.end(), moved.begin(), moved.end()), ids.end());
        EXPECT_EQ(f.other->RootNodeCount(), 0u);
        EXPECT_TREE_OK(*f.tree);
        EXPECT_TREE_OK(*f.other);
    }
}

TEST(TreeDrop, InsertionRulesRefusalsAndReasons) {
    Insertion f;
    InputTree& tree = *f.tree;
    // A nil target with amInsertBefore: first children of the root, each before the last.
    ASSERT_TRUE(tree.ProcessOLEData(nullptr, f.data, nullptr, amInsertBefore, false));
    EXPECT_EQ(tree.ChildIds(nullptr), (std::vector<int>{102, 101, 100, 0, 1, 2}));
    // A node OnNodeCopying refuses goes again and gets no OnNodeCopied.
    std::vector<int> copied;
    tree.OnNodeCopying = [&](TBaseVirtualTree*, PVirtualNode n, PVirtualNode, bool& allowed) {
        allowed = tree.Id(n) != 101;
    };
    tree.OnNodeCopied = [&](TBaseVirtualTree*, PVirtualNode n) { copied.push_back(tree.Id(n)); };
    std::vector<TChangeReason> reasons;
    tree.OnStructureChange = [&](TBaseVirtualTree*, PVirtualNode, TChangeReason r) {
        reasons.push_back(r);
    };
    ASSERT_TRUE(tree.ProcessOLEData(nullptr, f.data, f.nodes[2], amAddChildLast, false));
    EXPECT_EQ(tree.ChildIds(f.nodes[2]), (std::vector<int>{100, 102}));
    EXPECT_EQ(copied, (std::vector<int>{100, 102}));
    EXPECT_EQ(reasons, std::vector<TChangeReason>{crAccumulated});  // one report at the end
    // From this tree the reason is "copied".
    reasons.clear();
    tree.ClearSelection();
    tree.SetSelected(f.nodes[0], true);
    auto own = std::make_shared<TVTDataObject>(tree, false);
    tree.OnNodeCopying = nullptr;
    ASSERT_TRUE(tree.ProcessOLEData(&tree, own, f.nodes[0], amAddChildLast, false));
    EXPECT_EQ(reasons, std::vector<TChangeReason>{crNodeCopied});
    EXPECT_TREE_OK(tree);

    // No tree data, nowhere to go, a read-only tree: nothing.
    auto text = std::make_shared<BytesDataObject>();
    text->bytes[CF_TEXT] = std::string("x\0", 2);
    const std::uint32_t before = tree.TotalCount();
    EXPECT_FALSE(tree.ProcessOLEData(nullptr, text, nullptr, amAddChildLast, false));
    EXPECT_FALSE(tree.ProcessOLEData(nullptr, f.data, f.nodes[0], amNoWhere, false));
    tree.SetMisc(toReadOnly, true);
    EXPECT_FALSE(tree.ProcessOLEData(nullptr, f.data, nullptr, amAddChildLast, false));
    EXPECT_EQ(tree.TotalCount(), before);
    tree.SetMisc(toReadOnly, false);
    // A byte count beyond its block is refused as damage, and nothing is inserted.
    auto broken = std::make_shared<BytesDataObject>();
    broken->bytes[CF_VIRTUALTREE()] = std::string("\x40\0\0\0abc", 7);
    EXPECT_THROW(tree.ProcessOLEData(nullptr, broken, nullptr, amAddChildLast, false),
                 EVirtualTreeError);
    EXPECT_EQ(tree.TotalCount(), before);
    EXPECT_EQ(tree.UpdateCount(), 0u);
}

}  // namespace
}  // namespace rv::test
