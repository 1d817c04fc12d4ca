#include "tree/tests/tree_invariants.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <unordered_set>

namespace rv::test {

namespace {

std::string Describe(PVirtualNode n) {
    std::ostringstream s;
    s << "node " << static_cast<const void*>(n) << " (index " << n->Index << ")";
    return s.str();
}

}  // namespace

std::string CheckTreeInvariants(const TBaseVirtualTree& tree) {
    const PVirtualNode root = tree.RootNode();
    if (root->Parent != reinterpret_cast<const TVirtualNode*>(&tree) || root->PrevSibling != root ||
        root->NextSibling != root)
        return "the root's links are wrong";
    if (TBaseVirtualTree::TreeFromNode(root) != &tree) return "TreeFromNode misses the tree";

    const bool updating = tree.UpdateCount() > 0;
    const bool hiddenFlagsSettled = !tree.TreeStates().Contains(tsAllChildrenHiddenRefresh);
    std::unordered_set<PVirtualNode> nodes;
    std::uint64_t selected = 0;
    std::uint64_t visible = 0;

    // Post-order over an explicit stack, so that deep trees do not exhaust the call stack.
    struct Frame {
        PVirtualNode node;
        bool shown;  // the node and every ancestor visible, the ancestors expanded
    };
    std::vector<Frame> stack{{root, true}};
    std::vector<PVirtualNode> order;
    while (!stack.empty()) {
        const Frame f = stack.back();
        stack.pop_back();
        const PVirtualNode n = f.node;
        if (n != root) {
            if (!nodes.insert(n).second) return Describe(n) + " is reached twice";
            if (f.shown) ++visible;
            if (n->Has(nsSelected)) ++selected;
        }
        order.push_back(n);
        std::uint32_t index = 0;
        PVirtualNode previous = nullptr;
        for (PVirtualNode c = n->FirstChild; c; c = c->NextSibling) {
            if (c->Parent != n) return Describe(c) + " has a wrong Parent";
            if (c->PrevSibling != previous) return Describe(c) + " has a wrong PrevSibling";
            if (c->Index != index) return Describe(c) + " has a gap in Index";
            const bool open = n == root || n->Has(nsExpanded);
            stack.push_back({c, f.shown && open && c->Has(nsVisible)});
            previous = c;
            ++index;
        }
        if (n->LastChild != previous) return Describe(n) + " has a wrong LastChild";
        if (n->ChildCount != index) return Describe(n) + " has a wrong ChildCount";
        if (index > 0 && !n->Has(nsHasChildren)) return Describe(n) + " lacks nsHasChildren";
    }
    // Counts and heights bottom up (children come after their parent in `order`).
    std::unordered_set<PVirtualNode> expandedBelow;
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const PVirtualNode n = *it;
        std::uint64_t count = 1;
        std::uint64_t height = n->NodeHeight;
        bool anyVisible = false;
        for (PVirtualNode c = n->FirstChild; c; c = c->NextSibling) {
            if (c->Has(nsExpanded) || expandedBelow.count(c)) expandedBelow.insert(n);
            count += c->TotalCount;
            if (c->Has(nsVisible)) {
                anyVisible = true;
                if (n == root || n->Has(nsExpanded)) height += c->TotalHeight;
            }
        }
        if (n->TotalCount != count) return Describe(n) + " has a wrong TotalCount";
        height = std::min<std::uint64_t>(height, TBaseVirtualTree::kMaxTotalHeight);
        if (n->TotalHeight != height)
            return Describe(n) + " has TotalHeight " + std::to_string(n->TotalHeight) +
                   " instead of " + std::to_string(height);
        if (hiddenFlagsSettled && n->Has(nsAllChildrenHidden) != (n->FirstChild && !anyVisible))
            return Describe(n) + " has a wrong nsAllChildrenHidden";
        if (expandedBelow.count(n) && !(n->Marks & kMarkExpandedBelow))
            return Describe(n) + " has an expanded node below and lacks the mark that says so";
    }
    if (tree.VisibleCount() != visible)
        return "VisibleCount is " + std::to_string(tree.VisibleCount()) + " instead of " +
               std::to_string(visible);

    const auto& array = tree.SelectionArray();
    std::uintptr_t last = 0;
    std::uint64_t valid = 0;
    for (PVirtualNode entry : array) {
        const auto address = reinterpret_cast<std::uintptr_t>(entry);
        // A node unselected twice inside one bracket leaves two equal marked entries.
        if (address < last || (address == last && !(address & 1)))
            return "the selection array is not ascending";
        last = address;
        if (address & 1) {
            if (!updating) return "a marked selection entry outside an update bracket";
            continue;
        }
        if (!nodes.count(entry)) return "the selection holds a node that is not in the tree";
        if (!entry->Has(nsSelected)) return Describe(entry) + " is listed but not selected";
        ++valid;
    }
    if (valid != selected || tree.SelectionCount() != selected)
        return "the selection array and the selected nodes differ";

    if (tree.FocusedNode() && !nodes.count(tree.FocusedNode()))
        return "the focused node is not in the tree";
    if (tree.RangeAnchor() && !nodes.count(tree.RangeAnchor()))
        return "the range anchor is not in the tree";
    if (tree.InternalDataSize() % 4 != 0) return "InternalDataSize is not a multiple of 4";
    return "";
}

}  // namespace rv::test
