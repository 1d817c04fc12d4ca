// Focus and the selection array: node pointers in ascending address order, so that membership
// is a binary search; inside an update bracket a removed entry is only marked (bit 0 set) and the
// outermost EndUpdate squeezes the marked entries out in one pass.

#include <algorithm>
#include <cstdint>

#include "tree/base_tree.h"

namespace rv {

namespace {

std::uintptr_t Address(PVirtualNode n) {
    return reinterpret_cast<std::uintptr_t>(n);
}

bool Marked(PVirtualNode n) {
    return (Address(n) & 1) != 0;
}

// The first entry at or above `node` (a marked entry of the same node sorts right after it).
std::vector<PVirtualNode>::iterator Find(std::vector<PVirtualNode>& selection, PVirtualNode node) {
    return std::lower_bound(selection.begin(), selection.end(), node,
                            [](PVirtualNode a, PVirtualNode b) { return Address(a) < Address(b); });
}

}  // namespace

bool TBaseVirtualTree::InternalAddToSelection(PVirtualNode node) {
    if (node->Has(nsSelected)) return false;
    if (!TreeOptions().SelectionOptions().Contains(toMultiSelect)) InternalClearSelection();
    const bool levelRule = TreeOptions().SelectionOptions().Contains(toLevelSelectConstraint);
    if (SelectionCount() == 0) {
        selectionLevel_ = int(GetNodeLevel(node));
        rangeAnchor_ = node;
    } else if (!SelectionAllows(node, levelRule ? int(GetNodeLevel(node)) : 0)) {
        return false;
    }
    node->Include(nsSelected);
    selection_.insert(Find(selection_, node), node);
    return true;
}

void TBaseVirtualTree::AddToSelection(PVirtualNode node) {
    if (!InternalAddToSelection(node)) return;
    if (FullyVisible(node)) InvalidateNode(node);
    Change(node);
}

void TBaseVirtualTree::InternalRemoveFromSelection(PVirtualNode node) {
    if (!node->Has(nsSelected)) return;
    node->Exclude(nsSelected);
    const auto it = Find(selection_, node);
    if (it != selection_.end() && *it == node) {
        if (updateCount_ > 0) {
            *it = reinterpret_cast<PVirtualNode>(Address(node) | 1);
            ++markedSelection_;
        } else {
            selection_.erase(it);
        }
    }
    if (SelectionCount() == 0) rangeAnchor_ = focusedNode_;
}

void TBaseVirtualTree::RemoveFromSelection(PVirtualNode node) {
    if (!node->Has(nsSelected)) return;
    InternalRemoveFromSelection(node);
    Change(node);
}

void TBaseVirtualTree::PackSelection() {
    if (markedSelection_ == 0) return;
    std::erase_if(selection_, Marked);
    markedSelection_ = 0;
}

void TBaseVirtualTree::InternalClearSelection() {
    if (updateCount_ > 0) PackSelection();
    for (PVirtualNode n : selection_)
        if (!Marked(n)) n->Exclude(nsSelected);
    selection_.clear();
    markedSelection_ = 0;
    rangeAnchor_ = focusedNode_;
}

void TBaseVirtualTree::ClearSelection() {
    if (SelectionCount() == 0 || Destroying()) return;
    if (updateCount_ == 0 && HandleAllocated() && VisibleCount() > 0) Invalidate();
    InternalClearSelection();
    Change(nullptr);
}

bool TBaseVirtualTree::Selected(PVirtualNode node) const {
    return node && node->Has(nsSelected);
}

void TBaseVirtualTree::SetSelected(PVirtualNode node, bool value) {
    if (!node || node == root_ || node->Has(nsSelected) == value) return;
    if (!value) {
        RemoveFromSelection(node);
        return;
    }
    AddToSelection(node);
    // The focus leaves a column that is not shown for the main column, or for the first column
    // shown when the main column is hidden too.
    const TVirtualTreeColumns& columns = header_.Columns();
    const TColumnIndex main = header_.MainColumn();
    const bool focusShown =
        columns.IsValidColumn(focusedColumn_) && columns[focusedColumn_].Visible();
    if (focusShown || !columns.IsValidColumn(main)) return;
    if (columns[main].Visible())
        SetFocusedColumn(main);
    else if (const TColumnIndex first = columns.GetFirstVisibleColumn(); first > NoColumn)
        SetFocusedColumn(first);
}

void TBaseVirtualTree::SelectAll(bool visibleOnly) {
    if (!TreeOptions().SelectionOptions().Contains(toMultiSelect)) return;
    std::vector<PVirtualNode> nodes;
    nodes.reserve(visibleOnly ? VisibleCount() : TotalCount());
    PVirtualNode n = visibleOnly ? GetFirstVisibleNoInit() : GetFirstNoInit();
    for (; n; n = visibleOnly ? GetNextVisibleNoInit(n) : GetNextNoInit(n))
        if (!n->Has(nsSelected | nsDisabled)) nodes.push_back(n);
    if (nodes.empty()) return;
    InternalAddToSelection(std::move(nodes));
    Invalidate();
    Change(nullptr);
}

std::vector<PVirtualNode> TBaseVirtualTree::CollectInTreeOrder(std::uint16_t state,
                                                               bool resolve) const {
    std::vector<PVirtualNode> result;
    PVirtualNode n = GetFirstNoInit();
    while (n) {
        if (n->Has(state)) {
            result.push_back(n);
            if (resolve) {  // past the hit's subtree
                while (n != root_ && !n->NextSibling) n = n->Parent;
                n = n == root_ ? nullptr : n->NextSibling;
                continue;
            }
        }
        n = GetNextNoInit(n);
    }
    return result;
}

std::vector<PVirtualNode> TBaseVirtualTree::GetSortedSelection(bool resolve) const {
    return CollectInTreeOrder(nsSelected, resolve);
}

std::vector<PVirtualNode> TBaseVirtualTree::GetSortedCutCopySet(bool resolve) const {
    return CollectInTreeOrder(nsCutOrCopy, resolve);
}

void TBaseVirtualTree::SetFocusedNode(PVirtualNode value) {
    if (value == root_) value = nullptr;
    const bool different = value != focusedNode_;
    DoFocusNode(value, true);
    if (different && focusedNode_ == value) DoFocusChange(focusedNode_, focusedColumn_);
}

void TBaseVirtualTree::DoFocusNode(PVirtualNode node, bool ask) {
    if (node == root_) node = nullptr;
    if (node == focusedNode_) return;
    if (states_.Contains(tsEditing) && !DoEndEdit()) return;
    if (ask && !DoFocusChanging(focusedNode_, node, focusedColumn_, focusedColumn_)) return;
    PVirtualNode old = focusedNode_;
    if (old && node && old->Parent == node->Parent && old->Has(nsExpanded) &&
        TreeOptions().AutoOptions().Contains(toAutoExpand))
        ToggleNode(old);
    focusedNode_ = node;
    if (old) InvalidateNode(old);
    if (node) InvalidateNode(node);
}

void TBaseVirtualTree::SetFocusedColumn(TColumnIndex value) {
    if (value == focusedColumn_) return;
    if (!DoFocusChanging(focusedNode_, focusedNode_, focusedColumn_, value)) return;
    if (states_.Contains(tsEditing) && !DoEndEdit()) return;
    focusedColumn_ = value;
    if (focusedNode_) {
        const TVTAutoOptions autoOptions = TreeOptions().AutoOptions();
        ScrollIntoView(focusedNode_,
                       TreeOptions().SelectionOptions().Contains(toCenterScrollIntoView),
                       !autoOptions.Contains(toDisableAutoscrollOnFocus));
        InvalidateNode(focusedNode_);
    }
    DoFocusChange(focusedNode_, focusedColumn_);
}

}  // namespace rv
