#include "medialib/xml/xml_nodes.h"

#include "medialib/xml/xml_chars.h"
#include "medialib/xml/xml_document.h"

namespace rv {

// ---- TXmlElement ----

std::string TXmlElement::Text() const {
    if (!Children().Items().empty()) return ChildrenText();
    return ValueToText(value_);
}

void TXmlElement::SetText(std::string_view text) {
    DropChildren();  // the value, if any, is replaced below
    value_ = text.empty() ? XmlValue() : XmlValue(text);
}

XmlVarType TXmlElement::DataType() const {
    if (!Children().Items().empty() || value_.IsEmpty()) return XmlVarType::Text;
    return value_.Type();
}

XmlValue TXmlElement::NodeValue() const {
    if (!Children().Items().empty()) return XmlValue(ChildrenText());
    return value_;
}

void TXmlElement::SetNodeValue(const XmlValue& value) {
    DropChildren();
    value_ = value;
}

TXmlNodeList& TXmlElement::MutableChildren() {
    TXmlNodeList& children = TXmlNode::MutableChildren();
    if (!value_.IsEmpty()) {
        XmlValue value = std::move(value_);
        value_ = XmlValue();
        children.Insert(IXmlNode(new TXmlText(NameTable(), std::move(value))));
    }
    return children;
}

IXmlNode TXmlElement::CloneSelf() const {
    TXmlElement* copy = new TXmlElement(NameTable(), NodeNameID());
    copy->value_ = value_;
    return copy;
}

// ---- TXmlText ----

XmlVarType TXmlText::DataType() const {
    return value_.IsEmpty() ? XmlVarType::Text : value_.Type();
}

IXmlNode TXmlText::CloneSelf() const {
    return new TXmlText(NameTable(), value_);
}

// ---- Character data ----

std::string TXmlCharacterData::Text() const {
    const TXmlDocument* document = OwnerDocument();
    const bool preserve = document ? document->PreserveWhiteSpace() : DefaultPreserveWhiteSpace();
    if (preserve) return data_;
    return std::string(xml_chars::TrimBlanks(data_));
}

IXmlNode TXmlCDATASection::CloneSelf() const {
    return new TXmlCDATASection(NameTable(), Data());
}

IXmlNode TXmlComment::CloneSelf() const {
    return new TXmlComment(NameTable(), Data());
}

IXmlNode TXmlProcessingInstruction::CloneSelf() const {
    return new TXmlProcessingInstruction(NameTable(), NodeNameID(), text_);
}

}  // namespace rv
