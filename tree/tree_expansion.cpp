// Expanding and collapsing whole subtrees, what the window shows after a toggle, and making
// nodes anew: re-initialising, resetting, initialising a subtree.

#include <cstdint>

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

// Sibling chains of a sorted tree run through memory in no order, so a walk along them waits
// for every node in turn. Walking the subtrees of several siblings at once, one step each in
// turn, keeps that many reads under way together; the walks of FullExpand and FullCollapse that
// follow then find the nodes in the cache. Only reads happen here, and no pointer outlives it.
void TBaseVirtualTree::PrefetchSubtrees(PVirtualNode first, bool forward) const {
    PVirtualNode top[kPrefetchWalkers], at[kPrefetchWalkers];
    int walkers = 0;
    for (PVirtualNode u = first; u && walkers < kPrefetchWalkers;
         u = forward ? u->NextSibling : u->PrevSibling, ++walkers)
        top[walkers] = at[walkers] = u;
    std::uintptr_t seen = 0;
    for (int step = 0; step < kPrefetchSteps; ++step) {
        bool any = false;
        for (int w = 0; w < walkers; ++w) {
            PVirtualNode n = at[w];
            if (!n) continue;
            any = true;
            PVirtualNode next = n->FirstChild;
            if (!next) {
                while (n != top[w] && !n->NextSibling) n = n->Parent;
                next = n == top[w] ? nullptr : n->NextSibling;
            }
            at[w] = next;
            seen ^= reinterpret_cast<std::uintptr_t>(next);
        }
        if (!any) break;
    }
    // The reads are the point: a volatile store of what they found keeps them.
    volatile std::uintptr_t sink = seen;
    (void)sink;
}

void TBaseVirtualTree::FullExpand(PVirtualNode node) {
    if (root_->TotalCount < 2) return;
    if (node == root_) node = nullptr;
    // The walk ends at the first node after the subtree (nil: at the end of the tree).
    PVirtualNode stop = nullptr;
    if (node) {
        for (PVirtualNode n = node; n != root_ && !stop; n = n->Parent) stop = n->NextSibling;
    }
    // The subtrees below `node` (the top-level nodes for nil) are read ahead in groups.
    const PVirtualNode groupParent = node ? node : root_;
    unsigned subtrees = 0;
    DoStateChange({tsExpanding});
    BeginUpdate();
    try {
        // GetNext written out: a million leaves cost a few tests each.
        PVirtualNode n = node ? node : GetFirst();
        while (n && n != stop) {
            if (n->Parent == groupParent && subtrees++ % kPrefetchWalkers == 0)
                PrefetchSubtrees(n, true);
            if (!n->Has(nsInitialized)) InitNode(n);
            // Children that were initialised leaves when their parent opened need nothing: the
            // walk passes them by.
            bool leaves = false;
            if (!n->Has(nsExpanded) && n->Has(nsHasChildren)) {
                ToggleNode(n);
                leaves = expandedLeavesOnly_;
            }
            MakeChildrenIfNeeded(n);
            PVirtualNode next = leaves ? nullptr : n->FirstChild;
            if (!next) {
                while (n != root_ && !n->NextSibling) n = n->Parent;
                next = n == root_ ? nullptr : n->NextSibling;
            }
            if (next && !next->Has(nsInitialized)) InitNode(next);
            n = next;
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
    // The subtrees below `node` are read ahead in groups, from the last one backwards.
    const PVirtualNode groupParent = node ? node : root_;
    unsigned subtrees = 0;
    PrefetchSubtrees(groupParent->LastChild, false);
    DoStateChange({tsCollapsing});
    BeginUpdate();
    try {
        for (; n && n != stop; n = GetPreviousNoInit(n)) {
            if (n->Has(nsExpanded) && n->Has(nsHasChildren)) ToggleNode(n);
            if (n->Parent == groupParent && ++subtrees % kPrefetchWalkers == 0)
                PrefetchSubtrees(n->PrevSibling, false);
        }
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
