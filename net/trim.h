#pragma once

#include <string>
#include <string_view>

namespace rv {

// The text without the control characters and blanks (anything up to ' ') at either end.
std::string Trim(std::string_view text);

}  // namespace rv
