#include "medialib/xml/xml_stream_writer.h"

#include <stdexcept>

#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "platform/text/format.h"

namespace rv {

namespace {

XmlEncoding EncodingNamed(std::string_view name) {
    const auto encoding = XmlEncodingFromName(name);
    if (!encoding)
        throw EXmlError(Format(xml_messages::kUnsupportedEncoding, std::string(name).c_str()));
    return *encoding;
}

}  // namespace

XmlStreamWriter::XmlStreamWriter(XmlByteSink sink, std::string_view version,
                                 std::string_view encodingName)
    : sink_(std::move(sink)), out_(EncodingNamed(encodingName)) {
    out_.Bytes().reserve(kPieceSize + kPieceSize / 4);
    out_.Raw("<?xml ");
    out_.Chars(
        "version=\"" + std::string(version) + "\" encoding=\"" + std::string(encodingName) + "\"",
        XmlTextOutput::Missing::Question);
    out_.Raw("?>");
}

XmlStreamWriter::~XmlStreamWriter() = default;

size_t XmlStreamWriter::OpenTag(std::string_view name) {
    if (startTagOpen_) out_.Raw('>');
    startTagOpen_ = false;
    out_.LineBreak(static_cast<int>(nameStarts_.size()));
    out_.Raw('<');
    const size_t nameStart = out_.Size();
    out_.Name(name);
    return nameStart;
}

void XmlStreamWriter::StartElement(std::string_view name) {
    const size_t nameStart = OpenTag(name);
    nameStarts_.push_back(openNames_.size());
    openNames_.append(out_.Bytes(), nameStart);
    startTagOpen_ = true;
}

void XmlStreamWriter::Attribute(std::string_view name, std::string_view value) {
    if (!startTagOpen_) throw std::logic_error("XML attribute outside a start tag");
    out_.Raw(' ');
    out_.Name(name);
    out_.Raw("=\"");
    out_.Escaped(value);
    out_.Raw('"');
}

void XmlStreamWriter::EndElement() {
    if (nameStarts_.empty()) throw std::logic_error("XML end tag without an open element");
    const size_t nameStart = nameStarts_.back();
    nameStarts_.pop_back();
    if (startTagOpen_) {
        out_.Raw("/>");
        startTagOpen_ = false;
    } else {
        out_.LineBreak(static_cast<int>(nameStarts_.size()));
        out_.Raw("</");
        out_.Raw(std::string_view(openNames_).substr(nameStart));
        out_.Raw('>');
    }
    openNames_.resize(nameStart);
    HandOnFullPiece();
}

void XmlStreamWriter::CloseValueElement(size_t nameStart, size_t valueStart) {
    std::string& bytes = out_.Bytes();
    if (bytes.size() == valueStart) {  // nothing to hold
        bytes.back() = '/';
        bytes += '>';
    } else {
        const size_t nameLength = valueStart - 1 - nameStart;
        bytes += "</";
        bytes.append(bytes, nameStart, nameLength);  // the name as the start tag has it
        bytes += '>';
    }
    HandOnFullPiece();
}

void XmlStreamWriter::ValueElement(std::string_view name, std::string_view text) {
    const size_t nameStart = OpenTag(name);
    out_.Raw('>');
    const size_t valueStart = out_.Size();
    out_.Content(text);
    CloseValueElement(nameStart, valueStart);
}

void XmlStreamWriter::IntegerElement(std::string_view name, std::int64_t value) {
    const size_t nameStart = OpenTag(name);
    out_.Raw('>');
    const size_t valueStart = out_.Size();
    out_.Integer(value);
    CloseValueElement(nameStart, valueStart);
}

void XmlStreamWriter::FloatElement(std::string_view name, double value) {
    const size_t nameStart = OpenTag(name);
    out_.Raw('>');
    const size_t valueStart = out_.Size();
    out_.Float(value);
    CloseValueElement(nameStart, valueStart);
}

void XmlStreamWriter::Finish() {
    while (!nameStarts_.empty()) EndElement();
    HandOn();
}

void XmlStreamWriter::HandOn() {
    if (out_.Size() == 0) return;
    sink_(out_.Bytes());
    out_.Bytes().clear();
}

}  // namespace rv
