#include "platform/framework/drag_loop.h"

#include <cstdlib>
#include <memory>

#include "platform/framework/win_control.h"
#include "platform/windows/screens.h"
#include "platform/windows/window_host.h"

namespace rv {
namespace {

struct TDragSession {
    TControl* control = nullptr;  // dragged; nullptr once it went away
    std::unique_ptr<TDragObject> object;
    TPoint start;  // screen point where the mouse was when the drag began
    int threshold = 0;
    bool started = false;
    TControl* target = nullptr;
    bool accepted = false;  // the target took the last move
    HWND capture = 0;       // the window holding the mouse for the drag
    bool ending = false;
};

// GUI thread only: the drag loop lives in the windows' own message handling.
TDragSession* g_drag = nullptr;

LRESULT SendDrag(TControl* target, TDragMessage kind, TPoint pos) {
    TDragRec rec;
    rec.Pos = pos;
    rec.Source = g_drag->object.get();
    rec.Target = target;
    return target->Perform(CM_DRAG, WPARAM(kind), reinterpret_cast<LPARAM>(&rec));
}

// The control under a screen point that takes part in drags: the window there asks its
// windowless children (CM_DRAG dmFindTarget); a disabled control takes no part.
TControl* DragTargetAt(TPoint pos) {
    TControl* window = FindControl(WindowFromPoint(pos));
    if (!window) return nullptr;
    TDragRec rec;
    rec.Pos = pos;
    rec.Source = g_drag->object.get();
    const LRESULT found =
        window->Perform(CM_DRAG, WPARAM(dmFindTarget), reinterpret_cast<LPARAM>(&rec));
    TControl* target = found ? reinterpret_cast<TControl*>(found) : window;
    return target->Enabled() ? target : nullptr;
}

void ShowDragCursor() {
    if (g_drag->started)
        SetCursor(g_drag->accepted && g_drag->control ? g_drag->control->DragCursor : crNoDrop);
}

// One step of the drag to a screen point: leave and enter as the control under the mouse
// changes, then the move, whose answer says whether a drop would be taken there.
void DragTo(TPoint pos) {
    TDragSession& drag = *g_drag;
    drag.object->DragPos = pos;
    TControl* target = DragTargetAt(pos);
    if (target != drag.target) {
        if (drag.target) {
            TControl* old = drag.target;
            drag.target = nullptr;
            drag.accepted = false;
            SendDrag(old, dmDragLeave, pos);
            if (g_drag != &drag || drag.ending) return;
        }
        drag.target = target;
        drag.object->DragTarget = target;
        if (target) SendDrag(target, dmDragEnter, pos);
        if (g_drag != &drag || drag.ending) return;
    }
    const bool accepted = drag.target && SendDrag(drag.target, dmDragMove, pos) != 0;
    // A handler may have ended the drag.
    if (g_drag != &drag || drag.ending) return;
    drag.accepted = accepted && drag.target;
    ShowDragCursor();
}

bool PastThreshold(TPoint pos) {
    const TDragSession& drag = *g_drag;
    return std::abs(pos.X - drag.start.X) >= drag.threshold ||
           std::abs(pos.Y - drag.start.Y) >= drag.threshold;
}

void MouseMoved() {
    const TPoint pos = GetCursorPos();
    if (!g_drag->started) {
        if (!PastThreshold(pos)) return;
        g_drag->started = true;
        // A drag is no click of the control.
        if (g_drag->control) g_drag->control->ControlState &= ~unsigned(csClicked);
    }
    DragTo(pos);
}

}  // namespace

void BeginFrameworkDrag(TControl& control, bool immediate, int threshold) {
    if (g_drag) return;
    auto drag = std::make_unique<TDragSession>();
    drag->control = &control;
    drag->start = GetCursorPos();
    drag->threshold = threshold >= 0 ? threshold : GetSystemMetrics(SM_CXDRAG);
    control.DoStartDrag(drag->object);
    if (!drag->object) drag->object = std::make_unique<TDragControlObject>(&control);
    control.SetMouseCapture(true);
    drag->capture = GetCapture();
    g_drag = drag.release();
    if (immediate) {
        g_drag->started = true;
        DragTo(g_drag->start);
    }
}

void EndFrameworkDrag(bool drop) {
    if (!g_drag || g_drag->ending) return;
    g_drag->ending = true;
    // Whatever a handler does, the drag is over afterwards: the session goes with this scope.
    std::unique_ptr<TDragSession> drag(g_drag);
    struct Finish {
        std::unique_ptr<TDragSession>& drag;
        ~Finish() {
            if (GetCapture() == drag->capture) ReleaseCapture();
            g_drag = nullptr;
        }
    } finish{drag};
    const TPoint pos = GetCursorPos();
    TControl* target = drag->target;
    const bool dropped = drop && drag->started && drag->accepted && target;
    if (target) SendDrag(target, dropped ? dmDragDrop : dmDragLeave, pos);
    // The target may have gone in its handler.
    target = drag->target;
    if (GetCapture() == drag->capture) ReleaseCapture();
    TControl* control = drag->control;
    if (!control) return;
    if (!dropped) SendDrag(control, dmDragCancel, pos);
    if (!drag->control) return;
    const TPoint at =
        dropped && target ? target->ScreenToClient(pos) : control->ScreenToClient(pos);
    control->DoEndDrag(dropped ? target : nullptr, at.X, at.Y);
}

TControl* FrameworkDragControl() {
    return g_drag && !g_drag->ending ? g_drag->control : nullptr;
}

bool FrameworkDragStarted() {
    return g_drag && g_drag->started;
}

TDragObject* FrameworkDragObject() {
    return g_drag ? g_drag->object.get() : nullptr;
}

TControl* FrameworkDragTarget() {
    return g_drag ? g_drag->target : nullptr;
}

bool FrameworkDragMessage(HWND wnd, TMessage& m) {
    if (!g_drag || g_drag->ending) return false;
    const bool holder = wnd == g_drag->capture;
    switch (m.Msg) {
        case WM_MOUSEMOVE:
            if (!holder) return false;
            MouseMoved();
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (!holder) return false;
            EndFrameworkDrag(true);
            return true;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            return holder;
        case WM_SETCURSOR:
            if (!g_drag->started) return false;
            ShowDragCursor();
            m.Result = 1;
            return true;
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (m.Msg == WM_KEYDOWN && m.WParam == VK_ESCAPE) {
                EndFrameworkDrag(false);
                return true;
            }
            // Shift and Ctrl change what a drop would do: the control under the mouse is asked
            // again.
            if ((m.WParam == VK_SHIFT || m.WParam == VK_CONTROL) && g_drag->started)
                DragTo(GetCursorPos());
            return false;
        case WM_CAPTURECHANGED:
            // Another window took the mouse: the drag cannot go on.
            if (holder && HWND(m.LParam) != g_drag->capture) EndFrameworkDrag(false);
            return false;
        case WM_CANCELMODE:
            EndFrameworkDrag(false);
            return false;
        default:
            return false;
    }
}

void ForgetFrameworkDragControl(TControl* control) {
    if (!g_drag) return;
    if (g_drag->target == control) {
        g_drag->target = nullptr;
        g_drag->accepted = false;
        g_drag->object->DragTarget = nullptr;
    }
    if (g_drag->control != control) return;
    g_drag->control = nullptr;
    if (auto* object = dynamic_cast<TDragControlObject*>(g_drag->object.get()))
        object->Control = nullptr;
    EndFrameworkDrag(false);
}

}  // namespace rv
