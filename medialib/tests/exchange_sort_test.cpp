#include "medialib/exchange_sort.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace rv {
namespace {

// The loop itself, as the reference.
std::vector<int> PlainOrder(std::vector<uint32_t> keys) {
    std::vector<int> ids(keys.size());
    std::iota(ids.begin(), ids.end(), 0);
    PlainExchangeSort(keys, ids);
    return ids;
}

TEST(ExchangeSort, ReproducesTheLoopIncludingTheOrderOfTies) {
    EXPECT_EQ(PlainOrder({2, 2, 1}), (std::vector<int>{2, 1, 0}));  // 2, 2', 1 -> 1, 2', 2
    std::mt19937 random(4);
    for (int round = 0; round < 400; ++round) {
        std::vector<uint32_t> keys(random() % 300);
        const uint32_t spread = 1 + random() % (round % 3 == 0 ? 1000 : 6);
        for (uint32_t& key : keys) key = random() % spread;
        if (round % 5 == 0) {  // all keys distinct
            std::iota(keys.begin(), keys.end(), 0u);
            std::shuffle(keys.begin(), keys.end(), random);
        }
        if (round % 2) std::sort(keys.begin(), keys.begin() + static_cast<long>(keys.size() / 2));
        ASSERT_EQ(ExchangeSortOrder(keys), PlainOrder(keys)) << "round " << round;
    }
}

TEST(ExchangeSort, FinishesWithTheLoopWhenExchangesRunOut) {
    // Two sorted runs, the higher first: every pass makes a long chain of exchanges.
    std::vector<uint32_t> keys;
    for (uint32_t k = 0; k < 400; ++k) keys.push_back(k < 200 ? 200 + k / 2 : (k - 200) / 2);
    for (size_t budget : {0, 1, 50, 5000, 1000000})
        EXPECT_EQ(ExchangeSortOrder(keys, budget), PlainOrder(keys)) << budget;
}

}  // namespace
}  // namespace rv
