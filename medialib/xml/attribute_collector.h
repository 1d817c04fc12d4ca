#pragma once

#include <cstdint>
#include <vector>

#include "medialib/xml/xml_node.h"

namespace rv {

// Gives nodes the attributes a reader meets, one node after the other. A name met again on the
// same node overwrites its earlier value in its place; telling so takes no search, however many
// attributes the node has.
class XmlAttributeCollector {
public:
    // The node whose attributes come next.
    void Begin(TXmlNode& node);
    void Add(XmlNameID nameID, XmlValue value);

private:
    struct Seen {
        std::uint32_t node = 0;   // the serial of the last node that had the name
        std::uint32_t index = 0;  // its place among that node's attributes
    };

    TXmlNode* node_ = nullptr;
    std::uint32_t serial_ = 0;
    std::vector<Seen> seen_;  // by name identifier
};

}  // namespace rv
