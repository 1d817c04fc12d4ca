#include "readers/tag_text.h"

#include <charconv>

#include "platform/text/codepage.h"
#include "platform/text/utf16.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

bool IsControl(char32_t cp) {
    return cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0);
}

// Length of the text without a multi-byte sequence that the end of the buffer cut short.
std::size_t WithoutCutSequence(std::string_view text) {
    std::size_t lead = text.size();
    for (std::size_t back = 0; back < 4 && lead > 0; ++back) {
        const auto c = static_cast<unsigned char>(text[lead - 1]);
        if ((c & 0xC0) != 0x80) break;
        --lead;
    }
    if (lead == 0) return text.size();
    const auto c = static_cast<unsigned char>(text[lead - 1]);
    const std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return text.size() - (lead - 1) < need ? lead - 1 : text.size();
}

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        if (i == 0 && ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF))) {
            bigEndian = b0 == 0xFE;
            continue;
        }
        const auto unit = static_cast<char16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
        if (unit == 0) break;
        if (unit == 0xFEFF) continue;  // a stray byte-order mark is no character
        units.push_back(unit);
    }
    if (!units.empty() && units.back() >= 0xD800 && units.back() < 0xDC00) units.pop_back();
    return Utf16ToUtf8(units);
}

}  // namespace

std::size_t TerminatorWidth(TagEncoding encoding) {
    return encoding == TagEncoding::Utf16 || encoding == TagEncoding::Utf16BE ? 2 : 1;
}

std::size_t FindTerminator(std::string_view bytes, TagEncoding encoding) {
    if (TerminatorWidth(encoding) == 1) return bytes.find('\0');
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        if (bytes[i] == 0 && bytes[i + 1] == 0) return i;
    return std::string_view::npos;
}

std::string DecodeTagText(std::string_view bytes, TagEncoding encoding) {
    switch (encoding) {
        case TagEncoding::Latin:
            return CleanTagText(
                DecodeCodePage(CodePage::Windows1252, bytes.substr(0, bytes.find('\0'))));
        case TagEncoding::Utf16:
        case TagEncoding::Utf16BE:
            return CleanTagText(DecodeUtf16(bytes, encoding == TagEncoding::Utf16BE));
        case TagEncoding::Utf8: {
            const std::string_view text = bytes.substr(0, bytes.find('\0'));
            return CleanTagText(SanitizeUtf8(text.substr(0, WithoutCutSequence(text))));
        }
    }
    return {};
}

std::string CleanTagText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[pos]);
        if (c < 0x80) {
            out.push_back(c < 0x20 || c == 0x7F ? ' ' : static_cast<char>(c));
            ++pos;
            continue;
        }
        const char32_t cp = DecodeUtf8(utf8, pos);
        if (IsControl(cp))
            out.push_back(' ');
        else
            AppendUtf8(out, cp);
    }
    const std::size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    out.erase(out.find_last_not_of(' ') + 1);
    out.erase(0, first);
    return out;
}

std::uint32_t ParseTrackNumber(std::string_view text, std::uint32_t maxValue) {
    text = text.substr(0, text.find('/'));
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0;
    text = text.substr(first, text.find_last_not_of(' ') + 1 - first);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > maxValue) return 0;
    return value;
}

}  // namespace rv
