#pragma once

#include <string_view>

#include "medialib/xml/xml_encoding.h"

namespace rv {

class TXmlDocument;

// The deepest element nesting the parser accepts.
inline constexpr int kXmlMaxDepth = 1000;

// Reads XML text into `document`, appending to its children; texts and names are stored in
// UTF-8. Errors raise EXmlError with the line and column where reading stopped; the nodes read
// until then stay in the document.
void ParseXmlText(TXmlDocument& document, std::string_view text, const XmlEncoding& encoding);

}  // namespace rv
