#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "medialib/xml/xml_encoding.h"

namespace rv {

// `text` as XML carries it: a control character XML cannot carry (all but TAB, LF and CR) becomes
// a blank, as the catalogue turns them into blanks where text enters it; the non-characters
// U+FFFE and U+FFFF, and malformed UTF-8, become U+FFFD. Nothing is left out silently. Done
// before looking for terminators such as "]]>".
std::string XmlCharsOnly(std::string_view text);

// The bytes of XML text as they are made, in UTF-8 or in a code page. Every rule about single
// characters lives here: escaping, characters XML cannot carry (replaced, see XmlCharsOnly),
// characters the encoding lacks (character references, or an error in names), line breaks and
// indentation.
// Writers decide the layout and hand over the pieces; text handed over is UTF-8.
class XmlTextOutput {
public:
    explicit XmlTextOutput(const XmlEncoding& encoding = {});
    ~XmlTextOutput();
    XmlTextOutput(const XmlTextOutput&) = delete;
    XmlTextOutput& operator=(const XmlTextOutput&) = delete;

    const XmlEncoding& Encoding() const { return encoding_; }

    // The bytes so far.
    size_t Size() const { return size_; }
    std::string_view View() const { return {buffer_.data(), size_}; }
    bool EndsWith(std::string_view bytes) const { return View().ends_with(bytes); }
    // Takes the bytes away, leaving the output empty.
    std::string Take();
    // Forgets the bytes, keeping the room they took.
    void Clear() { size_ = 0; }
    // Lets go of the last `count` bytes.
    void Unput(size_t count) { size_ -= count; }

    // Markup the writer knows to be plain ASCII, or already in the output encoding.
    void Raw(std::string_view bytes) {
        std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
        size_ += bytes.size();
    }
    void Raw(char c) {
        *Room(1) = c;
        ++size_;
    }
    // The first `count` bytes of `padded`, which holds kPadded bytes (count <= kPadded): short
    // markup copied whole, which is quicker than copying just so many bytes.
    static constexpr size_t kPadded = 32;
    void RawPadded(const char* padded, size_t count) {
        std::memcpy(Room(kPadded), padded, kPadded);
        size_ += count;
    }
    // The `count` bytes written from `start` on, once more.
    void Repeat(size_t start, size_t count) {
        char* to = Room(count);
        std::memcpy(to, buffer_.data() + start, count);
        size_ += count;
    }

    // CR LF and a TAB per level of depth.
    void LineBreak(int depth);
    void Tabs(int depth);

    // Text with "&", "<", ">", '"' and CR escaped.
    void Escaped(std::string_view text);
    // An attribute value: TAB and LF are escaped too.
    void AttributeValue(std::string_view text);

    // The text of an element. Readers drop text made of blanks alone unless they keep white
    // space; its first blank goes as a reference, which keeps the text.
    void Content(std::string_view text);

    // How a character the output encoding lacks is written where no reference can stand.
    enum class Missing { Question, Fail };
    // Text of comments and instructions, where no reference can enter. Returns whether it held
    // a line end.
    bool Chars(std::string_view text, Missing missing);

    // An element, attribute or instruction name. Raises EXmlError for a name the encoding
    // cannot hold.
    void Name(std::string_view name);
    static bool IsAscii(std::string_view text);

    void Reference(char32_t c);

    // A whole number and a float in the form files keep them.
    void Integer(std::int64_t value);
    void Float(double value);

private:
    void Escaped(std::string_view text, const std::array<unsigned char, 256>& kinds);
    // Room for `count` more bytes at the end; valid until the next write.
    char* Room(size_t count) {
        if (count > buffer_.size() - size_) Grow(count);
        return buffer_.data() + size_;
    }
    void Grow(size_t count);
    // Writes `c` in the output encoding when it has it.
    bool Encoded(char32_t c);
    const std::array<unsigned char, 0x780>& TwoByteTable();

    // Written bytes are the first size_ of buffer_; the rest is room, so that writing a byte
    // is a store and not a call.
    std::string buffer_;
    size_t size_ = 0;
    const XmlEncoding encoding_;
    std::unique_ptr<std::array<unsigned char, 0x780>> twoByte_;
};

}  // namespace rv
