// Sorting relinks the sibling chain by a stable merge sort. The nodes are merged as an array of
// pointers and the chain is relinked once at the end, so a comparison that throws leaves it as it
// was; the smallest runs, most of the merges there are, go by straight-line code.

#include <algorithm>

#include "tree/base_tree.h"

namespace rv {

namespace {
// Node pointers the sort buffer may keep between sorts (1 MiB).
constexpr std::size_t kKeptSortBuffer = 1 << 17;
}  // namespace

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
    const std::size_t count = node->ChildCount;
    sortBuffer_.resize(2 * count);
    PVirtualNode* const order = sortBuffer_.data();
    PVirtualNode list = node->FirstChild;
    if (direction == sdAscending)
        MergeSortSiblings<sdAscending>(list, order, order + count, count, column);
    else
        MergeSortSiblings<sdDescending>(list, order, order + count, count, column);
    node->FirstChild = order[0];
    PVirtualNode previous = nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        const PVirtualNode n = order[i];
        n->Index = std::uint32_t(i);
        n->PrevSibling = previous;
        if (previous) previous->NextSibling = n;
        previous = n;
    }
    previous->NextSibling = nullptr;
    node->LastChild = previous;
    // A sort of one huge sibling list does not hold its buffer for the tree's whole life.
    if (sortBuffer_.capacity() > kKeptSortBuffer) std::vector<PVirtualNode>().swap(sortBuffer_);
}

// Takes the next `count` nodes off `list` (following the chain, which stays as it is) and writes
// them sorted into `into`, with as many pointers in `spare` to merge from: the first count / 2
// nodes and the other (count + 1) / 2 are each sorted into `spare`, then merged, so the
// comparisons are those of a top-down merge of the chain, in the same order. Equal nodes keep
// their order in both directions.
template <TSortDirection direction>
void TBaseVirtualTree::MergeSortSiblings(PVirtualNode& list, PVirtualNode* into,
                                         PVirtualNode* spare, std::size_t count,
                                         TColumnIndex column) {
    // Whether the head of the second run goes before the head of the first.
    const auto second = [this, column](PVirtualNode first, PVirtualNode other) {
        const int result = DoCompareNodes(first, other, column);
        if constexpr (direction == sdAscending)
            return result > 0;
        else
            return result < 0;
    };
    // Runs of two to four nodes are sorted without the loops' bookkeeping, with the merges'
    // comparisons in their order.
    if (count <= 4) {
        PVirtualNode* n = into;
        for (std::size_t i = 0; i < count; ++i, list = list->NextSibling) n[i] = list;
        if (count == 2) {
            if (second(n[0], n[1])) std::swap(n[0], n[1]);
        } else if (count == 3) {  // 1 + 2
            if (second(n[1], n[2])) std::swap(n[1], n[2]);
            if (second(n[0], n[1])) {
                std::swap(n[0], n[1]);
                if (second(n[1], n[2])) std::swap(n[1], n[2]);
            }
        } else if (count == 4) {  // 2 + 2
            PVirtualNode a0 = n[0], a1 = n[1], b0 = n[2], b1 = n[3];
            if (second(a0, a1)) std::swap(a0, a1);
            if (second(b0, b1)) std::swap(b0, b1);
            if (second(a0, b0)) {
                n[0] = b0;
                if (second(a0, b1)) {
                    n[1] = b1, n[2] = a0, n[3] = a1;
                    return;
                }
                n[1] = a0;
            } else {
                n[0] = a0;
                if (!second(a1, b0)) {
                    n[1] = a1, n[2] = b0, n[3] = b1;
                    return;
                }
                n[1] = b0;
            }
            // Left: a1 from the first run and b1 from the second.
            if (second(a1, b1)) std::swap(a1, b1);
            n[2] = a1, n[3] = b1;
        }
        return;
    }
    const std::size_t half = count / 2;
    MergeSortSiblings<direction>(list, spare, into, half, column);
    MergeSortSiblings<direction>(list, spare + half, into + half, count - half, column);
    // The heads stay at hand; only the run that gave its head is read and checked for its end.
    const PVirtualNode *a = spare, *const aEnd = spare + half;
    const PVirtualNode *b = aEnd, *const bEnd = spare + count;
    PVirtualNode x = *a, y = *b;
    for (;;) {
        if (second(x, y)) {
            *into++ = y;
            if (++b == bEnd) break;
            y = *b;
        } else {
            *into++ = x;
            if (++a == aEnd) break;
            x = *a;
        }
    }
    while (a != aEnd) *into++ = *a++;
    while (b != bEnd) *into++ = *b++;
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
