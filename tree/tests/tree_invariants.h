#pragma once

#include <string>

#include "tree/base_tree.h"

namespace rv::test {

// Checks what must hold of any tree between two operations and answers the first broken rule
// ("" when all hold): symmetric links, gap-free Index, ChildCount and TotalCount, TotalHeight
// (own height plus the visible children's totals when expanded, stopping at the tree's limit),
// VisibleCount against a plain count, nsHasChildren and nsAllChildrenHidden, the mark of a node
// with an expanded node below (kMarkExpandedBelow, which full collapses rely on), the selection
// array (ascending, no duplicates, exactly the selected nodes; marked entries only inside an update
// bracket), and that focus and range anchor point at nodes of the tree.
std::string CheckTreeInvariants(const TBaseVirtualTree& tree);

}  // namespace rv::test
