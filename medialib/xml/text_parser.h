#pragma once

#include <string_view>

#include "medialib/xml/xml_encoding.h"

namespace rv {

class TXmlDocument;
class TXmlNameTable;
class XmlContentHandler;

// The deepest element nesting the parser accepts.
inline constexpr int kXmlMaxDepth = 1000;

// Reads XML text into `document`, appending to its children; texts and names are stored in
// UTF-8. Errors raise EXmlError with the line and column where reading stopped; the nodes read
// until then stay in the document.
void ParseXmlText(TXmlDocument& document, std::string_view text, const XmlEncoding& encoding);

// Reads XML text reporting its content to `handler`, names identified in `names`; the checks
// and errors are those of reading into a document. Blank runs between tags are reported only
// when `preserveWhiteSpace`.
void ParseXmlText(XmlContentHandler& handler, TXmlNameTable& names, std::string_view text,
                  const XmlEncoding& encoding, bool preserveWhiteSpace);

}  // namespace rv
