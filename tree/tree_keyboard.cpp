// The keyboard: navigation with range extension, the numeric-pad commands, F1, F2, Ctrl+A,
// Escape, the Applications key, Space on a check box (completed when the key goes up) and the
// arming of incremental search for the character that follows the key.

#include <algorithm>

#include "platform/messages/application.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"

namespace rv {

namespace {

constexpr int kF2 = VK_F1 + 1;

bool IsNavigationKey(int key) {
    switch (key) {
        case VK_BACK:
        case VK_TAB:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_HOME:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            return true;
        default:
            return false;
    }
}

// The typed "+", "-" and "/" work as their numeric-pad keys ("*" reaches the tree as the pad's
// key already).
int MapTypedKey(int key) {
    switch (key) {
        case VK_OEM_PLUS:
            return VK_ADD;
        case VK_OEM_MINUS:
            return VK_SUBTRACT;
        case VK_OEM_2:
            return VK_DIVIDE;
        default:
            return key;
    }
}

}  // namespace

void TBaseVirtualTree::HandleKeyDown(int key) {
    TShiftState shift = KeyboardShiftState() & (ssShift | ssCtrl | ssAlt);
    if (!DoKeyAction(key, shift)) return;
    if (states_.Contains(tsKeyCheckPending) && key != VK_SPACE) AbandonKeyCheck();
    key = MapTypedKey(key);
    const bool searching = states_.Contains(tsIncrementalSearching);
    const bool ctrl = shift & ssCtrl, withShift = shift & ssShift;

    if (IsNavigationKey(key) && !(key == VK_BACK && searching)) {
        NavigateByKey(key, shift);
        return;
    }
    switch (key) {
        case VK_ADD:
            if (searching) break;
            if (ctrl && withShift)
                FullExpand();
            else if (ctrl)
                header_.AutoFitColumns(true);
            else if (focusedNode_ && !focusedNode_->Has(nsExpanded))
                ToggleNode(focusedNode_);
            return;
        case VK_SUBTRACT:
            if (searching) break;
            if (ctrl && withShift)
                FullCollapse();
            else if (ctrl)
                header_.RestoreColumns();
            else if (focusedNode_ && focusedNode_->Has(nsExpanded))
                ToggleNode(focusedNode_);
            return;
        case VK_MULTIPLY:
            if (searching) break;
            if (focusedNode_) FullExpand(focusedNode_);
            return;
        case VK_DIVIDE:
            if (searching) break;
            if (focusedNode_) FullCollapse(focusedNode_);
            return;
        case VK_F1:
            ShowHelpForFocus();
            return;
        case VK_APPS:
            OpenPopupByKey();
            return;
        case VK_ESCAPE:
            if (states_.ContainsAny({tsDrawSelPending, tsDrawSelecting})) {
                SetRubberBand(false);
                DoStateChange({}, {tsDrawSelPending, tsDrawSelecting});
                ReleaseCapture();
                Invalidate();
            } else if (states_.Contains(tsEditing)) {
                DoCancelEdit();
            }
            return;
        default:
            if (key == kF2 && shift == 0) {
                if (focusedNode_ && CanEdit(focusedNode_, focusedColumn_)) {
                    editColumn_ = focusedColumn_;
                    DoEdit();
                }
                return;
            }
            if (key == 'A' && ctrl && !withShift && !(shift & ssAlt)) {
                SelectAll(true);
                return;
            }
            if (key == VK_SPACE && TreeOptions().MiscOptions().Contains(toCheckSupport) &&
                focusedNode_ && focusedNode_->CheckType != ctNone) {
                PressCheckByKey();
                return;
            }
            break;
    }
    // A key with a character code feeds the search with the character that follows it.
    if ((key >= VK_SPACE || key == VK_BACK) && !(shift & (ssCtrl | ssAlt)) &&
        incrementalSearch_ != isNone)
        DoStateChange({tsIncrementalSearchPending});
}

void TBaseVirtualTree::NavigateByKey(int key, TShiftState shift) {
    const TVTSelectionOptions selection = TreeOptions().SelectionOptions();
    const bool multi = selection.Contains(toMultiSelect);
    const bool ctrl = shift & ssCtrl, withShift = shift & ssShift;
    const bool anyModifier = shift != 0;
    const bool extending = withShift && multi && !states_.Contains(tsEditing);
    bool rangeSelecting =
        extending && (key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME);
    bool clear = !anyModifier || !multi;
    if (!clear && TreeOptions().MiscOptions().Contains(toGridExtensions)) clear = !withShift;
    if (!clear) clear = key == VK_BACK || key == VK_TAB;
    const bool columnsShown = header_.Columns().GetFirstVisibleColumn() > NoColumn;
    const bool extendedFocus = selection.Contains(toExtendedFocus) && columnsShown;
    const bool gridFocus = extendedFocus && TreeOptions().MiscOptions().Contains(toGridExtensions);

    PVirtualNode old = focusedNode_;
    if (!old && anyModifier) old = GetFirstVisible();
    if (!rangeAnchor_) {
        PVirtualNode selected = GetFirstSelected();
        rangeAnchor_ = selected ? selected : GetFirst();
    }
    PVirtualNode target = nullptr;
    const int height = ClientHeight();
    switch (key) {
        case VK_BACK:
            if (old && old->Parent != root_) target = old->Parent;
            break;
        case VK_TAB:
            if (extendedFocus) MoveFocusColumn(!withShift);
            return;
        case VK_PRIOR:
        case VK_NEXT: {
            const bool down = key == VK_NEXT;
            if (ctrl) {
                SetOffsetY(offsetY_ + (down ? -height : height));
                return;
            }
            if (!old) {
                target = down ? GetLastVisible() : GetFirstVisible();
                break;
            }
            // Rows adding up to the client height: with rows of one height, as many as fit.
            std::int64_t passed = 0;
            target = old;
            for (;;) {
                PVirtualNode next = down ? GetNextVisible(target) : GetPreviousVisible(target);
                if (!next) break;
                passed += NodeHeight(target);
                if (passed > height) break;
                target = next;
            }
            break;
        }
        case VK_HOME:
        case VK_END: {
            const bool end = key == VK_END;
            target = end ? GetLastVisible() : GetFirstVisible();
            if (extendedFocus) {
                const TVirtualTreeColumns& columns = header_.Columns();
                const TColumnIndex column =
                    end ? columns.GetLastVisibleColumn() : columns.GetFirstVisibleColumn();
                if (column > NoColumn) SetFocusedColumn(column);
            }
            break;
        }
        case VK_LEFT:
        case VK_RIGHT: {
            const bool right = key == VK_RIGHT;
            if (ctrl) {
                SetOffsetX(offsetX_ + (right ? -int(indent_) : int(indent_)));
                return;
            }
            if (gridFocus) {
                MoveFocusColumn(right);
                return;
            }
            if (!old) break;
            const bool hasChildren = old->Has(nsHasChildren);
            if (!anyModifier && hasChildren && old->Has(nsExpanded) != right) {
                ToggleNode(old);
                return;
            }
            if (right) {
                target = GetFirstVisibleChild(old);
                if (extending && target && rangeAnchor_ &&
                    CompareNodePositions(target, rangeAnchor_) < 0)
                    RemoveFromSelection(old);
            } else if (old->Parent != root_) {
                target = old->Parent;
                if (extending) {
                    if (old->Parent->FirstChild == old && rangeAnchor_ &&
                        CompareNodePositions(old->Parent, rangeAnchor_) > 0)
                        RemoveFromSelection(old);
                    else
                        rangeSelecting = true;
                }
            }
            break;
        }
        case VK_UP:
        case VK_DOWN: {
            const bool down = key == VK_DOWN;
            if (ctrl) {
                SetOffsetY(offsetY_ + (down ? -int(defaultNodeHeight_) : int(defaultNodeHeight_)));
                return;
            }
            if (old)
                target = down ? GetNextVisible(old) : GetPreviousVisible(old);
            else
                target = down ? GetFirstVisible() : GetLastVisible();
            if (extending && old && target && rangeAnchor_) {
                const int side = CompareNodePositions(old, rangeAnchor_);
                if (down ? side < 0 : side > 0) RemoveFromSelection(old);
            }
            if (focusedColumn_ == InvalidColumn) focusedColumn_ = header_.MainColumn();
            if (!target) {
                InvalidateNode(focusedNode_);
                return;
            }
            break;
        }
        default:
            return;
    }
    if (!target) return;

    bool cleared = false;
    if (clear && target != focusedNode_ && SelectionCount() > 0) {
        if (SelectionCount() == 1 && old && old->Has(nsSelected)) {
            RemoveFromSelection(old);
            InvalidateNode(old);
        } else {
            ClearSelection();
        }
        cleared = true;
    }
    const bool moved = target != focusedNode_;
    if (moved) {
        SetFocusedNode(target);
        if (focusedNode_ != target) return;  // refused
    }
    if (!anyModifier) {
        rangeAnchor_ = target;
        selectionLevel_ = int(GetNodeLevel(target));
    }
    if (rangeSelecting && old)
        ToggleSelection(old, target);
    else if ((moved || cleared) && !target->Has(nsSelected))
        AddToSelection(target);
    ScrollIntoView(target, TreeOptions().SelectionOptions().Contains(toCenterScrollIntoView),
                   !TreeOptions().AutoOptions().Contains(toDisableAutoscrollOnFocus));
    if (rangeSelecting || SelectionCount() > 1) Invalidate();
}

void TBaseVirtualTree::MoveFocusColumn(bool forward) {
    const TVirtualTreeColumns& columns = header_.Columns();
    TColumnIndex column = focusedColumn_;
    PVirtualNode node = focusedNode_;
    for (;;) {
        column = column <= NoColumn
                     ? (forward ? columns.GetFirstVisibleColumn() : columns.GetLastVisibleColumn())
                 : forward ? columns.GetNextVisibleColumn(column)
                           : columns.GetPreviousVisibleColumn(column);
        if (column <= NoColumn) {
            // Past the last (first) column: on to the next (previous) visible node.
            PVirtualNode next =
                node ? (forward ? GetNextVisible(node) : GetPreviousVisible(node)) : nullptr;
            if (!next) return;
            node = next;
            continue;
        }
        if (DoFocusChanging(focusedNode_, node, focusedColumn_, column)) break;
        if (node == focusedNode_ && column == focusedColumn_) return;
    }
    if (node != focusedNode_) {
        DoFocusNode(node, false);
        if (node != focusedNode_) return;
        if (!TreeOptions().SelectionOptions().Contains(toMultiSelect) || SelectionCount() <= 1) {
            ClearSelection();
            AddToSelection(node);
        }
    }
    focusedColumn_ = column;
    if (focusedNode_) {
        ScrollIntoView(focusedNode_, false, true);
        InvalidateNode(focusedNode_);
    }
    DoFocusChange(focusedNode_, focusedColumn_);
}

void TBaseVirtualTree::PressCheckByKey() {
    PVirtualNode node = focusedNode_;
    if (node->Has(nsDisabled) || states_.ContainsAny({tsKeyCheckPending, tsMouseCheckPending}))
        return;
    TCheckState next = DetermineNextCheckState(node->CheckType, node->CheckState);
    if (!DoChecking(node, next)) return;
    DoStateChange({tsKeyCheckPending});
    pendingCheckNode_ = node;
    pendingCheckState_ = next;
    node->CheckState = PressedCheckState(node->CheckState);
    RepaintNode(node);
}

void TBaseVirtualTree::AbandonKeyCheck() {
    DoStateChange({}, {tsKeyCheckPending});
    if (PVirtualNode node = pendingCheckNode_) {
        node->CheckState = NormalCheckState(node->CheckState);
        RepaintNode(node);
    }
    pendingCheckNode_ = nullptr;
}

void TBaseVirtualTree::HandleKeyUp(TMessage& message) {
    if (int(message.WParam) != VK_SPACE || !states_.Contains(tsKeyCheckPending)) return;
    DoStateChange({}, {tsKeyCheckPending});
    PVirtualNode node = pendingCheckNode_;
    pendingCheckNode_ = nullptr;
    if (!node) return;
    node->CheckState = NormalCheckState(node->CheckState);
    if (node == focusedNode_) DoCheckClick(node, pendingCheckState_);
    RepaintNode(node);
}

void TBaseVirtualTree::HandleChar(TMessage& message) {
    if (!states_.Contains(tsIncrementalSearchPending)) return;
    DoStateChange({}, {tsIncrementalSearchPending});
    DoIncrementalSearchKey(char32_t(message.WParam));
}

void TBaseVirtualTree::OpenPopupByKey() {
    if (!focusedNode_) return;
    TRect r = GetDisplayRect(focusedNode_, focusedColumn_, true);
    int limit = ClientWidth();
    if (header_.Columns().IsValidColumn(focusedColumn_)) {
        int left, right;
        header_.Columns().GetColumnBounds(focusedColumn_, left, right);
        limit = right + offsetX_;
    }
    r.Right = std::min(r.Right, limit);
    DoPopupMenu(focusedNode_, focusedColumn_, {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
}

void TBaseVirtualTree::ShowHelpForFocus() {
    int context = 0;
    for (PVirtualNode n = focusedNode_; n && n != root_ && context == 0; n = n->Parent)
        context = DoGetHelpContext(n, focusedColumn_);
    for (const TControl* c = this; c && context == 0; c = c->Parent()) context = c->HelpContext;
    if (context != 0) ShowHelp(context);
}

void TBaseVirtualTree::ShowHelp(int context) {
    if (Application) Application->HelpContext(context);
}

}  // namespace rv
