// The framework's own drag over the tree (DragType other than dtOLE): CM_DRAG. The tree answers
// it with the same drag-over and drop routines as a platform drag, without a data object.

#include "platform/framework/drag_object.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"

namespace rv {

namespace {

// Only Shift and Ctrl take part in a framework drag's key state.
DWORD FrameworkDragKeys() {
    DWORD keys = 0;
    if (GetKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) keys |= MK_CONTROL;
    return keys;
}

}  // namespace

void TBaseVirtualTree::HandleFrameworkDrag(TMessage& message) {
    auto* rec = reinterpret_cast<TDragRec*>(message.LParam);
    if (!rec || rec->Docking) {
        TCustomControl::WndProc(message);
        return;
    }
    const auto kind = TDragMessage(message.WParam);
    auto forgetTarget = [this] {
        if (!dropTargetNode_) return;
        InvalidateNode(dropTargetNode_);
        dropTargetNode_ = nullptr;
    };
    switch (kind) {
        case dmDragEnter:
        case dmDragLeave:
        case dmDragMove: {
            if (kind == dmDragEnter) DoStateChange({tsFrameworkDragging});
            if (kind == dmDragLeave) {
                DoStateChange({}, {tsFrameworkDragging});
                StopAutoScroll();
            }
            if (kind == dmDragMove && CanAutoScroll()) {
                const TPoint p = rv::ScreenToClient(Handle(), rec->Pos);
                DoAutoScroll(p.X, p.Y);
            }
            const TDragState state = kind == dmDragEnter   ? dsDragEnter
                                     : kind == dmDragLeave ? dsDragLeave
                                                           : dsDragMove;
            DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
            DragOver(rec->Source, FrameworkDragKeys(), state, rec->Pos, effect);
            frameworkDropTarget_ = dropTargetNode_;
            frameworkDragEffect_ = effect;
            if (kind == dmDragLeave) forgetTarget();
            message.Result = (effect & (DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK)) != 0;
            break;
        }
        case dmDragDrop: {
            DoStateChange({}, {tsFrameworkDragging});
            StopAutoScroll();
            dropTargetNode_ = frameworkDropTarget_;
            const TPoint p = rv::ScreenToClient(Handle(), rec->Pos);
            DWORD effect = frameworkDragEffect_;
            try {
                DoDragDrop(rec->Source, nullptr, {}, KeysToShiftState(FrameworkDragKeys()), p,
                           effect, dropMode_);
            } catch (...) {
                forgetTarget();
                frameworkDropTarget_ = nullptr;
                throw;
            }
            forgetTarget();
            frameworkDropTarget_ = nullptr;
            break;
        }
        case dmDragCancel:
            TCustomControl::WndProc(message);
            break;
        case dmFindTarget: {
            TControl* child = ControlAtPos(rv::ScreenToClient(Handle(), rec->Pos));
            message.Result =
                reinterpret_cast<LRESULT>(child ? child : static_cast<TControl*>(this));
            break;
        }
    }
}

}  // namespace rv
