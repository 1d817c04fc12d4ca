#pragma once

#include <string>
#include <string_view>

namespace rv {

// The text without the blanks and control characters (anything up to ' ') at either end.
std::string TrimBlanksAndControls(std::string_view text);

}  // namespace rv
