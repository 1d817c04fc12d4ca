// In-place editing as the tree runs it: whether a node may be edited, opening the editor through
// an edit link, placing it over the node's text, and ending or cancelling the edit.

#include "tree/base_tree.h"

namespace rv {

bool TBaseVirtualTree::CanEdit(PVirtualNode node, TColumnIndex column) {
    const TVTMiscOptions misc = TreeOptions().MiscOptions();
    return misc.Contains(toEditable) && Enabled() && !misc.Contains(toReadOnly) &&
           DoCanEdit(node, column);
}

bool TBaseVirtualTree::EditNode(PVirtualNode node, TColumnIndex column) {
    TreeAssert(node != nullptr, "Node must not be nil.");
    TreeAssert(column >= NoColumn && column < header_.Columns().Count(),
               "Column must be a valid column index (-1 if no header is shown).");
    if (states_.Contains(tsEditing)) return true;
    if (TreeOptions().MiscOptions().Contains(toReadOnly)) return false;
    SetFocusedNode(node);
    if (focusedNode_ == node && CanEdit(node, column)) {
        focusedColumn_ = column;
        InitIfNeeded(node);
        DoEdit();
    }
    return states_.Contains(tsEditing);
}

bool TBaseVirtualTree::EndEditNode() {
    if (!states_.ContainsAny({tsEditing, tsEditPending})) return true;
    StopTimer(kEditTimer);
    DoStateChange({}, {tsEditPending});
    return !states_.Contains(tsEditing) || DoEndEdit();
}

void TBaseVirtualTree::CancelEditNode() {
    DoCancelEdit();
}

std::shared_ptr<IVTEditLink> TBaseVirtualTree::DoCreateEditor(PVirtualNode node,
                                                              TColumnIndex column) {
    std::shared_ptr<IVTEditLink> link;
    if (OnCreateEditor) {
        OnCreateEditor(this, node, column, link);
        if (!link) RaiseVirtualTreeError(hcTFEditLinkIsNil);
    }
    return link;
}

void TBaseVirtualTree::GetTextInfo(PVirtualNode, TColumnIndex, TFont& font, TRect& r,
                                   std::string& text) {
    font = Font();
    r = {};
    text.clear();
}

void TBaseVirtualTree::DoEdit() {
    CancelHint();
    StopTimer(kScrollTimer);
    StopTimer(kEditTimer);
    DoStateChange({}, {tsEditPending});
    PVirtualNode node = focusedNode_;
    if (!node || node->Has(nsDisabled) || TreeOptions().MiscOptions().Contains(toReadOnly) ||
        editLink_)
        return;
    std::shared_ptr<IVTEditLink> link = DoCreateEditor(node, focusedColumn_);
    if (!link) return;
    editLink_ = link;
    editNode_ = node;
    DoStateChange({tsEditing});
    const bool center = TreeOptions().SelectionOptions().Contains(toCenterScrollIntoView);
    ScrollIntoView(node, center, center);
    if (link->PrepareEdit(this, node, focusedColumn_)) {
        UpdateEditBounds();
        InvalidateNode(node);
        if (!link->BeginEdit()) DoStateChange({}, {tsEditing});
    } else {
        DoStateChange({}, {tsEditing});
    }
    if (!states_.Contains(tsEditing) && editLink_ == link) {
        editLink_.reset();
        editNode_ = nullptr;
    }
}

// Over the node's text (its whole cell for a multi-line node), unclipped; with grid extensions
// over the whole cell on the side the text is aligned to; clear of a horizontal grid line.
void TBaseVirtualTree::UpdateEditBounds() {
    if (!states_.Contains(tsEditing) || !editLink_ || !editNode_) return;
    const bool multiline = editNode_->Has(nsMultiline);
    TRect r = GetDisplayRect(editNode_, focusedColumn_, !multiline, true);
    if (TreeOptions().MiscOptions().Contains(toGridExtensions)) {
        const TRect cell = GetDisplayRect(editNode_, focusedColumn_, false);
        TAlignment alignment = alignment_;
        if (header_.Columns().IsValidColumn(focusedColumn_))
            alignment = header_.Columns()[focusedColumn_].Alignment();
        if (alignment != taRightJustify) r.Right = cell.Right;
        if (alignment != taLeftJustify) r.Left = cell.Left;
    }
    if (TreeOptions().PaintOptions().Contains(toShowHorzGridLines)) --r.Bottom;
    editLink_->SetBounds(r);
}

bool TBaseVirtualTree::DoEndEdit() {
    StopTimer(kEditTimer);
    DoStateChange({}, {tsEditPending});
    if (!states_.Contains(tsEditing) || !editLink_) return true;
    // Held here: ending may drop the tree's own reference.
    std::shared_ptr<IVTEditLink> link = editLink_;
    if (!link->EndEdit()) return false;
    if (!states_.Contains(tsEditing)) return true;
    DoStateChange({}, {tsEditing});
    const bool nodeLeft = editNode_ != nullptr;
    editNode_ = nullptr;
    if (editLink_ == link) editLink_.reset();
    if (nodeLeft && OnEdited) OnEdited(this, focusedNode_, focusedColumn_);
    return true;
}

void TBaseVirtualTree::DoCancelEdit() {
    StopTimer(kEditTimer);
    DoStateChange({}, {tsEditPending});
    if (!states_.Contains(tsEditing)) return;
    std::shared_ptr<IVTEditLink> link = editLink_;
    // A link may tell the tree to cancel from inside its own CancelEdit; the inner call finds
    // the edit stopped and finishes it.
    if (link && !link->CancelEdit()) return;
    if (!states_.Contains(tsEditing)) return;
    DoStateChange({}, {tsEditing});
    editNode_ = nullptr;
    if (OnEditCancelled) OnEditCancelled(this, focusedColumn_);
    // While the tree goes, the link stays until its members go.
    if (!Destroying() && editLink_ == link) editLink_.reset();
}

}  // namespace rv
