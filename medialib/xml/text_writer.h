#pragma once

#include <string>

#include "medialib/xml/xml_encoding.h"

namespace rv {

class TXmlNode;

// The XML text of a node: one element per line, a TAB per depth, CR LF line ends, no line end
// after the last tag. Elements holding text are written without any added line break, so
// reading the text back gives every value unchanged. Characters XML cannot carry are left out.
//
// In UTF-8; or, for files, in the code page given, where a character the page lacks becomes a
// character reference (in names, where no reference is possible, it raises EXmlError).
std::string WriteXmlText(const TXmlNode& node, const XmlEncoding& encoding = {});

}  // namespace rv
