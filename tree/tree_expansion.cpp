// Expanding and collapsing whole subtrees, what the window shows after a toggle, and making
// nodes anew: re-initialising, resetting, initialising a subtree.

#include <cstdint>
#include <optional>
#include <vector>

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

// Counts the shown rows afresh when the outermost full collapse ends; until then ToggleNode
// leaves the count alone and VisibleCount counts when asked.
class TBaseVirtualTree::TVisibleCountDeferral {
public:
    explicit TVisibleCountDeferral(TBaseVirtualTree& tree) : tree_(tree) {
        ++tree_.visibleCountDeferrals_;
    }
    ~TVisibleCountDeferral() {
        if (--tree_.visibleCountDeferrals_ == 0)
            tree_.visibleCount_ = tree_.CountVisibleDescendants(tree_.root_);
    }
    TVisibleCountDeferral(const TVisibleCountDeferral&) = delete;
    TVisibleCountDeferral& operator=(const TVisibleCountDeferral&) = delete;

private:
    TBaseVirtualTree& tree_;
};

void TBaseVirtualTree::MarkExpandedAbove(PVirtualNode node) {
    ++expansions_;
    // An ancestor that has the mark already has it on every ancestor of its own.
    for (PVirtualNode p = node->Parent; p && !(p->Marks & kMarkExpandedBelow); p = p->Parent) {
        p->Marks |= kMarkExpandedBelow;
        if (p == root_) break;
    }
}

// Reverse pre-order below `top` (children from the last, each subtree before its node), as
// walking back from the subtree's last node visits them, but past every subtree without the
// mark: nothing there is expanded. The next node is read after each toggle, as that walk did.
bool TBaseVirtualTree::CollapseBelow(PVirtualNode top) {
    if (!(top->Marks & kMarkExpandedBelow)) return false;
    const std::uint64_t expansions = expansions_;
    auto collapse = [this](PVirtualNode n) {
        if (n->Has(nsExpanded) && n->Has(nsHasChildren)) ToggleNode(n);
        return n->Has(nsExpanded);
    };
    struct Level {
        PVirtualNode node, next;
        bool kept;  // an expanded node is left below
    };
    std::vector<Level> path{{top, top->LastChild, false}};
    for (;;) {
        Level& level = path.back();
        if (PVirtualNode c = level.next) {
            if (c->Marks & kMarkExpandedBelow) {
                path.push_back({c, c->LastChild, false});
                continue;
            }
            const bool kept = collapse(c);
            level.next = c->PrevSibling;
            level.kept = level.kept || kept;
            continue;
        }
        const Level done = level;
        path.pop_back();
        // Only while nothing was expanded meanwhile (a handler may have, below a node already
        // passed) does the walk know the subtree.
        if (!done.kept && expansions_ == expansions) done.node->Marks &= ~kMarkExpandedBelow;
        if (path.empty()) return done.kept;
        const bool kept = collapse(done.node) || done.kept;
        Level& up = path.back();
        up.next = done.node->PrevSibling;
        up.kept = up.kept || kept;
    }
}

void TBaseVirtualTree::FullCollapse(PVirtualNode node) {
    if (root_->TotalCount < 2) return;
    if (node == root_) node = nullptr;
    DoStateChange({tsCollapsing});
    BeginUpdate();
    try {
        // Collapsing the whole tree leaves few rows shown: counting them once at the end is
        // cheaper than counting what each collapse hides.
        std::optional<TVisibleCountDeferral> deferral;
        if (!node) deferral.emplace(*this);
        CollapseBelow(node ? node : root_);
        if (node && node->Has(nsExpanded) && node->Has(nsHasChildren)) ToggleNode(node);
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
