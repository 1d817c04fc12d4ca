#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text/codepage.h"

namespace rv {

// The encodings XML files may come in: UTF-8 or one of the single-byte code pages.
struct XmlEncoding {
    bool utf8 = true;
    CodePage page = CodePage::Windows1250;
};

// "UTF-8" (any spelling) or a supported code page name; nothing for anything else.
std::optional<XmlEncoding> XmlEncodingFromName(std::string_view name);

// The value of the pseudo-attribute `name` in the text of a declaration
// (version="1.0" encoding="windows-1250"), or nothing.
std::optional<std::string_view> PseudoAttribute(std::string_view declaration,
                                                std::string_view name);

// The bytes of an XML file without their byte-order mark, and how they are encoded: the mark
// or else the declaration decides (UTF-8 when neither says anything). Raises EXmlError for an
// encoding that is not supported and for malformed UTF-8.
struct XmlInput {
    std::string_view bytes;
    XmlEncoding encoding;
};
XmlInput DetectXmlInput(std::string_view bytes);

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
