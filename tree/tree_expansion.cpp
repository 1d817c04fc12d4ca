// Expanding and collapsing whole subtrees, what the window shows after a toggle, and making
// nodes anew: re-initialising, resetting, initialising a subtree.

#include "tree/base_tree.h"

namespace rv {

void TBaseVirtualTree::ShowToggledNode(PVirtualNode node, int oldOffsetY) {
    if (node->ChildCount == 0) {
        InvalidateNode(node);
        return;
    }
    UpdateScrollBars(true);
    // Only a node on screen brings its children into view: scrolling to a hidden one would
    // expand its collapsed ancestors.
    if (node->Has(nsExpanded) && TreeOptions().AutoOptions().Contains(toAutoScrollOnExpand) &&
        FullyVisible(node)) {
        if (std::int64_t(node->TotalHeight) <= ClientHeight())
            ScrollIntoView(node->LastChild,
                           TreeOptions().SelectionOptions().Contains(toCenterScrollIntoView));
        else
            SetTopNode(node);
    }
    if (offsetY_ == oldOffsetY)
        InvalidateToBottom(node);
    else
        Invalidate();
}

void TBaseVirtualTree::FullExpand(PVirtualNode node) {
    if (root_->TotalCount < 2) return;
    if (node == root_) node = nullptr;
    // The walk ends at the first node after the subtree (nil: at the end of the tree).
    PVirtualNode stop = nullptr;
    if (node) {
        for (PVirtualNode n = node; n != root_ && !stop; n = n->Parent) stop = n->NextSibling;
    }
    DoStateChange({tsExpanding});
    BeginUpdate();
    try {
        for (PVirtualNode n = node ? node : GetFirst(); n && n != stop; n = GetNext(n)) {
            InitIfNeeded(n);
            if (!n->Has(nsExpanded) && n->Has(nsHasChildren)) ToggleNode(n);
        }
    } catch (...) {
        EndUpdate();
        DoStateChange({}, {tsExpanding});
        throw;
    }
    EndUpdate();
    DoStateChange({}, {tsExpanding});
}

void TBaseVirtualTree::FullCollapse(PVirtualNode node) {
    if (root_->TotalCount < 2) return;
    if (node == root_) node = nullptr;
    // Backwards from the subtree's last node, so that each node is collapsed after everything
    // below it, hidden parts included: nothing in the subtree stays expanded.
    PVirtualNode stop = node ? GetPreviousNoInit(node) : nullptr;
    PVirtualNode n = GetLastNoInit(node);
    if (!n) n = node;
    DoStateChange({tsCollapsing});
    BeginUpdate();
    try {
        for (; n && n != stop; n = GetPreviousNoInit(n))
            if (n->Has(nsExpanded) && n->Has(nsHasChildren)) ToggleNode(n);
    } catch (...) {
        EndUpdate();
        DoStateChange({}, {tsCollapsing});
        throw;
    }
    EndUpdate();
    DoStateChange({}, {tsCollapsing});
}

void TBaseVirtualTree::ReinitNode(PVirtualNode node, bool recursive) {
    if (node && node != root_) {
        node->Exclude(nsChecking | nsCutOrCopy | nsDeleting | nsHeightMeasured);
        InitNode(node);
    }
    if (recursive) ReinitChildren(node, true);
}

void TBaseVirtualTree::ReinitChildren(PVirtualNode node, bool recursive) {
    if (!node) node = root_;
    InitChildren(node);
    for (PVirtualNode c = node->FirstChild; c; c = c->NextSibling) ReinitNode(c, recursive);
}

void TBaseVirtualTree::ResetNode(PVirtualNode node) {
    if (states_.ContainsAny({tsEditing, tsEditPending})) DoCancelEdit();
    if (!node || node == root_) {
        Clear();
        return;
    }
    DoReset(node);
    DeleteChildren(node, false);
    node->Exclude(nsInitialized | nsChecking | nsCutOrCopy | nsDeleting | nsExpanded |
                  nsHasChildren | nsHeightMeasured);
    InvalidateNode(node);
}

void TBaseVirtualTree::InitRecursive(PVirtualNode node, bool recursive) {
    if (!node) node = root_;
    // The walking functions initialise every node they reach and make its children.
    if (!recursive) {
        for (PVirtualNode c = GetFirstChild(node); c;) c = GetNextSibling(c);
        return;
    }
    for (PVirtualNode n = GetFirstChild(node); n && InSubtree(n, node, false);) n = GetNext(n);
}

void TBaseVirtualTree::DoReset(PVirtualNode node) {
    if (OnResetNode) OnResetNode(this, node);
}

}  // namespace rv
