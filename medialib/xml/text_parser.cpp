#include "medialib/xml/text_parser.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "medialib/xml/attribute_collector.h"
#include "medialib/xml/text_position.h"
#include "medialib/xml/xml_chars.h"
#include "medialib/xml/xml_content_handler.h"
#include "medialib/xml/xml_document.h"
#include "medialib/xml/xml_encoding.h"
#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "platform/text/format.h"
#include "platform/text/utf8.h"

namespace rv {

namespace msg = xml_messages;
using xml_chars::IsBlank;

// A single pass over the whole text, reporting what it reads to `Handler` (the DOM builder
// below, or any XmlContentHandler). Open elements are kept on a stack of their own names rather
// than in nested calls, so deep input costs no machine stack.
template <class Handler>
class XmlTokenizer {
    struct OpenElement {
        XmlNameID name;
        size_t length;      // of the name's bytes in the input
        const char* bytes;  // the name as the start tag has it
    };

public:
    XmlTokenizer(Handler& handler, TXmlNameTable& names, std::string_view text,
                 const XmlEncoding& encoding, bool preserveWhiteSpace)
        : text_(text),
          p_(text.data()),
          end_(text.data() + text.size()),
          handler_(handler),
          names_(&names),
          preserve_(preserveWhiteSpace) {
        if (!encoding.utf8) decoder_.emplace(encoding.page);
    }

    void Parse() {
        if (text_.empty()) return;
        if (const void* nul = std::memchr(p_, 0, text_.size())) {
            p_ = static_cast<const char*>(nul);
            Fail(msg::kNulInInput);
        }
        for (;;) {
            TextRun();
            if (p_ < end_) ++p_;  // past "<"
            if (p_ == end_) {
                // The input ended inside an element: its end tag is missing.
                if (!open_.empty()) FailChar('/');
                return;
            }
            switch (*p_) {
                case '/':
                    if (open_.empty()) return;  // an end tag at the top ends the document
                    ++p_;
                    EndTag();
                    open_.pop_back();
                    handler_.EndElement();
                    hasContent_ = true;
                    break;
                case '?':
                    ++p_;
                    Instruction();
                    hasContent_ = true;
                    break;
                case '!':
                    ++p_;
                    if (p_ < end_ && *p_ == '-') {
                        Comment();
                        hasContent_ = true;
                    } else if (p_ < end_ && *p_ == '[') {
                        CData();
                        hasContent_ = true;
                    } else {
                        Doctype();
                    }
                    break;
                default:
                    const char* tag = p_ - 1;
                    hasContent_ = true;
                    OpenElement element;
                    if (StartTag(element)) {
                        if (static_cast<int>(open_.size()) >= kXmlMaxDepth) {
                            p_ = tag;
                            Fail(Format(msg::kTooDeep, kXmlMaxDepth));
                        }
                        open_.push_back(element);
                        hasContent_ = false;
                    }
            }
        }
    }

private:
    [[noreturn]] void Fail(const std::string& message) {
        const TextPosition where =
            PositionOf(text_, static_cast<size_t>(p_ - text_.data()), !decoder_);
        throw EXmlError(message, where.line, where.column);
    }
    [[noreturn]] void FailChar(char c) { Fail(Format(msg::kCharExpected, c)); }
    [[noreturn]] void FailText(std::string_view text) {
        Fail(Format(msg::kTextExpected, std::string(text).c_str()));
    }

    // The first byte at or after `q` that is no blank. The input holds no NUL, so subtracting
    // one from each byte of a word borrows nothing, and the blanks are then the bytes below 32.
    const char* PastBlanks(const char* q) const {
        static_assert(std::endian::native == std::endian::little);
        for (; end_ - q >= 8; q += 8) {
            std::uint64_t word;
            std::memcpy(&word, q, 8);
            const std::uint64_t solid = (word - 0x0101010101010101u) & 0xE0E0E0E0E0E0E0E0u;
            if (solid) return q + std::countr_zero(solid) / 8;
        }
        while (q < end_ && IsBlank(*q)) ++q;
        return q;
    }

    void SkipBlanks() { p_ = PastBlanks(p_); }

    static bool IsAsciiNonName(char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x80 && !xml_chars::IsNameChar(b);
    }

    void ExpectChar(char c) {
        if (p_ == end_ || *p_ != c) FailChar(c);
        ++p_;
    }

    void ExpectText(std::string_view text) {
        if (static_cast<size_t>(end_ - p_) < text.size() ||
            std::memcmp(p_, text.data(), text.size()))
            FailText(text);
        p_ += text.size();
    }

