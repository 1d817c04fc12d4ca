// Random structural changes, height changes and deletions, destroying the tree too, while the
// worker builds the position cache: nothing it reads may change under it (the thread and address
// sanitizers watch), look-ups stay right, and a deadlock fails the test instead of hanging it.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

#include "tree/tests/cache_fixture.h"

namespace rv::test {
namespace {

// Ends the test program when the work has not finished in time.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : thread_([this, limit] {
              std::unique_lock lock(mutex_);
              if (!wake_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fprintf(stderr, "Not finished after %lld s: a deadlock?\n",
                               static_cast<long long>(limit.count()));
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;
};

class StressTree : public IdTree {
public:
    StressTree() {
        OnCompareNodes = [](TBaseVirtualTree*, PVirtualNode a, PVirtualNode b, TColumnIndex,
                            int& result) { result = int(a->NodeHeight) - int(b->NodeHeight); };
    }
};

// Sampled positions and node tops against the plain walk.
std::string Sample(StressTree& tree, std::mt19937& random) {
    const std::vector<Row> rows = ShownRows(tree);
    if (rows.empty()) return "";
    const std::int64_t bottom = rows.back().top + rows.back().height;
    for (int i = 0; i < 40; ++i) {
        const std::int64_t y = std::int64_t(random() % std::uint64_t(bottom + 20));
        if (std::string problem = CheckRowAt(tree, rows, y); !problem.empty()) return problem;
        const Row& r = rows[random() % rows.size()];
        if (tree.GetNodeTop(r.node) != r.top) return "GetNodeTop differs";
    }
    return "";
}

TEST_F(TreeCacheTest, StaysRightUnderChangesWhileTheWorkerWalks) {
    const Watchdog watchdog(std::chrono::seconds(240));
    std::mt19937 random(2024);
    std::unique_ptr<StressTree> tree;
    int caughtWalking = 0, cachedSamples = 0, destroyed = 0;
    std::vector<PVirtualNode> nodes;
    for (int round = 0; round < 4000; ++round) {
        if (!tree) tree = std::make_unique<StressTree>();
        if (tree->VisibleCount() <= TPositionCache::kSpacing)
            FillShown(*tree, 2001 + random() % 4000, random);
        nodes.clear();
        for (PVirtualNode n = tree->GetFirstNoInit(); n; n = tree->GetNextNoInit(n))
            nodes.push_back(n);
        const PVirtualNode node = nodes[random() % nodes.size()];
        if (tree->TreeStates().Contains(tsValidating)) ++caughtWalking;

        switch (random() % 12) {
            case 0:
            case 1:
                tree->SetNodeHeight(node, random() % 41);
                break;
            case 2:
            case 3:
                tree->ToggleNode(node);
                break;
            case 4:
                tree->SetIsVisible(node, !node->Has(nsVisible));
                break;
            case 5:
                tree->InsertNode(node, TVTNodeAttachMode(1 + random() % 4));
                break;
            case 6:
                tree->DeleteNode(node);
                break;
            case 7:
                tree->DeleteChildren(node);
                break;
            case 8:
                tree->SetChildCount(node, random() % 20);
                break;
            case 9:
                tree->Sort(node->Parent == tree->RootNode() ? nullptr : node->Parent, 0,
                           random() % 2 ? sdAscending : sdDescending);
                break;
            case 10: {
                tree->BeginUpdate();
                for (int i = 0; i < 5; ++i) {
                    const PVirtualNode n = nodes[random() % nodes.size()];
                    tree->SetNodeHeight(n, random() % 41);
                }
                tree->DeleteNode(node);
                tree->EndUpdate();
                break;
            }
            default:
                // Let the worker get going on the last change, then destroy or clear the tree.
                std::this_thread::sleep_for(std::chrono::microseconds(random() % 200));
                if (random() % 3 == 0) {
                    tree.reset();
                    ++destroyed;
                    continue;
                }
                tree->Clear();
                break;
        }
        // The next change follows at once, or after the worker has had a moment, or after its
        // notices were taken.
        switch (random() % 3) {
            case 0:
                break;
            case 1:
                std::this_thread::sleep_for(std::chrono::microseconds(random() % 300));
                break;
            default:
                App().ProcessMessages();
                break;
        }
        if (round % 20 == 0) {
            App().ProcessMessages();
            ASSERT_TREE_OK(*tree) << "round " << round;
            if (tree->TreeStates().Contains(tsUseCache)) ++cachedSamples;
            ASSERT_EQ(Sample(*tree, random), "") << "round " << round;
        }
    }
    std::printf(
        "walks interrupted after their start was seen: %d, samples with the cache: %d, "
        "trees destroyed: %d\n",
        caughtWalking, cachedSamples, destroyed);
    EXPECT_GT(caughtWalking, 0);
    EXPECT_GT(cachedSamples, 0);
    EXPECT_GT(destroyed, 0);
}

}  // namespace
}  // namespace rv::test
