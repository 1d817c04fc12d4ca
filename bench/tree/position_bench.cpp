#include "bench/tree/position_bench.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "platform/messages/application.h"
#include "tree/string_tree.h"

namespace rv::bench {

namespace {

using Clock = std::chrono::steady_clock;

struct Shape {
    const char* name;
    int parents;
    int children;  // per parent, every parent expanded
};

// Rows of 12 to 30 pixels, so that a position is not a multiple of one height.
void Fill(TVirtualStringTree& tree, const Shape& shape, std::mt19937& random) {
    auto height = [&] { return 12 + unsigned(random() % 19); };
    tree.BeginUpdate();
    for (int p = 0; p < shape.parents; ++p) {
        const PVirtualNode parent = tree.AddChild(nullptr);
        tree.SetNodeHeight(parent, height());
        if (shape.children == 0) continue;
        tree.SetChildCount(parent, unsigned(shape.children));
        for (PVirtualNode c = parent->FirstChild; c; c = c->NextSibling)
            tree.SetNodeHeight(c, height());
        tree.SetExpanded(parent, true);
    }
    tree.EndUpdate();
}

// Takes the worker's notices until the cache is in use; the milliseconds that took.
double WaitForCache(const TBaseVirtualTree& tree) {
    const auto start = Clock::now();
    while (!tree.TreeStates().Contains(tsUseCache)) Application->ProcessMessages();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Microseconds per look-up; `sum` gathers the answers, so that both ways can be compared.
double LookUps(TBaseVirtualTree& tree, const std::vector<int>& ys, std::size_t count,
               std::uintptr_t& sum) {
    const auto start = Clock::now();
    for (std::size_t i = 0; i < count; ++i) {
        int top = 0;
        const PVirtualNode n = tree.GetNodeAt(0, ys[i], false, top);
        sum += reinterpret_cast<std::uintptr_t>(n) + std::uintptr_t(top);
    }
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / double(count);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Microseconds per display rectangle of a shown row (its top found through the cache).
double Rects(TBaseVirtualTree& tree, const std::vector<PVirtualNode>& nodes, std::uintptr_t& sum) {
    const auto start = Clock::now();
    for (const PVirtualNode n : nodes)
        sum += std::uintptr_t(tree.GetDisplayRect(n, NoColumn, false).Top);
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() /
           double(nodes.size());
}

void RunShape(const Shape& shape, int rounds) {
    std::mt19937 random(7);
    TVirtualStringTree tree(nullptr);
    Fill(tree, shape, random);
    // A row that is not shown: the child of the last row, which stays collapsed.
    const PVirtualNode hidden = tree.AddChild(tree.GetLastVisibleNoInit());
    const double first = WaitForCache(tree);
    std::vector<PVirtualNode> shown;
    shown.reserve(tree.VisibleCount());
    for (PVirtualNode n = tree.GetFirstVisibleNoInit(); n; n = tree.GetNextVisibleNoInit(n))
        shown.push_back(n);
    std::vector<PVirtualNode> rectNodes(20000);
    for (PVirtualNode& n : rectNodes) n = shown[random() % shown.size()];
    const int height = int(tree.RootNode()->TotalHeight - tree.RootNode()->NodeHeight);
    std::vector<int> ys(100000);
    for (int& y : ys) y = int(random() % unsigned(height));
    // The walk from the top costs up to a whole tree per look-up: it gets fewer positions.
    const std::size_t walked = shape.children ? ys.size() : 300;

    std::vector<double> cached, uncached, ratios, rebuilt, rects, afterHidden, resumed;
    bool agree = true;
    for (int r = 0; r < rounds; ++r) {
        double withCache = 0, withoutCache = 0;
        std::uintptr_t sumWith = 0, sumWithout = 0;
        auto runCached = [&] {
            WaitForCache(tree);
            LookUps(tree, ys, walked, sumWith);
            std::uintptr_t all = 0;
            withCache = LookUps(tree, ys, ys.size(), all);
        };
        auto runUncached = [&] {
            // A change inside an update bracket drops the cache and queues nothing yet.
            tree.BeginUpdate();
            const PVirtualNode n = tree.GetFirstVisibleNoInit();
            const unsigned h = n->NodeHeight;
            tree.SetNodeHeight(n, h + 1);
            tree.SetNodeHeight(n, h);
            withoutCache = LookUps(tree, ys, walked, sumWithout);
            tree.EndUpdate();
        };
        if (r % 2 == 0) {
            runCached();
            runUncached();
        } else {
            runUncached();
            runCached();
        }
        agree = agree && sumWith == sumWithout;
        cached.push_back(withCache);
        uncached.push_back(withoutCache);
        ratios.push_back(withoutCache / withCache);

        // Display rectangles at random rows, with the cache in use.
        WaitForCache(tree);
        std::uintptr_t rectSum = 0;
        rects.push_back(Rects(tree, rectNodes, rectSum));

        // A row that is not shown changes its height: the look-ups keep the cache.
        tree.SetNodeHeight(hidden, hidden->NodeHeight + 1u);
        std::uintptr_t all = 0;
        afterHidden.push_back(LookUps(tree, ys, ys.size(), all));

        // From the last change to a complete cache: the worker's walk and its notices, from the
        // top after a change of the first row, and from the last valid entry after one of the
        // last row.
        WaitForCache(tree);
        const PVirtualNode n = tree.GetFirstVisibleNoInit();
        tree.SetNodeHeight(n, n->NodeHeight + 1u);
        rebuilt.push_back(WaitForCache(tree));
        const PVirtualNode last = tree.GetLastVisibleNoInit();
        tree.SetNodeHeight(last, last->NodeHeight + 1u);
        resumed.push_back(WaitForCache(tree));
    }
    std::printf("%-30s %9.2f %9.1f %7.0f %9.2f %9.2f %9.1f %9.2f %9.1f   %s\n", shape.name,
                Median(cached), Median(uncached), Median(ratios), Median(rects),
                Median(afterHidden), Median(rebuilt), Median(resumed), first,
                agree ? "same rows" : "ROWS DIFFER");
    std::printf("%-30s %9.2f %9s %7s %9.2f %9.2f   (slowest round)\n", "",
                *std::max_element(cached.begin(), cached.end()), "", "",
                *std::max_element(rects.begin(), rects.end()),
                *std::max_element(afterHidden.begin(), afterHidden.end()));
}

}  // namespace

void RunPositionBench(int rounds) {
    std::printf(
        "\nGetNodeAt at random positions in 1,000,000 shown rows (12-30 px), %d paired rounds, "
        "warm; the walk from the top is how the look-up goes without the cache\n\n",
        rounds);
    std::printf("%-30s %9s %9s %7s %9s %9s %9s %9s %9s\n", "", "cache us", "walk us", "walk/",
                "rect us", "hidden us", "rebuild", "resume", "first ms");
    RunShape({"1,000 parents x 999 children", 1000, 999}, rounds);
    RunShape({"1,000,000 top-level rows", 1000000, 0}, rounds);
    std::printf(
        "\ncache us / walk us: GetNodeAt per look-up with the cache and by the walk from the "
        "top; rect us: GetDisplayRect of a random row with the cache; hidden us: GetNodeAt right "
        "after a row that is not shown changed its height; rebuild ms: from a change of the first "
        "row to a complete cache; resume ms: the same after a change of the last row (the walk "
        "goes on from the last valid entry); first ms: from the filling's EndUpdate to a complete "
        "cache. Medians of the rounds, and the slowest round.\n");
}

}  // namespace rv::bench
