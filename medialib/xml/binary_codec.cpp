#include "medialib/xml/binary_codec.h"

#include <bit>
#include <limits>

#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "platform/text/utf16.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

[[noreturn]] void ThrowReadData() {
    throw EXmlError(xml_messages::kBinaryReadData);
}

}  // namespace

void BinaryXmlEncoder::Fixed(std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out_ += static_cast<char>(value >> (8 * i) & 0xFF);
}

void BinaryXmlEncoder::Compact(std::int32_t value) {
    if (value >= 0 && value <= 127) {
        Byte(static_cast<std::uint8_t>(value));
    } else if (value >= 128 && value <= 32511) {
        Byte(static_cast<std::uint8_t>(value >> 8 | 0x80));
        Byte(static_cast<std::uint8_t>(value & 0xFF));
    } else {
        Byte(0xFF);
        Fixed(static_cast<std::uint32_t>(value), 4);
    }
}

void BinaryXmlEncoder::Length(size_t length) {
    if (length > static_cast<size_t>(std::numeric_limits<std::int32_t>::max()))
        throw EXmlError(xml_messages::kBinaryWriteValueType);
    Compact(static_cast<std::int32_t>(length));
}

void BinaryXmlEncoder::ByteString(std::string_view utf8) {
    Length(utf8.size());
    out_ += utf8;
}

void BinaryXmlEncoder::WideString(std::string_view utf8) {
    const std::u16string units = Utf8ToUtf16(utf8);
    Length(units.size());
    for (const char16_t unit : units) Fixed(unit, 2);
}

void BinaryXmlEncoder::Value(const XmlValue& value) {
    const XmlVarType type = value.Type();
    const auto bits = static_cast<std::uint64_t>(value.IntData());
    switch (type) {
        case XmlVarType::Empty:
        case XmlVarType::Null:
            Compact(static_cast<std::int32_t>(type));
            return;
        case XmlVarType::Int8:
        case XmlVarType::UInt8:
            Compact(static_cast<std::int32_t>(type));
            Fixed(bits, 1);
            return;
        case XmlVarType::Int16:
        case XmlVarType::UInt16:
            Compact(static_cast<std::int32_t>(type));
            Fixed(bits, 2);
            return;
        case XmlVarType::Boolean:
            // A true Boolean has every bit set, as variants keep it.
            Compact(static_cast<std::int32_t>(type));
            Fixed(value.IntData() ? 0xFFFF : 0, 2);
            return;
        case XmlVarType::Int32:
        case XmlVarType::UInt32:
            Compact(static_cast<std::int32_t>(type));
            Fixed(bits, 4);
            return;
        case XmlVarType::Float32:
            Compact(static_cast<std::int32_t>(type));
            Fixed(std::bit_cast<std::uint32_t>(static_cast<float>(value.FloatData())), 4);
            return;
        case XmlVarType::Float64:
        case XmlVarType::DateTime:
            Compact(static_cast<std::int32_t>(type));
            Fixed(std::bit_cast<std::uint64_t>(value.FloatData()), 8);
            return;
        case XmlVarType::Currency:
        case XmlVarType::Int64:
            Compact(static_cast<std::int32_t>(type));
            Fixed(bits, 8);
            return;
        case XmlVarType::WideText:
            Compact(static_cast<std::int32_t>(type));
            WideString(value.StringData());
            return;
        case XmlVarType::Text:
            Compact(static_cast<std::int32_t>(type));
            ByteString(value.StringData());
            return;
        case XmlVarType::ByteArray:
            Compact(static_cast<std::int32_t>(type));
            ByteString(value.StringData());
            return;
    }
    throw EXmlError(xml_messages::kBinaryWriteValueType);
}

std::string_view BinaryXmlDecoder::Take(size_t size) {
    if (size > Remaining()) ThrowReadData();
    const std::string_view bytes = data_.substr(pos_, size);
    pos_ += size;
    return bytes;
}

std::uint8_t BinaryXmlDecoder::Byte() {
    return static_cast<std::uint8_t>(Take(1)[0]);
}

std::uint64_t BinaryXmlDecoder::Fixed(int bytes) {
    const std::string_view data = Take(static_cast<size_t>(bytes));
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(data[static_cast<size_t>(i)]);
    return value;
}

std::int32_t BinaryXmlDecoder::Compact() {
    const std::uint8_t first = Byte();
    if (first < 0x80) return first;
    if (first == 0xFF) return static_cast<std::int32_t>(static_cast<std::uint32_t>(Fixed(4)));
    return (first & 0x7F) * 256 + Byte();
}

size_t BinaryXmlDecoder::Count(size_t minBytesEach) {
    const std::int32_t count = Compact();
    if (count < 0 || static_cast<size_t>(count) > Remaining() / minBytesEach) ThrowReadData();
    return static_cast<size_t>(count);
}

std::string BinaryXmlDecoder::ByteString() {
    const std::string_view bytes = Take(Count(1));
    // The model holds UTF-8 only; anything else would come out garbled in every later step.
    if (!IsValidUtf8(bytes)) throw EXmlError(xml_messages::kBadUtf8);
    return std::string(bytes);
}

std::string BinaryXmlDecoder::WideString() {
    const std::string_view bytes = Take(Count(2) * 2);
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return Utf16ToUtf8(units);
}

XmlValue BinaryXmlDecoder::Value() {
    const std::int32_t code = Compact();
    const auto type = static_cast<XmlVarType>(code);
    switch (code) {
        case 0:
            return XmlValue();
        case 1:
            return XmlValue::Null();
        case 16:
        case 17:
            return XmlValue::Integer(type, static_cast<std::int64_t>(Fixed(1)));
        case 2:
        case 18:
            return XmlValue::Integer(type, static_cast<std::int64_t>(Fixed(2)));
        case 11:
            return XmlValue::Boolean(Fixed(2) != 0);
        case 3:
        case 19:
            return XmlValue::Integer(type, static_cast<std::int64_t>(Fixed(4)));
        case 4:
            return XmlValue::Float32(std::bit_cast<float>(static_cast<std::uint32_t>(Fixed(4))));
        case 5:
            return XmlValue::Float64(std::bit_cast<double>(Fixed(8)));
        case 7:
            return XmlValue::DateTime(std::bit_cast<double>(Fixed(8)));
        case 6:
            return XmlValue::Currency(static_cast<std::int64_t>(Fixed(8)));
        case 20:
            return XmlValue::Integer(type, static_cast<std::int64_t>(Fixed(8)));
        case 8:
            return XmlValue::WideText(WideString());
        case 256:
            return XmlValue(ByteString());
        case 8209:
            return XmlValue::ByteArray(std::string(Take(Count(1))));
        default:
            throw EXmlError(xml_messages::kBinaryReadValueType);
    }
}

}  // namespace rv
