#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rv {

// Type codes of the values that elements, text nodes and attributes hold. The numbers are part
// of the binary form and must not change.
enum class XmlVarType : std::uint16_t {
    Empty = 0,
    Null = 1,
    Int16 = 2,
    Int32 = 3,
    Float32 = 4,
    Float64 = 5,
    Currency = 6,  // fixed point, stored as the value times 10000
    DateTime = 7,  // days since 1899-12-30, the fraction being the time of day
    WideText = 8,  // held as UTF-8 like every text; written to binary as UTF-16
    Boolean = 11,
    Int8 = 16,
    UInt8 = 17,
    UInt16 = 18,
    UInt32 = 19,
    Int64 = 20,
    Text = 256,
    ByteArray = 8209,
};

// A scalar value (a "variant"): a type code and its data.
class XmlValue {
public:
    XmlValue() = default;
    XmlValue(std::string text) : type_(XmlVarType::Text), text_(std::move(text)) {}
    XmlValue(std::string_view text) : XmlValue(std::string(text)) {}
    XmlValue(const char* text) : XmlValue(std::string(text)) {}

    static XmlValue Null() { return Make(XmlVarType::Null); }
    static XmlValue Boolean(bool value);
    // Int8 .. Int64 and UInt8 .. UInt32; the number is cut to the type's width.
    static XmlValue Integer(XmlVarType type, std::int64_t value);
    static XmlValue Int32(std::int32_t value) { return Integer(XmlVarType::Int32, value); }
    static XmlValue Float32(float value) { return WithFloat(XmlVarType::Float32, value); }
    static XmlValue Float64(double value) { return WithFloat(XmlVarType::Float64, value); }
    static XmlValue Currency(std::int64_t scaledBy10000) {
        return WithInteger(XmlVarType::Currency, scaledBy10000);
    }
    static XmlValue DateTime(double days) { return WithFloat(XmlVarType::DateTime, days); }
    static XmlValue WideText(std::string utf8) {
        return WithString(XmlVarType::WideText, std::move(utf8));
    }
    static XmlValue ByteArray(std::string bytes) {
        return WithString(XmlVarType::ByteArray, std::move(bytes));
    }

    XmlVarType Type() const { return type_; }
    bool IsEmpty() const { return type_ == XmlVarType::Empty; }
    bool IsText() const { return type_ == XmlVarType::Text || type_ == XmlVarType::WideText; }
    bool IsInteger() const;
    bool IsFloat() const;
    bool IsNumeric() const { return IsInteger() || IsFloat() || type_ == XmlVarType::Currency; }

    // The data: integers and Booleans as a 64-bit number, floats and date-times as a double,
    // currency as its scaled integer, texts and byte arrays as bytes.
    std::int64_t IntData() const { return number_.i; }
    double FloatData() const { return number_.d; }
    const std::string& StringData() const { return text_; }
    // Hands the text or bytes over, leaving the value empty.
    std::string TakeStringData() {
        type_ = XmlVarType::Empty;
        std::string data;
        data.swap(text_);
        return data;
    }

    // A numeric value as a double (currency divided by 10000), else 0.
    double AsDouble() const;

    friend bool operator==(const XmlValue& a, const XmlValue& b);

private:
    static XmlValue Make(XmlVarType type) {
        XmlValue v;
        v.type_ = type;
        return v;
    }
    static XmlValue WithInteger(XmlVarType type, std::int64_t value) {
        XmlValue v = Make(type);
        v.number_.i = value;
        return v;
    }
    static XmlValue WithFloat(XmlVarType type, double value) {
        XmlValue v = Make(type);
        v.number_.d = value;
        return v;
    }
    static XmlValue WithString(XmlVarType type, std::string data) {
        XmlValue v = Make(type);
        v.text_ = std::move(data);
        return v;
    }

    XmlVarType type_ = XmlVarType::Empty;
    union {
        std::int64_t i;
        double d;
    } number_{0};
    std::string text_;
};

// The text form of a value, as the writer puts it into XML and as Text() reports it.
std::string ValueToText(const XmlValue& value);

}  // namespace rv
