#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The order of albums and tracks: an in-place exchange sort that is not stable, computed fast.
//
//   for i := 0 to n-2: for j := n-1 down to i+1: if key[i] > key[j] then exchange
//
// Equal keys end in the order this loop gives them (keys 2, 2', 1 end as 1, 2', 2), so the result
// is reproduced exactly rather than approximated by another sort.
namespace rv {

// result[k] is the original position of the entry that the sort puts at position k. `keys` are
// any integers in the order of the sort key.
std::vector<int> ExchangeSortOrder(std::vector<uint32_t> keys);

// Same, with the number of exchanges the fast simulation may spend before it finishes with the
// plain loop (which costs n*n/2 comparisons whatever the input).
std::vector<int> ExchangeSortOrder(std::vector<uint32_t> keys, size_t exchangeBudget);

// In place: sorts `keys` as the loop does and makes the same exchanges in `ids`. Meant for the
// short arrays most artists and albums have (n*n/2 comparisons, no allocation).
void PlainExchangeSort(std::span<uint32_t> keys, std::span<int> ids);

}  // namespace rv
