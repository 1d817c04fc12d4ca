// The tree as a drag source: the drag starts from the press point with the selection of that
// moment, runs the platform's drag loop with the tree's data object, ends with OnEndDrag and the
// button's release, and after a move deletes the dragged nodes that are still here.

#include <exception>

#include "platform/framework/drag_loop.h"
#include "platform/transfer/drag_drop.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"

namespace rv {

void TBaseVirtualTree::DoDragging(TPoint p) {
    if (states_.ContainsAny({tsEditing, tsEditPending})) DoCancelEdit();
    if (hotNode_) {
        PVirtualNode hot = hotNode_;
        hotNode_ = nullptr;
        InvalidateNode(hot);
    }
    if (focusedNode_ && !focusedNode_->Has(nsSelected)) {
        AddToSelection(focusedNode_);
        InvalidateNode(focusedNode_);
    }
    UpdateWindow(Handle());
    dragSelection_ = GetSortedSelection(true);
    dragged_ = std::unordered_set<PVirtualNode>(dragSelection_.begin(), dragSelection_.end());
    DoStateChange({tsOLEDragging}, {tsOLEDragPending, tsClearPending});

    DWORD effect = DROPEFFECT_NONE;
    std::exception_ptr failure;
    try {
        std::unique_ptr<TDragObject> dragObject;
        DoStartDrag(dragObject);
        dragObject.reset();

        const std::shared_ptr<IDataObject> dataObject = DragManager().DataObject();
        PrepareDragImage(p, dataObject);
        dropMode_ = dmOnNode;
        DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        if (!dragOperations_.Empty()) {
            allowed = DROPEFFECT_NONE;
            if (dragOperations_.Contains(doCopy)) allowed |= DROPEFFECT_COPY;
            if (dragOperations_.Contains(doMove)) allowed |= DROPEFFECT_MOVE;
            if (dragOperations_.Contains(doLink)) allowed |= DROPEFFECT_LINK;
        }
        rv::DoDragDrop(Handle(), dataObject, DragManager(), allowed, effect);
        DragManager().ForceDragLeave();
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        EndOLEDrag(effect);
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    DoStateChange({}, {tsOLEDragging});
    dragSelection_.clear();
    dragged_.clear();
    if (failure) std::rethrow_exception(failure);
}

// The end of a drag from this tree: OnEndDrag and the button's release where the mouse is now,
// the picture gone, and after a move the nodes that did not move away by themselves deleted.
void TBaseVirtualTree::EndOLEDrag(DWORD effect) {
    const TPoint at = rv::ScreenToClient(Handle(), GetCursorPos());
    std::exception_ptr failure;
    try {
        DoEndDrag(this, at.X, at.Y);
    } catch (...) {
        failure = std::current_exception();
    }
    const UINT up = states_.Contains(tsRightButtonDown)    ? WM_RBUTTONUP
                    : states_.Contains(tsMiddleButtonDown) ? WM_MBUTTONUP
                                                           : WM_LBUTTONUP;
    try {
        Perform(up, 0, MAKELPARAM(at.X, at.Y));
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    DoStateChange({}, {tsUserDragObject, tsFrameworkDragging});
    EndDragImage();
    if (failure) std::rethrow_exception(failure);

    if (effect != DROPEFFECT_MOVE || !TreeOptions().AutoOptions().Contains(toAutoDeleteMovedNodes))
        return;
    // A node a drop in this process moved already (within this tree or into another one) is no
    // longer among the dragged ones.
    const std::vector<PVirtualNode> left = DragSelection();
    BeginUpdate();
    try {
        for (PVirtualNode n : left)
            if (dragged_.count(n)) DeleteNode(n, true);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TBaseVirtualTree::DoStartDrag(std::unique_ptr<TDragObject>& dragObject) {
    TCustomControl::DoStartDrag(dragObject);
    if (dragObject) DoStateChange({tsUserDragObject});
}

void TBaseVirtualTree::DoEndDrag(TObject* target, int x, int y) {
    TCustomControl::DoEndDrag(target, x, y);
    if (!states_.Contains(tsVCLDragging)) return;  // a platform drag ends in EndOLEDrag
    // A drag that went past its threshold was no click: the release does not change the
    // selection the drag started with.
    TVirtualTreeStates leave{tsVCLDragging, tsUserDragObject};
    if (FrameworkDragStarted())
        leave = leave + TVirtualTreeStates{tsClearPending, tsToggleFocusedSelection};
    DoStateChange({}, leave);
    const UINT up = states_.Contains(tsRightButtonDown)    ? WM_RBUTTONUP
                    : states_.Contains(tsMiddleButtonDown) ? WM_MBUTTONUP
                                                           : WM_LBUTTONUP;
    const TPoint at = rv::ScreenToClient(Handle(), GetCursorPos());
    Perform(up, 0, MAKELPARAM(at.X, at.Y));
}

// ---- The drag image --------------------------------------------------------------------------

void TBaseVirtualTree::PrepareDragImage(TPoint hotSpot, const std::shared_ptr<IDataObject>&) {
    if (!CanShowDragImage()) return;
    // The hot spot in tree coordinates, and the picture's area around it.
    const int x = hotSpot.X - offsetX_, y = hotSpot.Y - offsetY_;
    const TRect treeRect{x - dragWidth_ / 2, y - dragHeight_ / 2, x + dragWidth_ / 2,
                         y + dragHeight_ / 2};
    TRect window = treeRect;
    TPoint target{0, 0};
    if (window.Left < 0) {
        target.X = -window.Left;
        window.Left = 0;
    }
    if (window.Top < 0) {
        target.Y = -window.Top;
        window.Top = 0;
    }
    TBitmap picture(treeRect.Width(), treeRect.Height(), pf32bit);
    TCanvas& canvas = picture.Canvas();
    canvas.Brush.Color = Color();
    canvas.FillRect({0, 0, treeRect.Width(), treeRect.Height()});
    TVTInternalPaintOptions options = poDrawSelection | poSelectedOnly;
    if (dragImageKind_ == diMainColumnOnly) options |= poMainOnly;
    PaintTree(canvas, window, target, options);
    const TPoint topLeft =
        rv::ClientToScreen(Handle(), {treeRect.Left + offsetX_, treeRect.Top + offsetY_});
    const TPoint screenHotSpot = rv::ClientToScreen(Handle(), hotSpot);
    auto image = std::make_unique<TVTDragImage>();
    image->Transparency = 200;
    image->Fade = true;
    image->ColorKey = Color();
    image->PrepareDrag(picture, screenHotSpot,
                       {screenHotSpot.X - topLeft.X, screenHotSpot.Y - topLeft.Y});
    dragImage_ = std::move(image);
}

void TBaseVirtualTree::ShowDragImage() {
    if (dragImage_) dragImage_->ShowDragImage();
}

void TBaseVirtualTree::HideDragImage() {
    if (dragImage_) dragImage_->HideDragImage();
}

bool TBaseVirtualTree::DragImageWillMove(TPoint screen) const {
    return dragImage_ && dragImage_->WillMove(screen);
}

void TBaseVirtualTree::DragImageTo(TPoint screen) {
    if (dragImage_) dragImage_->DragTo(screen);
}

void TBaseVirtualTree::EndDragImage() {
    if (dragImage_) dragImage_->EndDrag();
    dragImage_.reset();
}

}  // namespace rv
