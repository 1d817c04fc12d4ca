#pragma once

#include <string>

namespace rv {

// `path` made absolute against the current folder, with "." and ".." resolved by the text alone
// and doubled slashes dropped; a trailing slash is kept. An empty path stays empty.
std::string ExpandFileName(const std::string& path);

// The running program's file, made absolute; empty when the system does not tell.
std::string ExecutableFileName();

// `path` with a "/" at the end (an empty path stays empty).
std::string IncludeTrailingSlash(const std::string& path);

}  // namespace rv
