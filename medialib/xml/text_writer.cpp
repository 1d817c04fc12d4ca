#include "medialib/xml/text_writer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "medialib/xml/xml_chars.h"
#include "medialib/xml/xml_document.h"
#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "platform/text/format.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

// What a byte of a text asks of the writer.
enum ByteKind : unsigned char { kPlain, kEscape, kDrop, kMultiByte };

constexpr std::array<unsigned char, 256> MakeByteKinds() {
    std::array<unsigned char, 256> kinds{};
    for (int c = 0; c < 0x20; ++c) kinds[c] = kDrop;
    kinds['\t'] = kinds['\n'] = kinds['\r'] = kPlain;
    kinds['&'] = kinds['<'] = kinds['>'] = kinds['"'] = kEscape;
    for (int c = 0x80; c < 0x100; ++c) kinds[c] = kMultiByte;
    return kinds;
}

constexpr std::array<unsigned char, 256> kByteKinds = MakeByteKinds();

// `text` without the characters XML cannot carry (malformed UTF-8 becoming U+FFFD). Done before
// looking for terminators such as "]]>", which dropping a character could otherwise create.
std::string XmlCharsOnly(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            if (kByteKinds[b] != kDrop) out += static_cast<char>(b);
            ++pos;
            continue;
        }
        const char32_t c = DecodeUtf8(text, pos);
        if (xml_chars::IsXmlChar(c)) AppendUtf8(out, c);
    }
    return out;
}

// How a character the output encoding lacks is written.
enum class Missing { Reference, Question, Fail };

