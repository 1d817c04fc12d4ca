#pragma once
// What a person sees of a dialog of the toolkit's own (a file dialog, a message box), for tests
// of controls and windows outside the platform layer.

#include <map>
#include <string>
#include <vector>

#include "platform/graphics/geometry.h"

namespace rv::test {

// The dialog's window with its frame, and where its parts are, in screen coordinates.
struct ToolkitDialogView {
    bool seen = false;
    TRect frame;
    TRect workArea;                      // of the screen it is on
    std::map<std::string, TRect> parts;  // empty for a part it lacks
};

// The next modal dialog of the toolkit's, once it has settled on the screen, is looked at and
// closed as with Escape. `parts` are named by object name or by button text.
void LookAtNextToolkitDialog(ToolkitDialogView& view, const std::vector<std::string>& parts);

}  // namespace rv::test
