#include "medialib/exchange_sort.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <vector>

namespace rv {
namespace {

// The loop itself, as the reference.
std::vector<int> PlainOrder(std::vector<uint32_t> keys) {
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

TEST(ExchangeSort, EqualKeysEndInTheLoopsOrder) {
    // 2, 2', 1 ends as 1, 2', 2.
    EXPECT_EQ(ExchangeSortOrder({2, 2, 1}), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(ExchangeSortOrder({}), std::vector<int>{});
    EXPECT_EQ(ExchangeSortOrder({7}), std::vector<int>{0});
}

TEST(ExchangeSort, MatchesTheLoopOnRandomInputWithTies) {
    std::mt19937 random(4);
    for (int round = 0; round < 400; ++round) {
        const size_t n = random() % 300;
        const uint32_t spread = 1 + random() % (round % 3 == 0 ? 1000 : 6);
        std::vector<uint32_t> keys(n);
        for (uint32_t& key : keys) key = random() % spread;
        // Half the rounds also start from mostly sorted input, the common case after a load.
        if (round % 2) std::sort(keys.begin(), keys.begin() + static_cast<long>(n / 2));
        ASSERT_EQ(ExchangeSortOrder(keys), PlainOrder(keys)) << "round " << round;
    }
}

TEST(ExchangeSort, MatchesTheLoopWhenExchangesRunOut) {
    // Two sorted runs, the higher first: every pass makes a long chain of exchanges, so the
    // budget runs out and the plain loop finishes the work.
    std::vector<uint32_t> keys;
    for (uint32_t k = 0; k < 200; ++k) keys.push_back(200 + k / 2);
    for (uint32_t k = 0; k < 200; ++k) keys.push_back(k / 2);
    keys.push_back(250);
    EXPECT_EQ(ExchangeSortOrder(keys), PlainOrder(keys));
    for (size_t budget : {0, 1, 50, 5000})
        EXPECT_EQ(ExchangeSortOrder(keys, budget), PlainOrder(keys)) << budget;
}

TEST(ExchangeSort, DistinctKeysSortAscending) {
    std::vector<uint32_t> keys(1000);
    std::iota(keys.begin(), keys.end(), 0u);
    std::shuffle(keys.begin(), keys.end(), std::mt19937(9));
    const std::vector<int> order = ExchangeSortOrder(keys);
    for (size_t k = 0; k < order.size(); ++k) EXPECT_EQ(keys[order[k]], k);
}

TEST(ExchangeSort, DenseRanksFollowByteOrder) {
    EXPECT_EQ(DenseRanks({"b", "a", "b", "\xC3\xA9", ""}), (std::vector<uint32_t>{2, 1, 2, 3, 0}));
}

}  // namespace
}  // namespace rv
