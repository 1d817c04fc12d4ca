#include "medialib/xml/xml_value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "medialib/xml/base64.h"

namespace rv {

namespace {

std::string FloatText(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    // Exponents in the platform's short form: 1E20, 1.5E-7.
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

// Civil date of a day count since 1970-01-01 (proleptic Gregorian calendar).
void CivilFromDays(std::int64_t z, std::int64_t& year, unsigned& month, unsigned& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2);
}

std::string DateTimeText(double days) {
    if (!std::isfinite(days) || std::fabs(days) > 3e6) return FloatText(days);
    // The whole part counts days, the fraction (also of a negative value) is the time of day.
    const double whole = std::trunc(days);
    long long ms = std::llround(std::fabs(days - whole) * 86400000.0);
    std::int64_t dayCount = static_cast<std::int64_t>(whole);
    if (ms >= 86400000) ms = 86399999;
    std::int64_t year;
    unsigned month, day;
    CivilFromDays(dayCount - 25569, year, month, day);  // 1899-12-30 is 25569 days before 1970
    const long long seconds = ms / 1000;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4lld-%.2u-%.2uT%.2lld-%.2lld-%.2lld",
                  static_cast<long long>(year), month, day, seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return buffer;
}

}  // namespace

XmlValue XmlValue::Boolean(bool value) {
    return WithInteger(XmlVarType::Boolean, value ? 1 : 0);
}

XmlValue XmlValue::Integer(XmlVarType type, std::int64_t value) {
    XmlValue v = Make(type);
    switch (type) {
        case XmlVarType::Int8:
            value = static_cast<std::int8_t>(value);
            break;
        case XmlVarType::UInt8:
            value = static_cast<std::uint8_t>(value);
            break;
        case XmlVarType::Int16:
            value = static_cast<std::int16_t>(value);
            break;
        case XmlVarType::UInt16:
            value = static_cast<std::uint16_t>(value);
            break;
        case XmlVarType::Int32:
            value = static_cast<std::int32_t>(value);
            break;
        case XmlVarType::UInt32:
            value = static_cast<std::uint32_t>(value);
            break;
        default:
            v.type_ = XmlVarType::Int64;
            break;
    }
    v.number_.i = value;
    return v;
}

bool XmlValue::IsInteger() const {
    switch (type_) {
        case XmlVarType::Int8:
        case XmlVarType::UInt8:
        case XmlVarType::Int16:
        case XmlVarType::UInt16:
        case XmlVarType::Int32:
        case XmlVarType::UInt32:
        case XmlVarType::Int64:
        case XmlVarType::Boolean:
            return true;
        default:
            return false;
    }
}

bool XmlValue::IsFloat() const {
    return type_ == XmlVarType::Float32 || type_ == XmlVarType::Float64 ||
           type_ == XmlVarType::DateTime;
}

double XmlValue::AsDouble() const {
    if (IsInteger()) return static_cast<double>(number_.i);
    if (IsFloat()) return number_.d;
    if (type_ == XmlVarType::Currency) return static_cast<double>(number_.i) / 10000.0;
    return 0;
}

bool operator==(const XmlValue& a, const XmlValue& b) {
    if (a.type_ == b.type_) {
        if (a.IsInteger() || a.type_ == XmlVarType::Currency) return a.number_.i == b.number_.i;
        if (a.IsFloat()) return a.number_.d == b.number_.d;
        return a.text_ == b.text_;
    }
    if (a.IsEmpty() || b.IsEmpty() || a.type_ == XmlVarType::Null || b.type_ == XmlVarType::Null)
        return false;
    if (a.IsInteger() && b.IsInteger()) return a.number_.i == b.number_.i;
    if (a.IsNumeric() && b.IsNumeric()) return a.AsDouble() == b.AsDouble();
    // A number against a text compares in text form, as the value would be written.
    return ValueToText(a) == ValueToText(b);
}

std::string ValueToText(const XmlValue& value) {
    switch (value.Type()) {
        case XmlVarType::Empty:
            return {};
        case XmlVarType::Null:
            return "{{null}}";
        case XmlVarType::Boolean:
            return value.IntData() ? "1" : "0";
        case XmlVarType::Int8:
        case XmlVarType::UInt8:
        case XmlVarType::Int16:
        case XmlVarType::UInt16:
        case XmlVarType::Int32:
        case XmlVarType::UInt32:
        case XmlVarType::Int64:
            return std::to_string(value.IntData());
        case XmlVarType::Float32:
        case XmlVarType::Float64:
            return FloatText(value.FloatData());
        case XmlVarType::Currency:
            return FloatText(value.AsDouble());
        case XmlVarType::DateTime:
            return DateTimeText(value.FloatData());
        case XmlVarType::ByteArray:
            return Base64Encode(value.StringData());
        case XmlVarType::Text:
        case XmlVarType::WideText:
            break;
    }
    return value.StringData();
}

}  // namespace rv
