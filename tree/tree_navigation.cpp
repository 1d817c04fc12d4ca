// Walking the tree: pre-order, visible nodes, siblings, selected, checked and cut nodes, and the
// node at a vertical position. The plain functions initialise what they return and make the
// children of a node they descend into; the NoInit twins only read.

#include <algorithm>
#include <cstdint>

#include "tree/base_tree.h"

namespace rv {

// ---- Pre-order -------------------------------------------------------------------------------

PVirtualNode TBaseVirtualTree::GetFirst() {
    PVirtualNode result = root_->FirstChild;
    InitIfNeeded(result);
    return result;
}

PVirtualNode TBaseVirtualTree::GetFirstNoInit() const {
    return root_->FirstChild;
}

PVirtualNode TBaseVirtualTree::GetFirstInitialized() const {
    PVirtualNode n = GetFirstNoInit();
    while (n && !n->Has(nsInitialized)) n = GetNextNoInit(n);
    return n;
}

PVirtualNode TBaseVirtualTree::GetNextInitialized(PVirtualNode node) const {
    PVirtualNode n = GetNextNoInit(node);
    while (n && !n->Has(nsInitialized)) n = GetNextNoInit(n);
    return n;
}

PVirtualNode TBaseVirtualTree::GetNextNoInit(PVirtualNode node) const {
    if (!node || node == root_) return nullptr;
    if (node->FirstChild) return node->FirstChild;
    while (node != root_ && !node->NextSibling) node = node->Parent;
    return node == root_ ? nullptr : node->NextSibling;
}

PVirtualNode TBaseVirtualTree::GetNext(PVirtualNode node) {
    if (!node || node == root_) return nullptr;
    MakeChildrenIfNeeded(node);
    PVirtualNode result = GetNextNoInit(node);
    InitIfNeeded(result);
    return result;
}

PVirtualNode TBaseVirtualTree::GetPreviousNoInit(PVirtualNode node) const {
    if (!node || node == root_) return nullptr;
    if (PVirtualNode p = node->PrevSibling) {
        while (p->LastChild) p = p->LastChild;
        return p;
    }
    return node->Parent == root_ ? nullptr : node->Parent;
}

PVirtualNode TBaseVirtualTree::GetPrevious(PVirtualNode node) {
    if (!node || node == root_) return nullptr;
    TreeAssert(node->Has(nsInitialized), "Node must already be initialized.");
    PVirtualNode result = node->PrevSibling;
    if (!result) return node->Parent == root_ ? nullptr : node->Parent;
    InitIfNeeded(result);
    for (;;) {
        MakeChildrenIfNeeded(result);
        if (!result->LastChild) return result;
        result = result->LastChild;
        InitIfNeeded(result);
    }
}

PVirtualNode TBaseVirtualTree::GetFirstChild(PVirtualNode node) {
    if (!node) node = root_;
    MakeChildrenIfNeeded(node);
    PVirtualNode result = node->FirstChild;
    InitIfNeeded(result);
    return result;
}

PVirtualNode TBaseVirtualTree::GetLastChild(PVirtualNode node) {
    if (!node) node = root_;
    MakeChildrenIfNeeded(node);
    PVirtualNode result = node->LastChild;
    InitIfNeeded(result);
    return result;
}

PVirtualNode TBaseVirtualTree::GetLastChildNoInit(PVirtualNode node) const {
    if (!node) node = root_;
    return node->Has(nsHasChildren) ? node->LastChild : nullptr;
}

PVirtualNode TBaseVirtualTree::GetLast(PVirtualNode node) {
    PVirtualNode result = GetLastChild(node);
    while (result)
        if (PVirtualNode next = GetLastChild(result))
            result = next;
        else
            break;
    return result;
}

PVirtualNode TBaseVirtualTree::GetLastNoInit(PVirtualNode node) const {
    PVirtualNode result = (node ? node : root_)->LastChild;
    while (result && result->LastChild) result = result->LastChild;
    return result;
}

PVirtualNode TBaseVirtualTree::GetNextSibling(PVirtualNode node) {
    if (!node || node == root_) return nullptr;
    PVirtualNode result = node->NextSibling;
    InitIfNeeded(result);
    return result;
}

PVirtualNode TBaseVirtualTree::GetPreviousSibling(PVirtualNode node) {
    if (!node || node == root_) return nullptr;
    PVirtualNode result = node->PrevSibling;
    InitIfNeeded(result);
    return result;
}

// ---- Visible nodes ---------------------------------------------------------------------------
// A node is shown when it and every ancestor are visible and the ancestors are expanded. For a
// node that is not, the highest node on its path that hides it (a hidden one, or a collapsed
// ancestor) stands in for it.

PVirtualNode TBaseVirtualTree::HighestVisibilityBlocker(PVirtualNode node) const {
    PVirtualNode blocker = nullptr;
    for (PVirtualNode n = node; n != root_; n = n->Parent)
        if (!n->Has(nsVisible) || (n != node && !n->Has(nsExpanded))) blocker = n;
    return blocker;
}

// The first shown node after the subtree of a node whose ancestors are shown and expanded.
PVirtualNode TBaseVirtualTree::NextVisibleAfterSubtree(PVirtualNode node, bool init) {
    for (PVirtualNode n = node; n != root_; n = n->Parent)
        for (PVirtualNode s = n->NextSibling; s; s = s->NextSibling) {
            if (init) InitIfNeeded(s);
            if (s->Has(nsVisible)) return s;
        }
    return nullptr;
}

// The first shown node after a shown node.
PVirtualNode TBaseVirtualTree::NextVisibleFrom(PVirtualNode node, bool init) {
    if (node->Has(nsExpanded)) {
        if (init) MakeChildrenIfNeeded(node);
        for (PVirtualNode c = node->FirstChild; c; c = c->NextSibling) {
            if (init) InitIfNeeded(c);
            if (c->Has(nsVisible)) return c;
        }
    }
    return NextVisibleAfterSubtree(node, init);
}

// The last shown node of a shown node's subtree.
PVirtualNode TBaseVirtualTree::DeepestLastVisible(PVirtualNode node, bool init) {
    while (node->Has(nsExpanded)) {
        if (init) MakeChildrenIfNeeded(node);
        PVirtualNode c = node->LastChild;
        for (; c; c = c->PrevSibling) {
            if (init) InitIfNeeded(c);
            if (c->Has(nsVisible)) break;
        }
        if (!c) break;
        node = c;
    }
    return node;
}

// The last shown node before a node whose ancestors are shown and expanded.
PVirtualNode TBaseVirtualTree::PreviousVisibleFrom(PVirtualNode node, bool init) {
    for (PVirtualNode s = node->PrevSibling; s; s = s->PrevSibling) {
        if (init) InitIfNeeded(s);
        if (s->Has(nsVisible)) return DeepestLastVisible(s, init);
    }
    return node->Parent == root_ ? nullptr : node->Parent;
}

PVirtualNode TBaseVirtualTree::GetFirstVisibleNoInit() const {
    return Walker()->VisibleFrom(root_->FirstChild, true, false);
}

PVirtualNode TBaseVirtualTree::GetFirstVisible() {
    return VisibleFrom(root_->FirstChild, true, true);
}

PVirtualNode TBaseVirtualTree::GetNextVisibleNoInit(PVirtualNode node) const {
    if (!node || node == root_) return nullptr;
    auto* self = Walker();
    if (PVirtualNode blocker = HighestVisibilityBlocker(node))
        return self->NextVisibleAfterSubtree(blocker, false);
    return self->NextVisibleFrom(node, false);
}

PVirtualNode TBaseVirtualTree::GetNextVisible(PVirtualNode node) {
    if (!node || node == root_) return nullptr;
    if (PVirtualNode blocker = HighestVisibilityBlocker(node))
        return NextVisibleAfterSubtree(blocker, true);
    return NextVisibleFrom(node, true);
}

PVirtualNode TBaseVirtualTree::GetPreviousVisibleNoInit(PVirtualNode node) const {
    if (!node || node == root_) return nullptr;
    auto* self = Walker();
    PVirtualNode blocker = HighestVisibilityBlocker(node);
    if (blocker && blocker->Has(nsVisible)) return blocker;  // the collapsed ancestor's row
    return self->PreviousVisibleFrom(blocker ? blocker : node, false);
}

PVirtualNode TBaseVirtualTree::GetPreviousVisible(PVirtualNode node) {
    if (!node || node == root_) return nullptr;
    TreeAssert(node->Has(nsInitialized), "Node must already be initialized.");
    PVirtualNode blocker = HighestVisibilityBlocker(node);
    if (blocker && blocker->Has(nsVisible)) return blocker;
    return PreviousVisibleFrom(blocker ? blocker : node, true);
}

// The first visible node from `start` on (itself included), forwards or backwards.
PVirtualNode TBaseVirtualTree::VisibleFrom(PVirtualNode start, bool forward, bool init) {
    for (PVirtualNode n = start; n; n = forward ? n->NextSibling : n->PrevSibling) {
        if (init) InitIfNeeded(n);
        if (n->Has(nsVisible)) return n;
    }
    return nullptr;
}

// Children count as shown only below the root or a shown, expanded node.
bool TBaseVirtualTree::ChildrenShown(PVirtualNode node) const {
    return node == root_ || (node->Has(nsExpanded) && FullyVisible(node));
}

PVirtualNode TBaseVirtualTree::GetFirstVisibleChildNoInit(PVirtualNode node) const {
    if (!node) node = root_;
    if (!ChildrenShown(node)) return nullptr;
    return Walker()->VisibleFrom(node->FirstChild, true, false);
}

PVirtualNode TBaseVirtualTree::GetFirstVisibleChild(PVirtualNode node) {
    if (!node) node = root_;
    if (!ChildrenShown(node)) return nullptr;
    MakeChildrenIfNeeded(node);
    return VisibleFrom(node->FirstChild, true, true);
}

PVirtualNode TBaseVirtualTree::GetLastVisibleChildNoInit(PVirtualNode node) const {
    if (!node) node = root_;
    if (!ChildrenShown(node)) return nullptr;
    return Walker()->VisibleFrom(node->LastChild, false, false);
}

PVirtualNode TBaseVirtualTree::GetLastVisibleChild(PVirtualNode node) {
    if (!node) node = root_;
    if (!ChildrenShown(node)) return nullptr;
    MakeChildrenIfNeeded(node);
    return VisibleFrom(node->LastChild, false, true);
}

PVirtualNode TBaseVirtualTree::GetNextVisibleSiblingNoInit(PVirtualNode node) const {
    TreeAssert(node && node != root_, "Invalid parameter.");
    return Walker()->VisibleFrom(node->NextSibling, true, false);
}

PVirtualNode TBaseVirtualTree::GetNextVisibleSibling(PVirtualNode node) {
    TreeAssert(node && node != root_, "Invalid parameter.");
    return VisibleFrom(node->NextSibling, true, true);
}

PVirtualNode TBaseVirtualTree::GetPreviousVisibleSiblingNoInit(PVirtualNode node) const {
    TreeAssert(node && node != root_, "Invalid parameter.");
    return Walker()->VisibleFrom(node->PrevSibling, false, false);
}

PVirtualNode TBaseVirtualTree::GetPreviousVisibleSibling(PVirtualNode node) {
    TreeAssert(node && node != root_, "Invalid parameter.");
    return VisibleFrom(node->PrevSibling, false, true);
}

PVirtualNode TBaseVirtualTree::GetLastVisibleNoInit(PVirtualNode node) const {
    auto* self = Walker();
    if (!node || node == root_) {
        PVirtualNode last = GetLastVisibleChildNoInit(root_);
        return last ? self->DeepestLastVisible(last, false) : nullptr;
    }
    return FullyVisible(node) ? self->DeepestLastVisible(node, false) : nullptr;
}

PVirtualNode TBaseVirtualTree::GetLastVisible(PVirtualNode node) {
    if (!node || node == root_) {
        PVirtualNode last = GetLastVisibleChild(root_);
        return last ? DeepestLastVisible(last, true) : nullptr;
    }
    return FullyVisible(node) ? DeepestLastVisible(node, true) : nullptr;
}

PVirtualNode TBaseVirtualTree::GetVisibleParent(PVirtualNode node) const {
    if (!node || node == root_) return nullptr;
    PVirtualNode p = node->Parent;
    while (p != root_ && !(p->Has(nsExpanded) && VisiblePath(p))) p = p->Parent;
    return p == root_ ? nullptr : p;
}

// ---- Selected, checked and cut nodes ---------------------------------------------------------

PVirtualNode TBaseVirtualTree::GetFirstSelected() {
    if (SelectionCount() < 1) return nullptr;
    PVirtualNode n = GetFirstNoInit();
    if (n && !n->Has(nsSelected)) return GetNextSelected(n);
    InitIfNeeded(n);
    return n;
}

PVirtualNode TBaseVirtualTree::GetNextSelected(PVirtualNode node) {
    if (SelectionCount() < 1) return nullptr;
    PVirtualNode n = GetNextNoInit(node);
    while (n && !n->Has(nsSelected)) n = GetNextNoInit(n);
    InitIfNeeded(n);
    return n;
}

PVirtualNode TBaseVirtualTree::GetFirstChecked(TCheckState state) {
    PVirtualNode n = GetFirst();
    if (n && n->CheckState != state) return GetNextChecked(n, state);
    return n;
}

PVirtualNode TBaseVirtualTree::GetNextChecked(PVirtualNode node, TCheckState state) {
    PVirtualNode n = GetNext(node);
    while (n && n->CheckState != state) n = GetNext(n);
    return n;
}

PVirtualNode TBaseVirtualTree::GetFirstCutCopy() {
    if (!states_.ContainsAny({tsCutPending, tsCopyPending})) return nullptr;
    PVirtualNode n = GetFirstNoInit();
    if (n && !n->Has(nsCutOrCopy)) return GetNextCutCopy(n);
    InitIfNeeded(n);
    return n;
}

PVirtualNode TBaseVirtualTree::GetNextCutCopy(PVirtualNode node) {
    if (!states_.ContainsAny({tsCutPending, tsCopyPending})) return nullptr;
    PVirtualNode n = GetNextNoInit(node);
    while (n && !n->Has(nsCutOrCopy)) n = GetNextNoInit(n);
    InitIfNeeded(n);
    return n;
}

// ---- Positions -------------------------------------------------------------------------------

PVirtualNode TBaseVirtualTree::GetNodeAt(int x, int y) {
    int top;
    return GetNodeAt(x, y, true, top);
}

PVirtualNode TBaseVirtualTree::GetNodeAt(int, int y, bool relative, int& nodeTop) {
    std::int64_t position = std::max(y, 0);
    if (relative) position -= offsetY_;
    std::int64_t top = 0;
    PVirtualNode node = states_.Contains(tsUseCache)
                            ? RowFromPositionCache(position, top)
                            : RowFrom(GetFirstVisibleNoInit(), top, position);
    if (relative) top += offsetY_;
    nodeTop = int(std::clamp<std::int64_t>(top, INT32_MIN, INT32_MAX));
    return node;
}

PVirtualNode TBaseVirtualTree::RowFrom(PVirtualNode node, std::int64_t& top,
                                       std::int64_t position) const {
    // Siblings made one after another lie one after another in the pool: the blocks a few places
    // on are read ahead (a guess that costs nothing when it is wrong).
    const std::ptrdiff_t ahead = std::ptrdiff_t(pool_.BlockSize()) * kReadAheadBlocks;
    while (node && node != root_) {
        __builtin_prefetch(reinterpret_cast<const char*>(node) + ahead);
        if (node->Has(nsVisible)) {
            if (top + node->TotalHeight > position) {
                if (top + node->NodeHeight > position || !node->FirstChild ||
                    !node->Has(nsExpanded))
                    break;
                top += node->NodeHeight;
                node = node->FirstChild;
                continue;
            }
            top += node->TotalHeight;
        }
        while (node != root_ && !node->NextSibling) node = node->Parent;
        node = node == root_ ? nullptr : node->NextSibling;
    }
    return node == root_ ? nullptr : node;
}

}  // namespace rv
