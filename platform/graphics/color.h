#pragma once

#include <cstdint>

namespace rv {

// 0x00BBGGRR, or 0x80000000 | index for a system colour, or one of the two special values.
using TColor = std::uint32_t;

constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
constexpr std::uint8_t GetRValue(TColor c) {
    return c & 0xFF;
}
constexpr std::uint8_t GetGValue(TColor c) {
    return (c >> 8) & 0xFF;
}
constexpr std::uint8_t GetBValue(TColor c) {
    return (c >> 16) & 0xFF;
}

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor kSystemColorFlag = 0x80000000;
constexpr TColor clScrollBar = kSystemColorFlag | 0;
constexpr TColor clBackground = kSystemColorFlag | 1;
constexpr TColor clActiveCaption = kSystemColorFlag | 2;
constexpr TColor clInactiveCaption = kSystemColorFlag | 3;
constexpr TColor clMenu = kSystemColorFlag | 4;
constexpr TColor clWindow = kSystemColorFlag | 5;
constexpr TColor clWindowFrame = kSystemColorFlag | 6;
constexpr TColor clMenuText = kSystemColorFlag | 7;
constexpr TColor clWindowText = kSystemColorFlag | 8;
constexpr TColor clCaptionText = kSystemColorFlag | 9;
constexpr TColor clActiveBorder = kSystemColorFlag | 10;
constexpr TColor clInactiveBorder = kSystemColorFlag | 11;
constexpr TColor clAppWorkSpace = kSystemColorFlag | 12;
constexpr TColor clHighlight = kSystemColorFlag | 13;
constexpr TColor clHighlightText = kSystemColorFlag | 14;
constexpr TColor clBtnFace = kSystemColorFlag | 15;
constexpr TColor clBtnShadow = kSystemColorFlag | 16;
constexpr TColor clGrayText = kSystemColorFlag | 17;
constexpr TColor clBtnText = kSystemColorFlag | 18;
constexpr TColor clInactiveCaptionText = kSystemColorFlag | 19;
constexpr TColor clBtnHighlight = kSystemColorFlag | 20;
constexpr TColor cl3DDkShadow = kSystemColorFlag | 21;
constexpr TColor cl3DLight = kSystemColorFlag | 22;
constexpr TColor clInfoText = kSystemColorFlag | 23;
constexpr TColor clInfoBk = kSystemColorFlag | 24;
constexpr TColor clHotLight = kSystemColorFlag | 26;
constexpr TColor clGradientActiveCaption = kSystemColorFlag | 27;
constexpr TColor clGradientInactiveCaption = kSystemColorFlag | 28;
constexpr TColor clMenuHighlight = kSystemColorFlag | 29;
constexpr TColor clMenuBar = kSystemColorFlag | 30;

constexpr bool IsSystemColor(TColor c) {
    return (c & 0xFF000000) == kSystemColorFlag;
}

// The plain 0x00BBGGRR value: system colours are looked up in the current scheme; clNone and
// clDefault (which have no colour of their own) give black, as the platform does.
TColor ColorToRGB(TColor color);

// Changes one entry of the system colour scheme (index as in clBtnFace & 0xFF).
void SetSystemColor(int index, TColor rgb);

// Per channel a * (1 - f) + b * f, rounded; both colours resolved first.
TColor BlendColors(TColor a, TColor b, double f);

}  // namespace rv
