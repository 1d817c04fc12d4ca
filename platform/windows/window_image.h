#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/messages/messages.h"

namespace rv {

// A picture of a window as it is on the screen now, its frame's content and every child
// included, at `pixelRatio` device pixels per logical pixel; empty for a window that does not
// exist.
TBitmap WindowImage(HWND wnd, double pixelRatio = 1);

// The window as the screen shows it now: what was painted there last, nothing painted anew, at
// the screen's pixel ratio; empty for a window that does not exist or is not shown.
TBitmap ScreenImage(HWND wnd);

// The picture the desktop shows for the program's windows (title bars, task bar).
void SetApplicationIcon(const TBitmap& icon);

}  // namespace rv
