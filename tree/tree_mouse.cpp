// A mouse press decides in one pass what it does (toggle, check box, selection, focus, edit,
// rubber band, drag) and leaves pending states that the release and the double click complete.

#include "platform/windows/screens.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"

namespace rv {

TCheckState TBaseVirtualTree::DetermineNextCheckState(TCheckType checkType,
                                                      TCheckState checkState) {
    switch (checkType) {
        case ctCheckBox:
        case ctTriStateCheckBox:
            return NormalCheckState(checkState) == chkChecked ? chkUnchecked : chkChecked;
        case ctRadioButton:
            return chkChecked;
        default:
            return checkState;
    }
}

void TBaseVirtualTree::ProcessMouseDown(TMessage& message, const THitInfo& hitInfo) {
    const int x = GET_X_LPARAM(message.LParam), y = GET_Y_LPARAM(message.LParam);
    if (states_.ContainsAny({tsWheelPanning, tsWheelScrolling})) {
        StopWheelPanning();
        return;
    }
    StopTimer(kEditTimer);
    DoStateChange({}, {tsEditPending});
    if (states_.Contains(tsEditing) && !DoEndEdit()) return;
    if (!Focused() && CanFocus()) SetFocus();
    header_.Columns().ClickIndex = hitInfo.HitColumn;

    const TVTSelectionOptions selection = TreeOptions().SelectionOptions();
    const TVTMiscOptions misc = TreeOptions().MiscOptions();
    const THitPositions hit = hitInfo.HitPositions;
    PVirtualNode node = hitInfo.HitNode;
    bool columnChange = false;
    TColumnIndex newColumn = focusedColumn_;
    if ((hit & hiOnItemLabel) || selection.Contains(toFullRowSelect) ||
        misc.Contains(toGridExtensions)) {
        columnChange = hitInfo.HitColumn != focusedColumn_;
        newColumn = selection.Contains(toExtendedFocus) ? hitInfo.HitColumn : header_.MainColumn();
    }
    TShiftState shift = KeysToShiftState(message.WParam) & (ssShift | ssCtrl | ssAlt);
    const bool altPressed = shift & ssAlt;
    shift &= ~TShiftState(ssAlt);
    const bool shiftEmpty = shift == 0;

    // Everything the press decides is worked out before anything changes.
    const bool labelHit = !altPressed && (hit & (hiOnItemLabel | hiOnNormalIcon));
    const bool cellHit = !altPressed && !labelHit && node &&
                         !(hit & (hiOnItemButton | hiOnItemCheckbox)) &&
                         (selection.Contains(toFullRowSelect) || misc.Contains(toGridExtensions));
    const bool anyHit = labelHit || cellHit;
    const bool multiSelect = selection.Contains(toMultiSelect);
    const bool nodeSelected = anyHit && node->Has(nsSelected);
    const bool fullRowDrag = misc.Contains(toFullRowDrag);
    bool dragAllowed = (dragMode_ == dmAutomatic || Dragging()) && (!cellHit || fullRowDrag);
    if (!dragAllowed && node && dragMode_ == dmManual)
        dragAllowed = DoBeforeDrag(node, newColumn) && !cellHit;

    if ((hit & hiOnItemButton) && node && node->Has(nsHasChildren)) {
        ToggleNode(node);
        return;
    }
    if (hit & hiOnItemCheckbox) {
        if (node) PressCheckBox(node);
        return;
    }
    if ((shiftEmpty && root_->ChildCount > 0) || SelectionCount() == 0) {
        PVirtualNode levelNode = node ? node : GetLastVisible();
        selectionLevel_ = levelNode ? int(GetNodeLevel(levelNode)) : -1;
    }
    if (multiSelect && shiftEmpty && labelHit && dragAllowed && nodeSelected)
        DoStateChange({tsClearPending});
    const bool keepSelection = dragAllowed || (states_.Contains(tsRightButtonDown) &&
                                               CanShowPopupMenu(node, hitInfo.HitColumn, {x, y}));
    if ((!anyHit && !fullRowDrag && multiSelect && shiftEmpty) ||
        (anyHit && (!nodeSelected || !keepSelection) && (shiftEmpty || !multiSelect))) {
        TreeAssert(!states_.Contains(tsClearPending),
                   "Pending and direct clearance are mutual exclusive!");
        if (node && (nodeSelected || (altPressed && hitInfo.HitColumn == header_.MainColumn())))
            ClearSelectionKeeping(node);
        else
            ClearSelection();
    }
    if (Focused() &&
        ((hit & hiOnItemLabel) || (misc.Contains(toGridExtensions) && (hit & hiOnItem))) &&
        nodeSelected && !columnChange && shiftEmpty)
        DoStateChange({tsEditPending});
    if (!selection.Contains(toDisableDrawSelection) && !labelHit && !fullRowDrag && multiSelect) {
        SetCapture(Handle());
        DoStateChange({tsDrawSelPending});
        selectionShiftState_ = shift;
        newSelectionRect_ = {x - offsetX_, y - offsetY_, x - offsetX_, y - offsetY_};
        oldSelectionRect_ = {};
        if (!cellHit) return;
    }
    clickPoint_ = {x, y};

    if (anyHit && DoFocusChanging(focusedNode_, node, focusedColumn_, newColumn)) {
        if (columnChange) {
            for (TColumnIndex column : {focusedColumn_, newColumn})
                if (updateCount_ == 0 && header_.Columns().IsValidColumn(column)) {
                    int left, right;
                    header_.Columns().GetColumnBounds(column, left, right);
                    const TRect r{left + offsetX_, 0, right + offsetX_, ClientHeight()};
                    InvalidateRect(Handle(), &r);
                }
            focusedColumn_ = newColumn;
        }
        if (dragKind_ == dkDock) StopAutoScroll();
        PVirtualNode lastFocused = focusedNode_;
        DoFocusNode(node, false);
        if (multiSelect && !shiftEmpty) {
            HandleClickSelection(lastFocused, node, shift, dragAllowed);
        } else {
            if (shiftEmpty) rangeAnchor_ = node;
            if (!node->Has(nsSelected)) AddToSelection(node);
        }
        DoFocusChange(focusedNode_, focusedColumn_);
    }
    if (dragAllowed &&
        states_.ContainsAny({tsLeftButtonDown, tsMiddleButtonDown, tsRightButtonDown}))
        BeginDrag(false, -1);
}

void TBaseVirtualTree::ClearSelectionKeeping(PVirtualNode node) {
    const std::uint32_t before = SelectionCount();
    if (before == 1 && node->Has(nsSelected)) {
        rangeAnchor_ = focusedNode_;
        selectionLevel_ = -1;
        return;
    }
    InternalClearSelection();
    // The kept node joins without the level and sibling rules.
    node->Include(nsSelected);
    selection_.push_back(node);
    rangeAnchor_ = focusedNode_;
    selectionLevel_ = -1;
    if (before > 1) {
        Invalidate();
        Change(nullptr);
    } else {
        InvalidateNode(node);
        Change(node);
    }
}

void TBaseVirtualTree::HandleClickSelection(PVirtualNode lastFocused, PVirtualNode newNode,
                                            TShiftState shift, bool dragPending) {
    const bool ctrl = shift & ssCtrl, withShift = shift & ssShift;
    if (ctrl && withShift) {
        SelectNodes(rangeAnchor_ ? rangeAnchor_ : lastFocused, newNode, true);
    } else if (ctrl) {
        if (!TreeOptions().SelectionOptions().Contains(toSiblingSelectConstraint))
            rangeAnchor_ = newNode;
        if (dragPending) {
            DoStateChange({tsToggleFocusedSelection});
        } else if (newNode->Has(nsSelected)) {
            RemoveFromSelection(newNode);
            InvalidateNode(newNode);
        } else {
            AddToSelection(newNode);
        }
    } else if (withShift) {
        PVirtualNode anchor = rangeAnchor_ ? rangeAnchor_ : GetFirst();
        rangeAnchor_ = anchor;
        SelectNodes(anchor, newNode, false);
        rangeAnchor_ = anchor;
    } else {
        if (!newNode->Has(nsSelected)) AddToSelection(newNode);
        InvalidateNode(newNode);
        rangeAnchor_ = newNode;
    }
}

void TBaseVirtualTree::HandleMouseUp(TMessage& message, const THitInfo& hitInfo) {
    if (GetCapture() == Handle()) ReleaseCapture();
    if (states_.Contains(tsVCLDragging)) return;
    if (states_.ContainsAny({tsDrawSelPending, tsDrawSelecting})) {
        DoStateChange({}, {tsDrawSelPending, tsDrawSelecting, tsToggleFocusedSelection});
        SetRubberBand(false);
        Invalidate();
    }
    if (states_.Contains(tsClearPending)) {
        PVirtualNode focused = focusedNode_;
        const bool keep = focused && focused->Has(nsSelected);
        DoStateChange({}, {tsClearPending});
        if (keep)
            ClearSelectionKeeping(focused);
        else
            ClearSelection();
    }
    if (states_.Contains(tsToggleFocusedSelection) && focusedNode_ &&
        hitInfo.HitNode == focusedNode_) {
        if (focusedNode_->Has(nsSelected))
            RemoveFromSelection(focusedNode_);
        else
            AddToSelection(focusedNode_);
        InvalidateNode(focusedNode_);
    }
    DoStateChange({}, {tsToggleFocusedSelection, tsClearPending, tsDrawSelPending, tsOLEDragPending,
                       tsOLEDragging, tsScrollPending, tsScrolling});
    StopTimer(kScrollTimer);
    FinishCheckClick(hitInfo);

    TVirtualTreeColumns& columns = header_.Columns();
    if (columns.ClickIndex > NoColumn && columns.ClickIndex == hitInfo.HitColumn)
        DoColumnClick(hitInfo.HitColumn, KeysToShiftState(message.WParam));
    if (states_.Contains(tsEditPending)) {
        if (focusedNode_ && hitInfo.HitNode == focusedNode_ && (hitInfo.HitPositions & hiOnItem) &&
            CanEdit(focusedNode_, hitInfo.HitColumn)) {
            editColumn_ = focusedColumn_;
            SetTimer(Handle(), kEditTimer, editDelay_);
        } else {
            DoStateChange({}, {tsEditPending});
        }
    }
}

void TBaseVirtualTree::FinishCheckClick(const THitInfo& hitInfo) {
    if (!states_.Contains(tsMouseCheckPending)) return;
    DoStateChange({}, {tsMouseCheckPending});
    PVirtualNode node = checkNode_;
    checkNode_ = nullptr;
    if (!node) return;
    node->CheckState = NormalCheckState(node->CheckState);
    if (hitInfo.HitNode == node && (hitInfo.HitPositions & hiOnItem))
        DoCheckClick(node, checkState_);
    InvalidateNode(node);
}

// A press on a node's check box: the box shows pressed and the check waits for the release,
// unless the node is disabled, another check is pending or OnChecking refuses.
void TBaseVirtualTree::PressCheckBox(PVirtualNode node) {
    if (node->Has(nsDisabled) || states_.ContainsAny({tsMouseCheckPending, tsKeyCheckPending}))
        return;
    TCheckState next = DetermineNextCheckState(node->CheckType, node->CheckState);
    if (!DoChecking(node, next)) return;
    DoStateChange({tsMouseCheckPending});
    checkNode_ = node;
    checkState_ = next;
    node->CheckState = PressedCheckState(node->CheckState);
    InvalidateNode(node);
}

void TBaseVirtualTree::HandleMouseDblClick(TMessage& message, const THitInfo& hitInfo) {
    StopTimer(kEditTimer);
    DoStateChange({}, {tsEditPending});
    if (states_.Contains(tsEditing) && !DoEndEdit()) return;
    const TVirtualTreeColumns& columns = header_.Columns();
    if (columns.ClickIndex > NoColumn && columns.ClickIndex == hitInfo.HitColumn)
        DoColumnDblClick(hitInfo.HitColumn, KeysToShiftState(message.WParam));
    PVirtualNode node = hitInfo.HitNode;
    const THitPositions hit = hitInfo.HitPositions;
    if ((hit & hiOnItemCheckbox) && node) {
        PressCheckBox(node);
        return;
    }
    if ((hit & hiOnItemButton) && node) {
        ToggleNode(node);
        return;
    }
    if (!TreeOptions().MiscOptions().Contains(toToggleOnDblClick) || !node) return;
    if ((hit & (hiOnItemButton | hiOnItemLabel | hiOnNormalIcon | hiOnStateIcon)) ||
        TreeOptions().SelectionOptions().Contains(toFullRowSelect))
        ToggleNode(node);
}

// ---- Dragging as the mouse starts it ----------------------------------------------------------

bool TBaseVirtualTree::Dragging() const {
    return states_.ContainsAny({tsOLEDragPending, tsOLEDragging, tsVCLDragging}) ||
           TCustomControl::Dragging();
}

void TBaseVirtualTree::BeginDrag(bool immediate, int threshold) {
    if (dragType_ != dtOLE) {
        // The framework's own drag loop takes the mouse from here; its end comes back through
        // DoEndDrag.
        if (Dragging()) return;
        DoStateChange({tsVCLDragging});
        TCustomControl::BeginDrag(immediate, threshold);
        return;
    }
    if (states_.ContainsAny({tsOLEDragPending, tsOLEDragging})) return;
    dragThreshold_ = threshold >= 0 ? threshold : GetSystemMetrics(SM_CXDRAG);
    if (immediate)
        DoDragging(clickPoint_);
    else
        DoStateChange({tsOLEDragPending});
}

}  // namespace rv
