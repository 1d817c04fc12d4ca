#include "widgets/prop_texts.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/text/ascii_case.h"
#include "platform/text/decimal_point.h"
#include "platform/text/trim.h"
#include "platform/text/utf8.h"
#include "widgets/str_utils.h"

namespace rv {

namespace {

constexpr std::string_view kSetDelims = " ,[]";
constexpr int kSetMembers = 32;

int PrecisionOf(TFloatType type) {
    switch (type) {
        case ftSingle:
            return 7;
        case ftDouble:
            return 15;
        case ftCurr:
            return 19;
        default:
            return 18;
    }
}

}  // namespace

std::string EnumerationText(const std::vector<std::string>& names, int value) {
    return value >= 0 && std::size_t(value) < names.size() ? names[std::size_t(value)]
                                                           : std::string();
}

bool TextToEnumeration(const std::vector<std::string>& names, std::string_view text, int& value) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], text)) {
            value = int(i);
            return true;
        }
    return false;
}

std::string SetText(const std::vector<std::string>& names, std::uint32_t members) {
    std::string text = "[";
    bool first = true;
    for (int i = 0; i < kSetMembers && std::size_t(i) < names.size(); ++i) {
        if (!(members & (std::uint32_t(1) << i))) continue;
        if (!first) text += ',';
        text += names[std::size_t(i)];
        first = false;
    }
    return text + "]";
}

std::uint32_t TextToSet(const std::vector<std::string>& names, std::string_view text) {
    std::uint32_t members = 0;
    const int words = CountWords(text, kSetDelims);
    for (int n = 1; n <= words; ++n) {
        int value = -1;
        if (TextToEnumeration(names, NthWord(n, text, kSetDelims), value) && value < kSetMembers)
            members |= std::uint32_t(1) << value;
    }
    return members;
}

std::string FloatText(long double value, TFloatType type) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";
    const int precision = PrecisionOf(type);
    // "-d.ddde+XX": the digits rounded to the precision, and the decimal exponent.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", precision - 1, value);
    const std::string_view scientific(buffer);
    const std::size_t e = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, e))
        if (c >= '0' && c <= '9') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int exponent = std::atoi(buffer + e + 1);
    std::string text = value < 0 ? "-" : "";
    // Digits before the point.
    const int integral = exponent + 1;
    if (integral > precision || exponent < -5) {
        text += digits.substr(0, 1);
        if (digits.size() > 1) text += "." + digits.substr(1);
        return text + "E" + std::to_string(exponent);
    }
    if (integral <= 0) return text + "0." + std::string(std::size_t(-integral), '0') + digits;
    if (digits.size() <= std::size_t(integral))
        return text + digits + std::string(std::size_t(integral) - digits.size(), '0');
    return text + digits.substr(0, std::size_t(integral)) + "." +
           digits.substr(std::size_t(integral));
}

bool TextToFloat(std::string_view text, long double& value) {
    std::string number = Trim(text);
    // Files written under another locale may hold its separator.
    const std::string separator = LocaleDecimalPoint();
    if (separator != ".") number = ReplaceAll(number, separator, ".");
    std::string_view digits = number;
    if (digits.starts_with('+') && !digits.substr(1).starts_with('-')) digits.remove_prefix(1);
    long double parsed = 0;
    const char* end = digits.data() + digits.size();
    const auto result = std::from_chars(digits.data(), end, parsed, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != end) return false;
    value = parsed;
    return true;
}

std::string CharText(char32_t c) {
    std::string text;
    AppendUtf8(text, c);
    return text;
}

bool TextToChar(std::string_view text, char32_t& c) {
    if (text.empty()) return false;
    std::size_t pos = 0;
    c = DecodeUtf8(text, pos);
    return true;
}

bool TextToInt64(std::string_view text, std::int64_t& value) {
    if (text.starts_with('+') && text.size() > 1 && text[1] != '-') text.remove_prefix(1);
    std::int64_t parsed = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, parsed);
    if (result.ec != std::errc() || result.ptr != end) return false;
    value = parsed;
    return true;
}

}  // namespace rv
