#include "platform/text/utf16.h"

#include "platform/text/utf8.h"

namespace rv {

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) AppendUtf16(out, DecodeUtf8(utf8, pos));
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    size_t pos = 0;
    while (pos < utf16.size()) AppendUtf8(out, DecodeUtf16(utf16, pos));
    return out;
}

char32_t DecodeUtf16(std::u16string_view utf16, size_t& pos) {
    const char32_t unit = utf16[pos++];
    if (unit < 0xD800 || unit > 0xDFFF) return unit;
    if (IsHighSurrogate(unit) && pos < utf16.size() && utf16[pos] >= 0xDC00 && utf16[pos] <= 0xDFFF)
        return 0x10000 + ((unit - 0xD800) << 10) + (utf16[pos++] - 0xDC00);
    return kReplacementChar;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

}  // namespace rv
