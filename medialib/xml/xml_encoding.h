#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text/codepage.h"
#include "platform/text/system_charset.h"

namespace rv {

// The encoding XML text is read or written in. UTF-8 and the single-byte code pages of our own
// tables are handled byte by byte; any other encoding the system's converters know is converted
// as a whole: reading turns it into UTF-8 first, and writing makes UTF-8, checking each character
// against the encoding, and converts the result.
struct XmlEncoding {
    bool utf8 = true;                       // the text is made or read as UTF-8
    CodePage page = CodePage::Windows1250;  // the code page, when not
    // With utf8: the encoding the UTF-8 is converted into when written.
    std::shared_ptr<SystemCharset> charset;

    // The name, as messages give it.
    std::string Name() const;
    // Whether the encoding can hold every character of the UTF-8 text.
    bool HasAll(std::string_view text) const;
};

// "UTF-8" (any spelling), a code page of our own tables or any encoding the system's converters
// know; nothing when none knows the name.
std::optional<XmlEncoding> XmlEncodingFromName(std::string_view name);

// The value of the pseudo-attribute `name` in the text of a declaration
// (version="1.0" encoding="windows-1250"), or nothing.
std::optional<std::string_view> PseudoAttribute(std::string_view declaration,
                                                std::string_view name);

// The bytes of an XML file without their byte-order mark, and how they are encoded: the mark,
// the first bytes of a document in UTF-16 or UTF-32, or else the declaration decides (UTF-8 when
// none says anything). Text in an encoding other than UTF-8 and our code pages is converted to
// UTF-8 into `converted`, which `bytes` then views. Raises EXmlError for an encoding no converter
// knows and for bytes that are no text of their encoding.
struct XmlInput {
    std::string_view bytes;
    XmlEncoding encoding;
};
XmlInput DetectXmlInput(std::string_view bytes, std::string& converted);

// Raises EXmlError, with the place, when `text` is not well-formed UTF-8.
void CheckUtf8(std::string_view text);

// Single-byte text to UTF-8, and the name-character classes of the code page's bytes.
class SingleByteDecoder {
public:
    explicit SingleByteDecoder(CodePage page);

    void Append(std::string& out, std::string_view bytes) const;
    std::string Decode(std::string_view bytes) const {
        std::string out;
        Append(out, bytes);
        return out;
    }
    bool IsNameStart(unsigned char byte) const { return nameStart_[byte]; }
    bool IsNameChar(unsigned char byte) const { return nameChar_[byte]; }

private:
    std::array<std::array<char, 4>, 256> utf8_{};
    std::array<std::uint8_t, 256> length_{};
    std::array<bool, 256> nameStart_{};
    std::array<bool, 256> nameChar_{};
};

}  // namespace rv
