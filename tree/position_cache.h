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
//
// The leading entries that still match the tree stay valid across a change after them and across
// a stopped walk: the next build walks on from the last of them instead of from the top.
class TPositionCache {
public:
    static constexpr std::uint32_t kSpacing = 2000;

    // Brings the entries up to date with the tree's current links and heights, walking on from
    // the last valid entry; it neither initialises nor measures a node. Gives up as soon as `stop`
    // is set, keeping the entries it made as valid. True when entries were made (more than
    // kSpacing shown nodes) and the walk was not stopped.
    bool Build(const TBaseVirtualTree& tree, const std::atomic<bool>& stop);
    void Clear() {
        entries_.clear();
        valid_ = 0;
        cutAt_ = nullptr;
    }
    // Only while no walk runs, and before the change: the entries of `node` and of every node
    // after it in tree order are out of date (nil: every entry). The entries before it keep
    // their rows' tops, since nothing before a node moves when it or what follows it changes.
    void InvalidateFrom(const TBaseVirtualTree& tree, PVirtualNode node);
    // The leading entries known to match the tree (every 2000th shown row; not the last row's).
    std::size_t ValidCount() const { return valid_; }

    const std::vector<TCacheEntry>& Entries() const { return entries_; }

    // The index of the last entry whose row starts at or above `position`. Only for a complete
    // cache (whose first entry starts at 0).
    std::size_t FindByPosition(std::int64_t position) const;
    // The last entry whose node is `node` or comes before it in tree order. Only for a complete
    // cache and a node at or after the first shown one.
    const TCacheEntry& FindByNode(const TBaseVirtualTree& tree, PVirtualNode node) const;

private:
    std::vector<TCacheEntry> entries_;
    std::size_t valid_ = 0;
    // The node the front was last cut before: many writes at one place (children added to one
    // parent) cut once. Forgotten whenever the front changes otherwise.
    PVirtualNode cutAt_ = nullptr;
};

}  // namespace rv
