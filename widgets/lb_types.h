#pragma once

#include "platform/graphics/color.h"

namespace rv {

enum class TLbColorStyle {
    lcsCustom,
    lcsGold,
    lcsChrome,
    lcsBlue,
    lcsRed,
    lcsUltraFlat1,
    lcsUltraFlat2,
    lcsUltraFlatXP,
    lcsAqua,
    lcsDefault,
    lcsQuicken
};
using enum TLbColorStyle;

enum class TLbButtonKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};
using enum TLbButtonKind;

// Named in full (TLbButtonLayout::blGlyphLeft): the tree's header columns have layouts of the
// same names, and a window may carry both.
enum class TLbButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using TLbSpeedButtonLayout = TLbButtonLayout;

enum class TLbButtonStyle { bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken };
using enum TLbButtonStyle;
using TLbSpeedButtonStyle = TLbButtonStyle;

// The colours and look a colour style stands for.
struct TLbColorStylePreset {
    TColor Face;
    TColor Light;
    TColor Shadow;
    TColor HotTrack;
    TColor WhenDown;
    TColor Font;
    bool Flat;
    TLbButtonStyle Style;
};

// The preset of a colour style; lcsCustom has none (false).
bool GetColorStylePreset(TLbColorStyle style, TLbColorStylePreset& preset);

// Transparent colour of the buttons' off-screen pictures.
constexpr TColor kLbTransparent = 0xFF00FF;

}  // namespace rv