    // The text up to `terminator`, which is passed over.
    std::string_view Until(std::string_view terminator) {
        const std::string_view rest(p_, static_cast<size_t>(end_ - p_));
        const size_t found = rest.find(terminator);
        if (found == std::string_view::npos) {
            p_ = end_;
            FailText(terminator);
        }
        p_ += found + terminator.size();
        return rest.substr(0, found);
    }

    bool AtNameStart() const {
        if (p_ == end_) return false;
        const auto b = static_cast<unsigned char>(*p_);
        if (decoder_) return decoder_->IsNameStart(b);
        if (b < 0x80) return xml_chars::IsNameStartChar(b);
        size_t pos = 0;
        const std::string_view rest(p_, static_cast<size_t>(std::min<ptrdiff_t>(end_ - p_, 4)));
        return xml_chars::IsNameStartChar(DecodeUtf8(rest, pos));
    }

    size_t NameLength() const {
        const std::string_view rest(p_, static_cast<size_t>(end_ - p_));
        if (!decoder_) return xml_chars::NameLength(rest);
        if (rest.empty() || !decoder_->IsNameStart(static_cast<unsigned char>(rest[0]))) return 0;
        size_t length = 1;
        while (length < rest.size() &&
               decoder_->IsNameChar(static_cast<unsigned char>(rest[length])))
            ++length;
        return length;
    }

    // The name at the cursor, in UTF-8.
    std::string_view Name() {
        const size_t length = NameLength();
        if (length == 0) Fail(msg::kNameStart);
        const std::string_view name(p_, length);
        p_ += length;
        return Decoded(name);
    }

    static bool HasHighByte(std::string_view bytes) {
        const char* p = bytes.data();
        const char* const end = p + bytes.size();
        std::uint64_t any = 0;
        const auto load = [](const char* at, size_t size) {
            std::uint64_t word = 0;
            std::memcpy(&word, at, size);
            return word;
        };
        if (end - p >= 8) {
            for (; end - p > 8; p += 8) any |= load(p, 8);
            any |= load(end - 8, 8);  // the last eight, overlapping what was read
        } else if (end - p >= 4) {
            any = load(p, 4) | load(end - 4, 4);
        } else {
            for (; p < end; ++p) any |= static_cast<unsigned char>(*p);
        }
        return any & 0x8080808080808080u;
    }

    // Input bytes in UTF-8: as they are, or decoded into a buffer valid until the next call.
    std::string_view Decoded(std::string_view bytes) {
        if (!decoder_ || !HasHighByte(bytes)) return bytes;
        decoded_.clear();
        decoder_->Append(decoded_, bytes);
        return decoded_;
    }

    void AppendDecoded(std::string& out, const char* from, const char* to) {
        if (decoder_)
            decoder_->Append(out, std::string_view(from, static_cast<size_t>(to - from)));
        else
            out.append(from, to);
    }

    // Characters up to the next "<", references resolved. Reported unless it is nothing but
    // blanks (and white space is not preserved).
    void TextRun() {
        // Most runs are the line breaks and tabs between tags: passed over without a search.
        if (!preserve_) {
            const char* q = PastBlanks(p_);
            if (q == end_ || *q == '<') {
                p_ = q;
                return;
            }
        }
        const char* start = p_;
        const char* lt = static_cast<const char*>(std::memchr(p_, '<', end_ - p_));
        if (!lt) lt = end_;
        if (lt == start) return;
        std::string_view text(start, static_cast<size_t>(lt - start));
        const bool hasReference = text.find('&') != std::string_view::npos;
        // Blanks alone are layout, unless a reference says otherwise (no byte of another
        // character is a blank, so the undecoded text tells).
        if (!preserve_ && !hasReference && AllBlank(text)) {
            p_ = lt;
            return;
        }
        if (hasReference) {
            token_.clear();
            while (p_ < end_ && *p_ != '<') {
                const char* amp =
                    static_cast<const char*>(std::memchr(p_, '&', static_cast<size_t>(lt - p_)));
                if (!amp) amp = lt;
                AppendDecoded(token_, p_, amp);
                p_ = amp;
                if (p_ < lt) Reference(token_);  // a reference never reaches past the "<"
            }
            text = token_;
        } else {
            p_ = lt;
            text = Decoded(text);
        }
        const bool whole = !open_.empty() && !hasContent_ && end_ - p_ >= 2 && p_[1] == '/';
        hasContent_ = true;
        handler_.Text(text, whole);
    }

