#include "tree/position_cache.h"

#include <algorithm>
#include <limits>

#include "tree/base_tree.h"

namespace rv {

bool TPositionCache::Build(const TBaseVirtualTree& tree, const std::atomic<bool>& stop) {
    entries_.clear();
    const std::uint32_t shown = tree.VisibleCount();
    if (shown <= kSpacing) return false;
    entries_.reserve((shown - 1) / kSpacing + 2);
    // Tops past what 32 bits hold are out of every look-up's reach: they stay at the largest.
    constexpr std::uint64_t kLargest = std::numeric_limits<std::uint32_t>::max();
    auto entry = [&](PVirtualNode node, std::uint64_t top) {
        entries_.push_back({node, std::uint32_t(std::min(top, kLargest))});
    };
    std::uint64_t top = 0, lastTop = 0;
    std::uint32_t count = 0;
    PVirtualNode last = nullptr;
    for (PVirtualNode n = tree.GetFirstVisibleNoInit(); n; n = tree.GetNextVisibleNoInit(n)) {
        if (stop.load(std::memory_order_relaxed)) return false;
        if (count++ % kSpacing == 0) entry(n, top);
        last = n;
        lastTop = top;
        top += n->NodeHeight;
    }
    // The last row gets an entry of its own with its real top, so that no look-up walks further
    // than kSpacing − 1 rows from an entry.
    if (last && entries_.back().Node != last) entry(last, lastTop);
    return true;
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
