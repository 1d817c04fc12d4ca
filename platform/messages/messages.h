#pragma once

#include <cstdint>
#include <functional>

#include "platform/messages/message_numbers.h"

namespace rv {

using UINT = std::uint32_t;
using UINT_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// A window handle. 0 is no window; a handle is never handed out twice in one run, so a stale
// handle can never reach a newer window.
using HWND = std::uintptr_t;

// One window message as a window procedure sees it; the procedure stores its answer in Result.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// A window procedure.
using TWndMethod = std::function<void(TMessage&)>;

// Creates a message-only window whose messages go to `method`. The window belongs to the calling
// thread: posted and cross-thread sent messages and its timers are handled there, whenever that
// thread runs its message loop (TApplication::Run, ProcessMessages, a waiting TThread::WaitFor…).
HWND AllocateHWnd(TWndMethod method);

// Destroys the window: its timers stop, messages still queued for it are dropped, and `method` is
// never called again once this returns (call it in the window's own thread; it may be called from
// inside the window procedure itself). Destroying the application's main window ends its loop.
// Unknown and 0 handles are ignored.
void DeallocateHWnd(HWND wnd);

// True while the window exists.
bool IsWindow(HWND wnd);

// The window's procedure, and replacing it (subclassing): the new procedure gets every message
// from then on and may pass any to the one it replaced, which the caller keeps. A procedure may
// be replaced while it runs. Both are for the window's own thread; for another thread or an
// unknown window GetWindowProc gives an empty method and SetWindowProc false.
TWndMethod GetWindowProc(HWND wnd);
bool SetWindowProc(HWND wnd, TWndMethod method);

// Queues the message for the window's thread and returns at once; messages posted from one thread
// arrive in the order they were posted. False when the window does not exist.
bool PostMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Runs the window procedure and returns its Result. In the window's thread this is a direct call
// (an exception of the procedure reaches the caller). From another thread the call waits until
// the window's thread has handled it; meanwhile the waiting thread goes on handling messages sent
// to its own windows and calls synchronized into it, so two threads sending to each other cannot
// deadlock. There an exception of the procedure goes to TApplication::HandleException and the
// result is 0. 0 as well for a window that does not exist or is destroyed before its turn.
LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The default answer to a message nobody handles: 0.
LRESULT DefWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Starts (or, for an id already running on the window, restarts) a timer that sends WM_TIMER with
// WParam = id to the window every `elapseMs` milliseconds (at least 10), from the window thread's
// message loop. Expiries that pile up while the thread is busy are delivered once. Returns id (1
// for id 0), or 0 when the window does not exist or belongs to another thread.
UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT elapseMs);

// Stops the timer; no WM_TIMER of it arrives afterwards. False when there was no such timer.
bool KillTimer(HWND wnd, UINT_PTR id);

}  // namespace rv
