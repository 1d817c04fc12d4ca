#include "medialib/xml/text_writer.h"

#include <algorithm>
#include <vector>

#include "medialib/xml/xml_chars.h"
#include "medialib/xml/xml_document.h"
#include "medialib/xml/xml_text_output.h"

namespace rv {

namespace {

using Missing = XmlTextOutput::Missing;

// Walks the tree and decides the layout; the characters are the output's business.
class TextWriter {
public:
    TextWriter(XmlTextOutput& out, bool preserve) : out_(out), preserve_(preserve) {}

    void Node(const TXmlNode& node) {
        switch (node.NodeType()) {
            case kXmlDocumentNode:
                Document(node);
                break;
            case kXmlElementNode:
                Element(static_cast<const TXmlElement&>(node));
                break;
            case kXmlTextNode:
                Content(static_cast<const TXmlText&>(node).Value());
                break;
            case kXmlCDATASectionNode:
                CData(XmlCharsOnly(static_cast<const TXmlCharacterData&>(node).Data()));
                break;
            case kXmlCommentNode:
                Comment(XmlCharsOnly(static_cast<const TXmlCharacterData&>(node).Data()));
                break;
            case kXmlProcessingInstructionNode:
                Instruction(node);
                break;
        }
    }

private:
    static bool IsDeclaration(const TXmlNode& node) {
        return node.NodeType() == kXmlProcessingInstructionNode &&
               node.NodeNameID() == kXmlDeclNameID;
    }

    void Document(const TXmlNode& document) {
        const auto& children = document.Children().Items();
        // Text beside the root, like text beside child elements, gets no line breaks; blanks
        // there are layout, kept only where white space is.
        for (const IXmlNode& child : children) {
            const bool text = child->NodeType() == kXmlTextNode;
            flat_ = flat_ || (text ? xml_chars::HasSolidChar(child->Text()) : WritesText(*child));
        }
        for (size_t i = 0; i < children.size(); ++i) {
            const TXmlNode& child = *children[i];
            // A declaration means something only where the document starts.
            if (i > 0 && IsDeclaration(child)) continue;
            if (child.NodeType() == kXmlTextNode && !xml_chars::HasSolidChar(child.Text())) {
                if (preserve_)
                    out_.Raw(XmlCharsOnly(child.Text()));  // where no reference may stand
                continue;
            }
            Node(child);
        }
    }

    void LineBreak() {
        out_.LineBreak(depth_);
        lineBreak_ = true;
    }

    void Element(const TXmlElement& element) {
        const bool indented = !preserve_ && !flat_;
        if (indented) LineBreak();
        out_.Raw('<');
        const size_t nameStart = out_.Size();
        Name(element.NameTable(), element.NodeNameID());
        const size_t nameLength = out_.Size() - nameStart;
        Attributes(element);

        const auto& children = element.Children().Items();
        if (children.empty()) {
            out_.Raw('>');
            const size_t start = out_.Size();
            Content(element.Value());
            if (out_.Size() == start) {  // nothing left to write
                out_.Unput(1);
                out_.Raw("/>");
                return;
            }
        } else {
            // Text among the children is written exactly as it is: no line break may be added
            // beside it, or reading it back would give a different value.
            bool mixed = false;
            for (size_t i = 0; i < children.size(); ++i) {
                if (i + 4 < children.size()) __builtin_prefetch(children[i + 4].Get());
                mixed = mixed || WritesText(*children[i]);
            }
            const size_t start = out_.Size();
            const bool outerBreak = lineBreak_, outerFlat = flat_;
            out_.Raw('>');
            lineBreak_ = false;
            flat_ = flat_ || mixed;
            ++depth_;
            for (const IXmlNode& child : children)
                if (!IsDeclaration(*child)) Node(*child);
            --depth_;
            flat_ = outerFlat;
            const bool contentBreaks = lineBreak_;
            lineBreak_ = outerBreak || contentBreaks;
            if (out_.Size() == start + 1) {
                out_.Unput(1);
                out_.Raw("/>");
                return;
            }
            if (indented && !mixed && contentBreaks) {
                if (out_.EndsWith("\r\n"))
                    out_.Tabs(depth_);
                else
                    LineBreak();
            }
        }
        out_.Raw("</");
        out_.Repeat(nameStart, nameLength);  // the name as the start tag has it
        out_.Raw('>');
    }

    void Attributes(const TXmlNode& node) {
        const TXmlNameTable* names = node.NameTable();
        for (const XmlAttribute& attr : node.Attributes()) {
            out_.Raw(' ');
            Name(names, attr.nameID);
            out_.Raw("=\"");
            Value(attr.value, true);
            out_.Raw('"');
        }
    }

    // Whether the node puts character data into its parent's content.
    static bool WritesText(const TXmlNode& node) {
        if (node.NodeType() == kXmlCDATASectionNode) return true;
        if (node.NodeType() != kXmlTextNode) return false;
        const XmlValue& value = static_cast<const TXmlText&>(node).Value();
        return !XmlCharsOnly(value.IsText() ? value.StringData() : ValueToText(value)).empty();
    }

