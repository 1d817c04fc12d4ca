#include "platform/text/utf8.h"

namespace rv {

namespace {

inline bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

char32_t DecodeUtf8(std::string_view text, size_t& pos) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    const unsigned char lead = s[pos];
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    size_t need;
    char32_t cp;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1, cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2, cp = lead & 0x0F;
        if (lead == 0xE0) lo = 0xA0;  // overlong
        if (lead == 0xED) hi = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3, cp = lead & 0x07;
        if (lead == 0xF0) lo = 0x90;  // overlong
        if (lead == 0xF4) hi = 0x8F;  // past U+10FFFF
    } else {
        ++pos;
        return kReplacementChar;
    }
    size_t i = pos + 1;
    for (size_t k = 0; k < need; ++k, ++i) {
        if (i >= n) {
            pos = i;
            return kReplacementChar;
        }
        const unsigned char c = s[i];
        const bool ok = k == 0 ? (c >= lo && c <= hi) : IsContinuation(c);
        if (!ok) {
            pos = i;
            return kReplacementChar;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    pos = i;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
        return;
    }
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacementChar;
    char buf[4];
    size_t len;
    if (cp < 0x800) {
        buf[0] = static_cast<char>(0xC0 | (cp >> 6));
        len = 2;
    } else if (cp < 0x10000) {
        buf[0] = static_cast<char>(0xE0 | (cp >> 12));
        buf[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        len = 3;
    } else {
        buf[0] = static_cast<char>(0xF0 | (cp >> 18));
        buf[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        buf[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        len = 4;
    }
    buf[len - 1] = static_cast<char>(0x80 | (cp & 0x3F));
    out.append(buf, len);
}

std::size_t FirstInvalidUtf8(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const size_t start = pos;
        if (DecodeUtf8(text, pos) == kReplacementChar) {
            // A genuine U+FFFD is three bytes long; anything else was malformed.
            if (pos - start != 3 || text.substr(start, 3) != "\xEF\xBF\xBD") return start;
        }
    }
    return std::string_view::npos;
}

bool IsValidUtf8(std::string_view text) {
    return FirstInvalidUtf8(text) == std::string_view::npos;
}

std::string SanitizeUtf8(std::string_view text) {
    if (IsValidUtf8(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    size_t pos = 0;
    while (pos < text.size()) AppendUtf8(out, DecodeUtf8(text, pos));
    return out;
}

size_t Utf8Length(std::string_view text) {
    size_t count = 0, pos = 0;
    while (pos < text.size()) {
        if (static_cast<unsigned char>(text[pos]) < 0x80)
            ++pos;
        else
            DecodeUtf8(text, pos);
        ++count;
    }
    return count;
}

namespace {

bool IsBlankedControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

}  // namespace

void BlankControlChars(std::string& text) {
    // Texts almost never hold one: a branch-free look first leaves the text unwritten.
    bool any = false;
    for (char c : text) any |= IsBlankedControl(c);
    if (!any) return;
    for (char& c : text)
        if (IsBlankedControl(c)) c = ' ';
}

std::string Text255(std::string_view text) {
    std::string fitted = CutToChars(text, kText255);
    BlankControlChars(fitted);
    return fitted;
}

void FitText255(std::string& text) {
    if (text.size() > kText255) text = CutToChars(text, kText255);  // bytes bound characters
    BlankControlChars(text);
}

std::string CutToChars(std::string_view text, size_t maxChars) {
    if (text.size() <= maxChars) return std::string(text);  // bytes bound characters
    size_t pos = 0, count = 0;
    while (pos < text.size() && count < maxChars) {
        if (static_cast<unsigned char>(text[pos]) < 0x80)
            ++pos;
        else
            DecodeUtf8(text, pos);
        ++count;
    }
    return std::string(text.substr(0, pos));
}

}  // namespace rv
