#include "tree/position_cache.h"

#include <algorithm>
#include <limits>

#include "tree/base_tree.h"

namespace rv {

bool TPositionCache::Build(const TBaseVirtualTree& tree, const std::atomic<bool>& stop) {
    const std::uint32_t shown = tree.VisibleCount();
    if (shown <= kSpacing) {
        Clear();
        return false;
    }
    // The valid front stays; the last row's entry and whatever follows the front go.
    entries_.resize(valid_);
    entries_.reserve((shown - 1) / kSpacing + 2);
    // Tops past what 32 bits hold are out of every look-up's reach: they stay at the largest.
    constexpr std::uint64_t kLargest = std::numeric_limits<std::uint32_t>::max();
    auto entry = [&](PVirtualNode node, std::uint64_t top) {
        entries_.push_back({node, std::uint32_t(std::min(top, kLargest))});
    };
    // The walk goes on after the last valid entry (or starts at the first shown row).
    PVirtualNode n = tree.GetFirstVisibleNoInit(), last = nullptr;
    std::uint64_t top = 0, lastTop = 0;
    std::uint32_t count = 0;
    if (!entries_.empty()) {
        last = entries_.back().Node;
        lastTop = entries_.back().AbsoluteTop;
        top = lastTop + last->NodeHeight;
        count = std::uint32_t(entries_.size() - 1) * kSpacing + 1;
        n = tree.GetNextVisibleNoInit(last);
    }
    for (; n; n = tree.GetNextVisibleNoInit(n)) {
        if (stop.load(std::memory_order_relaxed)) {
            valid_ = entries_.size();
            cutAt_ = nullptr;
            return false;
        }
        if (count++ % kSpacing == 0) entry(n, top);
        last = n;
        lastTop = top;
        top += n->NodeHeight;
    }
    valid_ = entries_.size();
    cutAt_ = nullptr;
    // The last row gets an entry of its own with its real top, so that no look-up walks further
    // than kSpacing − 1 rows from an entry.
    if (last && entries_.back().Node != last) entry(last, lastTop);
    return true;
}

void TPositionCache::InvalidateFrom(const TBaseVirtualTree& tree, PVirtualNode node) {
    if (valid_ == 0 || (node && node == cutAt_)) return;
    cutAt_ = node;
    if (!node) {
        valid_ = 0;
        return;
    }
    const auto front = entries_.begin();
    valid_ =
        std::size_t(std::partition_point(front, front + std::ptrdiff_t(valid_),
                                         [&](const TCacheEntry& e) {
                                             return tree.CompareNodePositions(e.Node, node) < 0;
                                         }) -
                    front);
}

std::size_t TPositionCache::FindByPosition(std::int64_t position) const {
    const auto after = std::upper_bound(
        entries_.begin(), entries_.end(), position,
        [](std::int64_t p, const TCacheEntry& e) { return p < std::int64_t(e.AbsoluteTop); });
    return std::size_t(after - entries_.begin()) - 1;
}

const TCacheEntry& TPositionCache::FindByNode(const TBaseVirtualTree& tree,
                                              PVirtualNode node) const {
    const auto after = std::partition_point(
        entries_.begin(), entries_.end(),
        [&](const TCacheEntry& e) { return tree.CompareNodePositions(e.Node, node) <= 0; });
    return *std::prev(after);
}

}  // namespace rv
