#pragma once

#include <string>

#include "platform/graphics/color.h"

namespace rv {

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// Whether the font's characters share one width; fpDefault leaves it to the font's name.
enum class TFontPitch { fpDefault, fpVariable, fpFixed };
using enum TFontPitch;

// fqNonAntialiased draws every pixel of a glyph in the font colour and none half-way, for text on
// pictures whose background colour is made transparent afterwards.
enum class TFontQuality { fqDefault, fqNonAntialiased };
using enum TFontQuality;

// Fonts are measured at 96 pixels per inch everywhere, so that layouts are the same on every
// screen and offscreen.
constexpr int kPixelsPerInch = 96;

// A font description as controls keep it; the canvas turns it into a real font when it draws.
struct TFont {
    std::string Name = "DejaVu Sans";
    // Negative: the character height in pixels; positive: the cell height (characters a little
    // smaller), the platform's convention.
    int Height = -11;
    TColor Color = clWindowText;
    TFontStyles Style = 0;
    TFontQuality Quality = fqDefault;
    TFontPitch Pitch = fpDefault;

    int Size() const;  // in points
    void SetSize(int points);
    bool Bold() const { return (Style & fsBold) != 0; }

    friend bool operator==(const TFont&, const TFont&) = default;
};

}  // namespace rv
