#pragma once

#include "platform/graphics/bitmap.h"

namespace rv {

// The pictures of the player window's buttons, drawn rather than loaded: 16 by 16 pixels on a
// background colour that the buttons leave out (the bottom-left pixel's), drawn again at the
// pixel ratio of the screen they are shown on.
enum class TPlayerGlyph {
    Play,
    Pause,
    Stop,
    Previous,
    Next,
    Exit,
    AddFiles,
    RemoveFile,
    ClearFiles,
    ShowHide,
    AddToLibrary,
};

TBitmap PlayerGlyph(TPlayerGlyph glyph);

}  // namespace rv
