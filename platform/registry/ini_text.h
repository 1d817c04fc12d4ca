#pragma once

#include <string>
#include <string_view>

#include "platform/registry/registry_key.h"

namespace rv {

// An INI file's text as a settings tree: each section a key below the root, in the order the
// file has them, holding its "name=value" lines as values (names and values without the blanks
// around them).
//
//   [1.x]
//   TreePanel_Width=231
//
// Every other line - comments, lines of other forms, a name given again in its section (the
// first counts), values before the first section - is kept as it stands, as a value whose name
// starts with "=" (no name of a line can) and whose text is the line, and written back in its
// place. Blank lines are dropped; sections are parted by one blank line when written. A section
// named again continues the first of that name. Headers are read up to their "]". A text whose
// first line begins with a byte-order mark is written with a further mark before it, so that
// what is read back is the same.
std::string WriteIniText(const RegistryKey& root);

// Reads text written as above, or by hand, into `root` (an empty key). Fails, with the line
// number and the reason in `error`, for text that is not UTF-8 or passes the limits of
// registry_key.h.
bool ReadIniText(std::string_view text, RegistryKey& root, std::string& error);

// A kept line, not a value.
inline bool IsKeptIniLine(std::string_view name) {
    return name.starts_with('=');
}

}  // namespace rv
