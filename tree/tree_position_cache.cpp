// The tree's side of its position cache: stopping and queuing the background validation, the
// worker's notices, and a node's top found from the nearest cache entry.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tree/base_tree.h"

namespace rv {

void TBaseVirtualTree::StopValidation(PVirtualNode changed) {
    validation_.Interrupt();
    // What the walk made so far and the entries before the change stay; the rest is rebuilt on
    // the next StartValidation.
    validation_.Cache().InvalidateFrom(*this, changed);
    DoStateChange({tsStopValidation, tsValidationNeeded}, {tsUseCache, tsValidating});
    ScheduleValidation();
}

void TBaseVirtualTree::StopWalk() {
    validation_.Interrupt();
    DoStateChange({tsStopValidation}, {tsValidating});
    ScheduleValidation();
}

void TBaseVirtualTree::ScheduleValidation() {
    if (validationScheduled_ || Destroying()) return;
    validationScheduled_ = PostMessage(Handle(), WM_STARTVALIDATION, 0, 0);
}

void TBaseVirtualTree::InvalidateCache(PVirtualNode changed) {
    InterruptValidation(changed);
    DoStateChange({tsValidationNeeded}, {tsUseCache});
}

void TBaseVirtualTree::StartValidation() {
    // A complete cache, or a round under way that no change has stopped, is what the tree needs.
    if (Destroying() || !states_.Contains(tsValidationNeeded) || validation_.Pending()) return;
    // Small trees keep no entries: their look-ups walk from the top.
    if (VisibleCount() <= TPositionCache::kSpacing) {
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
    const std::ptrdiff_t ahead = std::ptrdiff_t(pool_.BlockSize()) * kReadAheadBlocks;
    for (;;) {
        if (c) __builtin_prefetch(reinterpret_cast<const char*>(c) - ahead);
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
    return int(std::min<std::int64_t>(RowTop(node), kMaxTotalHeight));
}

// Between the entries before and after the node, a walk forward from the one and a walk back from
// the other go in turn until either reaches the node: the two chains of reads overlap, and the
// nearer entry decides how long it takes. Both pass over whole subtrees that do not hold the node
// (TotalHeight), as RowFrom and RowBefore do with a position.
std::int64_t TBaseVirtualTree::RowTop(PVirtualNode node) const {
    if (!states_.Contains(tsUseCache) || !node->Has(nsVisible)) return NodeTop(node);
    const std::vector<TCacheEntry>& entries = validation_.Cache().Entries();
    const TCacheEntry& entry = validation_.Cache().FindByNode(*this, node);
    const auto holds = [&](PVirtualNode n) { return n == node || HasAsParent(node, n); };
    const std::ptrdiff_t ahead = std::ptrdiff_t(pool_.BlockSize()) * kReadAheadBlocks;

    // Forward: `f` is a shown node whose row starts at `fTop`.
    PVirtualNode f = entry.Node;
    std::int64_t fTop = entry.AbsoluteTop;
    // Back: the rows above `bEnd` are, going up, the visible siblings before `b` (with their
    // subtrees) and then the row of `bParent`.
    const bool last = &entry == &entries.back();
    PVirtualNode bParent = last ? nullptr : (&entry + 1)->Node->Parent;
    PVirtualNode b = last ? nullptr : (&entry + 1)->Node->PrevSibling;
    std::int64_t bEnd = last ? 0 : std::int64_t((&entry + 1)->AbsoluteTop);
    for (;;) {
        // One step forward.
        if (f == node) return fTop;
        if (f->Has(nsExpanded) && f->FirstChild && HasAsParent(node, f)) {
            fTop += f->NodeHeight;
            f = f->FirstChild;
        } else {
            fTop += f->TotalHeight;
            while (f != root_ && !f->NextSibling) f = f->Parent;
            f = f->NextSibling;  // the root's is itself, never reached before the node
            __builtin_prefetch(reinterpret_cast<const char*>(f) + ahead);
        }
        while (!f->Has(nsVisible)) {
            while (f != root_ && !f->NextSibling) f = f->Parent;
            f = f->NextSibling;
        }
        // One step back.
        if (!bParent) continue;
        while (b && !b->Has(nsVisible)) b = b->PrevSibling;
        if (b) {
            const std::int64_t start = bEnd - b->TotalHeight;
            if (holds(b)) {
                if (b == node) return start;
                bParent = b;
                b = b->LastChild;
            } else {
                bEnd = start;
                b = b->PrevSibling;
                if (b) __builtin_prefetch(reinterpret_cast<const char*>(b) - ahead);
            }
        } else {
            bEnd -= bParent->NodeHeight;
            if (bParent == node) return bEnd;
            b = bParent->PrevSibling;
            bParent = bParent->Parent;
        }
    }
}

}  // namespace rv
