#pragma once

#include <cstddef>
#include <string_view>

namespace rv {

// Line and column (in characters), both counted from 1.
struct TextPosition {
    int line = 1;
    int column = 1;
};

// Where the byte at `offset` of `text` stands; `utf8` tells whether a character may take more
// than one byte.
TextPosition PositionOf(std::string_view text, size_t offset, bool utf8);

}  // namespace rv
