#include "medialib/safe_convert.h"

#include <charconv>
#include <string>

#include "platform/text/decimal_point.h"

namespace rv {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Appends the run of digits at `pos` to `out`; returns how many there were.
size_t TakeDigits(std::string_view text, size_t& pos, std::string& out) {
    const size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) out.push_back(text[pos++]);
    return pos - start;
}

}  // namespace

int32_t SafeStrToInt(std::string_view text) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    if (pos == text.size()) return 0;
    int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        if (!IsDigit(text[pos])) return 0;
        value = value * 10 + (text[pos] - '0');
        if (value > int64_t{INT32_MAX} + 1) return 0;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return 0;
    return static_cast<int32_t>(value);
}

double SafeStrToFloat(std::string_view text) {
    const std::string separator = LocaleDecimalPoint();
    size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    std::string plain;  // the number rewritten in the form from_chars reads
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        if (text[pos++] == '-') plain.push_back('-');
    size_t digits = TakeDigits(text, pos, plain);
    if (text.substr(pos).starts_with(separator)) {
        pos += separator.size();
        plain.push_back('.');
        digits += TakeDigits(text, pos, plain);
    }
    if (digits == 0) return 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        plain.push_back('e');
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            plain.push_back(text[pos++]);
        if (TakeDigits(text, pos, plain) == 0) return 0;
    }
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (pos != text.size()) return 0;
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size()) return 0;
    return value;
}

}  // namespace rv
