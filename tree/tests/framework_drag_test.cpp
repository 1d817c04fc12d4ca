// The framework's own drag started by a tree (DragType dtVCL), driven by toolkit mouse and key
// events: it waits for the threshold, holds the mouse, tells the trees and controls under it by
// CM_DRAG as it crosses them, drops on a release over one that accepts, cancels on Escape, and
// hands the tree its release when it ends, so that a click without a drag stays a click.

#include "platform/framework/drag_loop.h"
#include "platform/framework/panel.h"
#include "platform/windows/tests/toolkit_input.h"
#include "tree/tests/drop_fixture.h"

namespace rv::test {
namespace {

struct DragEnd {
    TObject* target;
    TPoint at;
};

struct PanelCall {
    TObject* source;
    TDragState state;  // dsDragMove stands for the drop
    TPoint at;
};

// `other` (ids 100 …) drags with the framework's drag; the fixture's `tree` (ids 0 …, listening)
// and a panel right of the trees take part as targets.
struct FrameworkDragFixture : DropFixture {
    FrameworkDragFixture() : DropFixture(4) {
        other->SetDragType(dtVCL);
        other->SetDragMode(dmAutomatic);
        other->OnEndDrag = [this](TObject*, TObject* target, int x, int y) {
            ends.push_back({target, {x, y}});
        };
        panel = form.Add<TPanel>(Bounds(210, 0, 80, 80));
        panel->OnDragOver = [this](TObject*, TObject* source, int x, int y, TDragState state,
                                   bool& accept) {
            panelCalls.push_back({source, state, {x, y}});
            accept = source == other;
        };
        panel->OnDragDrop = [this](TObject*, TObject* source, int x, int y) {
            panelCalls.push_back({source, dsDragMove, {x, y}});
            panelDrops.push_back({source, dsDragMove, {x, y}});
        };
        // The program's drop: the dragged nodes go after the target node.
        OnDrop = [this](TBaseVirtualTree& target, TObject* source,
                        const std::shared_ptr<IDataObject>&, DWORD&, TDropMode) {
            auto* object = dynamic_cast<TDragControlObject*>(source);
            droppedFrom = object ? object->Control : nullptr;
            auto* from = dynamic_cast<TBaseVirtualTree*>(droppedFrom);
            if (!from) return;
            PVirtualNode after = target.DropTargetNode();
            for (PVirtualNode n : from->GetSortedSelection(true)) {
                from->MoveTo(n, after, amInsertAfter, false);
                after = target.GetNextSibling(after);
            }
        };
    }
    ~FrameworkDragFixture() { EndFrameworkDrag(false); }

    // The mouse of `other`, which holds it during a drag, at a client point of `control`.
    void Mouse(ToolkitMouse kind, TControl* control, TPoint client) {
        const TPoint at = other->ScreenToClient(control->ClientToScreen(client));
        SendToolkitMouse(other->Handle(), kind, at);
    }
    void Press(int row) { Mouse(ToolkitMouse::Press, other, {kLabelX, RowY(row)}); }
    TCursor Cursor() const { return GetWindowCursorShown(other->Handle()); }
    bool OtherHas(TVirtualTreeState state) const { return other->TreeStates().Contains(state); }

