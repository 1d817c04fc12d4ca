#include "platform/graphics/color.h"

#include <array>

#include "platform/text/round.h"

namespace rv {
namespace {

// The classic desktop scheme, so that controls look the same on every machine.
std::array<TColor, 31>& Scheme() {
    static std::array<TColor, 31> scheme = {
        RGB(0xC8, 0xC8, 0xC8),  // scroll bar
        RGB(0x00, 0x80, 0x80),  // background
        RGB(0x0A, 0x24, 0x6A),  // active caption
        RGB(0x80, 0x80, 0x80),  // inactive caption
        RGB(0xD4, 0xD0, 0xC8),  // menu
        RGB(0xFF, 0xFF, 0xFF),  // window
        RGB(0x00, 0x00, 0x00),  // window frame
        RGB(0x00, 0x00, 0x00),  // menu text
        RGB(0x00, 0x00, 0x00),  // window text
        RGB(0xFF, 0xFF, 0xFF),  // caption text
        RGB(0xD4, 0xD0, 0xC8),  // active border
        RGB(0xD4, 0xD0, 0xC8),  // inactive border
        RGB(0x80, 0x80, 0x80),  // app work space
        RGB(0x0A, 0x24, 0x6A),  // highlight
        RGB(0xFF, 0xFF, 0xFF),  // highlight text
        RGB(0xD4, 0xD0, 0xC8),  // button face
        RGB(0x80, 0x80, 0x80),  // button shadow
        RGB(0x80, 0x80, 0x80),  // grey text
        RGB(0x00, 0x00, 0x00),  // button text
        RGB(0xD4, 0xD0, 0xC8),  // inactive caption text
        RGB(0xFF, 0xFF, 0xFF),  // button highlight
        RGB(0x40, 0x40, 0x40),  // 3-D dark shadow
        RGB(0xD4, 0xD0, 0xC8),  // 3-D light
        RGB(0x00, 0x00, 0x00),  // info text
        RGB(0xFF, 0xFF, 0xE1),  // info background
        RGB(0xB5, 0xB5, 0xB5),  // (unused slot)
        RGB(0x00, 0x00, 0x80),  // hot light
        RGB(0xA6, 0xCA, 0xF0),  // gradient active caption
        RGB(0xC0, 0xC0, 0xC0),  // gradient inactive caption
        RGB(0x31, 0x6A, 0xC5),  // menu highlight
        RGB(0xD4, 0xD0, 0xC8),  // menu bar
    };
    return scheme;
}

}  // namespace

TColor ColorToRGB(TColor color) {
    if (IsSystemColor(color)) {
        unsigned index = color & 0xFF;
        return index < Scheme().size() ? Scheme()[index] : clBlack;
    }
    if (color == clNone || color == clDefault) return clBlack;
    return color & 0x00FFFFFF;
}

void SetSystemColor(int index, TColor rgb) {
    if (index >= 0 && index < int(Scheme().size())) Scheme()[index] = rgb & 0x00FFFFFF;
}

TColor BlendColors(TColor a, TColor b, double f) {
    a = ColorToRGB(a);
    b = ColorToRGB(b);
    auto mix = [f](int x, int y) { return std::uint8_t(Round(x * (1.0 - f) + y * f)); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

}  // namespace rv
