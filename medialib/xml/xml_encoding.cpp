#include "medialib/xml/xml_encoding.h"

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

// Offset of the first malformed UTF-8 sequence, or npos.
size_t FirstMalformedUtf8(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const size_t start = pos;
        if (DecodeUtf8(text, pos) == kReplacementChar &&
            (pos - start != 3 || text.substr(start, 3) != "\xEF\xBF\xBD"))
            return start;
    }
    return std::string_view::npos;
}

bool IsAscii(std::string_view text) {
    unsigned char any = 0;
    for (const char c : text) any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

}  // namespace

std::optional<XmlEncoding> XmlEncodingFromName(std::string_view name) {
    if (SameText(name, "UTF-8") || SameText(name, "UTF8")) return XmlEncoding{};
    if (const auto page = CodePageFromName(name)) return XmlEncoding{false, *page};
    return std::nullopt;
}

std::optional<std::string_view> PseudoAttribute(std::string_view declaration,
                                                std::string_view name) {
    size_t pos = 0;
    while (pos < declaration.size()) {
        while (pos < declaration.size() && xml_chars::IsBlank(declaration[pos])) ++pos;
        const size_t nameLength = xml_chars::NameLength(declaration.substr(pos));
        if (nameLength == 0) return std::nullopt;
        const std::string_view found = declaration.substr(pos, nameLength);
        pos += nameLength;
        while (pos < declaration.size() && xml_chars::IsBlank(declaration[pos])) ++pos;
        if (pos >= declaration.size() || declaration[pos] != '=') return std::nullopt;
        ++pos;
        while (pos < declaration.size() && xml_chars::IsBlank(declaration[pos])) ++pos;
        if (pos >= declaration.size() || (declaration[pos] != '"' && declaration[pos] != '\''))
            return std::nullopt;
        const size_t close = declaration.find(declaration[pos], pos + 1);
        if (close == std::string_view::npos) return std::nullopt;
        if (found == name) return declaration.substr(pos + 1, close - pos - 1);
        pos = close + 1;
    }
    return std::nullopt;
}

std::string DecodeXmlBytes(std::string_view bytes) {
    XmlEncoding encoding;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    } else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        ThrowUnsupported("UTF-16");
    } else if (bytes.starts_with("<?xml") && bytes.size() > 5 && xml_chars::IsBlank(bytes[5])) {
        const size_t end = bytes.find("?>");
        if (const auto name =
                PseudoAttribute(bytes.substr(5, end == bytes.npos ? end : end - 5), "encoding")) {
            const auto known = XmlEncodingFromName(*name);
            if (!known) ThrowUnsupported(*name);
            encoding = *known;
        }
    }
    if (IsAscii(bytes)) return std::string(bytes);
    if (!encoding.utf8) return DecodeCodePage(encoding.page, bytes);
    if (const size_t bad = FirstMalformedUtf8(bytes); bad != std::string_view::npos) {
        const TextPosition where = PositionOf(bytes, bad);
        throw EXmlError(xml_messages::kBadUtf8, where.line, where.column);
    }
    return std::string(bytes);
}

}  // namespace rv
