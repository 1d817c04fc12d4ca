#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tree/tests/tree_fixture.h"

namespace rv::test {

// A shown row as a plain walk over the links finds it, with the sum of the heights before it.
struct Row {
    PVirtualNode node;
    std::int64_t top;
    int height;
};

// Pre-order over FirstChild/NextSibling with an explicit stack: visible nodes below the root or
// below visible, expanded ones.
inline std::vector<Row> ShownRows(const TBaseVirtualTree& tree) {
    std::vector<Row> rows;
    std::int64_t top = 0;
    std::vector<PVirtualNode> stack;
    auto pushChildren = [&](PVirtualNode parent) {
        std::vector<PVirtualNode> kids;
        for (PVirtualNode c = parent->FirstChild; c; c = c->NextSibling)
            if (c->Has(nsVisible)) kids.push_back(c);
        stack.insert(stack.end(), kids.rbegin(), kids.rend());
    };
    pushChildren(tree.RootNode());
    while (!stack.empty()) {
        const PVirtualNode n = stack.back();
        stack.pop_back();
        rows.push_back({n, top, n->NodeHeight});
        top += n->NodeHeight;
        if (n->Has(nsExpanded)) pushChildren(n);
    }
    return rows;
}

// The row that covers `position` (its top ≤ position < its bottom), or nullptr.
inline const Row* RowAt(const std::vector<Row>& rows, std::int64_t position) {
    auto after = std::upper_bound(rows.begin(), rows.end(), position,
                                  [](std::int64_t p, const Row& r) { return p < r.top; });
    while (after != rows.begin()) {
        const Row& r = *--after;
        if (r.height > 0) return position < r.top + r.height ? &r : nullptr;
    }
    return nullptr;
}

// "" when GetNodeAt finds the row that covers `y`, with its top (nothing below the last row).
inline std::string CheckRowAt(TBaseVirtualTree& tree, const std::vector<Row>& rows,
                              std::int64_t y) {
    const Row* expected = RowAt(rows, y);
    int top = -1;
    const PVirtualNode hit = tree.GetNodeAt(0, int(y), false, top);
    if (hit != (expected ? expected->node : nullptr) || (expected && top != expected->top))
        return "GetNodeAt(" + std::to_string(y) + ") differs";
    return "";
}

// Adds top-level nodes until the tree shows exactly `shown` rows: expanded parents with children
// (one of them hidden), collapsed parents, hidden parents, single rows; heights from 0 to 40.
inline void FillShown(IdTree& tree, std::uint32_t shown, std::mt19937& random) {
    auto height = [&] { return random() % 16 == 0 ? 0u : 1 + unsigned(random() % 40); };
    tree.BeginUpdate();
    while (tree.VisibleCount() < shown) {
        const std::uint32_t room = shown - tree.VisibleCount();
        const PVirtualNode parent = tree.AddChild(nullptr);
        tree.SetNodeHeight(parent, height());
        switch (random() % 4) {
            case 0: {
                const unsigned kids = std::min<unsigned>(room - 1, unsigned(random() % 60));
                for (unsigned i = 0; i < kids; ++i)
                    tree.SetNodeHeight(tree.AddChild(parent), height());
                tree.SetIsVisible(tree.AddChild(parent), false);
                tree.SetChildCount(tree.AddChild(tree.GetFirstChild(parent)), 3);
                tree.SetExpanded(parent, true);
                break;
            }
            case 1:
                tree.SetChildCount(parent, 5);
                break;
            case 2:
                tree.SetChildCount(parent, 2);
                tree.SetIsVisible(parent, false);
                break;
            default:
                break;
        }
    }
    tree.EndUpdate();
}

class TreeCacheTest : public ::testing::Test {
protected:
    bool WaitForCache(const TBaseVirtualTree& tree) {
        return PumpUntil([&] { return tree.TreeStates().Contains(tsUseCache); });
    }
    // Handles messages until a timer of `ms` milliseconds started now has ticked. Timers tick in
    // the order they fall due, so by then every message posted earlier has had its turn.
    void RunPastTimer(unsigned ms) {
        bool ticked = false;
        const HWND fence = AllocateHWnd([&](TMessage& m) { ticked = ticked || m.Msg == WM_TIMER; });
        SetTimer(fence, 1, ms);
        EXPECT_TRUE(PumpUntil([&] { return ticked; }));
        DeallocateHWnd(fence);
    }
};

}  // namespace rv::test
