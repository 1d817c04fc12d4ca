#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rv {

// The largest piece of a file held in memory by the content search (a longer phrase widens it).
inline constexpr std::size_t kContentChunk = 61440;

// Whether the regular file `fileName` contains `searchText`. With `ignoreCase` the file's bytes
// are folded like the search text (A-Z to a-z, every other byte as it is), so the search text
// must already be lowered that way. False when the file cannot be opened or read, and for
// anything but a regular file.
bool FileContainsPhrase(const std::string& fileName, std::string_view searchText, bool ignoreCase);

}  // namespace rv
