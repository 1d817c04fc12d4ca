#include "medialib/xml/attribute_collector.h"
#include "medialib/xml/binary_codec.h"
#include "medialib/xml/binary_xml.h"
#include "medialib/xml/text_parser.h"
#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "medialib/xml/xml_nodes.h"
#include "platform/text/format.h"

namespace rv {

namespace {

// Bounds the buckets a file can make us allocate; the library's own tables have 4096.
constexpr std::int32_t kMaxHashSize = 1 << 16;

class BinaryXmlReader {
public:
    explicit BinaryXmlReader(std::string_view bytes) : in_(bytes, false) {}

    IXmlDocument Read(bool preserveWhiteSpace) {
        if (in_.Remaining() < kBinaryXmlSignature.size()) ThrowReadData();
        for (const char c : kBinaryXmlSignature)
            if (in_.Byte() != static_cast<std::uint8_t>(c)) ThrowReadData();
        const auto options = static_cast<std::uint32_t>(in_.Fixed(4));
        in_.SetWideStrings((options & kBinaryXmlWideStrings) != 0);
        IXmlDocument document(new TXmlDocument(NameTable()));
        document->SetPreserveWhiteSpace(preserveWhiteSpace);
        Content(*document, 0);
        return document;
    }

private:
    [[noreturn]] static void ThrowReadData() { throw EXmlError(xml_messages::kBinaryReadData); }
    [[noreturn]] static void ThrowBadTable() { throw EXmlError(xml_messages::kBinaryBadNameTable); }

    TXmlNameTable* NameTable() {
        std::vector<std::string> names(in_.Count(1));
        for (std::string& name : names) name = in_.String();
        const std::int32_t hashSize = in_.Compact();
        if (hashSize < 1 || hashSize > kMaxHashSize) ThrowBadTable();
        // The buckets follow from the names; those stored are only checked for sense.
        const size_t used = in_.Count(2);
        if (used > static_cast<size_t>(hashSize)) ThrowBadTable();
        for (size_t i = 0; i < used; ++i) {
            const std::int32_t index = in_.Compact();
            if (index < 0 || index >= hashSize) ThrowBadTable();
            for (size_t n = in_.Count(4); n > 0; --n) {
                const auto id = static_cast<std::int32_t>(in_.Fixed(4));
                if (id < 0 || static_cast<size_t>(id) >= names.size()) ThrowBadTable();
            }
        }
        table_ = new TXmlNameTable(static_cast<std::uint32_t>(hashSize));
        // Each name in its place: the predefined ones first, no name twice, none empty.
        for (size_t i = 0; i < names.size(); ++i)
            if (table_->GetID(names[i]) != static_cast<XmlNameID>(i)) ThrowBadTable();
        if (table_->Count() != names.size()) ThrowBadTable();
        return table_.Get();
    }

    XmlNameID NameID() {
        const std::int32_t id = in_.Compact();
        if (table_->Known(id) < 0) throw EXmlError(Format(xml_messages::kBinaryBadNameID, id));
        return id;
    }

    void Content(TXmlNode& node, int depth) {
        // An attribute takes at least a name and a value type, a child at least its type.
        attributes_.Begin(node);
        for (size_t count = in_.Count(2); count > 0; --count) {
            const XmlNameID id = NameID();
            attributes_.Add(id, in_.Value());  // a name twice: the last value holds
        }
        const size_t children = in_.Count(1);
        if (children > 0 && depth >= kXmlMaxDepth)
            throw EXmlError(Format(xml_messages::kTooDeep, kXmlMaxDepth));
        for (size_t i = 0; i < children; ++i) Child(node, depth + 1);
    }

    void Child(TXmlNode& parent, int depth) {
        switch (in_.Byte()) {
            case kXmlElementNode: {
                const XmlNameID id = NameID();
                const XmlValue value = in_.Value();
                const IXmlElement element = parent.AppendElement(id);
                if (!value.IsEmpty()) element->SetNodeValue(value);
                Content(*element, depth);
                return;
            }
            case kXmlTextNode:
                parent.AppendChild(IXmlNode(new TXmlText(table_.Get(), in_.Value())));
                return;
            case kXmlCDATASectionNode:
                parent.AppendCDATA(in_.String());
                return;
            case kXmlProcessingInstructionNode: {
                const XmlNameID id = NameID();
                const std::string text = in_.String();
                Content(*parent.AppendProcessingInstruction(id, text), depth);
                return;
            }
            case kXmlCommentNode:
                parent.AppendComment(in_.String());
                return;
            default:
                throw EXmlError(xml_messages::kBinaryReadNodeType);
        }
    }

    BinaryXmlDecoder in_;
    IXmlNameTable table_;
    XmlAttributeCollector attributes_;
};

}  // namespace

IXmlDocument ReadBinaryXml(std::string_view bytes, bool preserveWhiteSpace) {
    return BinaryXmlReader(bytes).Read(preserveWhiteSpace);
}

bool IsBinaryXmlFile(std::string_view bytes) {
    // Fewer than 15 bytes cannot hold a binary document: they are always text.
    return bytes.size() > kBinaryXmlSignature.size() && bytes.starts_with(kBinaryXmlSignature);
}

}  // namespace rv
