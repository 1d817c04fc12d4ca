#pragma once

#include <string>
#include <string_view>

// The user's locale order for sorting names (case-sensitive), as LC_COLLATE gives it.
namespace rv {

// <0, 0, >0. Equal collation but different bytes fall back to byte order, so that only
// identical texts compare equal.
int CompareLocale(std::string_view a, std::string_view b);

// A key whose byte order is CompareLocale's order: compute once, compare many times.
std::string LocaleSortKey(std::string_view text);

}  // namespace rv
