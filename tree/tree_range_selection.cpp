// Selecting many nodes at once: a batch joins the selection array in one merge (the array stays
// in ascending address order), under the level and sibling constraints; ranges, toggled ranges
// and the inverted selection are built on it.

#include <algorithm>
#include <cstdint>

#include "tree/base_tree.h"

namespace rv {

namespace {

struct ByAddress {
    bool operator()(PVirtualNode a, PVirtualNode b) const {
        return reinterpret_cast<std::uintptr_t>(a) < reinterpret_cast<std::uintptr_t>(b);
    }
};

// Nodes come from the pool's blocks in the order they were made, so a list of them in tree
// order is mostly a few ascending runs (one per block of the pool): merging neighbouring runs
// sorts it in about linear time, and in n log n at worst.
void SortByAddress(std::vector<PVirtualNode>& nodes) {
    std::vector<std::size_t> runs{0};
    for (std::size_t i = 1; i < nodes.size(); ++i)
        if (ByAddress()(nodes[i], nodes[i - 1])) runs.push_back(i);
    runs.push_back(nodes.size());
    while (runs.size() > 2) {
        std::vector<std::size_t> merged{0};
        for (std::size_t r = 0; r + 2 < runs.size(); r += 2) {
            std::inplace_merge(nodes.begin() + std::ptrdiff_t(runs[r]),
                               nodes.begin() + std::ptrdiff_t(runs[r + 1]),
                               nodes.begin() + std::ptrdiff_t(runs[r + 2]), ByAddress());
            merged.push_back(runs[r + 2]);
        }
        if (merged.back() != nodes.size()) merged.push_back(nodes.size());
        runs.swap(merged);
    }
}

}  // namespace

bool TBaseVirtualTree::SelectionAllows(PVirtualNode node, int level) {
    const TVTSelectionOptions options = TreeOptions().SelectionOptions();
    if (options.Contains(toLevelSelectConstraint) && selectionLevel_ >= 0 &&
        level != selectionLevel_)
        return false;
    return !options.Contains(toSiblingSelectConstraint) || !rangeAnchor_ ||
           node->Parent == rangeAnchor_->Parent;
}

void TBaseVirtualTree::InternalAddToSelection(std::vector<PVirtualNode> nodes) {
    if (!TreeOptions().SelectionOptions().Contains(toMultiSelect)) {
        if (!nodes.empty()) InternalAddToSelection(nodes.front());
        return;
    }
    const bool wasEmpty = SelectionCount() == 0;
    const bool levelRule = TreeOptions().SelectionOptions().Contains(toLevelSelectConstraint);
    std::size_t kept = 0;
    for (PVirtualNode n : nodes) {
        if (n->Has(nsSelected | nsDisabled)) continue;
        const bool first = wasEmpty && kept == 0;
        const int level = levelRule || first ? int(GetNodeLevel(n)) : 0;
        if (first) {
            selectionLevel_ = level;
            // With nothing selected or focused the first node sets the sibling rule for the
            // rest, as it does when it joins an empty selection alone.
            if (!rangeAnchor_) rangeAnchor_ = n;
        }
        if (!SelectionAllows(n, level)) continue;
        n->Include(nsSelected);  // a node listed twice is taken once
        nodes[kept++] = n;
    }
    nodes.resize(kept);
    if (nodes.empty()) return;
    if (wasEmpty) rangeAnchor_ = nodes.front();
    SortByAddress(nodes);
    if (selection_.empty()) {
        selection_.swap(nodes);
        return;
    }
    std::vector<PVirtualNode> merged;
    merged.reserve(selection_.size() + nodes.size());
    std::merge(selection_.begin(), selection_.end(), nodes.begin(), nodes.end(),
               std::back_inserter(merged), ByAddress());
    selection_.swap(merged);
}

std::vector<PVirtualNode> TBaseVirtualTree::VisibleRange(PVirtualNode& startNode,
                                                         PVirtualNode& endNode) {
    TreeAssert(endNode != nullptr, "EndNode must not be nil!");
    if (!startNode) {
        startNode = root_->FirstChild;
    } else if (!FullyVisible(startNode)) {
        PVirtualNode previous = GetPreviousVisibleNoInit(startNode);
        startNode = previous ? previous : GetFirstVisibleNoInit();
    }
    std::vector<PVirtualNode> nodes;
    if (!startNode) return nodes;
    if (CompareNodePositions(startNode, endNode) > 0) std::swap(startNode, endNode);
    PVirtualNode stop = GetNextVisibleNoInit(endNode);
    PVirtualNode n = FullyVisible(startNode) ? startNode : GetNextVisibleNoInit(startNode);
    for (; n && n != stop; n = GetNextVisibleNoInit(n)) nodes.push_back(n);
    return nodes;
}

void TBaseVirtualTree::SelectNodes(PVirtualNode startNode, PVirtualNode endNode, bool addOnly) {
    std::vector<PVirtualNode> nodes = VisibleRange(startNode, endNode);
    if (!startNode) return;
    PVirtualNode anchor = rangeAnchor_;
    const std::uint32_t before = SelectionCount();
    if (!addOnly) InternalClearSelection();
    InternalAddToSelection(std::move(nodes));
    if (anchor && anchor->Has(nsSelected)) rangeAnchor_ = anchor;
    if (!addOnly || SelectionCount() != before) {
        Invalidate();
        Change(nullptr);
    }
}

void TBaseVirtualTree::ToggleSelection(PVirtualNode startNode, PVirtualNode endNode) {
    const std::vector<PVirtualNode> range = VisibleRange(startNode, endNode);
    if (!startNode) return;
    PVirtualNode anchor = rangeAnchor_;
    // The end point on the anchor's side keeps its state: moving the far end of a range toward
    // the anchor unselects what it leaves, moving it away selects what it reaches.
    bool withStart = true, withEnd = true;
    if (anchor) {
        if (CompareNodePositions(anchor, startNode) <= 0)
            withStart = false;
        else if (CompareNodePositions(anchor, endNode) >= 0)
            withEnd = false;
    }
    std::vector<PVirtualNode> adding;
    WithInternalUpdate([&] {
        for (PVirtualNode n : range) {
            if ((n == startNode && !withStart) || (n == endNode && !withEnd)) continue;
            if (n->Has(nsSelected))
                InternalRemoveFromSelection(n);  // marked, squeezed out in one pass
            else
                adding.push_back(n);
        }
        PackSelection();
        InternalAddToSelection(std::move(adding));
        if (anchor && !anchor->Has(nsSelected)) InternalAddToSelection(anchor);
        if (anchor && anchor->Has(nsSelected)) rangeAnchor_ = anchor;
    });
    Invalidate();
    Change(nullptr);
}

void TBaseVirtualTree::InvertSelection(bool visibleOnly) {
    if (!TreeOptions().SelectionOptions().Contains(toMultiSelect)) return;
    std::vector<PVirtualNode> adding;
    WithInternalUpdate([&] {
        PVirtualNode n = visibleOnly ? GetFirstVisibleNoInit() : GetFirstNoInit();
        for (; n; n = visibleOnly ? GetNextVisibleNoInit(n) : GetNextNoInit(n)) {
            if (n->Has(nsDisabled)) continue;
            if (n->Has(nsSelected))
                InternalRemoveFromSelection(n);
            else
                adding.push_back(n);
        }
        PackSelection();
        InternalAddToSelection(std::move(adding));
    });
    Invalidate();
    Change(nullptr);
}

}  // namespace rv
