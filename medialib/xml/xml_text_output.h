#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "medialib/xml/xml_encoding.h"

namespace rv {

// `text` without the characters XML cannot carry (malformed UTF-8 becoming U+FFFD). Done before
// looking for terminators such as "]]>", which dropping a character could otherwise create.
std::string XmlCharsOnly(std::string_view text);

// The bytes of XML text as they are made, in UTF-8 or in a code page. Every rule about single
// characters lives here: escaping, characters XML cannot carry (left out), characters the
// encoding lacks (character references, or an error in names), line breaks and indentation.
// Writers decide the layout and hand over the pieces; text handed over is UTF-8.
class XmlTextOutput {
public:
    explicit XmlTextOutput(const XmlEncoding& encoding = {});
    ~XmlTextOutput();
    XmlTextOutput(const XmlTextOutput&) = delete;
    XmlTextOutput& operator=(const XmlTextOutput&) = delete;

    const XmlEncoding& Encoding() const { return encoding_; }

    // The bytes so far; writers may look back at them and take them away.
    std::string& Bytes() { return out_; }
    size_t Size() const { return out_.size(); }

    // Markup the writer knows to be plain ASCII, or already in the output encoding.
    void Raw(std::string_view bytes) { out_.append(bytes); }
    void Raw(char c) { out_ += c; }

    // CR LF and a TAB per level of depth.
    void LineBreak(int depth);

    // Text and attribute values with "&", "<", ">" and '"' escaped.
    void Escaped(std::string_view text);

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
    // Writes `c` in the output encoding when it has it.
    bool Encoded(char32_t c);
    const std::array<unsigned char, 0x780>& TwoByteTable();

    std::string out_;
    const XmlEncoding encoding_;
    std::unique_ptr<std::array<unsigned char, 0x780>> twoByte_;
};

}  // namespace rv
