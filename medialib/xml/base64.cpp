#include "medialib/xml/base64.h"

namespace rv {

std::string Base64Encode(std::string_view bytes, int maxLineLength) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
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

}  // namespace rv
