#include "medialib/exchange_sort.h"

#include <algorithm>
#include <numeric>

namespace rv {

namespace {

// Below this size the plain loop is the quickest way.
constexpr size_t kPlainLimit = 32;

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
class MinTree {
public:
    explicit MinTree(const std::vector<uint32_t>& keys) {
        while (leaves_ < keys.size()) leaves_ *= 2;
        min_.assign(2 * leaves_, UINT32_MAX);
        std::copy(keys.begin(), keys.end(), min_.begin() + static_cast<ptrdiff_t>(leaves_));
        for (size_t node = leaves_ - 1; node > 0; --node)
            min_[node] = std::min(min_[2 * node], min_[2 * node + 1]);
    }

    void Set(size_t pos, uint32_t key) {
        size_t node = leaves_ + pos;
        min_[node] = key;
        for (node /= 2; node > 0; node /= 2)
            min_[node] = std::min(min_[2 * node], min_[2 * node + 1]);
    }

    // The highest position in [lo, hi) whose key is below `bound`, or -1.
    long RightmostBelow(size_t lo, size_t hi, uint32_t bound) const {
        return Search(1, 0, leaves_, lo, hi, bound);
    }

private:
    long Search(size_t node, size_t from, size_t to, size_t lo, size_t hi, uint32_t bound) const {
        if (to <= lo || hi <= from || min_[node] >= bound) return -1;
        if (to - from == 1) return static_cast<long>(from);
        const size_t mid = from + (to - from) / 2;
        const long right = Search(2 * node + 1, mid, to, lo, hi, bound);
        return right >= 0 ? right : Search(2 * node, from, mid, lo, hi, bound);
    }

    size_t leaves_ = 1;
    std::vector<uint32_t> min_;
};

}  // namespace

void PlainExchangeSort(std::span<uint32_t> keys, std::span<int> ids) {
    PlainPasses(keys, ids, 0);
}

std::vector<int> ExchangeSortOrder(std::vector<uint32_t> keys) {
    const size_t budget = 32 * keys.size();
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
    // chain rotates by one place and the rest of the pass changes nothing.
    MinTree tree(keys);
    std::vector<size_t> chain;
    size_t spent = 0;
    for (size_t i = 0; i + 1 < n; ++i) {
        if (spent > exchangeBudget) {  // an input that needs very many exchanges
            PlainPasses(keys, ids, i);
            break;
        }
        chain.clear();
        uint32_t carried = keys[i];
        for (long j = tree.RightmostBelow(i + 1, n, carried); j >= 0;
             j = tree.RightmostBelow(i + 1, static_cast<size_t>(j), carried)) {
            chain.push_back(static_cast<size_t>(j));
            carried = keys[static_cast<size_t>(j)];
        }
        if (chain.empty()) continue;
        uint32_t key = keys[i];
        int id = ids[i];
        for (size_t pos : chain) {
            std::swap(key, keys[pos]);
            std::swap(id, ids[pos]);
            tree.Set(pos, keys[pos]);
        }
        keys[i] = key;
        ids[i] = id;
        tree.Set(i, key);
        spent += chain.size();
    }
    return ids;
}

}  // namespace rv
