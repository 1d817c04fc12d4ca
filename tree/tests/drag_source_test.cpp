// The tree as a drag source: a drag started by the mouse or BeginDrag runs the platform's drag
// loop (scripted here) with the tree's data; its end always brings OnEndDrag and the button's
// release; after a move only the dragged nodes still in the tree are deleted.

#include "tree/tests/drop_fixture.h"

namespace rv::test {
namespace {

// `tree` (ids 0 … 3) drags its nodes 1 and 2; `other` (100 …) takes them on its node 100.
struct DragFixture : DropFixture {
    DragFixture() : DropFixture(4) {
        Listen(*other);
        tree->OnDragOver = nullptr;
        tree->SetSelected(nodes[1], true);
        tree->SetSelected(nodes[2], true);
        tree->OnEndDrag = [this](TObject*, TObject* target, int, int) {
            endDrags.push_back(target);
        };
    }
    // Drags over `wnd` at a client point and lets go there (Escape instead when `escape`).
    void DragTo(HWND wnd, TPoint at, bool escape = false) {
        SetDragLoop([=, this](HWND source, const std::shared_ptr<IDataObject>& data,
                              IDropSource& dropSource, DWORD okEffects, DWORD& effect) {
            allowed = okEffects;
            during = tree->TreeStates();
            dragged = tree->DragSelection();
            const DWORD last = escape ? MK_LBUTTON : 0;
            return ScriptedDragLoop({{wnd, at, MK_LBUTTON}, {wnd, at, last, escape}})(
                source, data, dropSource, okEffects, effect);
        });
        tree->BeginDrag(true);
    }
    // What a drop handler of this program would do: move or copy the nodes to the target node.
    void Take(bool optimized, DWORD answer) {
        OnDrop = [=](TBaseVirtualTree& target, TObject* source,
                     const std::shared_ptr<IDataObject>& d, DWORD& effect, TDropMode) {
            target.ProcessOLEData(dynamic_cast<TBaseVirtualTree*>(source), d,
                                  target.DropTargetNode(), amAddChildLast, optimized);
            effect = answer;
        };
    }

