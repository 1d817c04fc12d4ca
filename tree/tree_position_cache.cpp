// The tree's side of its position cache: stopping and queuing the background validation, the
// worker's notices, and a node's top found from the nearest cache entry.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tree/base_tree.h"

namespace rv {

void TBaseVirtualTree::StopValidation() {
    validation_.Interrupt();
    // The cache may no longer match the tree: it is rebuilt on the next StartValidation.
    DoStateChange({tsStopValidation, tsValidationNeeded}, {tsUseCache, tsValidating});
}

void TBaseVirtualTree::InvalidateCache() {
    InterruptValidation();
    DoStateChange({tsValidationNeeded}, {tsUseCache});
}

void TBaseVirtualTree::StartValidation() {
    InterruptValidation();
    if (Destroying() || !states_.Contains(tsValidationNeeded)) return;
    // Small trees keep no entries: their look-ups walk from the top.
    if (visibleCount_ <= TPositionCache::kSpacing) {
        validation_.Cache().Clear();
        return;
    }
    DoStateChange({}, {tsStopValidation});
    validation_.Start(Handle());
}

void TBaseVirtualTree::ChangeValidationStates(WPARAM enter, LPARAM leave) {
    const TVirtualTreeStates leaving = ValidationStatesOf(WPARAM(leave));
    // The round's last notice is the one that leaves tsValidating.
    if (!validation_.Accept(enter >> kChangeStateGenerationShift, leaving.Contains(tsValidating)))
        return;
    DoStateChange(ValidationStatesOf(enter), leaving);
}

PVirtualNode TBaseVirtualTree::RowFromPositionCache(std::int64_t position,
                                                    std::int64_t& top) const {
    const std::vector<TCacheEntry>& entries = validation_.Cache().Entries();
    const std::size_t k = validation_.Cache().FindByPosition(position);
    const PVirtualNode node = entries[k].Node;
    top = entries[k].AbsoluteTop;
    // Nearer to the next entry and below this entry's own row: back from the next one. Either
    // way the walk passes fewer than 2000 rows, and on average half as many as forward alone.
    if (k + 1 < entries.size() && position >= top + node->NodeHeight &&
        std::int64_t(entries[k + 1].AbsoluteTop) - position < position - top)
        return RowBefore(entries[k + 1].Node, entries[k + 1].AbsoluteTop, position, top);
    return RowFrom(node, top, position);
}

// The rows before a node are, going back, its earlier visible siblings' subtrees (each
// TotalHeight high, skipped whole unless the position lies inside) and then its parent's row.
PVirtualNode TBaseVirtualTree::RowBefore(PVirtualNode node, std::int64_t end, std::int64_t position,
                                         std::int64_t& top) const {
    PVirtualNode parent = node->Parent;
    PVirtualNode c = node->PrevSibling;
    for (;;) {
        while (c && !c->Has(nsVisible)) c = c->PrevSibling;
        if (c) {
            const std::int64_t start = end - c->TotalHeight;
            if (start > position) {
                end = start;
                c = c->PrevSibling;
                continue;
            }
            if (position < start + c->NodeHeight || !c->Has(nsExpanded) || !c->LastChild) {
                top = start;
                return c;
            }
            // Among its children, whose subtrees end where its own does.
            parent = c;
            c = c->LastChild;
            continue;
        }
        if (parent == root_) {  // above the first row: only with a cache that is out of date
            top = 0;
            return nullptr;
        }
        end -= parent->NodeHeight;
        if (end <= position) {
            top = end;
            return parent;
        }
        c = parent->PrevSibling;
        parent = parent->Parent;
    }
}

int TBaseVirtualTree::GetNodeTop(PVirtualNode node) const {
    TreeAssert(node && node != root_, "Invalid parameter.");
    if (!AncestorsFullyVisible(node)) return -1;
    std::int64_t top = 0;
    if (states_.Contains(tsUseCache) && node->Has(nsVisible)) {
        const TCacheEntry& entry = validation_.Cache().FindByNode(*this, node);
        top = entry.AbsoluteTop;
        for (PVirtualNode n = entry.Node; n != node; n = GetNextVisibleNoInit(n))
            top += n->NodeHeight;
    } else {
        // Walking back: the shown subtrees of the earlier siblings on every level, and the rows
        // of the ancestors.
        for (PVirtualNode n = node; n != root_; n = n->Parent) {
            for (PVirtualNode s = n->PrevSibling; s; s = s->PrevSibling)
                if (s->Has(nsVisible)) top += s->TotalHeight;
            if (n->Parent != root_) top += n->Parent->NodeHeight;
        }
    }
    return int(std::min<std::int64_t>(top, kMaxTotalHeight));
}

}  // namespace rv
