#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "medialib/xml/xml_text_output.h"

namespace rv {

// Takes the bytes of a text as they are made, piece by piece.
using XmlByteSink = std::function<void(std::string_view)>;

// Writes a data document — every element holds either one text value or only child elements —
// as it is made, without a tree: the same bytes WriteXmlText gives for the same document (the
// declaration, an element per line indented by TABs, CR LF, no line end after the root), handed
// on in pieces of about kPieceSize so that a large document is never held whole.
//
// Texts are UTF-8 and encoded into the declared encoding as WriteXmlText does. A name the
// encoding cannot hold raises EXmlError; what was handed on before then is no document.
class XmlStreamWriter {
public:
    static constexpr size_t kPieceSize = 1 << 16;

    // Begins with the declaration of `version` and `encodingName`; raises EXmlError for an
    // encoding that is not supported.
    XmlStreamWriter(XmlByteSink sink, std::string_view version, std::string_view encodingName);
    ~XmlStreamWriter();
    XmlStreamWriter(const XmlStreamWriter&) = delete;
    XmlStreamWriter& operator=(const XmlStreamWriter&) = delete;

    void StartElement(std::string_view name);
    // Only straight after StartElement.
    void Attribute(std::string_view name, std::string_view value);
    void EndElement();

    // An element holding one value; an empty text gives <NAME/>.
    void ValueElement(std::string_view name, std::string_view text);
    void IntegerElement(std::string_view name, std::int64_t value);
    // With a point whatever the locale (FloatToText).
    void FloatElement(std::string_view name, double value);

    // Ends the elements still open and hands on the rest.
    void Finish();

private:
    // A line break and "<NAME", the open start tag before it closed. Gives where the name's
    // bytes stand.
    size_t OpenTag(std::string_view name);
    void CloseValueElement(size_t nameStart, size_t valueStart);
    void HandOnFullPiece() {
        if (out_.Size() >= kPieceSize) HandOn();
    }
    void HandOn();

    XmlByteSink sink_;
    XmlTextOutput out_;
    std::string openNames_;           // the names of the open elements, as written
    std::vector<size_t> nameStarts_;  // where each begins in openNames_
    bool startTagOpen_ = false;
};

}  // namespace rv
