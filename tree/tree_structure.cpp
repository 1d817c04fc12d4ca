// Making, linking, unlinking and freeing nodes, with the subtree counts and heights kept right
// along the parent chain.

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "tree/base_tree.h"

namespace rv {

namespace {

class DepthGuard {
public:
    explicit DepthGuard(std::uint32_t& depth) : depth_(depth) { ++depth_; }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
    bool Outermost() const { return depth_ == 1; }

private:
    std::uint32_t& depth_;
};

}  // namespace

void TBaseVirtualTree::AdjustTotalCount(PVirtualNode node, std::int64_t value, bool relative) {
    const std::int64_t difference = relative ? value : value - std::int64_t(node->TotalCount);
    if (difference == 0) return;
    // The worker reads no counts; the callers have stopped it for what they change.
    PauseValidation();
    for (PVirtualNode n = node;; n = n->Parent) {
        n->TotalCount = std::uint32_t(std::int64_t(n->TotalCount) + difference);
        if (n == root_) break;
    }
}

void TBaseVirtualTree::AdjustTotalHeight(PVirtualNode node, std::int64_t value, bool relative) {
    PauseValidation();
    static constexpr std::int64_t kMax = kMaxTotalHeight;
    // The exact total from the children, for a node whose stored total had reached the limit.
    auto recompute = [this](PVirtualNode n) {
        std::int64_t sum = n->NodeHeight;
        if (n->Has(nsExpanded) || n == root_)
            for (PVirtualNode c = n->FirstChild; c && sum < kMax; c = c->NextSibling)
                if (c->Has(nsVisible)) sum += c->TotalHeight;
        return std::min(sum, kMax);
    };
    // Applies a change to one node; answers how far its stored total really moved.
    auto apply = [&](PVirtualNode n, std::int64_t difference) {
        const std::int64_t old = n->TotalHeight;
        const std::int64_t now = old >= kMax && difference < 0
                                     ? recompute(n)
                                     : std::clamp<std::int64_t>(old + difference, 0, kMax);
        n->TotalHeight = std::uint32_t(now);
        return now - old;
    };
    std::int64_t moved;
    if (relative) {
        moved = apply(node, value);
    } else {
        const std::int64_t old = node->TotalHeight;
        node->TotalHeight = std::uint32_t(std::clamp<std::int64_t>(value, 0, kMax));
        moved = std::int64_t(node->TotalHeight) - old;
    }
    // The shown rows after a shown node move with it.
    if (moved != 0 && FullyVisible(node)) InvalidateCache(node);
    for (PVirtualNode n = node; moved != 0 && n != root_ && n->Has(nsVisible) &&
                                (n->Parent->Has(nsExpanded) || n->Parent == root_);
         n = n->Parent)
        moved = apply(n->Parent, moved);
}

std::uint32_t TBaseVirtualTree::CountVisibleDescendants(PVirtualNode node) const {
    if (node != root_ && !node->Has(nsExpanded)) return 0;
    std::uint32_t count = 0;
    PVirtualNode n = node->FirstChild;
    while (n) {
        if (n->Has(nsVisible)) {
            ++count;
            if (n->Has(nsExpanded) && n->FirstChild) {
                n = n->FirstChild;
                continue;
            }
        }
        while (n != node && !n->NextSibling) n = n->Parent;
        n = n == node ? nullptr : n->NextSibling;
    }
    return count;
}

std::uint32_t TBaseVirtualTree::ChildCount(PVirtualNode node) const {
    return (node ? node : root_)->ChildCount;
}

void TBaseVirtualTree::SetChildCount(PVirtualNode node, std::uint32_t newCount) {
    if (TreeOptions().MiscOptions().Contains(toReadOnly)) return;
    if (!node) node = root_;
    if (newCount == 0) {
        DeleteChildren(node);
        return;
    }
    const std::int64_t difference = std::int64_t(newCount) - node->ChildCount;
    if (difference == 0) return;
    InterruptValidation(difference > 0 ? node : nullptr);
    if (difference > 0) {
        if (std::int64_t(root_->TotalCount) + difference >
            std::numeric_limits<std::uint32_t>::max())
            throw std::length_error("Too many nodes.");
        std::uint32_t index = node->LastChild ? node->LastChild->Index + 1 : 0;
        if (!node->LastChild) node->Include(nsHasChildren);
        std::int64_t heights = 0;
        std::uint32_t added = 0;
        // Nodes made before memory ran out stay, counted.
        auto account = [&] {
            if (added == 0) return;
            node->Exclude(nsAllChildrenHidden);
            if (node->Has(nsExpanded)) {
                AdjustTotalHeight(node, heights, true);
                if (FullyVisible(node)) ChangeVisibleCount(added);
            }
            AdjustTotalCount(node, added, true);
            node->ChildCount += added;
        };
        try {
            for (; added < difference; ++added) {
                PVirtualNode child = MakeNewNode();
                child->Index = index++;
                child->Parent = node;
                child->PrevSibling = node->LastChild;
                if (node->LastChild)
                    node->LastChild->NextSibling = child;
                else
                    node->FirstChild = child;
                node->LastChild = child;
                heights += child->NodeHeight;
            }
        } catch (...) {
            account();
            throw;
        }
        account();
        if (updateCount_ == 0 && AutoSortActive())
            Sort(node, header_.SortColumn(), header_.SortDirection(), true);
        InvalidateCache(node);
    } else {
        while (node->ChildCount > newCount) DeleteNode(node->LastChild);
    }
    if (updateCount_ == 0) {
        StartValidation();
        UpdateScrollBars(true);
        Invalidate();
    }
    StructureChange(node == root_ ? nullptr : node, crChildAdded);
}

bool TBaseVirtualTree::AutoSortActive() const {
    return TreeOptions().AutoOptions().Contains(toAutoSort) && header_.SortColumn() > InvalidColumn;
}

PVirtualNode TBaseVirtualTree::AddChild(PVirtualNode parent, const void* userData) {
    if (TreeOptions().MiscOptions().Contains(toReadOnly)) return nullptr;
    if (states_.ContainsAny({tsEditing, tsEditPending})) DoCancelEdit();
    if (userData) CheckRoomForUserData();
    if (!parent) parent = root_;
    if (!parent->Has(nsInitialized)) InitNode(parent);
    WithInternalUpdate([&] {
        SetChildCount(parent, parent->ChildCount + 1);
        parent->Exclude(nsAllChildrenHidden);
    });
    PVirtualNode result = parent->LastChild;
    if (userData) SetUserDataPointer(result, userData);
    if (updateCount_ == 0) {
        StartValidation();
        if (states_.Contains(tsStructureChangePending))
            DoStructureChange(lastStructureNode_, lastStructureReason_);
        if (AutoSortActive()) Sort(parent, header_.SortColumn(), header_.SortDirection(), true);
        InvalidateToBottom(parent);
        UpdateScrollBars(true);
    }
    return result;
}

PVirtualNode TBaseVirtualTree::InsertNode(PVirtualNode node, TVTNodeAttachMode mode,
                                          const void* userData) {
    if (TreeOptions().MiscOptions().Contains(toReadOnly) || mode == amNoWhere) return nullptr;
    if (states_.ContainsAny({tsEditing, tsEditPending})) DoCancelEdit();
    if (userData) CheckRoomForUserData();
    if (!node) node = root_;
    if (node == root_) {
        if (mode == amInsertBefore) mode = amAddChildFirst;
        if (mode == amInsertAfter) mode = amAddChildLast;
    }
    PVirtualNode parent = mode == amAddChildFirst || mode == amAddChildLast ? node : node->Parent;
    if (!parent->Has(nsInitialized)) InitNode(parent);
    if (std::int64_t(root_->TotalCount) + 1 > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("Too many nodes.");
    InterruptValidation();
    PVirtualNode result = MakeNewNode();
    InternalConnectNode(result, node, mode);
    if (userData) SetUserDataPointer(result, userData);
    InvalidateCache();
    if (updateCount_ == 0) {
        StartValidation();
        InvalidateToBottom(parent);
        UpdateScrollBars(true);
    }
    StructureChange(result, crNodeAdded);
    return result;
}

void TBaseVirtualTree::InternalConnectNode(PVirtualNode node, PVirtualNode destination,
                                           TVTNodeAttachMode mode) {
    InterruptValidation();
    PVirtualNode parent = nullptr;
    auto renumberFrom = [](PVirtualNode n, std::uint32_t index) {
        for (; n; n = n->NextSibling) n->Index = index++;
    };
    switch (mode) {
        case amInsertBefore:
            parent = destination->Parent;
            node->PrevSibling = destination->PrevSibling;
            node->NextSibling = destination;
            if (destination->PrevSibling)
                destination->PrevSibling->NextSibling = node;
            else
                parent->FirstChild = node;
            destination->PrevSibling = node;
            renumberFrom(node, destination->Index);
            break;
        case amInsertAfter:
            parent = destination->Parent;
            node->PrevSibling = destination;
            node->NextSibling = destination->NextSibling;
            if (destination->NextSibling)
                destination->NextSibling->PrevSibling = node;
            else
                parent->LastChild = node;
            destination->NextSibling = node;
            renumberFrom(node, destination->Index + 1);
            break;
        case amAddChildFirst:
            parent = destination;
            node->PrevSibling = nullptr;
            node->NextSibling = parent->FirstChild;
            if (parent->FirstChild)
                parent->FirstChild->PrevSibling = node;
            else
                parent->LastChild = node;
            parent->FirstChild = node;
            renumberFrom(node, 0);
            break;
        case amAddChildLast:
            parent = destination;
            node->PrevSibling = parent->LastChild;
            node->NextSibling = nullptr;
            if (parent->LastChild)
                parent->LastChild->NextSibling = node;
            else
                parent->FirstChild = node;
            parent->LastChild = node;
            node->Index = node->PrevSibling ? node->PrevSibling->Index + 1 : 0;
            break;
        case amNoWhere:
            return;
    }
    node->Parent = parent;
    if (node->Has(nsExpanded) || (node->Marks & kMarkExpandedBelow)) MarkExpandedAbove(node);
    ++parent->ChildCount;
    parent->Include(nsHasChildren);
    AdjustTotalCount(parent, node->TotalCount, true);
    if (node->Has(nsVisible) && (parent->Has(nsExpanded) || parent == root_))
        AdjustTotalHeight(parent, node->TotalHeight, true);
    if (FullyVisible(node)) ChangeVisibleCount(1 + CountVisibleDescendants(node));
    node->Exclude(nsCutOrCopy | nsDeleting | nsClearing);
    if (node->Has(nsVisible))
        parent->Exclude(nsAllChildrenHidden);
    else if (parent->ChildCount == 1)
        parent->Include(nsAllChildrenHidden);
}

// Takes a node out of its parent's chain; the parent's counts and heights follow.
void TBaseVirtualTree::UnlinkNode(PVirtualNode node, bool reindex) {
    InterruptValidation();
    PVirtualNode parent = node->Parent;
    const std::uint32_t visibleGone = FullyVisible(node) ? 1 + CountVisibleDescendants(node) : 0;
    if (node->PrevSibling)
        node->PrevSibling->NextSibling = node->NextSibling;
    else
        parent->FirstChild = node->NextSibling;
    if (node->NextSibling) {
        node->NextSibling->PrevSibling = node->PrevSibling;
        if (reindex) {
            std::uint32_t index = node->Index;
            for (PVirtualNode n = node->NextSibling; n; n = n->NextSibling) n->Index = index++;
        }
    } else {
        parent->LastChild = node->PrevSibling;
    }
    node->PrevSibling = node->NextSibling = nullptr;
    --parent->ChildCount;
    ChangeVisibleCount(-std::int64_t(visibleGone));
    AdjustTotalCount(parent, -std::int64_t(node->TotalCount), true);
    if (node->Has(nsVisible) && (parent->Has(nsExpanded) || parent == root_))
        AdjustTotalHeight(parent, -std::int64_t(node->TotalHeight), true);
    if (parent->ChildCount == 0) {
        parent->Exclude(nsHasChildren | nsAllChildrenHidden);
        if (parent != root_) parent->Exclude(nsExpanded);
    }
}

bool TBaseVirtualTree::InSubtree(PVirtualNode candidate, PVirtualNode top, bool withTop) const {
    if (!candidate || candidate == root_) return false;
    if (top == root_) return true;
    for (PVirtualNode n = candidate; n != root_; n = n->Parent)
        if (n == top) return withTop || n != candidate;
    return false;
}

void TBaseVirtualTree::ForgetSubtree(PVirtualNode top, bool withNode) {
    auto gone = [&](PVirtualNode n) { return InSubtree(n, top, withNode); };
    // The edit goes before its node: as written the editor would later write into a freed node.
    if (states_.ContainsAny({tsEditing, tsEditPending}) && (gone(focusedNode_) || gone(editNode_)))
        DoCancelEdit();
    if (gone(editNode_)) editNode_ = nullptr;
    if (gone(focusedNode_)) {
        focusedNode_ = nullptr;
        if (!Destroying()) DoFocusChange(nullptr, focusedColumn_);
    }
    if (gone(rangeAnchor_)) rangeAnchor_ = focusedNode_;
    if (gone(hotNode_)) hotNode_ = nullptr;
    if (gone(dropTargetNode_)) dropTargetNode_ = nullptr;
    if (gone(checkNode_)) {
        checkNode_ = nullptr;
        DoStateChange({}, {tsMouseCheckPending});
    }
    if (gone(pendingCheckNode_)) {
        pendingCheckNode_ = nullptr;
        DoStateChange({}, {tsKeyCheckPending});
    }
    if (gone(lastSearchNode_)) lastSearchNode_ = nullptr;
    if (gone(lastChangedNode_)) lastChangedNode_ = nullptr;
    if (gone(lastStructureNode_)) {
        PVirtualNode survivor = withNode ? top->Parent : top;
        lastStructureNode_ = survivor == root_ ? nullptr : survivor;
    }
}

// Frees every node below `node`, the last in pre-order first, so that each node's children go
// before it and the chain above stays linked while OnFreeNode runs.
void TBaseVirtualTree::FreeSubtreeNodes(PVirtualNode node) {
    PVirtualNode n = node->LastChild;
    if (!n) return;
    while (n->LastChild) n = n->LastChild;
    while (n != node) {
        InterruptValidation();  // OnFreeNode may have queued the tree again
        PVirtualNode parent = n->Parent;
        PVirtualNode next = parent;
        if (n->PrevSibling) {
            next = n->PrevSibling;
            while (next->LastChild) next = next->LastChild;
        }
        parent->LastChild = n->PrevSibling;
        if (n->PrevSibling)
            n->PrevSibling->NextSibling = nullptr;
        else
            parent->FirstChild = nullptr;
        --parent->ChildCount;
        n->Include(nsDeleting);
        if (n->Has(nsSelected)) {
            InternalRemoveFromSelection(n);
            Change(n);
        }
        if (n == lastChangedNode_) lastChangedNode_ = nullptr;
        DoFreeNode(n);
        n = next;
    }
}

// Clear of a tree whose nodes need no OnFreeNode: the whole store goes at once.
void TBaseVirtualTree::DropAllNodes() {
    InterruptValidation();
    const bool hadSelection = SelectionCount() > 0;
    selection_.clear();
    markedSelection_ = 0;
    if (hadSelection) Change(nullptr);
    lastChangedNode_ = nullptr;
    ForgetAllTransferNodes();
    root_->FirstChild = root_->LastChild = nullptr;
    root_->ChildCount = 0;
    pool_.DropAll();
}

void TBaseVirtualTree::DeleteChildren(PVirtualNode node, bool resetHasChildren) {
    if (!node) node = root_;
    if (!node->FirstChild || (TreeOptions().MiscOptions().Contains(toReadOnly) && !Destroying()))
        return;
    TreeAssert(!states_.Contains(tsIterating),
               "Deleting nodes during tree iteration leads to invalid pointers.");
    WithInternalUpdate([&] {
        InterruptValidation();
        const int oldX = offsetX_, oldY = offsetY_;
        DepthGuard depth(deleting_);
        if (depth.Outermost()) ForgetSubtree(node, false);
        if (node == root_ || (node->Has(nsExpanded) && FullyVisible(node)))
            ChangeVisibleCount(-std::int64_t(CountVisibleDescendants(node)));
        node->Include(nsClearing);
        try {
            if (node == root_ && depth.Outermost() && !NodesNeedFreeing())
                DropAllNodes();
            else
                FreeSubtreeNodes(node);
        } catch (...) {
            node->Exclude(nsClearing);
            throw;
        }
        InterruptValidation();
        node->Exclude(nsClearing | nsAllChildrenHidden);
        if (resetHasChildren) node->Exclude(nsHasChildren);
        if (node != root_) node->Exclude(nsExpanded);
        node->ChildCount = 0;
        node->FirstChild = node->LastChild = nullptr;
        if (node == root_) {
            root_->TotalHeight = root_->NodeHeight;
            root_->TotalCount = 1;
        } else if (!node->Has(nsDeleting)) {
            AdjustTotalHeight(node, node->NodeHeight, false);
            AdjustTotalCount(node, 1, false);
        }
        InvalidateCache();
        if (updateCount_ == 1) {
            StartValidation();
            UpdateScrollBars(true);
            if (oldX == offsetX_ && oldY == offsetY_)
                InvalidateToBottom(node);
            else
                Invalidate();
        }
    });
    // A node that goes itself gets no report of its own.
    if (!node->Has(nsDeleting)) StructureChange(node == root_ ? nullptr : node, crChildDeleted);
}

void TBaseVirtualTree::DeleteNode(PVirtualNode node, bool reindex) {
    if (!node || node == root_ ||
        (TreeOptions().MiscOptions().Contains(toReadOnly) && !Destroying()))
        return;
    TreeAssert(!states_.Contains(tsIterating),
               "Deleting nodes during tree iteration leads to invalid pointers.");
    PVirtualNode parent = node->Parent;
    const bool parentClearing = parent->Has(nsClearing);
    if (!parentClearing) StructureChange(parent == root_ ? nullptr : parent, crChildDeleted);
    if (node->Has(nsSelected)) {
        if (updateCount_ == 0 && !states_.Contains(tsImmediateNotification)) {
            DoStateChange({tsImmediateNotification});
            try {
                RemoveFromSelection(node);
            } catch (...) {
                DoStateChange({}, {tsImmediateNotification});
                throw;
            }
            DoStateChange({}, {tsImmediateNotification});
        } else {
            RemoveFromSelection(node);
        }
    }
    InvalidateToBottom(parent);
    if (states_.ContainsAny({tsCutPending, tsCopyPending})) FlushClipboard();
    const int oldX = offsetX_, oldY = offsetY_;
    {
        DepthGuard depth(deleting_);
        if (depth.Outermost()) ForgetSubtree(node, true);
        node->Include(nsDeleting);
        DeleteChildren(node);
        UnlinkNode(node, reindex);
        if (node == lastChangedNode_) lastChangedNode_ = nullptr;
        DoFreeNode(node);
    }
    if (!parentClearing) {
        UpdateAllChildrenHidden(parent);
        InvalidateCache();
        if (updateCount_ == 0) {
            StartValidation();
            UpdateScrollBars(true);
            if (oldX != offsetX_ || oldY != offsetY_) Invalidate();
        }
    }
}

void TBaseVirtualTree::DeleteSelectedNodes() {
    if (SelectionCount() == 0 || TreeOptions().MiscOptions().Contains(toReadOnly)) return;
    BeginUpdate();
    try {
        const std::vector<PVirtualNode> nodes = GetSortedSelection(true);
        for (std::size_t i = nodes.size(); i-- > 0;) {
            // A node whose previous sibling goes next leaves the renumbering to that one.
            const bool reindex = i == 0 || nodes[i - 1]->NextSibling != nodes[i];
            DeleteNode(nodes[i], reindex);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TBaseVirtualTree::Clear() {
    if (TreeOptions().MiscOptions().Contains(toReadOnly) && !Destroying()) return;
    BeginUpdate();
    try {
        InterruptValidation();
        if (states_.ContainsAny({tsEditing, tsEditPending})) DoCancelEdit();
        if (states_.ContainsAny({tsCutPending, tsCopyPending})) ReleaseClipboard();
        ClearSelection();
        focusedNode_ = rangeAnchor_ = nullptr;
        hotNode_ = dropTargetNode_ = checkNode_ = pendingCheckNode_ = lastSearchNode_ = nullptr;
        DeleteChildren(root_, true);
        InterruptValidation();
        visibleCount_ = 0;
        offsetX_ = offsetY_ = 0;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

}  // namespace rv
