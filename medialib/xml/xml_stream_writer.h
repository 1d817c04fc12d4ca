#pragma once

#include <cstdint>
#include <functional>
#include <memory>
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
// on in pieces of about kPieceSize (as made in UTF-8, before an encoding the system converts
// makes them longer) so that a large document is never held whole.
//
// Texts are UTF-8 and encoded into the declared encoding as WriteXmlText does. A name the
// encoding cannot hold raises EXmlError; what was handed on before then is no document.
class XmlStreamWriter {
public:
    static constexpr size_t kPieceSize = 1 << 16;

    // An element name made ready once, for elements written many times: checked, encoded and
    // with its tags.
    class Tag {
    private:
        friend class XmlStreamWriter;
        // Each padded to at least XmlTextOutput::kPadded bytes, so that a short one is copied
        // whole.
        std::string start_;  // <NAME>
        std::string end_;    // </NAME>
        size_t startLength_ = 0, endLength_ = 0;
    };

    // Begins with the declaration of `version` and `encodingName`; raises EXmlError for an
    // encoding that is not supported.
    XmlStreamWriter(XmlByteSink sink, std::string_view version, std::string_view encodingName);
    ~XmlStreamWriter();
    XmlStreamWriter(const XmlStreamWriter&) = delete;
    XmlStreamWriter& operator=(const XmlStreamWriter&) = delete;

    Tag MakeTag(std::string_view name) const;

    void StartElement(const Tag& tag);
    void StartElement(std::string_view name) { StartElement(MakeTag(name)); }
    // Only straight after StartElement.
    void Attribute(std::string_view name, std::string_view value);
    void EndElement();

    // An element holding one value; an empty text gives <NAME/>.
    void ValueElement(const Tag& tag, std::string_view text);
    void IntegerElement(const Tag& tag, std::int64_t value);
    // With a point whatever the locale (FloatToText).
    void FloatElement(const Tag& tag, double value);
    void ValueElement(std::string_view name, std::string_view text) {
        ValueElement(MakeTag(name), text);
    }
    void IntegerElement(std::string_view name, std::int64_t value) {
        IntegerElement(MakeTag(name), value);
    }
    void FloatElement(std::string_view name, double value) { FloatElement(MakeTag(name), value); }

    // Ends the elements still open and hands on the rest. A writer let go without it hands on
    // nothing more.
    void Finish();

private:
    // Closes the parent's start tag, and begins the line and the value element. Gives where
    // the value starts.
    size_t OpenValue(const Tag& tag);
    void CloseValue(const Tag& tag, size_t valueStart);
    void CloseStartTag();
    void Put(const std::string& padded, size_t length) {
        if (length <= XmlTextOutput::kPadded)
            out_.RawPadded(padded.data(), length);
        else
            out_.Raw(std::string_view(padded.data(), length));
    }
    int Depth() const { return static_cast<int>(endStarts_.size()); }
    void HandOnFullPiece() {
        if (out_.Size() >= kPieceSize) HandOn();
    }
    void HandOn();

    XmlByteSink sink_;
    XmlTextOutput out_;
    // For an encoding the system converts: the converter and the piece converted.
    std::unique_ptr<SystemCharset::Encoder> encoder_;
    std::string converted_;
    std::string openEnds_;           // the end tags of the open elements
    std::vector<size_t> endStarts_;  // where each begins in openEnds_
    bool startTagOpen_ = false;
};

}  // namespace rv
