#include "medialib/exchange_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace rv {
namespace {

// The loop itself, as the reference.
std::vector<int> LoopOrder(std::vector<uint32_t> keys) {
    std::vector<int> ids(keys.size());
    std::iota(ids.begin(), ids.end(), 0);
    for (size_t i = 0; i + 1 < keys.size(); ++i)
        for (size_t j = keys.size() - 1; j > i; --j)
            if (keys[i] > keys[j]) {
                std::swap(keys[i], keys[j]);
                std::swap(ids[i], ids[j]);
            }
    return ids;
}

std::vector<int> PlainOrder(std::vector<uint32_t> keys) {
    std::vector<int> ids(keys.size());
    std::iota(ids.begin(), ids.end(), 0);
    PlainExchangeSort(keys, ids);
    return ids;
}

TEST(ExchangeSort, ReproducesTheLoopIncludingTheOrderOfTies) {
    EXPECT_EQ(LoopOrder({2, 2, 1}), (std::vector<int>{2, 1, 0}));  // 2, 2', 1 -> 1, 2', 2
    std::mt19937 random(4);
    for (int round = 0; round < 400; ++round) {
        // Mostly short arrays; every tenth long enough for a deep search tree.
        std::vector<uint32_t> keys(random() % (round % 10 ? 300 : 3000));
        const uint32_t spread = 1 + random() % (round % 3 == 0 ? 1000 : round % 3 == 1 ? 6 : 60);
        for (uint32_t& key : keys) key = random() % spread;
        if (round % 5 == 0) {  // all keys distinct
            std::iota(keys.begin(), keys.end(), 0u);
            std::shuffle(keys.begin(), keys.end(), random);
        }
        const auto half = keys.begin() + static_cast<long>(keys.size() / 2);
        if (round % 4 == 1) std::sort(keys.begin(), half);
        if (round % 4 == 3) std::sort(keys.begin(), half, std::greater<>());
        const std::vector<int> expected = LoopOrder(keys);
        ASSERT_EQ(ExchangeSortOrder(keys), expected) << "round " << round;
        if (keys.size() <= 300) {
            ASSERT_EQ(PlainOrder(keys), expected) << "round " << round;
        }
    }
}

TEST(ExchangeSort, FinishesWithTheLoopWhenExchangesRunOut) {
    // Two sorted runs, the higher first: every pass makes a long chain of exchanges.
    std::vector<uint32_t> keys;
    for (uint32_t k = 0; k < 400; ++k) keys.push_back(k < 200 ? 200 + k / 2 : (k - 200) / 2);
    for (size_t budget : {0, 1, 50, 5000, 1000000})
        EXPECT_EQ(ExchangeSortOrder(keys, budget), LoopOrder(keys)) << budget;
}

}  // namespace
}  // namespace rv