class TextWriter {
public:
    TextWriter(std::string& out, const XmlEncoding& encoding, bool preserve)
        : out_(out), encoding_(encoding), preserve_(preserve) {}

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
                if (preserve_) Escaped(XmlCharsOnly(child.Text()));
                continue;
            }
            Node(child);
        }
    }

    void LineBreak() {
        static constexpr std::string_view kBreaks =
            "\r\n\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
        const auto tabs = static_cast<size_t>(depth_);
        if (tabs + 2 <= kBreaks.size()) {
            out_.append(kBreaks.data(), tabs + 2);
        } else {
            out_ += "\r\n";
            out_.append(tabs, '\t');
        }
        lineBreak_ = true;
    }

    void Element(const TXmlElement& element) {
        const bool indented = !preserve_ && !flat_;
        if (indented) LineBreak();
        out_ += '<';
        const size_t nameStart = out_.size();
        Name(element.NameTable(), element.NodeNameID());
        const size_t nameLength = out_.size() - nameStart;
        Attributes(element);

        const auto& children = element.Children().Items();
        if (children.empty()) {
            out_ += '>';
            const size_t start = out_.size();
            Content(element.Value());
            if (out_.size() == start) {  // nothing left to write
                out_.back() = '/';
                out_ += '>';
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
            const size_t start = out_.size();
            const bool outerBreak = lineBreak_, outerFlat = flat_;
            out_ += '>';
            lineBreak_ = false;
            flat_ = flat_ || mixed;
            ++depth_;
            for (const IXmlNode& child : children)
                if (!IsDeclaration(*child)) Node(*child);
            --depth_;
            flat_ = outerFlat;
            const bool contentBreaks = lineBreak_;
            lineBreak_ = outerBreak || contentBreaks;
            if (out_.size() == start + 1) {
                out_.back() = '/';
                out_ += '>';
                return;
            }
            if (indented && !mixed && contentBreaks) {
                if (out_.ends_with("\r\n"))
                    out_.append(static_cast<size_t>(depth_), '\t');
                else
                    LineBreak();
            }
        }
        out_ += "</";
        out_.append(out_, nameStart, nameLength);  // the name as the start tag has it
        out_ += '>';
    }

    void Attributes(const TXmlNode& node) {
        const TXmlNameTable* names = node.NameTable();
        for (const XmlAttribute& attr : node.Attributes()) {
            out_ += ' ';
            Name(names, attr.nameID);
            out_ += "=\"";
            Value(attr.value);
            out_ += '"';
        }
    }

    // Whether the node puts character data into its parent's content.
    static bool WritesText(const TXmlNode& node) {
        if (node.NodeType() == kXmlCDATASectionNode) return true;
        if (node.NodeType() != kXmlTextNode) return false;
        const XmlValue& value = static_cast<const TXmlText&>(node).Value();
        return !XmlCharsOnly(value.IsText() ? value.StringData() : ValueToText(value)).empty();
    }

    // The text of an element or text node. Readers drop text made of blanks alone unless they
    // keep white space; its first blank goes as a reference, which keeps the text.
    void Content(const XmlValue& value) {
        // A number's text is never blank.
        if (preserve_ || value.IsNumeric() ||
            (value.IsText() && xml_chars::HasSolidChar(value.StringData()))) {
            Value(value);
            return;
        }
        const std::string text = XmlCharsOnly(ValueToText(value));
        if (text.empty() || xml_chars::HasSolidChar(text)) {
            Escaped(text);
            return;
        }
        Reference(static_cast<unsigned char>(text[0]));
        Escaped(std::string_view(text).substr(1));
    }

    void Value(const XmlValue& value) {
        if (value.IsText())
            Escaped(value.StringData());
        else if (value.IsNumeric())
            out_ += ValueToText(value);  // numbers and date-times: plain ASCII, nothing to escape
        else
            Escaped(ValueToText(value));
    }

    void Instruction(const TXmlNode& node) {
        out_ += "<?";
        Name(node.NodeName());
        // Blanks after the target only separate it from the text.
        const std::string cleaned = XmlCharsOnly(node.Text());
        const std::string_view text = std::string_view(cleaned).substr(
            std::min(cleaned.size(), cleaned.find_first_not_of(" \t\r\n")));
        if (text.empty()) {
            Attributes(node);
        } else {
            out_ += ' ';
            // "?>" would end the instruction early.
            for (size_t pos = 0;;) {
                const size_t end = text.find("?>", pos);
                Chars(text.substr(pos, end - pos), Missing::Question);
                if (end == std::string::npos) break;
                out_ += "? ";
                pos = end + 1;
            }
        }
        out_ += "?>";
    }

    void Comment(std::string_view text) {
        out_ += "<!--";
        // A comment may hold neither "--" nor end with "-": a blank keeps the hyphens apart.
        size_t pos = 0;
        for (size_t dash = text.find('-'); dash != std::string_view::npos;
             dash = text.find('-', dash + 1)) {
            if (dash + 1 < text.size() && text[dash + 1] != '-') continue;
            Chars(text.substr(pos, dash + 1 - pos), Missing::Question);
            out_ += ' ';
            pos = dash + 1;
        }
        Chars(text.substr(pos), Missing::Question);
        out_ += "-->";
    }

    void CData(std::string_view text) {
        // A character the encoding lacks can only be written as a reference, which a section
        // cannot hold: such a text is written as plain text.
        if (!encoding_.utf8 && !CodePageHasAll(encoding_.page, text)) {
            Escaped(text);
            return;
        }
        out_ += "<![CDATA[";
        // "]]>" would end the section: it is split between two sections after the first "]".
        size_t pos = 0;
        for (;;) {
            const size_t end = text.find("]]>", pos);
            Chars(text.substr(pos, end == std::string_view::npos ? end : end + 1 - pos),
                  Missing::Question);
            if (end == std::string_view::npos) break;
            out_ += "]]><![CDATA[";
            pos = end + 1;
        }
        out_ += "]]>";
    }

    // Whether the eight bytes at `p` are ASCII that needs neither escaping nor dropping (tab,
    // CR and LF are left to the byte-wise check).
    static bool EightPlain(const char* p) {
        constexpr std::uint64_t kOnes = 0x0101010101010101u, kHigh = 0x8080808080808080u;
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        if (w & kHigh) return false;
        const auto has = [w](unsigned char c) {
            const std::uint64_t x = w ^ (kOnes * c);
            return (x - kOnes) & ~x & kHigh;
        };
        return !(((w - kOnes * 0x20) & ~w & kHigh) | has('&') | has('<') | has('>') | has('"'));
    }

    // Text with the four special characters escaped.
    void Escaped(std::string_view text) {
        const char* p = text.data();
        const char* const end = p + text.size();
        while (p < end) {
            const char* run = p;
            while (end - p >= 8 && EightPlain(p)) p += 8;
            while (p < end && kByteKinds[static_cast<unsigned char>(*p)] == kPlain) ++p;
            out_.append(run, p);
            if (p == end) break;
            const char c = *p;
            switch (kByteKinds[static_cast<unsigned char>(c)]) {
                case kEscape:
                    out_ += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : "&quot;";
                    ++p;
                    break;
                case kDrop:
                    ++p;
                    break;
                default: {
                    // Two-byte characters (every Latin, Greek and Cyrillic letter) through a
                    // table.
                    const auto lead = static_cast<unsigned char>(c);
                    if (!encoding_.utf8 && lead >= 0xC2 && lead <= 0xDF && end - p >= 2 &&
                        (static_cast<unsigned char>(p[1]) & 0xC0) == 0x80) {
                        const auto cp = static_cast<char32_t>(
                            ((lead & 0x1F) << 6) | (static_cast<unsigned char>(p[1]) & 0x3F));
                        p += 2;
                        if (const unsigned char byte = TwoByteTable()[cp - 0x80])
                            out_ += static_cast<char>(byte);
                        else
                            Reference(cp);
                        break;
                    }
                    size_t pos = static_cast<size_t>(p - text.data());
                    const char32_t cp = DecodeUtf8(text, pos);
                    const char* const next = text.data() + pos;
                    if (encoding_.utf8 && cp != kReplacementChar && xml_chars::IsXmlChar(cp))
                        out_.append(p, next);  // well-formed: its bytes as they are
                    else if (xml_chars::IsXmlChar(cp) && !Encoded(cp))
                        Reference(cp);
                    p = next;
                }
            }
        }
    }

    // Text that no reference can enter: comments and instructions.
    void Chars(std::string_view text, Missing missing) {
        size_t pos = 0;
        while (pos < text.size()) {
            const auto b = static_cast<unsigned char>(text[pos]);
            if (b < 0x80) {
                if (kByteKinds[b] != kDrop) out_ += static_cast<char>(b);
                ++pos;
                if (b == '\n' || b == '\r') lineBreak_ = true;
                continue;
            }
            const char32_t c = DecodeUtf8(text, pos);
            if (!xml_chars::IsXmlChar(c) || Encoded(c)) continue;
            if (missing == Missing::Fail) {
                throw EXmlError(Format(xml_messages::kNameNotEncodable, std::string(text).c_str(),
                                       std::string(CodePageName(encoding_.page)).c_str()));
            }
            out_ += '?';
        }
    }

    void Name(const std::string& name) {
        if (encoding_.utf8 || IsAsciiName(name)) {
            out_ += name;
            return;
        }
        Chars(name, Missing::Fail);
    }

    // The same for a name of the table, judged once per name.
    void Name(const TXmlNameTable* names, XmlNameID id) {
        const std::string& name = names->GetName(id);
        if (encoding_.utf8) {
            out_ += name;
            return;
        }
        if (names != asciiTable_) {
            asciiTable_ = names;
            asciiNames_.clear();
        }
        const auto slot = static_cast<size_t>(id < 0 ? 0 : id + 1);
        if (slot >= asciiNames_.size()) asciiNames_.resize(slot + 1, kUnjudged);
        if (asciiNames_[slot] == kUnjudged) asciiNames_[slot] = IsAsciiName(name);
        if (asciiNames_[slot])
            out_ += name;
        else
            Chars(name, Missing::Fail);
    }

    static bool IsAsciiName(const std::string& name) {
        for (const char c : name)
            if (static_cast<unsigned char>(c) >= 0x80) return false;
        return true;
    }

    // The code page's byte for each character from U+0080 to U+07FF; 0 where it has none.
    const std::array<unsigned char, 0x780>& TwoByteTable() {
        if (!twoByte_) {
            twoByte_ = std::make_unique<std::array<unsigned char, 0x780>>();
            for (char32_t c = 0x80; c < 0x800; ++c)
                (*twoByte_)[c - 0x80] = UnicodeToCodePage(encoding_.page, c).value_or(0);
        }
        return *twoByte_;
    }

    // Writes `c` in the output encoding when it has it.
    bool Encoded(char32_t c) {
        if (encoding_.utf8) {
            AppendUtf8(out_, c);
            return true;
        }
        if (const auto byte = UnicodeToCodePage(encoding_.page, c)) {
            out_ += static_cast<char>(*byte);
            return true;
        }
        return false;
    }

    void Reference(char32_t c) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "&#x%X;", static_cast<unsigned>(c));
        out_ += buffer;
    }

    static constexpr signed char kUnjudged = -1;

    std::string& out_;
    const TXmlNameTable* asciiTable_ = nullptr;
    std::vector<signed char> asciiNames_;  // per name: plain ASCII or not, once judged
    std::unique_ptr<std::array<unsigned char, 0x780>> twoByte_;
    const XmlEncoding encoding_;
    const bool preserve_;
    bool flat_ = false;
    bool lineBreak_ = false;
    int depth_ = 0;
};

}  // namespace

std::string WriteXmlText(const TXmlNode& node, const XmlEncoding& encoding) {
    const TXmlDocument* document = node.OwnerDocument();
    std::string out;
    TextWriter(out, encoding, document && document->PreserveWhiteSpace()).Node(node);
    return out;
}

}  // namespace rv
