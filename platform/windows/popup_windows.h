#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/messages/messages.h"

namespace rv {

// Popups: top-level host windows without a frame that stay above the program's windows and
// never take the activation or the keys — hints, drag pictures, the wheel-panning mark. They are
// placed where the program puts them (screen coordinates), not fitted onto the screen, and they
// paint through WM_PAINT as every host window does.
struct TPopupStyle {
    // The window's pixels carry an alpha channel: where it paints nothing or paints translucent,
    // what lies below shows through. The desktop's compositor does that; without one the
    // translucent pixels are opaque.
    bool translucent = false;
    // The mouse passes through the window to whatever lies below.
    bool ignoresInput = false;
};

// Makes a host window a popup; before it is shown for the first time.
void SetWindowPopup(HWND wnd, const TPopupStyle& style);
bool IsPopupWindow(HWND wnd);

// The opacity of the whole window, 0 to 1 (1 opaque), as far as the desktop composes windows;
// GetWindowOpacity answers what was set.
void SetWindowOpacity(HWND wnd, double opacity);
double GetWindowOpacity(HWND wnd);

// Only the pixels of `shape` (logical pixels from the window's top left) that are not of
// `transparentColor` belong to the window: the others show what lies below and take no mouse.
// An empty bitmap gives the window its whole rectangle back.
void SetWindowShape(HWND wnd, const TBitmap& shape, TColor transparentColor);
// Whether the window's shape holds the point (window coordinates).
bool WindowShapeContains(HWND wnd, TPoint p);

}  // namespace rv
