#pragma once

#include <string>
#include <string_view>

namespace rv {

// The form under which key and value names are compared: every character case-folded by the
// Unicode rules ("Ärger" and "ärger", "КЛЮЧ" and "ключ" are one name). Bytes that are not UTF-8
// match only themselves.
std::string FoldName(std::string_view name);

}  // namespace rv
