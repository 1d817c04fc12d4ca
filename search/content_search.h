#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/dirs/directory.h"

namespace rv {

// The largest piece of a file held in memory by the content search (a longer phrase widens it).
inline constexpr std::size_t kContentChunk = 61440;

// Whether the regular file `name` of `folder` contains `searchText`. With `ignoreCase` the
// file's bytes are folded like the search text (A-Z to a-z, every other byte as it is), so the
// search text must already be lowered that way. False when the file cannot be opened or read,
// for anything but a regular file, and once `stop` (asked before each chunk) says so. The holes
// of a sparse file are not read unless the search text holds a zero byte.
bool FileContainsPhrase(const FolderHandle& folder, const std::string& name,
                        std::string_view searchText, bool ignoreCase,
                        const std::function<bool()>& stop = {});

// The same for the file at `fileName`.
bool FileContainsPhrase(const std::string& fileName, std::string_view searchText, bool ignoreCase);

}  // namespace rv
