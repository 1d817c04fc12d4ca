#include "medialib/xml/xml_chars.h"

#include <array>

#include "platform/text/utf8.h"

namespace rv::xml_chars {

namespace {

enum : unsigned char { kStart = 1, kFollow = 2 };

constexpr std::array<unsigned char, 128> MakeAsciiTable() {
    std::array<unsigned char, 128> t{};
    for (int c = 'a'; c <= 'z'; ++c) t[c] = kStart | kFollow;
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = kStart | kFollow;
    t['_'] = kStart | kFollow;
    for (int c = '0'; c <= '9'; ++c) t[c] = kFollow;
    t['-'] = t['.'] = t[':'] = kFollow;
    return t;
}

constexpr std::array<unsigned char, 128> kAscii = MakeAsciiTable();

}  // namespace

bool IsNameStartChar(char32_t c) {
    if (c < 0x80) return kAscii[c] & kStart;
    return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || c == 0x200C ||
           c == 0x200D || (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) ||
           (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF) ||
           (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsNameChar(char32_t c) {
    if (c < 0x80) return kAscii[c] & kFollow;
    return IsNameStartChar(c) || c == 0xB7 || (c >= 0x300 && c <= 0x36F) || c == 0x203F ||
           c == 0x2040;
}

size_t NameLength(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            if (!(kAscii[b] & (pos == 0 ? kStart : kFollow))) break;
            ++pos;
            continue;
        }
        size_t next = pos;
        const char32_t c = DecodeUtf8(text, next);
        if (c == kReplacementChar || !(pos == 0 ? IsNameStartChar(c) : IsNameChar(c))) break;
        pos = next;
    }
    return pos;
}

bool HasSolidChar(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            if (b > 0x20) return true;
            ++pos;
        } else if (IsXmlChar(DecodeUtf8(text, pos))) {
            return true;
        }
    }
    return false;
}

std::string_view TrimBlanks(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

}  // namespace rv::xml_chars
