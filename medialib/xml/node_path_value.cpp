// Path-style value access of TXmlNode.

#include "medialib/xml/xml_chars.h"
#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "medialib/xml/xml_node.h"
#include "medialib/xml/xml_nodes.h"

namespace rv {

XmlValue TXmlNode::GetValue(std::string_view path) const {
    if (path.empty()) return NodeValue();
    if (path.starts_with('@')) return GetVarAttr(path.substr(1), XmlValue(""));
    const IXmlNode child = SelectSingleNode(path);
    return child ? child->NodeValue() : XmlValue("");
}

void TXmlNode::SetValue(std::string_view path, const XmlValue& value) {
    if (path.empty()) {
        SetNodeValue(value);
    } else if (path.starts_with('@')) {
        SetVarAttr(path.substr(1), value);
    } else {
        if (!xml_chars::IsName(path)) throw EXmlError(xml_messages::kNotSupported);
        EnsureChild(path)->SetNodeValue(value);
    }
}

}  // namespace rv
