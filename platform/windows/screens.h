#pragma once

#include <vector>

#include "platform/graphics/geometry.h"

namespace rv {

// The screens as the desktop has them now, in the logical pixels windows are placed in.

// GetSystemMetrics indices: the primary screen's size and the classic frame widths of windows.
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXBORDER = 5;
inline constexpr int SM_CYBORDER = 6;
inline constexpr int SM_CXDLGFRAME = 7;
inline constexpr int SM_CYDLGFRAME = 8;
inline constexpr int SM_CXFRAME = 32;
inline constexpr int SM_CYFRAME = 33;
inline constexpr int SM_CXEDGE = 45;
inline constexpr int SM_CYEDGE = 46;
inline constexpr int SM_CXDRAG = 68;
inline constexpr int SM_CYDRAG = 69;

// The primary screen's width or height for SM_CXSCREEN / SM_CYSCREEN. The window manager draws
// the frames of top-level windows; the frame indices answer the classic widths (1, 3, 4 pixels)
// that placement records are written with, the edge indices the 2 pixels of a sunken edge. The
// drag indices answer the desktop's drag distance: how far the mouse must move with a button
// down before a drag starts. 0 for any other index.
int GetSystemMetrics(int index);

// Logical pixels per inch of the primary screen (96 at the usual scale).
int ScreenPixelsPerInch();

// The part of each screen windows may use (the screen less panels and docks), the primary
// screen first; never empty.
std::vector<TRect> ScreenWorkAreas();

}  // namespace rv
