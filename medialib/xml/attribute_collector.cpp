#include "medialib/xml/attribute_collector.h"

namespace rv {

void XmlAttributeCollector::Begin(TXmlNode& node) {
    node_ = &node;
    if (++serial_ == 0) {  // the serials have come round: forget them all
        seen_.assign(seen_.size(), Seen{});
        serial_ = 1;
    }
}

void XmlAttributeCollector::Add(XmlNameID nameID, XmlValue value) {
    if (nameID < 0) return;
    const auto slot = static_cast<size_t>(nameID);
    if (slot >= seen_.size()) seen_.resize(slot + 1);
    Seen& seen = seen_[slot];
    XmlAttributeVector* attrs = node_->attrs_;
    if (seen.node == serial_ && attrs && seen.index < attrs->size()) {
        (*attrs)[seen.index].value = std::move(value);
        return;
    }
    const size_t index = node_->Attributes().size();
    node_->AppendNewAttr(nameID, std::move(value));
    if (node_->Attributes().size() > index) seen = {serial_, static_cast<std::uint32_t>(index)};
}

}  // namespace rv
