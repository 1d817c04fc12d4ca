#include "medialib/xml/xml_stream_writer.h"

#include <algorithm>
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
    if (out_.Encoding().charset)
        encoder_ = std::make_unique<SystemCharset::Encoder>(*out_.Encoding().charset);
    out_.Raw("<?xml ");
    out_.Chars(
        "version=\"" + std::string(version) + "\" encoding=\"" + std::string(encodingName) + "\"",
        XmlTextOutput::Missing::Question);
    out_.Raw("?>");
}

XmlStreamWriter::~XmlStreamWriter() = default;

XmlStreamWriter::Tag XmlStreamWriter::MakeTag(std::string_view name) const {
    XmlTextOutput encoded(out_.Encoding());
    encoded.Name(name);
    Tag tag;
    tag.start_.append("<").append(encoded.View()).append(">");
    tag.end_.append("</").append(encoded.View()).append(">");
    tag.startLength_ = tag.start_.size();
    tag.endLength_ = tag.end_.size();
    tag.start_.resize(std::max(tag.startLength_, XmlTextOutput::kPadded));
    tag.end_.resize(std::max(tag.endLength_, XmlTextOutput::kPadded));
    return tag;
}

void XmlStreamWriter::CloseStartTag() {
    if (startTagOpen_) out_.Raw('>');
    startTagOpen_ = false;
}

void XmlStreamWriter::StartElement(const Tag& tag) {
    CloseStartTag();
    out_.LineBreak(Depth());
    Put(tag.start_, tag.startLength_ - 1);  // attributes may follow
    endStarts_.push_back(openEnds_.size());
    openEnds_.append(tag.end_, 0, tag.endLength_);
    startTagOpen_ = true;
}

void XmlStreamWriter::Attribute(std::string_view name, std::string_view value) {
    if (!startTagOpen_) throw std::logic_error("XML attribute outside a start tag");
    out_.Raw(' ');
    out_.Name(name);
    out_.Raw("=\"");
    out_.AttributeValue(value);
    out_.Raw('"');
}

void XmlStreamWriter::EndElement() {
    if (endStarts_.empty()) throw std::logic_error("XML end tag without an open element");
    const size_t endStart = endStarts_.back();
    endStarts_.pop_back();
    if (startTagOpen_) {
        out_.Raw("/>");
        startTagOpen_ = false;
    } else {
        out_.LineBreak(Depth());
        out_.Raw(std::string_view(openEnds_).substr(endStart));
    }
    openEnds_.resize(endStart);
    HandOnFullPiece();
}

size_t XmlStreamWriter::OpenValue(const Tag& tag) {
    CloseStartTag();
    out_.LineBreak(Depth());
    Put(tag.start_, tag.startLength_);
    return out_.Size();
}

void XmlStreamWriter::CloseValue(const Tag& tag, size_t valueStart) {
    if (out_.Size() == valueStart) {  // nothing to hold
        out_.Unput(1);
        out_.Raw("/>");
    } else {
        Put(tag.end_, tag.endLength_);
    }
    HandOnFullPiece();
}

void XmlStreamWriter::ValueElement(const Tag& tag, std::string_view text) {
    const size_t valueStart = OpenValue(tag);
    out_.Content(text);
    CloseValue(tag, valueStart);
}

void XmlStreamWriter::IntegerElement(const Tag& tag, std::int64_t value) {
    const size_t valueStart = OpenValue(tag);
    out_.Integer(value);
    CloseValue(tag, valueStart);
}

void XmlStreamWriter::FloatElement(const Tag& tag, double value) {
    const size_t valueStart = OpenValue(tag);
    out_.Float(value);
    CloseValue(tag, valueStart);
}

void XmlStreamWriter::Finish() {
    while (!endStarts_.empty()) EndElement();
    HandOn();
    if (encoder_) {
        converted_.clear();
        encoder_->Finish(converted_);
        if (!converted_.empty()) sink_(converted_);
    }
}

void XmlStreamWriter::HandOn() {
    if (out_.Size() == 0) return;
    if (encoder_) {
        converted_.clear();
        AppendConverted(*encoder_, converted_, out_.View(), out_.Encoding());
        sink_(converted_);
    } else {
        sink_(out_.View());
    }
    out_.Clear();
}

}  // namespace rv
