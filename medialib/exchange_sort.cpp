#include "medialib/exchange_sort.h"

#include <algorithm>
#include <numeric>

namespace rv {

namespace {

// Below this size the plain loop is the quickest way.
constexpr size_t kPlainLimit = 32;

// What one exchange of the fast simulation costs, in comparisons of the plain loop (a tree search
// and update; measured between 20 and 120 on arrays of 5,000 to 20,000 entries).
constexpr size_t kExchangeCost = 64;

// The plain loop from pass `first` on.
void PlainPasses(std::span<uint32_t> keys, std::span<int> ids, size_t first) {
    const size_t n = keys.size();
    for (size_t i = first; i + 1 < n; ++i)
        for (size_t j = n - 1; j > i; --j)
            if (keys[i] > keys[j]) {
                std::swap(keys[i], keys[j]);
                std::swap(ids[i], ids[j]);
            }
}

// Minimum over ranges of positions, to find the next exchange of a pass without scanning.
// Positions whose pass is over hold kNone, so a search needs only its upper end.
class MinTree {
public:
    static constexpr uint32_t kNone = UINT32_MAX;

    explicit MinTree(const std::vector<uint32_t>& keys) {
        while (leaves_ < keys.size()) leaves_ *= 2;
        min_.assign(2 * leaves_, kNone);
        std::copy(keys.begin(), keys.end(), min_.begin() + static_cast<ptrdiff_t>(leaves_));
        for (size_t node = leaves_ - 1; node > 0; --node)
            min_[node] = std::min(min_[2 * node], min_[2 * node + 1]);
    }

    void Set(size_t pos, uint32_t key) {
        size_t node = leaves_ + pos;
        min_[node] = key;
        for (node /= 2; node > 0; node /= 2) {
            const uint32_t low = std::min(min_[2 * node], min_[2 * node + 1]);
            if (min_[node] == low) break;  // nothing above changes either
            min_[node] = low;
        }
    }

    // The highest position below `end` whose key is below `bound`, or -1. Climbs from the end
    // leftwards over ever larger blocks, then descends into the first block that holds one.
    long RightmostBelow(size_t end, uint32_t bound) const {
        if (end == 0 || min_[1] >= bound) return -1;
        size_t node = leaves_ + end;
        do {
            --node;
            while (node > 1 && (node & 1) != 0) node /= 2;  // a right child: take its parent
            if (min_[node] < bound) {
                while (node < leaves_) {
                    node = 2 * node + 1;
                    if (min_[node] >= bound) --node;
                }
                return static_cast<long>(node - leaves_);
            }
        } while ((node & (node - 1)) != 0);  // until the block reaches position 0
        return -1;
    }

private:
    size_t leaves_ = 1;
    std::vector<uint32_t> min_;
};

}  // namespace

void PlainExchangeSort(std::span<uint32_t> keys, std::span<int> ids) {
    PlainPasses(keys, ids, 0);
}

std::vector<int> ExchangeSortOrder(std::vector<uint32_t> keys) {
    // Exchanges worth half the plain loop: an input that needs more (many distinct keys and
    // many ties at once) costs at most one and a half loops.
    const size_t budget = keys.size() * keys.size() / (2 * kExchangeCost) / 2;
    return ExchangeSortOrder(std::move(keys), budget);
}

std::vector<int> ExchangeSortOrder(std::vector<uint32_t> keys, size_t exchangeBudget) {
    const size_t n = keys.size();
    std::vector<int> ids(n);
    std::iota(ids.begin(), ids.end(), 0);
    if (n <= kPlainLimit) {
        PlainPasses(keys, ids, 0);
        return ids;
    }

    // With no equal keys every correct sort gives the one possible order.
    std::vector<int> sorted = ids;
    std::sort(sorted.begin(), sorted.end(), [&](int x, int y) { return keys[x] < keys[y]; });
    bool distinct = true;
    for (size_t k = 1; k < n && distinct; ++k) distinct = keys[sorted[k - 1]] != keys[sorted[k]];
    if (distinct) return sorted;

    // Pass i carries the entry at i from the end towards i and exchanges it with each entry
    // smaller than the one it carries: a chain of ever smaller keys, found with the tree. The
    // chain rotates by one place and the rest of the pass changes nothing. A chain has at most
    // one entry per distinct key, so few distinct keys make short chains.
    MinTree tree(keys);
    std::vector<size_t> chain;
    size_t spent = 0;
    for (size_t i = 0; i + 1 < n; ++i) {
        if (spent > exchangeBudget) {  // an input that needs very many exchanges
            PlainPasses(keys, ids, i);
            break;
        }
        tree.Set(i, MinTree::kNone);
        chain.clear();
        uint32_t carried = keys[i];
        for (long j = tree.RightmostBelow(n, carried); j >= 0;
             j = tree.RightmostBelow(static_cast<size_t>(j), carried)) {
            chain.push_back(static_cast<size_t>(j));
            carried = keys[static_cast<size_t>(j)];
        }
        uint32_t key = keys[i];
        int id = ids[i];
        for (size_t pos : chain) {
            std::swap(key, keys[pos]);
            std::swap(id, ids[pos]);
            tree.Set(pos, keys[pos]);
        }
        keys[i] = key;
        ids[i] = id;
        spent += chain.size();
    }
    return ids;
}

}  // namespace rv
