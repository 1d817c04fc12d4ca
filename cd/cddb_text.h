#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rv {

// A CDDB server's answer (protocol level 5, ISO-8859-1) as lines of UTF-8 text. A line ends at
// CR, at LF or at CR LF; a last line without a line break is kept.
std::vector<std::string> CddbAnswerLines(std::string_view received);

}  // namespace rv