    // The identifier of a name. A document repeats a few names over and over: a small cache,
    // checked against the table, spares most look-ups.
    XmlNameID NameID(std::string_view name) {
        if (name.empty()) return names_->GetID(name);
        const size_t key = (name.size() * 31 + static_cast<unsigned char>(name.front()) * 7 +
                            static_cast<unsigned char>(name.back())) %
                           nameCache_.size();
        XmlNameID& cached = nameCache_[key];
        if (cached >= 0 && names_->GetName(cached) == name) return cached;
        cached = names_->GetID(name);
        return cached;
    }

    static bool AllBlank(std::string_view text) {
        for (const char c : text)
            if (!IsBlank(c)) return false;
        return true;
    }

    // After "&": appends the character meant to `out`.
    void Reference(std::string& out) {
        ++p_;
        if (p_ == end_) Fail(msg::kReferenceExpected);
        if (*p_ == '#') {
            ++p_;
            const bool hex = p_ < end_ && *p_ == 'x';
            if (hex) ++p_;
            const char* digits = p_;
            char32_t code = 0;
            for (; p_ < end_; ++p_) {
                const char c = *p_;
                unsigned digit;
                if (c >= '0' && c <= '9')
                    digit = static_cast<unsigned>(c - '0');
                else if (hex && c >= 'a' && c <= 'f')
                    digit = static_cast<unsigned>(c - 'a' + 10);
                else if (hex && c >= 'A' && c <= 'F')
                    digit = static_cast<unsigned>(c - 'A' + 10);
                else
                    break;
                code = code * (hex ? 16 : 10) + digit;
                if (code > 0x110000) code = 0x110000;  // out of range, however long
            }
            if (p_ == digits) Fail(hex ? msg::kHexNumberExpected : msg::kNumberExpected);
            const std::string_view reference(digits - (hex ? 3 : 2),
                                             static_cast<size_t>(p_ - digits) + (hex ? 3 : 2));
            ExpectChar(';');
            if (!xml_chars::IsXmlChar(code)) {
                p_ = reference.data();
                Fail(Format(msg::kBadCharCode, (std::string(reference) + ";").c_str()));
            }
            AppendUtf8(out, code);
            return;
        }
        if (!AtNameStart()) Fail(msg::kReferenceExpected);
        const char* start = p_;
        const std::string_view name = Name();
        char c;
        if (name == "amp")
            c = '&';
        else if (name == "lt")
            c = '<';
        else if (name == "gt")
            c = '>';
        else if (name == "quot")
            c = '"';
        else if (name == "apos")
            c = '\'';
        else {
            p_ = start;
            Fail(msg::kBadEntityName);
        }
        ExpectChar(';');
        out += c;
    }

    // After "<": the name and attributes of a new element. True, with the element's name,
    // when its content follows; false for an empty-element tag, which is ended at once.
    bool StartTag(OpenElement& element) {
        element.bytes = p_;
        const std::string_view name = Name();
        element.length = static_cast<size_t>(p_ - element.bytes);
        if (p_ == end_) Fail(msg::kUnfinishedElement);
        if (!IsBlank(*p_) && *p_ != '/' && *p_ != '>') Fail(msg::kBadNameChar);
        element.name = NameID(name);
        handler_.StartElement(element.name);
        if (*p_ != '>') Attributes();
        if (p_ < end_ && *p_ == '/') {
            if (end_ - p_ < 2 || p_[1] != '>') FailText("/>");
            p_ += 2;
            handler_.StartTagEnd();
            handler_.EndElement();
            return false;
        }
        ExpectChar('>');
        handler_.StartTagEnd();
        return true;
    }

    // After "</": the name of the innermost open element, exactly, then ">".
    void EndTag() {
        // Mostly the very bytes of the start tag, followed by something that is no name
        // character: then the names agree without being read again.
        const OpenElement& open = open_.back();
        if (static_cast<size_t>(end_ - p_) > open.length &&
            !std::memcmp(p_, open.bytes, open.length) && IsAsciiNonName(p_[open.length])) {
            p_ += open.length;
            SkipBlanks();
            ExpectChar('>');
            return;
        }
        const std::string& name = names_->GetName(open.name);
        const size_t length = NameLength();
        if (Decoded(std::string_view(p_, length)) != name) FailText(name);
        p_ += length;
        SkipBlanks();
        ExpectChar('>');
    }

