#include "medialib/xml/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "platform/text/decimal_point.h"
#include "platform/text/format.h"

namespace rv {

namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

// Brings the text into the form "[-]digits[.digits][e[-]digits]" with a point: the separator
// the locale reads as decimal point becomes "." (with a point locale, the first "," does).
std::string WithPoint(std::string_view text) {
    std::string result(text);
    const std::string point = LocaleDecimalPoint();
    if (point == "." || point == ",") {
        const size_t pos = result.find_first_of(",.");
        if (pos != std::string::npos) result[pos] = '.';
        return result;
    }
    // A locale with another separator: the first "," (or else the first ".") is taken as it,
    // as is the locale's own separator when the text has neither.
    size_t pos = result.find(',');
    if (pos == std::string::npos) pos = result.find('.');
    if (pos != std::string::npos) {
        result[pos] = '.';
    } else if (const size_t own = result.find(point); own != std::string::npos) {
        result = result.substr(0, own) + '.' + result.substr(own + point.size());
    }
    return result;
}

// The text of a value that is exactly the nearest double to a decimal of at most six places
// and fewer than 16 digits (a duration, a price): that decimal, the shortest such. Dividing two
// exact doubles rounds correctly, so the check is exact.
std::optional<std::string> FewDecimals(double value) {
    static constexpr double kPowers[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
    static constexpr double kLimit = 1e15;  // fewer than 16 digits
    for (int places = 0; places < 7; ++places) {
        const double scaled = std::round(value * kPowers[places]);
        if (std::fabs(scaled) >= kLimit) return std::nullopt;
        if (scaled / kPowers[places] != value) continue;
        auto digits = static_cast<long long>(std::fabs(scaled));
        char buffer[32];
        char* p = buffer + sizeof buffer;
        for (int i = 0; i < places; ++i, digits /= 10) *--p = static_cast<char>('0' + digits % 10);
        if (places > 0) *--p = '.';
        do {
            *--p = static_cast<char>('0' + digits % 10);
            digits /= 10;
        } while (digits > 0);
        if (value < 0) *--p = '-';
        return std::string(p, buffer + sizeof buffer);
    }
    return std::nullopt;
}

}  // namespace

std::string FloatToText(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";  // also -0
    char buffer[64];
    // Most values need 15 digits or fewer and no exponent: then their shortest exact form is the
    // same text, and much quicker to find.
    if (std::fabs(value) >= 1e-4 && std::fabs(value) < 1e15) {
        if (const auto few = FewDecimals(value)) return *few;
        const auto shortest =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
        int digits = 0;
        for (const char* p = buffer; p < shortest.ptr; ++p)
            if (*p >= '0' && *p <= '9' && (digits > 0 || *p != '0')) ++digits;
        if (digits <= 15) return std::string(buffer, shortest.ptr);
    }
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    if (const auto e = text.find('e'); e != std::string::npos) {
        text[e] = 'E';
        size_t digits = e + 1;
        if (text[digits] == '+')
            text.erase(digits, 1);
        else if (text[digits] == '-')
            ++digits;
        while (digits + 1 < text.size() && text[digits] == '0') text.erase(digits, 1);
    }
    return text;
}

bool TryTextToFloat(std::string_view text, double& value) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.front() == '+') return false;
    // With a point and no comma the text is already in the normal form, whatever the locale.
    if (text.find('.') != std::string_view::npos && text.find(',') == std::string_view::npos)
        return PointTextToFloat(text, value);
    return PointTextToFloat(WithPoint(text), value);
}

double TextToFloat(std::string_view text) {
    double value = 0;
    if (!TryTextToFloat(text, value))
        throw EXmlError(Format(xml_messages::kNotAFloat, std::string(text).c_str()));
    return value;
}

bool TryTextToInteger(std::string_view text, std::int64_t& value) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+') return false;
    std::uint64_t magnitude = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
    constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int64_t>::max();
    if (base == 16 && !negative) {
        // Hexadecimal may spell the bit pattern of a negative number, as $FFFFFFFFFFFFFFFF.
        value = static_cast<std::int64_t>(magnitude);
        return true;
    }
    if (magnitude > kMaxPositive + (negative ? 1 : 0)) return false;
    value =
        negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

std::int64_t TextToInteger(std::string_view text) {
    std::int64_t value = 0;
    if (!TryTextToInteger(text, value))
        throw EXmlError(Format(xml_messages::kNotAnInteger, std::string(text).c_str()));
    return value;
}

}  // namespace rv
