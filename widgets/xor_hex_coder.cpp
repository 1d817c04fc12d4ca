#include "widgets/xor_hex_coder.h"

#include "platform/text/hex_digits.h"

namespace rv {

namespace {

unsigned char KeyByte(std::string_view key, std::size_t index) {
    return key.empty() ? 0 : static_cast<unsigned char>(key[index % key.size()]);
}

}  // namespace

std::string XorHexEncode(std::string_view key, std::string_view text) {
    std::string hex;
    hex.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i)
        AppendHexByte(hex, static_cast<unsigned char>(text[i] ^ KeyByte(key, i)));
    return hex;
}

std::string XorHexDecode(std::string_view key, std::string_view hex) {
    std::string text;
    text.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size() / 2; ++i) {
        const int high = HexDigitValue(hex[2 * i]), low = HexDigitValue(hex[2 * i + 1]);
        unsigned b = high < 0 || low < 0 ? 32 : unsigned(high * 16 + low);
        text += char(b ^ KeyByte(key, i));
    }
    return text;
}

}  // namespace rv
