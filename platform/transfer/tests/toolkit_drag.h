#pragma once
// Drags as the toolkit delivers them to a window's host, for tests above the platform layer, and
// a drag loop that follows a script instead of the mouse.

#include <memory>
#include <vector>

#include "platform/transfer/drag_drop.h"

namespace rv::test {

enum class ToolkitDrag { Enter, Move, Leave, Drop };

// A drag event at a client point of the window carrying the data object: as a drag of this
// program carries it, or (`foreign`) only the bytes of its formats, as another program's drag
// would. `keyState` holds the mouse keys and modifiers as MK_ bits. Answers the effect the window
// took (DROPEFFECT_NONE when it refused).
DWORD SendToolkitDrag(HWND wnd, ToolkitDrag kind, TPoint client,
                      const std::shared_ptr<IDataObject>& data, DWORD okEffects, DWORD keyState,
                      bool foreign = false);

// One moment of a scripted drag: the mouse over a window (0: over none) at a client point with
// the keys held, Escape pressed or not.
struct TDragStep {
    HWND wnd = 0;
    TPoint client;
    DWORD keyState = 0;
    bool escape = false;
};
// A loop for SetDragLoop: at each step the drop source is asked whether the drag goes on; the
// windows under the steps get enter, move and leave as the toolkit sends them, and the drop
// where the source says so. A script that ends before cancels.
TDragLoop ScriptedDragLoop(std::vector<TDragStep> steps);

}  // namespace rv::test
