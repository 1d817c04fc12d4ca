#include "medialib/xml/binary_codec.h"
#include "medialib/xml/binary_xml.h"
#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "medialib/xml/xml_nodes.h"

namespace rv {

namespace {

class BinaryXmlWriter {
public:
    explicit BinaryXmlWriter(std::uint32_t options) : out_((options & kBinaryXmlWideStrings) != 0) {
        out_.Out() += kBinaryXmlSignature;
        out_.Fixed(options, 4);
    }

    // The names in the order of their identifiers, so that nodes are written with their own.
    void NameTable(const TXmlNameTable& table) {
        const std::vector<std::string> names = table.Names();
        out_.Compact(static_cast<std::int32_t>(names.size()));
        for (const std::string& name : names) out_.String(name);
        // The buckets of the names' hashes, each listing its names in order.
        const std::uint32_t hashSize = table.HashSize();
        std::vector<std::vector<std::int32_t>> buckets(hashSize);
        for (size_t i = 0; i < names.size(); ++i)
            buckets[TXmlNameTable::Hash(names[i]) % hashSize].push_back(
                static_cast<std::int32_t>(i));
        std::int32_t used = 0;
        for (const auto& bucket : buckets) used += !bucket.empty();
        out_.Compact(static_cast<std::int32_t>(hashSize));
        out_.Compact(used);
        for (std::uint32_t i = 0; i < hashSize; ++i) {
            if (buckets[i].empty()) continue;
            out_.Compact(static_cast<std::int32_t>(i));
            out_.Compact(static_cast<std::int32_t>(buckets[i].size()));
            for (const std::int32_t id : buckets[i]) out_.Fixed(static_cast<std::uint32_t>(id), 4);
        }
    }

    void Content(const TXmlNode& node) {
        const XmlAttributeVector& attrs = node.Attributes();
        out_.Compact(static_cast<std::int32_t>(attrs.size()));
        for (const XmlAttribute& attr : attrs) {
            out_.Compact(attr.nameID);
            out_.Value(attr.value);
        }
        const XmlNodeVector& children = node.Children().Items();
        out_.Compact(static_cast<std::int32_t>(children.size()));
        for (const IXmlNode& child : children) Child(*child);
    }

    std::string& Out() { return out_.Out(); }

private:
    void Child(TXmlNode& node) {
        const XmlNodeType type = node.NodeType();
        switch (type) {
            case kXmlElementNode:
                out_.Byte(type);
                out_.Compact(node.NodeNameID());
                out_.Value(node.AsElement()->Value());
                Content(node);
                return;
            case kXmlTextNode:
                out_.Byte(type);
                out_.Value(node.AsText()->Value());
                return;
            case kXmlCDATASectionNode:
            case kXmlCommentNode:
                out_.Byte(type);
                out_.String(static_cast<TXmlCharacterData&>(node).Data());
                return;
            case kXmlProcessingInstructionNode:
                out_.Byte(type);
                out_.Compact(node.NodeNameID());
                out_.String(node.Text());
                Content(node);
                return;
            case kXmlDocumentNode:
                break;
        }
        throw EXmlError(xml_messages::kBinaryWriteNodeType);
    }

    BinaryXmlEncoder out_;
};

}  // namespace

std::string WriteBinaryXml(const TXmlDocument& document, std::uint32_t options) {
    BinaryXmlWriter writer(options);
    writer.NameTable(*document.NameTable());
    writer.Content(document);
    return std::move(writer.Out());
}

}  // namespace rv
