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

void RunShape(const Shape& shape, int rounds) {
    std::mt19937 random(7);
    TVirtualStringTree tree(nullptr);
    Fill(tree, shape, random);
    const double first = WaitForCache(tree);
    const int height = int(tree.RootNode()->TotalHeight - tree.RootNode()->NodeHeight);
    std::vector<int> ys(100000);
    for (int& y : ys) y = int(random() % unsigned(height));
    // The walk from the top costs up to a whole tree per look-up: it gets fewer positions.
    const std::size_t walked = shape.children ? ys.size() : 300;

    std::vector<double> cached, uncached, ratios, rebuilt;
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

        // From the last change to a complete cache: the worker's walk and its notices.
        WaitForCache(tree);
        const PVirtualNode n = tree.GetFirstVisibleNoInit();
        tree.SetNodeHeight(n, n->NodeHeight + 1u);
        rebuilt.push_back(WaitForCache(tree));
    }
    std::printf("%-34s %10.2f %12.1f %10.0f %12.1f %12.1f   %s\n", shape.name, Median(cached),
                Median(uncached), Median(ratios), Median(rebuilt), first,
                agree ? "same rows" : "ROWS DIFFER");
}

}  // namespace

void RunPositionBench(int rounds) {
    std::printf(
        "\nGetNodeAt at random positions in 1,000,000 shown rows (12-30 px), %d paired rounds, "
        "warm; the walk from the top is how the look-up goes without the cache\n\n",
        rounds);
    std::printf("%-34s %10s %12s %10s %12s %12s\n", "", "cache us", "walk us", "walk/cache",
                "rebuild ms", "first ms");
    RunShape({"1,000 parents x 999 children", 1000, 999}, rounds);
    RunShape({"1,000,000 top-level rows", 1000000, 0}, rounds);
    std::printf(
        "\ncache us / walk us: per look-up; rebuild ms: from a changed row height to a complete "
        "cache (median); first ms: from the filling's EndUpdate to a complete cache\n");
}

}  // namespace rv::bench
