#pragma once

#include "platform/windows/cursors.h"

namespace rv {

// The two hand cursors of the interface components: a pointing hand for things to click, and a
// closed hand for things being dragged.
inline constexpr TCursor crHand = 14000;
inline constexpr TCursor crDragHand = 14001;

// Puts them in the screen's cursor table, from the system's cursor theme so that they match the
// desktop at any scale. Called once at start-up.
void RegisterHandCursors();

}  // namespace rv
