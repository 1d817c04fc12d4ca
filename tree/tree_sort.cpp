// Sorting relinks the sibling chain in place by a stable merge sort on the NextSibling links and
// allocates nothing.

#include "tree/base_tree.h"

namespace rv {

void TBaseVirtualTree::Sort(PVirtualNode node, TColumnIndex column, TSortDirection direction,
                            bool doInit) {
    if (!node) node = root_;
    InterruptValidation(node);
    sortedLeavesOnly_ = false;
    // A pending edit would open over a node that may have moved away.
    if (states_.Contains(tsEditPending)) {
        StopTimer(kEditTimer);
        DoStateChange({}, {tsEditPending});
    }
    if (states_.Contains(tsEditing) && !DoEndEdit()) return;
    if (node->Has(nsHasChildren)) {
        bool leavesOnly = false;
        if (doInit) {
            if (node->ChildCount == 0) InitChildren(node);
            leavesOnly = true;
            for (PVirtualNode c = node->FirstChild; c; c = c->NextSibling) {
                if (!c->Has(nsInitialized)) InitNode(c);
                leavesOnly = leavesOnly && !c->FirstChild && !c->Has(nsHasChildren);
            }
        }
        if (node->ChildCount > 1) {
            SortChildren(node, column, direction);
            InvalidateCache(node);
        }
        sortedLeavesOnly_ = leavesOnly;
    }
    if (updateCount_ == 0) {
        StartValidation();
        Invalidate();
    }
}

void TBaseVirtualTree::SortChildren(PVirtualNode node, TColumnIndex column,
                                    TSortDirection direction) {
    InterruptValidation(node);
    PVirtualNode list = node->FirstChild;
    PVirtualNode sorted;
    try {
        sorted = MergeSortSiblings(list, node->ChildCount, column, direction);
    } catch (...) {
        // Merging only rewrote NextSibling links: the PrevSibling links still hold the order
        // from before, and FirstChild, LastChild and Index are untouched.
        PVirtualNode next = nullptr;
        for (PVirtualNode n = node->LastChild; n; n = n->PrevSibling) {
            n->NextSibling = next;
            next = n;
        }
        throw;
    }
    node->FirstChild = sorted;
    PVirtualNode previous = nullptr;
    std::uint32_t index = 0;
    for (PVirtualNode n = sorted; n; n = n->NextSibling) {
        n->Index = index++;
        n->PrevSibling = previous;
        previous = n;
    }
    node->LastChild = previous;
}

// Sorts the `count` nodes at the head of `list` (advancing it past them) and returns the sorted
// chain. Equal nodes keep their order in both directions.
PVirtualNode TBaseVirtualTree::MergeSortSiblings(PVirtualNode& list, std::uint32_t count,
                                                 TColumnIndex column, TSortDirection direction) {
    if (count < 2) {
        PVirtualNode n = list;
        list = list->NextSibling;
        n->NextSibling = nullptr;
        return n;
    }
    PVirtualNode a = MergeSortSiblings(list, count / 2, column, direction);
    PVirtualNode b = MergeSortSiblings(list, (count + 1) / 2, column, direction);
    PVirtualNode head = nullptr;
    PVirtualNode* tail = &head;
    while (a && b) {
        // Both successors are read before the comparison, so that the reads overlap it.
        PVirtualNode nextA = a->NextSibling, nextB = b->NextSibling;
        const int result = DoCompareNodes(a, b, column);
        // A link that already points the right way (a run going on) is not written again.
        if (direction == sdAscending ? result > 0 : result < 0) {
            if (*tail != b) *tail = b;
            tail = &b->NextSibling;
            b = nextB;
        } else {
            if (*tail != a) *tail = a;
            tail = &a->NextSibling;
            a = nextA;
        }
    }
    *tail = a ? a : b;
    return head;
}

void TBaseVirtualTree::SortTree(TColumnIndex column, TSortDirection direction, bool doInit) {
    WithInternalUpdate([&] {
        if (column > InvalidColumn) {
            // Top down: a node's children are sorted before they are visited. Uninitialised
            // nodes (without DoInit) are neither sorted nor entered.
            Sort(root_, column, direction, doInit);
            PVirtualNode n = root_->FirstChild;
            while (n) {
                if (doInit) InitIfNeeded(n);
                if (n->Has(nsInitialized)) {
                    // Children that were all leaves when sorted need no visit.
                    bool leaves = false;
                    if (n->Has(nsHasChildren)) {
                        Sort(n, column, direction, doInit);
                        leaves = doInit && sortedLeavesOnly_;
                    }
                    if (n->FirstChild && !leaves) {
                        n = n->FirstChild;
                        continue;
                    }
                }
                while (n != root_ && !n->NextSibling) n = n->Parent;
                n = n == root_ ? nullptr : n->NextSibling;
            }
        }
        InvalidateCache();
    });
    if (updateCount_ == 0) {
        StartValidation();
        Invalidate();
    }
}

}  // namespace rv
