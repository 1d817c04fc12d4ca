#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tree/virtual_node.h"

namespace rv {

class TBaseVirtualTree;

// A shown node and the top of its row in the whole tree.
struct TCacheEntry {
    PVirtualNode Node;
    std::uint32_t AbsoluteTop;
};

// The position cache of a tree with many shown nodes: the first shown node and every 2000th
// after it, and the last shown node, each with the top of its row. A look-up by position or by
// node is then a binary search over the entries plus a walk of at most 1999 rows, instead of a
// walk from the top of the tree.
class TPositionCache {
public:
    static constexpr std::uint32_t kSpacing = 2000;

    // Rebuilds the entries from the tree's current links and heights; it neither initialises nor
    // measures a node. Gives up, leaving an incomplete cache, as soon as `stop` is set. True when
    // entries were made (more than kSpacing shown nodes) and the walk was not stopped.
    bool Build(const TBaseVirtualTree& tree, const std::atomic<bool>& stop);
    void Clear() { entries_.clear(); }

    const std::vector<TCacheEntry>& Entries() const { return entries_; }

    // The index of the last entry whose row starts at or above `position`. Only for a complete
    // cache (whose first entry starts at 0).
    std::size_t FindByPosition(std::int64_t position) const;
    // The last entry whose node is `node` or comes before it in tree order. Only for a complete
    // cache and a node at or after the first shown one.
    const TCacheEntry& FindByNode(const TBaseVirtualTree& tree, PVirtualNode node) const;

private:
    std::vector<TCacheEntry> entries_;
};

}  // namespace rv
