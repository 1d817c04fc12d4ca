#include "medialib/xml/text_position.h"

namespace rv {

TextPosition PositionOf(std::string_view text, size_t offset, bool utf8) {
    TextPosition where;
    if (offset > text.size()) offset = text.size();
    for (size_t i = 0; i < offset; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++where.line;
            where.column = 1;
        } else if (!utf8 || (c & 0xC0) != 0x80) {
            ++where.column;  // UTF-8 continuation bytes belong to the character before
        }
    }
    return where;
}

}  // namespace rv
