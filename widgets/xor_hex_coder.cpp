#include "widgets/xor_hex_coder.h"

namespace rv {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

unsigned char KeyByte(std::string_view key, std::size_t index) {
    return key.empty() ? 0 : static_cast<unsigned char>(key[index % key.size()]);
}

}  // namespace

std::string XorHexEncode(std::string_view key, std::string_view text) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned b = static_cast<unsigned char>(text[i]) ^ KeyByte(key, i);
        hex += kDigits[b >> 4];
        hex += kDigits[b & 15];
    }
    return hex;
}

std::string XorHexDecode(std::string_view key, std::string_view hex) {
    std::string text;
    text.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size() / 2; ++i) {
        int high = HexDigit(hex[2 * i]), low = HexDigit(hex[2 * i + 1]);
        unsigned b = high < 0 || low < 0 ? 32 : unsigned(high * 16 + low);
        text += char(b ^ KeyByte(key, i));
    }
    return text;
}

}  // namespace rv
