#include "medialib/xml/xml_encoding.h"

#include <cstring>

#include "medialib/xml/text_position.h"
#include "medialib/xml/xml_chars.h"
#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "platform/text/ascii_case.h"
#include "platform/text/format.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

[[noreturn]] void ThrowUnsupported(std::string_view name) {
    throw EXmlError(Format(xml_messages::kUnsupportedEncoding, std::string(name).c_str()), 1, 1);
}

bool IsAscii(std::string_view text) {
    unsigned char any = 0;
    for (const char c : text) any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

bool IsUtf8Name(std::string_view name) {
    return SameText(name, "UTF-8") || SameText(name, "UTF8");
}

// The form of a document in UTF-16 or UTF-32, told by its byte-order mark or, without one, by the
// zero bytes around its first "<".
struct WideForm {
    std::string_view name;
    std::size_t markLength;
};

std::optional<WideForm> WideFormOf(std::string_view bytes) {
    struct Start {
        std::string_view bytes;
        WideForm form;
    };
    using namespace std::string_view_literals;
    // The four-byte marks first: FF FE is also where UTF-16LE begins.
    static constexpr Start kStarts[] = {
        {"\xFF\xFE\0\0"sv, {"UTF-32LE", 4}}, {"\0\0\xFE\xFF"sv, {"UTF-32BE", 4}},
        {"\xFF\xFE"sv, {"UTF-16LE", 2}},     {"\xFE\xFF"sv, {"UTF-16BE", 2}},
        {"<\0\0\0"sv, {"UTF-32LE", 0}},      {"\0\0\0<"sv, {"UTF-32BE", 0}},
    };
    for (const Start& start : kStarts)
        if (bytes.starts_with(start.bytes)) return start.form;
    if (bytes.size() >= 4 && bytes[0] == '<' && bytes[1] == 0 && bytes[2] != 0 && bytes[3] == 0)
        return WideForm{"UTF-16LE", 0};
    if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == '<' && bytes[2] == 0 && bytes[3] != 0)
        return WideForm{"UTF-16BE", 0};
    return std::nullopt;
}

// The text in UTF-8, or EXmlError naming the encoding and the place of the first bytes that are
// no character of it.
std::string_view Decode(SystemCharset& charset, std::string_view bytes, std::string& converted) {
    SystemCharset::Decoded decoded = charset.ToUtf8(bytes);
    converted = std::move(decoded.text);
    if (decoded.badOffset != std::string_view::npos) {
        const TextPosition where = PositionOf(converted, converted.size(), true);
        throw EXmlError(Format(xml_messages::kBadBytes, charset.Name().c_str()), where.line,
                        where.column);
    }
    return converted;
}

}  // namespace

std::string XmlEncoding::Name() const {
    if (charset) return charset->Name();
    return utf8 ? "UTF-8" : std::string(CodePageName(page));
}

bool XmlEncoding::HasAll(std::string_view text) const {
    if (!charset) return utf8 || CodePageHasAll(page, text);
    size_t pos = 0;
    while (pos < text.size())
        if (!charset->Has(DecodeUtf8(text, pos))) return false;
    return true;
}

std::optional<XmlEncoding> XmlEncodingFromName(std::string_view name) {
    if (IsUtf8Name(name)) return XmlEncoding{};
    if (const auto page = CodePageFromName(name)) return XmlEncoding{false, *page, nullptr};
    if (std::shared_ptr<SystemCharset> charset = SystemCharset::Find(name))
        return XmlEncoding{true, CodePage::Windows1250, std::move(charset)};
    return std::nullopt;
}

