#pragma once

#include <string_view>

namespace rv {

class TXmlDocument;

// The deepest element nesting the parser accepts.
inline constexpr int kXmlMaxDepth = 1000;

// Reads XML text (UTF-8) into `document`, appending to its children. Errors raise EXmlError with
// the line and column where reading stopped; the nodes read until then stay in the document.
void ParseXmlText(TXmlDocument& document, std::string_view text);

}  // namespace rv
