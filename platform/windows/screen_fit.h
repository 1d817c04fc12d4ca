#pragma once

#include <vector>

#include "platform/graphics/geometry.h"

namespace rv {

// Bounds for a window on the screens there are now: on the work area that holds most of them (the
// nearest one when none does), shrunk to that work area's size when larger and moved inside it
// where they stick out. Bounds already inside stay as they are, and so do empty ones.
TRect FitOntoScreens(const TRect& bounds, const std::vector<TRect>& workAreas);

}  // namespace rv