std::optional<std::string_view> PseudoAttribute(std::string_view declaration,
                                                std::string_view name) {
    // Names are taken loosely (anything up to a blank or "="): the bytes may be in any of the
    // encodings, and only "encoding" and "version" matter.
    size_t pos = 0;
    const auto skipBlanks = [&] {
        while (pos < declaration.size() && xml_chars::IsBlank(declaration[pos])) ++pos;
    };
    while (pos < declaration.size()) {
        skipBlanks();
        const size_t nameStart = pos;
        while (pos < declaration.size() && !xml_chars::IsBlank(declaration[pos]) &&
               declaration[pos] != '=')
            ++pos;
        const std::string_view found = declaration.substr(nameStart, pos - nameStart);
        skipBlanks();
        if (found.empty() || pos >= declaration.size() || declaration[pos] != '=')
            return std::nullopt;
        ++pos;
        skipBlanks();
        if (pos >= declaration.size() || (declaration[pos] != '"' && declaration[pos] != '\''))
            return std::nullopt;
        const size_t close = declaration.find(declaration[pos], pos + 1);
        if (close == std::string_view::npos) return std::nullopt;
        if (found == name) return declaration.substr(pos + 1, close - pos - 1);
        pos = close + 1;
    }
    return std::nullopt;
}

void CheckUtf8(std::string_view text) {
    if (IsAscii(text)) return;
    if (const size_t bad = FirstInvalidUtf8(text); bad != std::string_view::npos) {
        const TextPosition where = PositionOf(text, bad, true);
        throw EXmlError(xml_messages::kBadUtf8, where.line, where.column);
    }
}

XmlInput DetectXmlInput(std::string_view bytes, std::string& converted) {
    XmlInput input{bytes, {}};
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        input.bytes.remove_prefix(3);
    } else if (const auto wide = WideFormOf(bytes)) {
        // The mark or the zero bytes say more than a declaration could.
        const std::unique_ptr<SystemCharset> charset = SystemCharset::Find(wide->name);
        if (!charset) ThrowUnsupported(wide->name);
        input.bytes = Decode(*charset, bytes.substr(wide->markLength), converted);
        return input;
    } else if (bytes.starts_with("<?xml") && bytes.size() > 5 && xml_chars::IsBlank(bytes[5])) {
        const size_t end = bytes.find("?>");
        const std::string_view declaration =
            bytes.substr(5, end == std::string_view::npos ? end : end - 5);
        if (const auto name = PseudoAttribute(declaration, "encoding")) {
            const auto known = XmlEncodingFromName(*name);
            if (!known) ThrowUnsupported(*name);
            input.encoding = *known;
            if (SystemCharset* charset = known->charset.get()) {
                input.encoding = XmlEncoding{};
                // A declaration that does not read the same in the encoding it names (UTF-16
                // named in single bytes) cannot be true; the bytes are then taken for UTF-8.
                const std::string_view head = bytes.substr(0, declaration.size() + 5);
                if (charset->ToUtf8(head).text == head) {
                    input.bytes = Decode(*charset, bytes, converted);
                    return input;
                }
            }
        }
    }
    if (input.encoding.utf8) CheckUtf8(input.bytes);
    return input;
}

SingleByteDecoder::SingleByteDecoder(CodePage page) {
    for (int b = 0; b < 256; ++b) {
        const char32_t c = CodePageToUnicode(page, static_cast<unsigned char>(b));
        std::string utf8;
        AppendUtf8(utf8, c);
        std::memcpy(utf8_[b].data(), utf8.data(), utf8.size());
        length_[b] = static_cast<std::uint8_t>(utf8.size());
        nameStart_[b] = xml_chars::IsNameStartChar(c);
        nameChar_[b] = xml_chars::IsNameChar(c);
    }
}

void SingleByteDecoder::Append(std::string& out, std::string_view bytes) const {
    const size_t start = out.size();
    out.resize(start + bytes.size() * 3);  // room for the longest form of every byte
    char* dst = out.data() + start;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        std::uint64_t word;
        if (end - p >= 8 && (std::memcpy(&word, p, 8), (word & 0x8080808080808080u) == 0)) {
            std::memcpy(dst, p, 8);  // eight ASCII bytes
            dst += 8, p += 8;
            continue;
        }
        const auto b = static_cast<unsigned char>(*p++);
        std::memcpy(dst, utf8_[b].data(), 4);
        dst += length_[b];
    }
    out.resize(static_cast<size_t>(dst - out.data()));
}

}  // namespace rv
