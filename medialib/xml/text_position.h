#pragma once

#include <cstddef>
#include <string_view>

namespace rv {

// Line and column (in characters), both counted from 1.
struct TextPosition {
    int line = 1;
    int column = 1;
};

// Where the byte at `offset` of UTF-8 `text` stands.
TextPosition PositionOf(std::string_view text, size_t offset);

}  // namespace rv
