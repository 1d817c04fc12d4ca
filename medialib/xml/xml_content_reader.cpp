#include "medialib/xml/xml_content_reader.h"

#include <vector>

#include "medialib/xml/binary_xml.h"
#include "medialib/xml/text_parser.h"
#include "medialib/xml/xml_content_handler.h"
#include "medialib/xml/xml_encoding.h"
#include "medialib/xml/xml_messages.h"
#include "medialib/xml/xml_nodes.h"
#include "platform/files/atomic_file.h"
#include "platform/files/read_only_file.h"
#include "platform/text/format.h"

namespace rv {

namespace {

// Reports a document read from the binary form as the text parser reports text: an element's
// value as its whole text, typed values in their text form, names in the handler's table.
class DocumentWalker {
public:
    DocumentWalker(const TXmlDocument& document, XmlContentHandler& handler, TXmlNameTable& names)
        : from_(*document.NameTable()), handler_(handler), names_(names) {}

    void Children(const TXmlNode& node) {
        for (const IXmlNode& child : node.Children().Items()) Node(*child);
    }

private:
    void Node(TXmlNode& node) {
        switch (node.NodeType()) {
            case kXmlElementNode: {
                handler_.StartElement(Name(node.NodeNameID()));
                Attributes(node);
                handler_.StartTagEnd();
                const TXmlElement& element = *node.AsElement();
                if (node.Children().Size() > 0)
                    Children(node);
                else if (!element.Value().IsEmpty())
                    handler_.Text(ValueToText(element.Value()), true);
                handler_.EndElement();
                return;
            }
            case kXmlTextNode:
                handler_.Text(ValueToText(node.AsText()->Value()), false);
                return;
            case kXmlCDATASectionNode:
                handler_.CData(node.AsCDATASection()->Data());
                return;
            case kXmlCommentNode:
                handler_.Comment(node.AsComment()->Data());
                return;
            case kXmlProcessingInstructionNode:
                handler_.ProcessingInstruction(Name(node.NodeNameID()), node.Text());
                Attributes(node);
                return;
            case kXmlDocumentNode:
                return;
        }
    }

    void Attributes(const TXmlNode& node) {
        for (const XmlAttribute& attr : node.Attributes())
            handler_.Attribute(Name(attr.nameID), ValueToText(attr.value));
    }

    // The handler's identifier of a name of the document's table, found once per name.
    XmlNameID Name(XmlNameID id) {
        const auto slot = static_cast<size_t>(id);
        if (slot >= ids_.size()) ids_.resize(slot + 1, -1);
        if (ids_[slot] < 0) ids_[slot] = names_.GetID(from_.GetName(id));
        return ids_[slot];
    }

    const TXmlNameTable& from_;
    XmlContentHandler& handler_;
    TXmlNameTable& names_;
    std::vector<XmlNameID> ids_;
};

}  // namespace

void ReadXmlContent(std::string_view bytes, XmlContentHandler& handler, TXmlNameTable& names,
                    bool preserveWhiteSpace) {
    if (IsBinaryXmlFile(bytes)) {
        const IXmlDocument document = ReadBinaryXml(bytes, preserveWhiteSpace);
        DocumentWalker(*document, handler, names).Children(*document);
        return;
    }
    std::string converted;
    const XmlInput input = DetectXmlInput(bytes, converted);
    ParseXmlText(handler, names, input.bytes, input.encoding, preserveWhiteSpace);
}

std::string ReadXmlFile(const std::string& fileName) {
    std::string bytes;
    if (!ReadWholeFile(fileName, bytes))
        throw EFileError(Format(xml_messages::kCannotReadFile, fileName.c_str()));
    return bytes;
}

}  // namespace rv
