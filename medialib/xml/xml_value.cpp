#include "medialib/xml/xml_value.h"

#include "medialib/xml/base64.h"
#include "medialib/xml/number_text.h"
#include "medialib/xml/xml_date_time.h"

namespace rv {

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
            return FloatToText(value.FloatData());
        case XmlVarType::Currency:
            return FloatToText(value.AsDouble());
        case XmlVarType::DateTime:
            return DateTimeToText(value.FloatData());
        case XmlVarType::ByteArray:
            return Base64Encode(value.StringData());
        case XmlVarType::Text:
        case XmlVarType::WideText:
            break;
    }
    return value.StringData();
}

}  // namespace rv
