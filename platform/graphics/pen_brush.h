#pragma once

#include <array>
#include <cstdint>

#include "platform/graphics/color.h"

namespace rv {

enum class TPenStyle { psSolid, psDot, psClear };
using enum TPenStyle;

// How the pen's colour meets the pixels already there.
enum class TPenMode { pmCopy, pmXor, pmNot };
using enum TPenMode;

struct TPen {
    TColor Color = clBlack;
    TPenStyle Style = psSolid;  // psDot: every other pixel along the line, from its first
    int Width = 1;              // in logical pixels, as everything on a canvas
    TPenMode Mode = pmCopy;
};

enum class TBrushStyle { bsSolid, bsClear, bsPattern };
using enum TBrushStyle;

// bsPattern: an 8 x 8 pattern, one byte per row, bit 7 the leftmost pixel; set bits are drawn in
// Color, clear bits in PatternBackColor (clNone leaves them untouched). The pattern is aligned to
// the canvas's brush origin, so that neighbouring fills line up.
struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    std::array<std::uint8_t, 8> Pattern{};
    TColor PatternBackColor = clWhite;

    void SetPattern(const std::array<std::uint8_t, 8>& rows, TColor setColor, TColor clearColor) {
        Style = bsPattern;
        Pattern = rows;
        Color = setColor;
        PatternBackColor = clearColor;
    }
};

// Alternate pixels, the pattern of dotted grid and tree lines. Unlike psDot it keeps its phase
// where one line meets the next, being tied to the brush origin.
constexpr std::array<std::uint8_t, 8> kDottedPattern = {0xAA, 0x55, 0xAA, 0x55,
                                                        0xAA, 0x55, 0xAA, 0x55};

}  // namespace rv