    void Attributes() {
        SkipBlanks();
        while (AtNameStart()) {
            const XmlNameID nameID = NameID(Name());
            SkipBlanks();
            ExpectChar('=');
            SkipBlanks();
            if (p_ == end_) Fail(msg::kAttrValueExpected);
            const char quote = *p_;
            if (quote != '"' && quote != '\'') Fail(msg::kQuotedExpected);
            ++p_;
            token_.clear();
            for (;;) {
                const char* run = p_;
                while (p_ < end_ && *p_ != quote && *p_ != '&' && *p_ != '<') ++p_;
                AppendDecoded(token_, run, p_);
                if (p_ == end_) Fail(Format(msg::kQuoteExpected, std::string(1, quote).c_str()));
                if (*p_ == quote) break;
                if (*p_ == '<') Fail(msg::kLessThanInAttr);
                Reference(token_);
            }
            ++p_;
            handler_.Attribute(nameID, token_);
            SkipBlanks();
        }
    }

    // After "<?": a processing instruction; the "xml" declaration keeps its pseudo-attributes.
    void Instruction() {
        const XmlNameID target = NameID(Name());
        if (target == kXmlDeclNameID) {
            handler_.ProcessingInstruction(target, {});
            Attributes();
            ExpectText("?>");
        } else {
            SkipBlanks();
            handler_.ProcessingInstruction(target, Decoded(Until("?>")));
        }
    }

    // At "-" after "<!".
    void Comment() {
        ExpectText("--");
        handler_.Comment(Decoded(Until("-->")));
    }

    // At "[" after "<!".
    void CData() {
        ExpectText("[CDATA[");
        handler_.CData(Decoded(Until("]]>")));
    }

    // After "<!": a document type declaration, passed over with its internal subset.
    void Doctype() {
        ExpectText("DOCTYPE");
        while (p_ < end_ && *p_ != '>' && *p_ != '[') ++p_;
        if (p_ < end_ && *p_ == '[') Until("]");
        Until(">");
    }

    const std::string_view text_;
    const char* p_;
    const char* const end_;
    Handler& handler_;
    TXmlNameTable* const names_;
    const bool preserve_;
    std::vector<OpenElement> open_;
    bool hasContent_ = false;  // whether the innermost open element has content yet
    std::optional<SingleByteDecoder> decoder_;  // for input in a single-byte code page
    std::string token_;
    std::string decoded_;
    std::array<XmlNameID, 256> nameCache_ = MakeEmptyCache();

    static std::array<XmlNameID, 256> MakeEmptyCache() {
        std::array<XmlNameID, 256> cache;
        cache.fill(-1);
        return cache;
    }
};

// Builds the tree of a document from what the tokenizer reports.
class XmlDomBuilder final {
public:
    explicit XmlDomBuilder(TXmlDocument& document)
        : names_(document.NameTable()), current_(&document) {}

    void StartElement(XmlNameID name) {
        auto* element = new TXmlElement(names_, name);
        Append(element);
        current_ = element;
        attributes_.Begin(*element);
    }
    void Attribute(XmlNameID name, std::string_view value) {
        attributes_.Add(name, XmlValue(value));
    }
    void StartTagEnd() {}
    void EndElement() { current_ = current_->Parent(); }
    void Text(std::string_view text, bool whole) {
        // The only content of an element is kept as its value, which is what a text child
        // amounts to: asking for the children turns it into one.
        if (whole) {
            static_cast<TXmlElement*>(current_)->value_ = XmlValue(text);
            return;
        }
        Append(new TXmlText(names_, XmlValue(text)));
    }
    void CData(std::string_view text) { Append(new TXmlCDATASection(names_, text)); }
    void Comment(std::string_view text) { Append(new TXmlComment(names_, text)); }
    void ProcessingInstruction(XmlNameID target, std::string_view text) {
        auto* node = new TXmlProcessingInstruction(names_, target, text);
        Append(node);
        attributes_.Begin(*node);
    }

private:
    void Append(TXmlNode* node) { current_->OwnChildren().AppendNew(IXmlNode(node)); }

    TXmlNameTable* const names_;
    TXmlNode* current_;                 // the innermost open element, or the document
    XmlAttributeCollector attributes_;  // of the node whose start tag is being read
};

void ParseXmlText(TXmlDocument& document, std::string_view text, const XmlEncoding& encoding) {
    XmlDomBuilder builder(document);
    XmlTokenizer<XmlDomBuilder>(builder, *document.NameTable(), text, encoding,
                                document.PreserveWhiteSpace())
        .Parse();
}

void ParseXmlText(XmlContentHandler& handler, TXmlNameTable& names, std::string_view text,
                  const XmlEncoding& encoding, bool preserveWhiteSpace) {
    XmlTokenizer<XmlContentHandler>(handler, names, text, encoding, preserveWhiteSpace).Parse();
}

}  // namespace rv
