#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/text/codepage.h"

namespace rv {

// The encodings XML files may come in: UTF-8 or one of the single-byte code pages.
struct XmlEncoding {
    bool utf8 = true;
    CodePage page = CodePage::Windows1250;
};

// "UTF-8" (any spelling) or a supported code page name; nothing for anything else.
std::optional<XmlEncoding> XmlEncodingFromName(std::string_view name);

// The value of the pseudo-attribute `name` in the text of a declaration
// (version="1.0" encoding="windows-1250"), or nothing.
std::optional<std::string_view> PseudoAttribute(std::string_view declaration,
                                                std::string_view name);

// Bytes of an XML file turned into UTF-8 text: a byte-order mark or else the declaration's
// encoding decides (UTF-8 when neither says anything); the mark is dropped. Raises EXmlError for
// an encoding that is not supported and for malformed UTF-8.
std::string DecodeXmlBytes(std::string_view bytes);

}  // namespace rv
