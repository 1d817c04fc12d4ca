#pragma once

#include <string>

#include "platform/graphics/bitmap.h"
#include "platform/messages/messages.h"

namespace rv {

// A picture of a window as it is on the screen now, its frame's content and every child
// included, at `pixelRatio` device pixels per logical pixel; empty for a window that does not
// exist.
TBitmap WindowImage(HWND wnd, double pixelRatio = 1);

// The picture the desktop shows for the program's windows (title bars, task bar).
void SetApplicationIcon(const TBitmap& icon);

// Whether a desktop can show windows: a display to connect to, or a platform chosen for the
// toolkit (QT_QPA_PLATFORM, e.g. offscreen).
bool DesktopAvailable();

}  // namespace rv
