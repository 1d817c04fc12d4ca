#include "medialib/xml/text_position.h"

namespace rv {

TextPosition PositionOf(std::string_view text, size_t offset) {
    TextPosition where;
    if (offset > text.size()) offset = text.size();
    for (size_t i = 0; i < offset; ++i) {
        const char c = text[i];
        if (c == '\n') {
            ++where.line;
            where.column = 1;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++where.column;  // continuation bytes belong to the character before
        }
    }
    return where;
}

}  // namespace rv
