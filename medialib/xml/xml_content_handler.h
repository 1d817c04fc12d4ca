#pragma once

#include <string_view>

#include "medialib/xml/name_table.h"

namespace rv {

// Receives the content of a document in the order it stands, without a tree being built.
// Names come as identifiers of the name table the reader was given; texts come in UTF-8, with
// references resolved, and stay valid only until the call returns. Blank runs between tags are
// not reported unless white space is preserved. An exception thrown by a handler stops the
// reading and reaches the reader's caller.
class XmlContentHandler {
public:
    virtual ~XmlContentHandler() = default;

    // "<name": attributes follow, then StartTagEnd; an empty-element tag then ends at once.
    virtual void StartElement(XmlNameID name) = 0;
    // An attribute of the element or instruction just started (the "xml" declaration reports
    // its pseudo-attributes this way).
    virtual void Attribute(XmlNameID name, std::string_view value) = 0;
    virtual void StartTagEnd() = 0;
    virtual void EndElement() = 0;
    // A run of character data; `whole` when it is all the open element holds.
    virtual void Text(std::string_view text, bool whole) = 0;
    // The content of a CDATA section, as it stands.
    virtual void CData(std::string_view text) = 0;
    virtual void Comment(std::string_view text) = 0;
    // A processing instruction; the "xml" declaration comes with an empty text, followed by its
    // pseudo-attributes.
    virtual void ProcessingInstruction(XmlNameID target, std::string_view text) = 0;
};

}  // namespace rv
