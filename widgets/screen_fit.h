#pragma once

#include <vector>

#include "platform/graphics/geometry.h"

namespace rv {

// Bounds for a window restored from the settings, on the screens there are now. No larger than
// the desktop (all work areas together); then kept where they are when their top edge lies on a
// work area over a width the user can grasp (32 pixels, or the whole width of a narrower
// window), otherwise moved, and shrunk when too large, into the work area that holds most of
// them, or the nearest one when none does. Empty bounds stay as they are.
TRect FitOntoScreens(const TRect& bounds, const std::vector<TRect>& workAreas);

}  // namespace rv
