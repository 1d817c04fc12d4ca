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

}  // namespace

std::optional<XmlEncoding> XmlEncodingFromName(std::string_view name) {
    if (SameText(name, "UTF-8") || SameText(name, "UTF8")) return XmlEncoding{};
    if (const auto page = CodePageFromName(name)) return XmlEncoding{false, *page};
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

XmlInput DetectXmlInput(std::string_view bytes) {
    XmlInput input{bytes, {}};
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        input.bytes.remove_prefix(3);
    } else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        ThrowUnsupported("UTF-16");
    } else if (bytes.starts_with("<?xml") && bytes.size() > 5 && xml_chars::IsBlank(bytes[5])) {
        const size_t end = bytes.find("?>");
        const std::string_view declaration =
            bytes.substr(5, end == std::string_view::npos ? end : end - 5);
        if (const auto name = PseudoAttribute(declaration, "encoding")) {
            const auto known = XmlEncodingFromName(*name);
            if (!known) ThrowUnsupported(*name);
            input.encoding = *known;
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
