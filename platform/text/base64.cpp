#include "platform/text/base64.h"

namespace rv {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The 6-bit value of each character; -1 outside the alphabet.
struct DecodeTable {
    signed char value[256];
    constexpr DecodeTable() : value() {
        for (int c = 0; c < 256; ++c) value[c] = -1;
        for (int i = 0; i < 64; ++i)
            value[static_cast<unsigned char>(kAlphabet[i])] = static_cast<signed char>(i);
    }
};
constexpr DecodeTable kDecode;

}  // namespace

std::string Base64Encode(std::string_view bytes, int maxLineLength) {
    std::string plain;
    plain.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const unsigned n = static_cast<unsigned char>(bytes[i]) << 16 |
                           static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        plain += kAlphabet[n >> 18];
        plain += kAlphabet[(n >> 12) & 63];
        plain += kAlphabet[(n >> 6) & 63];
        plain += kAlphabet[n & 63];
    }
    if (const size_t rest = bytes.size() - i; rest > 0) {
        unsigned n = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        plain += kAlphabet[n >> 18];
        plain += kAlphabet[(n >> 12) & 63];
        plain += rest == 2 ? kAlphabet[(n >> 6) & 63] : '=';
        plain += '=';
    }
    if (maxLineLength <= 0) return plain;

    std::string lines;
    lines.reserve(plain.size() + plain.size() / static_cast<size_t>(maxLineLength) * 2 + 2);
    const size_t width = static_cast<size_t>(maxLineLength);
    for (size_t pos = 0; pos < plain.size(); ++pos) {
        // The first line is one character short: the break comes before position maxLineLength.
        if (pos + 1 >= width && (pos + 1 - width) % width == 0) lines += "\r\n";
        lines += plain[pos];
    }
    return lines;
}

Base64Fault Base64DecodeTo(std::string_view text, std::string& bytes) {
    std::string chars;
    chars.reserve(text.size());
    for (const char c : text)
        if (static_cast<unsigned char>(c) > ' ') chars += c;
    if (chars.size() % 4 != 0) return Base64Fault::Length;
    size_t padding = 0;
    if (!chars.empty() && chars.back() == '=') padding = chars[chars.size() - 2] == '=' ? 2 : 1;

    bytes.clear();
    bytes.reserve(chars.size() / 4 * 3);
    for (size_t pos = 0; pos < chars.size(); pos += 4) {
        const bool last = pos + 4 == chars.size();
        const size_t used = last ? 4 - padding : 4;
        unsigned n = 0;
        for (size_t k = 0; k < 4; ++k) {
            int v = 0;
            if (k < used) {
                v = kDecode.value[static_cast<unsigned char>(chars[pos + k])];
                if (v < 0)
                    return chars[pos + k] == '=' ? Base64Fault::Padding : Base64Fault::Character;
            }
            n = n << 6 | static_cast<unsigned>(v);
        }
        bytes += static_cast<char>(n >> 16);
        if (used > 2) bytes += static_cast<char>(n >> 8 & 0xFF);
        if (used > 3) bytes += static_cast<char>(n & 0xFF);
    }
    return Base64Fault::None;
}

}  // namespace rv