    // The text of an element or text node; where white space is kept, exactly as it is.
    void Content(const XmlValue& value) {
        if (preserve_ || value.IsNumeric())  // a number's text is never blank
            Value(value);
        else if (value.IsText())
            out_.Content(value.StringData());
        else
            out_.Content(ValueToText(value));
    }

    void Value(const XmlValue& value, bool attribute = false) {
        if (value.IsNumeric()) {
            out_.Raw(ValueToText(value));  // numbers and date-times: plain ASCII
            return;
        }
        const std::string converted = value.IsText() ? std::string() : ValueToText(value);
        const std::string_view text = value.IsText() ? value.StringData() : converted;
        if (attribute)
            out_.AttributeValue(text);
        else
            out_.Escaped(text);
    }

    void Instruction(const TXmlNode& node) {
        out_.Raw("<?");
        out_.Name(node.NodeName());
        // Blanks after the target only separate it from the text.
        const std::string cleaned = XmlCharsOnly(node.Text());
        const std::string_view text = std::string_view(cleaned).substr(
            std::min(cleaned.size(), cleaned.find_first_not_of(" \t\r\n")));
        if (text.empty()) {
            Attributes(node);
        } else {
            out_.Raw(' ');
            // "?>" would end the instruction early.
            for (size_t pos = 0;;) {
                const size_t end = text.find("?>", pos);
                Chars(text.substr(pos, end - pos));
                if (end == std::string::npos) break;
                out_.Raw("? ");
                pos = end + 1;
            }
        }
        out_.Raw("?>");
    }

    void Comment(std::string_view text) {
        out_.Raw("<!--");
        // A comment may hold neither "--" nor end with "-": a blank keeps the hyphens apart.
        size_t pos = 0;
        for (size_t dash = text.find('-'); dash != std::string_view::npos;
             dash = text.find('-', dash + 1)) {
            if (dash + 1 < text.size() && text[dash + 1] != '-') continue;
            Chars(text.substr(pos, dash + 1 - pos));
            out_.Raw(' ');
            pos = dash + 1;
        }
        Chars(text.substr(pos));
        out_.Raw("-->");
    }

    void CData(std::string_view text) {
        // A character the encoding lacks, and a CR (which other readers would turn into LF), can
        // only be written as a reference, which a section cannot hold: such a text is written as
        // plain text.
        if (text.find('\r') != std::string_view::npos || !out_.Encoding().HasAll(text)) {
            out_.Escaped(text);
            return;
        }
        out_.Raw("<![CDATA[");
        // "]]>" would end the section: it is split between two sections after the first "]".
        size_t pos = 0;
        for (;;) {
            const size_t end = text.find("]]>", pos);
            Chars(text.substr(pos, end == std::string_view::npos ? end : end + 1 - pos));
            if (end == std::string_view::npos) break;
            out_.Raw("]]><![CDATA[");
            pos = end + 1;
        }
        out_.Raw("]]>");
    }

    void Chars(std::string_view text) {
        if (out_.Chars(text, Missing::Question)) lineBreak_ = true;
    }

    // A name of the table, judged once per name.
    void Name(const TXmlNameTable* names, XmlNameID id) {
        const std::string& name = names->GetName(id);
        if (out_.Encoding().utf8 && !out_.Encoding().charset) {
            out_.Raw(name);
            return;
        }
        if (names != asciiTable_) {
            asciiTable_ = names;
            asciiNames_.clear();
        }
        const auto slot = static_cast<size_t>(id < 0 ? 0 : id + 1);
        if (slot >= asciiNames_.size()) asciiNames_.resize(slot + 1, kUnjudged);
        if (asciiNames_[slot] == kUnjudged) asciiNames_[slot] = XmlTextOutput::IsAscii(name);
        if (asciiNames_[slot])
            out_.Raw(name);
        else
            out_.Name(name);
    }

    static constexpr signed char kUnjudged = -1;

    XmlTextOutput& out_;
    const TXmlNameTable* asciiTable_ = nullptr;
    std::vector<signed char> asciiNames_;  // per name: plain ASCII or not, once judged
    const bool preserve_;
    bool flat_ = false;
    bool lineBreak_ = false;
    int depth_ = 0;
};

}  // namespace

std::string WriteXmlText(const TXmlNode& node, const XmlEncoding& encoding) {
    const TXmlDocument* document = node.OwnerDocument();
    XmlTextOutput out(encoding);
    TextWriter(out, document && document->PreserveWhiteSpace()).Node(node);
    if (!encoding.charset) return out.Take();
    SystemCharset::Encoder encoder(*encoding.charset);
    std::string bytes;
    AppendConverted(encoder, bytes, out.View(), encoding);
    encoder.Finish(bytes);
    return bytes;
}

}  // namespace rv
