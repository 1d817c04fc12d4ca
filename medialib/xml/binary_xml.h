#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "medialib/xml/xml_document.h"

namespace rv {

// The binary form of a document: the signature, 4 bytes of options, the name table, then the
// document's attributes and children depth first. It keeps every value with its type.
// `options` bit 0: strings as UTF-16 (kBinaryXmlWideStrings).
std::string WriteBinaryXml(const TXmlDocument& document, std::uint32_t options);

// A new document read from the binary form (`bytes` starts with the signature), in a new name
// table. A damaged file raises EXmlError; nothing it says is believed before it is checked
// against the bytes that are there.
IXmlDocument ReadBinaryXml(std::string_view bytes, bool preserveWhiteSpace);

// Whether the bytes of a file are in the binary form rather than text.
bool IsBinaryXmlFile(std::string_view bytes);

}  // namespace rv
