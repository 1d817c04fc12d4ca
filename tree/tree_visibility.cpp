// Initialisation on first touch, visibility along the parent chain, hiding and showing, and
// expanding and collapsing with the subtree heights and the visible count kept right.

#include "tree/base_tree.h"

namespace rv {

void TBaseVirtualTree::InitNode(PVirtualNode node) {
    node->Include(nsInitialized);
    TVirtualNodeInitStates flags = 0;
    DoInitNode(node->Parent == root_ ? nullptr : node->Parent, node, flags);
    if (flags & ivsDisabled) node->Include(nsDisabled);
    if (flags & ivsHasChildren) node->Include(nsHasChildren);
    if (flags & ivsSelected) InternalAddToSelection(node);
    if (flags & ivsMultiline) node->Include(nsMultiline);
    const bool wanted = (flags & ivsExpanded) != 0;
    if (wanted != node->Has(nsExpanded)) {
        if (wanted)
            ToggleNode(node);
        else if (node->Has(nsHasChildren))
            InitChildren(node);  // left expanded: its children are needed now
    }
}

void TBaseVirtualTree::InitChildren(PVirtualNode node) {
    if (node == root_ || !node->Has(nsHasChildren)) return;
    std::uint32_t count = node->ChildCount;
    DoInitChildren(node, count);
    if (count == 0) {
        DeleteChildren(node, false);
        node->Exclude(nsHasChildren);
    } else {
        SetChildCount(node, count);
    }
}

void TBaseVirtualTree::InitIfNeeded(PVirtualNode node) {
    if (node && node != root_ && !node->Has(nsInitialized)) InitNode(node);
}

void TBaseVirtualTree::MakeChildrenIfNeeded(PVirtualNode node) {
    if (node != root_ && node->Has(nsHasChildren) && node->ChildCount == 0) InitChildren(node);
}

bool TBaseVirtualTree::FullyVisible(PVirtualNode node) const {
    TreeAssert(node != nullptr, "Invalid parameter.");
    if (!node->Has(nsVisible)) return false;
    return node == root_ || AncestorsFullyVisible(node);
}

bool TBaseVirtualTree::AncestorsFullyVisible(PVirtualNode node) const {
    TreeAssert(node && node != root_, "Invalid parameters.");
    for (PVirtualNode p = node->Parent; p != root_; p = p->Parent)
        if (!p->Has(nsExpanded) || !p->Has(nsVisible)) return false;
    return true;
}

bool TBaseVirtualTree::HasVisibleNextSibling(PVirtualNode node) const {
    for (PVirtualNode s = node->NextSibling; s; s = s->NextSibling)
        if (s->Has(nsVisible)) return true;
    return false;
}

bool TBaseVirtualTree::IsFirstVisibleChild(PVirtualNode parent, PVirtualNode node) const {
    PVirtualNode c = parent->FirstChild;
    while (c && !c->Has(nsVisible)) c = c->NextSibling;
    return c == node;
}

bool TBaseVirtualTree::IsLastVisibleChild(PVirtualNode parent, PVirtualNode node) const {
    PVirtualNode c = parent->LastChild;
    while (c && !c->Has(nsVisible)) c = c->PrevSibling;
    return c == node;
}

PVirtualNode TBaseVirtualTree::UpdateAllChildrenHidden(PVirtualNode node) {
    PVirtualNode c = node->FirstChild;
    while (c && !c->Has(nsVisible)) c = c->NextSibling;
    if (!c && node->FirstChild)
        node->Include(nsAllChildrenHidden);
    else
        node->Exclude(nsAllChildrenHidden);
    return c;
}

void TBaseVirtualTree::RecomputeAllChildrenHidden() {
    UpdateAllChildrenHidden(root_);
    for (PVirtualNode n = root_->FirstChild; n; n = GetNextNoInit(n)) UpdateAllChildrenHidden(n);
}

bool TBaseVirtualTree::IsVisible(PVirtualNode node) {
    if (!node) node = root_;
    InitIfNeeded(node);
    return node->Has(nsVisible);
}

void TBaseVirtualTree::SetIsVisible(PVirtualNode node, bool value) {
    if (!node || node == root_ || node->Has(nsVisible) == value) return;
    InterruptValidation(node);
    PVirtualNode parent = node->Parent;
    const bool parentOpen = parent->Has(nsExpanded) || parent == root_;
    if (value) {
        node->Include(nsVisible);
        if (parentOpen) AdjustTotalHeight(parent, node->TotalHeight, true);
        if (FullyVisible(node)) ChangeVisibleCount(1 + CountVisibleDescendants(node));
        parent->Exclude(nsAllChildrenHidden);
    } else {
        if (FullyVisible(node))
            ChangeVisibleCount(-std::int64_t(1 + CountVisibleDescendants(node)));
        node->Exclude(nsVisible);
        if (parentOpen) AdjustTotalHeight(parent, -std::int64_t(node->TotalHeight), true);
        // Inside an update bracket the parents' flags are settled once, at its end.
        if (updateCount_ > 0)
            DoStateChange({tsAllChildrenHiddenRefresh});
        else
            UpdateAllChildrenHidden(parent);
    }
    InvalidateCache(node);
    if (updateCount_ == 0) {
        StartValidation();
        UpdateScrollBars(true);
        Invalidate();
    }
}

bool TBaseVirtualTree::IsDisabled(PVirtualNode node) const {
    return node && node->Has(nsDisabled);
}

void TBaseVirtualTree::SetIsDisabled(PVirtualNode node, bool value) {
    if (!node || node == root_ || node->Has(nsDisabled) == value) return;
    if (value)
        node->Include(nsDisabled);
    else
        node->Exclude(nsDisabled);
    InvalidateNode(node);
}

bool TBaseVirtualTree::HasChildren(PVirtualNode node) const {
    return (node ? node : root_)->Has(nsHasChildren);
}

bool TBaseVirtualTree::Expanded(PVirtualNode node) const {
    return (node ? node : root_)->Has(nsExpanded);
}

void TBaseVirtualTree::SetExpanded(PVirtualNode node, bool value) {
    if (node && node != root_ && node->Has(nsExpanded) != value) ToggleNode(node);
}

bool TBaseVirtualTree::VisiblePath(PVirtualNode node) const {
    if (!node || node == root_) return true;
    for (PVirtualNode p = node->Parent; p != root_; p = p->Parent)
        if (!p->Has(nsExpanded)) return false;
    return true;
}

void TBaseVirtualTree::SetVisiblePath(PVirtualNode node, bool value) {
    if (!value || !node || node == root_) return;
    for (PVirtualNode p = node->Parent; p != root_; p = p->Parent)
        if (!p->Has(nsExpanded)) ToggleNode(p);
}

void TBaseVirtualTree::ToggleNode(PVirtualNode node) {
    TreeAssert(node != nullptr, "Node must not be nil.");
    expandedLeavesOnly_ = false;
    if (node == root_ || node->Has(nsDeleting)) return;
    const int oldOffsetY = offsetY_;
    if (node->Has(nsExpanded)) {
        if (!DoCollapsing(node)) return;
        if (updateCount_ == 0)
            AnimateToggle(node, false, std::int64_t(node->TotalHeight) - node->NodeHeight);
        InterruptValidation(node);
        // A full collapse counts the shown rows once, at its end.
        const std::uint32_t hidden =
            visibleCountDeferrals_ == 0 && FullyVisible(node) ? CountVisibleDescendants(node) : 0;
        node->Exclude(nsExpanded);
        AdjustTotalHeight(node, node->NodeHeight, false);
        ChangeVisibleCount(-std::int64_t(hidden));
        DoCollapsed(node);
        if (TreeOptions().AutoOptions().Contains(toAutoFreeOnCollapse) && node->ChildCount > 0) {
            DeleteChildren(node, false);
            node->Include(nsHasChildren);
        }
    } else {
        if (!DoExpanding(node)) return;
        InitIfNeeded(node);
        // Its initialisation may have expanded it already.
        if (node->Has(nsExpanded)) return;
        MakeChildrenIfNeeded(node);
        // One pass over the children: their heights, the rows they bring into view, and whether
        // they are all initialised leaves.
        std::int64_t childrenHeight = 0;
        std::uint32_t shown = 0;
        bool leaves = true;
        for (PVirtualNode c = node->FirstChild; c; c = c->NextSibling) {
            const std::uint16_t states = c->LoadStates();
            leaves = leaves && !c->FirstChild &&
                     (states & (nsInitialized | nsHasChildren)) == nsInitialized;
            if (states & nsVisible) {
                childrenHeight += c->TotalHeight;
                ++shown;
                if (c->FirstChild && (states & nsExpanded)) shown += CountVisibleDescendants(c);
            }
        }
        if (updateCount_ == 0 && node->FirstChild) AnimateToggle(node, true, childrenHeight);
        InterruptValidation(node);
        node->Include(nsExpanded);
        MarkExpandedAbove(node);
        AdjustTotalHeight(node, childrenHeight, true);
        if (FullyVisible(node)) ChangeVisibleCount(shown);
        const std::uint32_t count = node->TotalCount;
        DoExpanded(node);
        // Only while OnExpanded changed nothing below the node (its count tells).
        expandedLeavesOnly_ = leaves && node->TotalCount == count;
    }
    InvalidateCache(node);
    if (updateCount_ == 0) {
        StartValidation();
        changingUnderSlide_ = true;
        try {
            ShowToggledNode(node, oldOffsetY);
        } catch (...) {
            changingUnderSlide_ = false;
            throw;
        }
        changingUnderSlide_ = false;
    }
}

}  // namespace rv
