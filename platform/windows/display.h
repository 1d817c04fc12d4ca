#pragma once

#include <string>

namespace rv {

// Why no window can be shown here, as one line for the user; empty when one can: the display
// that DISPLAY names accepts the program, or the toolkit is given another way to show windows
// (WAYLAND_DISPLAY, or a platform of its own in QT_QPA_PLATFORM such as offscreen). Asked before
// the first window, as the toolkit itself ends the program without a display.
std::string DisplayProblem();

}  // namespace rv
