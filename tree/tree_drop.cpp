// The tree as a drop target: the node under the mouse and where on it a drop would land, the
// effect suggested by the keys and decided by OnDragOver, scrolling and opening nodes while a
// drag waits over them, and the drop handed to OnDragDrop.

#include <chrono>

#include "platform/transfer/drag_drop.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"
#include "tree/vt_drag_manager.h"

namespace rv {

namespace {

// The effect part of a drop-target answer, without the flag that says it scrolled.
constexpr DWORD kEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

// Milliseconds of a steady clock, never 0 (0 stands for "not yet").
std::uint32_t MilliSeconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms =
        std::uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    return ms == 0 ? 1 : ms;
}

TRect Union(const TRect& a, const TRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

}  // namespace

IVTDragManager& TBaseVirtualTree::DragManager() {
    if (!dragManager_) {
        dragManager_ = DoCreateDragManager();
        if (!dragManager_) dragManager_ = std::make_shared<TVTDragManager>(*this);
    }
    return *dragManager_;
}

std::shared_ptr<IVTDragManager> TBaseVirtualTree::DoCreateDragManager() {
    std::shared_ptr<IVTDragManager> manager;
    if (OnCreateDragManager) OnCreateDragManager(this, manager);
    return manager;
}

void TBaseVirtualTree::RegisterDropTarget(bool on) {
    if (on == dropTargetRegistered_ || !HandleAllocated()) return;
    if (on)
        dropTargetRegistered_ =
            RegisterDragDrop(Handle(), std::make_shared<TTreeDropTarget>(*this)) == S_OK;
    else
        dropTargetRegistered_ = RevokeDragDrop(Handle()) != S_OK && dropTargetRegistered_;
}

std::vector<PVirtualNode> TBaseVirtualTree::DragSelection() const {
    std::vector<PVirtualNode> nodes;
    for (PVirtualNode n : dragSelection_)
        if (dragged_.count(n)) nodes.push_back(n);
    return nodes;
}

DWORD TBaseVirtualTree::SuggestDropEffect(TObject* source, TShiftState shift, TPoint,
                                          DWORD allowed) {
    DWORD result = allowed;
    const DWORD preferred = source == this ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    if (allowed & preferred) result = preferred;
    const bool ctrl = shift & ssCtrl, withShift = shift & ssShift, alt = shift & ssAlt;
    DWORD keys = DROPEFFECT_NONE;
    if (ctrl && withShift)
        keys = DROPEFFECT_LINK;
    else if (ctrl)
        keys = DROPEFFECT_COPY;
    else if (withShift)
        keys = DROPEFFECT_MOVE;
    else if (alt)
        keys = DROPEFFECT_LINK;
    if (allowed & keys) result = keys;
    return result;
}

bool TBaseVirtualTree::DoDragOver(TObject* source, TShiftState shift, TDragState state, TPoint pt,
                                  TDropMode mode, DWORD& effect) {
    bool accept = false;
    if (OnDragOver) OnDragOver(this, source, shift, state, pt, mode, effect, accept);
    return accept;
}

void TBaseVirtualTree::DoDragDrop(TObject* source, const std::shared_ptr<IDataObject>& dataObject,
                                  const TFormatArray& formats, TShiftState shift, TPoint pt,
                                  DWORD& effect, TDropMode mode) {
    if (OnDragDrop) OnDragDrop(this, source, dataObject, formats, shift, pt, effect, mode);
}

HRESULT TBaseVirtualTree::DragEnter(DWORD keyState, TPoint pt, DWORD& effect) {
    try {
        dragScrollStart_ = 0;
        const TShiftState shift = KeysToShiftState(keyState);
        pt = rv::ScreenToClient(Handle(), pt);
        TBaseVirtualTree* source = DragManager().DragSource();
        effect = SuggestDropEffect(source, shift, pt, effect);
        if (!DoDragOver(source, shift, dsDragEnter, pt, dropMode_, effect)) {
            effect = DROPEFFECT_NONE;
        } else {
            const THitInfo hit = GetHitTestInfoAt(pt.X, pt.Y, true);
            if (hit.HitNode) {
                dropTargetNode_ = hit.HitNode;
                const TRect r = GetDisplayRect(hit.HitNode, header_.MainColumn(), false);
                dropMode_ = hit.HitPositions & hiOnItemLabel ? dmOnNode
                            : (r.Top + r.Bottom) / 2 > pt.Y  ? dmAbove
                                                             : dmBelow;
            } else {
                dropMode_ = dmNowhere;
            }
        }
        if (!DragManager().DropTargetHelperSupported() && source) source->ShowDragImage();
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT TBaseVirtualTree::DragOver(TObject* source, DWORD keyState, TDragState state, TPoint pt,
                                   DWORD& effect) {
    // A tree of this process that is dragged from draws the drag image; under it the window is
    // only repainted, never scrolled by moving its pixels.
    TBaseVirtualTree* sourceTree = nullptr;
    if (dragManager_ && !dragManager_->DropTargetHelperSupported())
        sourceTree = dynamic_cast<TBaseVirtualTree*>(source);
    try {
        const TPoint dragPos = pt;
        pt = rv::ScreenToClient(Handle(), pt);

        // Scrolling at the edges, once the delay has passed.
        int dx = 0, dy = 0;
        bool scrolled = false;
        autoScrollDirections_ = CanAutoScroll() ? ScrollDirectionsAt(pt.X, pt.Y) : 0;
        if (autoScrollDirections_ != 0 && dragManager_ && dragManager_->IsDropTarget()) {
            const std::uint32_t now = MilliSeconds();
            if (dragScrollStart_ == 0) dragScrollStart_ = now;
            if (now - dragScrollStart_ < autoScrollDelay_) autoScrollDirections_ = 0;
        }
        if (autoScrollDirections_ != 0) {
            const int clientHeight = ClientHeight(), clientWidth = ClientWidth();
            const int vertical = std::min<int>(scrollBarOptions_.VerticalIncrement(), clientHeight);
            TScrollDirections& d = autoScrollDirections_;
            if (d & sdUp) {
                dy = vertical;
                if (offsetY_ == 0) d &= ~sdUp;
            }
            if (d & sdDown) {
                dy = -vertical;
                if (clientHeight - offsetY_ == RangeY()) d &= ~sdDown;
            }
            if (d & sdLeft) {
                dx = scrollBarOptions_.HorizontalIncrement();
                if (offsetX_ == 0) d &= ~sdLeft;
            }
            if (d & sdRight) {
                dx = -scrollBarOptions_.HorizontalIncrement();
                if (clientWidth - offsetX_ == rangeX_) d &= ~sdRight;
            }
            scrolled = DoSetOffsetXY({offsetX_ + dx, offsetY_ + dy},
                                     sourceTree ? TScrollUpdateOptions{} : kDefaultScrollUpdate);
        }

        const TShiftState shift = KeysToShiftState(keyState);
        THitInfo hit = GetHitTestInfoAt(pt.X, pt.Y, true);
        const bool imageHit = hit.HitPositions & (hiOnNormalIcon | hiOnStateIcon);
        const bool labelHit = hit.HitPositions & hiOnItemLabel;
        if (TreeOptions().MiscOptions().Contains(toReportMode) &&
            !((labelHit || imageHit) && hit.HitColumn == header_.MainColumn()))
            hit.HitNode = nullptr;

        TDropMode newMode = dmNowhere;
        TRect r;
        if (hit.HitNode) {
            r = GetDisplayRect(hit.HitNode, NoColumn, false);
            if (labelHit || imageHit || !TreeOptions().PaintOptions().Contains(toShowDropmark))
                newMode = dmOnNode;
            else
                newMode = (r.Top + r.Bottom) / 2 > pt.Y ? dmAbove : dmBelow;
        }
        const bool willMove = sourceTree && sourceTree->DragImageWillMove(dragPos);
        const TRect client = GetClientRect(Handle());
        if (hit.HitNode != dropTargetNode_ || newMode != dropMode_) {
            dropMode_ = newMode;
            TRect area = r;
            if (hit.HitNode != dropTargetNode_) {
                StopTimer(kExpandTimer);
                PVirtualNode last = dropTargetNode_;
                dropTargetNode_ = hit.HitNode;
                if (focusedColumn_ == NoColumn) focusedColumn_ = header_.MainColumn();
                if (last) area = Union(r, GetDisplayRect(last, NoColumn, false));
                if (dropTargetNode_ && dropTargetNode_->Has(nsHasChildren) &&
                    TreeOptions().AutoOptions().Contains(toAutoDropExpand))
                    SetTimer(Handle(), kExpandTimer, autoExpandDelay_);
            }
            if (sourceTree)
                UpdateWindowAndDragImage(*sourceTree, scrolled ? client : area, scrolled,
                                         !willMove);
            else if (!area.IsEmpty())
                InvalidateRect(Handle(), &area);
        } else if (sourceTree && (dx != 0 || dy != 0)) {
            UpdateWindowAndDragImage(*sourceTree, client, scrolled, !willMove);
        }
        UpdateWindow(Handle());
        if (sourceTree && willMove) sourceTree->DragImageTo(dragPos);

        effect = SuggestDropEffect(source, shift, pt, effect);
        if (!DoDragOver(source, shift, state, pt, dropMode_, effect)) effect = DROPEFFECT_NONE;
        if (scrolled) effect |= DROPEFFECT_SCROLL;
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

void TBaseVirtualTree::DragLeave() {
    StopTimer(kExpandTimer);
    if (dragManager_ && !dragManager_->DropTargetHelperSupported())
        if (TBaseVirtualTree* source = dragManager_->DragSource()) source->HideDragImage();
    if (dropTargetNode_) {
        InvalidateNode(dropTargetNode_);
        dropTargetNode_ = nullptr;
    }
    UpdateWindow(Handle());
    DWORD effect = DROPEFFECT_NONE;
    DoDragOver(nullptr, 0, dsDragLeave, {0, 0}, dropMode_, effect);
}

HRESULT TBaseVirtualTree::DragDrop(const std::shared_ptr<IDataObject>& dataObject, DWORD keyState,
                                   TPoint pt, DWORD& effect) {
    StopTimer(kExpandTimer);
    StopTimer(kScrollTimer);
    DoStateChange({}, {tsScrollPending, tsScrolling});
    // The drop target goes whatever happens below.
    auto forgetTarget = [this] {
        if (!dropTargetNode_) return;
        InvalidateNode(dropTargetNode_);
        dropTargetNode_ = nullptr;
    };
    try {
        TBaseVirtualTree* source = DragManager().DragSource();
        HRESULT result = DragOver(source, keyState, dsDragMove, pt, effect);
        if (result != S_OK || (effect & kEffects) == DROPEFFECT_NONE || !dataObject) {
            forgetTarget();
            return E_FAIL;
        }
        const TShiftState shift = KeysToShiftState(keyState);
        pt = rv::ScreenToClient(Handle(), pt);
        std::shared_ptr<IEnumFORMATETC> walker;
        if (FAILED(dataObject->EnumFormatEtc(DATADIR_GET, walker)) || !walker ||
            FAILED(walker->Reset()))
            Abort();
        TFormatArray formats;
        TFormatEtc format;
        ULONG fetched = 0;
        while (walker->Next(1, &format, &fetched) == S_OK && fetched == 1)
            formats.push_back(format.cfFormat);
        DoDragDrop(source, dataObject, formats, shift, pt, effect, dropMode_);
        forgetTarget();
        return S_OK;
    } catch (...) {
        forgetTarget();
        throw;
    }
}

void TBaseVirtualTree::DoDragExpand() {
    StopTimer(kExpandTimer);
    if (!dropTargetNode_ || !dropTargetNode_->Has(nsHasChildren) ||
        dropTargetNode_->Has(nsExpanded))
        return;
    TBaseVirtualTree* source = dragManager_ ? dragManager_->DragSource() : nullptr;
    const bool image = source && !dragManager_->DropTargetHelperSupported();
    if (image) source->HideDragImage();
    ToggleNode(dropTargetNode_);
    UpdateWindow(Handle());
    if (image) source->ShowDragImage();
}

void TBaseVirtualTree::UpdateWindowAndDragImage(TBaseVirtualTree& tree, TRect treeRect,
                                                bool updateNCArea, bool reshowDragImage) {
    // The drag image is a window of its own over the tree, composed by the desktop: repainting
    // under it needs no copy of the screen behind it.
    treeRect = IntersectRect(treeRect, GetClientRect(Handle()));
    if (treeRect.IsEmpty()) return;
    if (updateNCArea) InvalidateWindow(Handle());
    InvalidateRect(Handle(), &treeRect);
    UpdateWindow(Handle());
    if (reshowDragImage) tree.ShowDragImage();
}

}  // namespace rv
