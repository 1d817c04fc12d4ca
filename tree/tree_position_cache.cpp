// The tree's side of its position cache: stopping and queuing the background validation, the
// worker's notices, and a node's top found from the nearest cache entry.

#include <algorithm>
#include <cstdint>

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
    validation_.Start(MessageWindow());
}

void TBaseVirtualTree::ChangeValidationStates(WPARAM enter, LPARAM leave) {
    const TVirtualTreeStates leaving = ValidationStatesOf(WPARAM(leave));
    // The round's last notice is the one that leaves tsValidating.
    if (!validation_.Accept(enter >> kChangeStateGenerationShift, leaving.Contains(tsValidating)))
        return;
    DoStateChange(ValidationStatesOf(enter), leaving);
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
