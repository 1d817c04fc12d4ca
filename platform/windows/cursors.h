#pragma once

#include "platform/graphics/color.h"
#include "platform/graphics/geometry.h"

namespace rv {

class TBitmap;

// Cursor numbers as the class framework gives them.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

// Cursors of the system's theme that no stock number names, for RegisterCursor.
enum class TCursorShape { PointingHand, OpenHand, ClosedHand, HorizontalSplit };

// Puts a cursor of the system's theme in a slot of the screen's cursor table: from then on the
// number `slot` (a positive number of the program's own) shows it.
void RegisterCursor(TCursor slot, TCursorShape shape);

// The same with a picture of the program's own: the bitmap's pixels of `transparentColor` are
// not part of the cursor; `hotSpot` is the pixel that points.
void RegisterCursor(TCursor slot, const TBitmap& image, TColor transparentColor, TPoint hotSpot);

}  // namespace rv
