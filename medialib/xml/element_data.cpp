// CDATA and binary content of TXmlElement.

#include "medialib/xml/base64.h"
#include "medialib/xml/xml_nodes.h"

namespace rv {

namespace {

void RemoveTextChildren(TXmlNodeList& children) {
    for (int i = children.Count() - 1; i >= 0; --i) {
        const XmlNodeType type = children.At(static_cast<size_t>(i))->NodeType();
        if (type == kXmlTextNode || type == kXmlCDATASectionNode) children.Delete(i);
    }
}

}  // namespace

void TXmlElement::ReplaceTextByCDATASection(std::string_view text) {
    RemoveTextChildren(MutableChildren());
    size_t pos = 0;
    for (;;) {
        const size_t end = text.find("]]>", pos);
        if (end == std::string_view::npos) break;
        AppendCDATA(text.substr(pos, end + 1 - pos));
        pos = end + 1;
    }
    AppendCDATA(text.substr(pos));
}

void TXmlElement::ReplaceTextByBinaryData(const void* data, size_t size, int maxLineLength) {
    RemoveTextChildren(MutableChildren());
    const std::string_view bytes(static_cast<const char*>(data), data ? size : 0);
    AppendText(Base64Encode(bytes, maxLineLength));
}

std::string TXmlElement::GetTextAsBinaryData() const {
    return Base64Decode(Text());
}

}  // namespace rv