    std::vector<TObject*> endDrags;
    DWORD allowed = 0;
    TVirtualTreeStates during;
    std::vector<PVirtualNode> dragged;
};

TEST(TreeDragSource, AMoveIntoAnotherTreeDeletesNothingTwice) {
    DragFixture f;
    f.Take(true, DROPEFFECT_MOVE);
    f.DragTo(f.other->Handle(), {kLabelX, 9});
    EXPECT_EQ(f.allowed, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_TRUE(f.during.Contains(tsOLEDragging));
    EXPECT_EQ(f.dragged, (std::vector<PVirtualNode>{f.nodes[1], f.nodes[2]}));
    EXPECT_EQ(f.tree->Ids(), (std::vector<int>{0, 3}));
    EXPECT_EQ(f.other->Ids(), (std::vector<int>{100, 1, 2, 101, 102}));
    EXPECT_EQ(f.endDrags, std::vector<TObject*>{f.tree});
    EXPECT_FALSE(f.tree->TreeStates().ContainsAny({tsOLEDragging, tsLeftButtonDown}));
    EXPECT_TRUE(f.tree->DragSelection().empty());
    EXPECT_TREE_OK(*f.tree);
    EXPECT_TREE_OK(*f.other);
}

TEST(TreeDragSource, AMoveWithinTheTreeKeepsTheMovedNodes) {
    DragFixture f;
    f.Listen(*f.tree);
    f.Take(true, DROPEFFECT_MOVE);
    // Dropped on node 3 of the same tree (row 3): moved under it, and still there afterwards.
    SetDragLoop(ScriptedDragLoop({{f.tree->Handle(), {kLabelX, f.RowY(3)}, MK_LBUTTON},
                                  {f.tree->Handle(), {kLabelX, f.RowY(3)}, 0}}));
    f.tree->BeginDrag(true);
    EXPECT_EQ(f.tree->Ids(), (std::vector<int>{0, 3, 1, 2}));
    EXPECT_EQ(f.tree->ChildIds(f.nodes[3]), (std::vector<int>{1, 2}));
    EXPECT_TREE_OK(*f.tree);
}

TEST(TreeDragSource, AStreamedMoveDeletesTheDraggedNodesOnlyWithTheOption) {
    for (bool autoDelete : {true, false}) {
        SCOPED_TRACE(autoDelete);
        DragFixture f;
        f.tree->SetAuto(toAutoDeleteMovedNodes, autoDelete);
        f.Take(false, DROPEFFECT_MOVE);
        f.DragTo(f.other->Handle(), {kLabelX, 9});
        EXPECT_EQ(f.other->Ids(), (std::vector<int>{100, 1, 2, 101, 102}));
        const std::vector<int> left =
            autoDelete ? std::vector<int>{0, 3} : std::vector<int>{0, 1, 2, 3};
        EXPECT_EQ(f.tree->Ids(), left);
        EXPECT_TREE_OK(*f.tree);
    }
}

TEST(TreeDragSource, ACopyOrACancelledDragDeletesNothingAndEndsAlike) {
    DragFixture f;
    f.Take(false, DROPEFFECT_COPY);
    f.DragTo(f.other->Handle(), {kLabelX, 9});
    EXPECT_EQ(f.tree->Ids(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(f.other->TotalCount(), 5u);
    // Escape: no drop; OnEndDrag and the release all the same.
    f.tree->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, f.RowY(3)));
    EXPECT_TRUE(f.tree->TreeStates().Contains(tsLeftButtonDown));
    f.DragTo(f.other->Handle(), {kLabelX, 9}, true);
    EXPECT_EQ(f.other->TotalCount(), 5u);
    EXPECT_EQ(f.endDrags.size(), 2u);
    EXPECT_FALSE(f.tree->TreeStates().ContainsAny({tsLeftButtonDown, tsOLEDragging}));
    // Without drag operations a drag offers all three effects.
    f.tree->SetDragOperations({});
    f.DragTo(f.other->Handle(), {kLabelX, 9}, true);
    EXPECT_EQ(f.allowed, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
}

TEST(TreeDragSource, TheMouseStartsTheDragAndOnStartDragMayHandAnObject) {
    DragFixture f;
    InputTree& tree = *f.tree;
    tree.SetDragMode(dmAutomatic);
    bool started = false;
    tree.OnStartDrag = [&](TObject*, std::unique_ptr<TDragObject>& object) {
        started = true;
        object = std::make_unique<TDragObject>();
    };
    f.Take(true, DROPEFFECT_MOVE);
    SetDragLoop([&](HWND source, const std::shared_ptr<IDataObject>& data, IDropSource& drop,
                    DWORD ok, DWORD& effect) {
        f.during = tree.TreeStates();
        return ScriptedDragLoop(
            {{f.other->Handle(), {kLabelX, 9}, MK_LBUTTON}, {f.other->Handle(), {kLabelX, 9}, 0}})(
            source, data, drop, ok, effect);
    });
    f.Press(kLabelX, f.RowY(1));
    EXPECT_TRUE(tree.TreeStates().Contains(tsOLEDragPending));
    f.Move(kLabelX + tree.DragStartThreshold() + 1, f.RowY(1));
    EXPECT_TRUE(started);
    EXPECT_TRUE(f.during.Contains(tsUserDragObject));
    EXPECT_FALSE(f.during.Contains(tsClearPending));  // the press's clearing gave way
    EXPECT_FALSE(tree.TreeStates().ContainsAny({tsUserDragObject, tsOLEDragging}));
    EXPECT_EQ(f.other->Ids(), (std::vector<int>{100, 1, 2, 101, 102}));
}

}  // namespace
}  // namespace rv::test