    TPanel* panel;
    TControl* droppedFrom = nullptr;  // the control the drag object of the drop stood for
    std::vector<DragEnd> ends;
    std::vector<PanelCall> panelCalls;
    std::vector<PanelCall> panelDrops;
};

TEST(TreeFrameworkDrag, NodesGoIntoAnotherTree) {
    FrameworkDragFixture f;
    f.Press(1);
    EXPECT_TRUE(f.OtherHas(tsVCLDragging));
    EXPECT_TRUE(f.other->Dragging());
    EXPECT_EQ(FrameworkDragControl(), f.other);
    EXPECT_EQ(GetCapture(), f.other->Handle());
    // Short of the threshold nothing is dragged yet, and the tree does not track the mouse.
    f.Mouse(ToolkitMouse::Move, f.other, {kLabelX + 2, InputFixture::RowY(1) + 1});
    EXPECT_FALSE(FrameworkDragStarted());
    EXPECT_TRUE(f.overs.empty());

    f.Mouse(ToolkitMouse::Move, f.tree, {kLabelX, InputFixture::RowY(2)});
    EXPECT_TRUE(FrameworkDragStarted());
    ASSERT_EQ(f.overs.size(), 2u);
    EXPECT_EQ(f.overs[0].state, dsDragEnter);
    EXPECT_EQ(f.overs[1].state, dsDragMove);
    EXPECT_EQ(f.overs[1].pt, (TPoint{kLabelX, InputFixture::RowY(2)}));
    EXPECT_EQ(f.tree->DropTargetNode(), f.nodes[2]);
    EXPECT_EQ(FrameworkDragTarget(), f.tree);
    EXPECT_EQ(f.Cursor(), crDrag);

    f.Mouse(ToolkitMouse::Release, f.tree, {kLabelX, InputFixture::RowY(2)});
    ASSERT_EQ(f.drops.size(), 1u);
    EXPECT_EQ(f.droppedFrom, f.other);
    EXPECT_EQ(f.drops[0].mode, dmOnNode);
    EXPECT_EQ(f.tree->Ids(), (std::vector<int>{0, 1, 2, 101, 3}));
    EXPECT_EQ(f.other->Ids(), (std::vector<int>{100, 102}));
    // The tree dragged hears of the end with the target and the point in its coordinates; the
    // drag, its states and the mouse are let go.
    ASSERT_EQ(f.ends.size(), 1u);
    EXPECT_EQ(f.ends[0].target, f.tree);
    EXPECT_EQ(f.ends[0].at, (TPoint{kLabelX, InputFixture::RowY(2)}));
    EXPECT_EQ(FrameworkDragControl(), nullptr);
    EXPECT_FALSE(f.other->Dragging());
    EXPECT_FALSE(f.OtherHas(tsVCLDragging));
    EXPECT_FALSE(f.OtherHas(tsLeftButtonDown));
    EXPECT_FALSE(f.tree->TreeStates().Contains(tsFrameworkDragging));
    EXPECT_EQ(GetCapture(), HWND(0));
    EXPECT_TREE_OK(*f.tree);
    EXPECT_TREE_OK(*f.other);
}

TEST(TreeFrameworkDrag, PlainControlsTakePartAndEscapeCancels) {
    FrameworkDragFixture f;
    f.other->SetSelected(f.others[0], true);
    f.other->SetSelected(f.others[2], true);
    f.Press(2);
    f.Mouse(ToolkitMouse::Move, f.panel, {10, 20});
    ASSERT_EQ(f.panelCalls.size(), 2u);
    EXPECT_EQ(f.panelCalls[0].state, dsDragEnter);
    EXPECT_EQ(f.panelCalls[1].source, f.other);  // the control, not its drag object
    EXPECT_EQ(f.panelCalls[1].at, (TPoint{10, 20}));
    EXPECT_EQ(f.Cursor(), crDrag);
    // Crossing into the tree: the panel hears of the leave; Escape cancels over the tree.
    f.Mouse(ToolkitMouse::Move, f.tree, {kLabelX, InputFixture::RowY(0)});
    EXPECT_EQ(f.panelCalls.back().state, dsDragLeave);
    EXPECT_EQ(f.overs.back().state, dsDragMove);
    SendToolkitKey(f.other->Handle(), VK_ESCAPE, "");
    EXPECT_EQ(f.overs.back().state, dsDragLeave);
    EXPECT_TRUE(f.drops.empty());
    EXPECT_EQ(f.tree->DropTargetNode(), nullptr);
    ASSERT_EQ(f.ends.size(), 1u);
    EXPECT_EQ(f.ends[0].target, nullptr);
    EXPECT_FALSE(f.other->Dragging());
    EXPECT_FALSE(f.OtherHas(tsLeftButtonDown));
    EXPECT_EQ(GetCapture(), HWND(0));
    // The release after the Escape is an ordinary one.
    f.Mouse(ToolkitMouse::Release, f.tree, {kLabelX, InputFixture::RowY(0)});
    EXPECT_EQ(f.ends.size(), 1u);

    // Dropped on the panel: it gets the dragged tree and its own point; the selection the drag
    // started with stays.
    f.Press(2);
    f.Mouse(ToolkitMouse::Move, f.panel, {40, 30});
    f.Mouse(ToolkitMouse::Release, f.panel, {40, 30});
    ASSERT_EQ(f.panelDrops.size(), 1u);
    EXPECT_EQ(f.panelDrops[0].source, f.other);
    EXPECT_EQ(f.panelDrops[0].at, (TPoint{40, 30}));
    EXPECT_EQ(f.ends.back().target, f.panel);
    EXPECT_EQ(f.ends.back().at, (TPoint{40, 30}));
    EXPECT_EQ(f.other->SelectionCount(), 2u);

    // A tree that refuses: the no-drop cursor, and a release that drops nothing.
    f.Accept = false;
    f.Press(2);
    f.Mouse(ToolkitMouse::Move, f.tree, {kLabelX, InputFixture::RowY(1)});
    EXPECT_EQ(f.Cursor(), crNoDrop);
    f.Mouse(ToolkitMouse::Release, f.tree, {kLabelX, InputFixture::RowY(1)});
    EXPECT_TRUE(f.drops.empty());
    EXPECT_EQ(f.ends.back().target, nullptr);
    EXPECT_EQ(f.overs.back().state, dsDragLeave);
}

TEST(TreeFrameworkDrag, AClickWithoutADragStaysAClick) {
    FrameworkDragFixture f;
    for (PVirtualNode n : f.others) f.other->SetSelected(n, true);
    // A press on a selected node keeps the selection for a drag; released in place, the drag
    // never starts and the release selects the node alone, as any click does.
    f.Press(1);
    EXPECT_EQ(f.other->SelectionCount(), 3u);
    EXPECT_TRUE(f.OtherHas(tsClearPending));
    f.Mouse(ToolkitMouse::Release, f.other, {kLabelX, InputFixture::RowY(1)});
    EXPECT_TRUE(f.overs.empty());
    ASSERT_EQ(f.ends.size(), 1u);
    EXPECT_EQ(f.ends[0].target, nullptr);
    EXPECT_EQ(f.other->SelectionCount(), 1u);
    EXPECT_TRUE(f.other->Selected(f.others[1]));
    EXPECT_EQ(f.other->FocusedNode(), f.others[1]);
    EXPECT_FALSE(f.OtherHas(tsClearPending));
    EXPECT_FALSE(f.other->Dragging());

    // The tree that goes away while it is dragged ends the drag without a word to it.
    f.Press(1);
    f.Mouse(ToolkitMouse::Move, f.tree, {kLabelX, InputFixture::RowY(0)});
    ASSERT_TRUE(FrameworkDragStarted());
    delete f.other;
    f.other = nullptr;
    EXPECT_EQ(FrameworkDragControl(), nullptr);
    EXPECT_FALSE(FrameworkDragStarted());
    EXPECT_EQ(f.overs.back().state, dsDragLeave);
    EXPECT_EQ(f.ends.size(), 1u);
}

}  // namespace
}  // namespace rv::test
