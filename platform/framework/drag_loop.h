#pragma once
// The framework's own drag loop, inside the process: the dragged control holds the mouse; each
// move past the threshold finds the control under the mouse and tells it by CM_DRAG (enter and
// leave as the mouse crosses controls, a move at every step); a button's release drops on a
// control that accepted the last move, Escape or a lost capture cancels. The dragged control
// hears of the end through DoEndDrag. One drag runs at a time, in the GUI thread.

#include "platform/framework/drag_object.h"
#include "platform/messages/messages.h"

namespace rv {

class TControl;

// Starts dragging `control`: at once, or once the mouse has moved `threshold` pixels (negative:
// the desktop's drag threshold) away from where it is now. The drag object comes from the
// control's DoStartDrag, or is made for it. Nothing while another drag runs.
void BeginFrameworkDrag(TControl& control, bool immediate, int threshold);
// Ends the running drag: with `drop`, on the control that accepted the last move; otherwise (or
// when none accepted) it is cancelled.
void EndFrameworkDrag(bool drop);
// The control being dragged (nullptr: no drag runs), whether the drag has passed its threshold,
// its drag object and the control under the mouse that takes part.
TControl* FrameworkDragControl();
bool FrameworkDragStarted();
TDragObject* FrameworkDragObject();
TControl* FrameworkDragTarget();
// A window's message while a drag runs, before its control sees it: the mouse of the window
// holding it for the drag, Escape, Shift and Ctrl of any window, the loss of the capture. True
// when the drag took the message.
bool FrameworkDragMessage(HWND wnd, TMessage& message);
// A control going away takes no further part in a running drag; the dragged one cancels it.
void ForgetFrameworkDragControl(TControl* control);

}  // namespace rv
