#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "medialib/xml/xml_value.h"

namespace rv {

// The pieces of the binary form: little-endian numbers, compact integers, strings and values.
//
// Compact integer: 0..127 in one byte; 128..32511 in two bytes, the first being 0x80 | high
// byte; anything else as 0xFF and four bytes. Strings: a compact length and the bytes (UTF-8),
// or with wide strings a compact count of UTF-16 units and the units.

// Bit 0 of the options: strings are wide.
inline constexpr std::uint32_t kBinaryXmlWideStrings = 1;

class BinaryXmlEncoder {
public:
    explicit BinaryXmlEncoder(bool wideStrings) : wide_(wideStrings) {}

    void Byte(std::uint8_t value) { out_ += static_cast<char>(value); }
    void Fixed(std::uint64_t value, int bytes);
    void Compact(std::int32_t value);
    void ByteString(std::string_view utf8);
    void WideString(std::string_view utf8);
    // A byte or a wide string, as the options say.
    void String(std::string_view utf8) { wide_ ? WideString(utf8) : ByteString(utf8); }
    // Raises EXmlError for a type the form cannot hold.
    void Value(const XmlValue& value);

    std::string& Out() { return out_; }

private:
    void Length(size_t length);

    bool wide_;
    std::string out_;
};

// Reads what the encoder writes. Every length and count is checked against the bytes left
// before anything is made from it; reading past the end raises the read-data error.
class BinaryXmlDecoder {
public:
    BinaryXmlDecoder(std::string_view data, bool wideStrings) : data_(data), wide_(wideStrings) {}

    void SetWideStrings(bool wide) { wide_ = wide; }
    size_t Remaining() const { return data_.size() - pos_; }

    std::uint8_t Byte();
    std::uint64_t Fixed(int bytes);
    std::int32_t Compact();
    // A compact count of items that take at least `minBytesEach` bytes each in what follows.
    size_t Count(size_t minBytesEach);
    std::string ByteString();
    std::string WideString();
    std::string String() { return wide_ ? WideString() : ByteString(); }
    XmlValue Value();

private:
    std::string_view Take(size_t size);

    std::string_view data_;
    size_t pos_ = 0;
    bool wide_;
};

}  // namespace rv
