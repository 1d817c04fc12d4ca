#pragma once

#include "platform/graphics/geometry.h"
#include "platform/messages/messages.h"

namespace rv {

// Top-level windows (host windows without a parent): their state, their placement and the sizes
// the user may give them. Child windows answer as normal windows that are never minimised or
// maximised.
//
// A top-level window's procedure gets WM_WINDOWPOSCHANGED (no parameters) whenever its bounds or
// its state changed, by the program or by the user; GetWindowBounds then gives the new bounds
// (screen coordinates). When the user closes it, it gets WM_CLOSE, which DefHostWindowProc
// answers by hiding it.

// Show commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_NORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;

// WM_SYSCOMMAND commands (WParam).
inline constexpr unsigned SC_SIZE = 0xF000;
inline constexpr unsigned SC_MOVE = 0xF010;  // + HTCAPTION: moving by the caption
inline constexpr unsigned SC_MINIMIZE = 0xF020;
inline constexpr unsigned SC_MAXIMIZE = 0xF030;
inline constexpr unsigned SC_RESTORE = 0xF120;

// Placement flags.
inline constexpr unsigned WPF_SETMINPOSITION = 1;
inline constexpr unsigned WPF_RESTORETOMAXIMIZED = 2;

// Where a window is and in which state: the bounds it has when neither minimised nor maximised
// (screen coordinates, also while it is), and the positions kept for its minimised and
// maximised forms (-1, -1 when none was set). The window manager decides where minimised and
// maximised windows go; those two positions are only kept and given back.
struct TWindowPlacement {
    unsigned length = 44;
    unsigned flags = 0;
    int showCmd = SW_SHOWNORMAL;
    TPoint ptMinPosition{-1, -1};
    TPoint ptMaxPosition{-1, -1};
    TRect rcNormalPosition;
};

// showCmd is SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED or SW_SHOWNORMAL by the window's state, whether
// it is shown or not; flags hold WPF_RESTORETOMAXIMIZED for a minimised window that was
// maximised. False for an unknown window.
bool GetWindowPlacement(HWND wnd, TWindowPlacement& placement);
// Takes the normal bounds (applied at once unless the window is minimised or maximised) and the
// two positions, then shows or hides the window by showCmd (ShowWindowCmd).
bool SetWindowPlacement(HWND wnd, const TWindowPlacement& placement);

// Shows, hides, minimises, maximises or restores the window by a show command; SW_SHOW and
// SW_SHOWNA show it in the state it has. A child window is only shown or hidden.
void ShowWindowCmd(HWND wnd, int showCmd);
bool IsIconic(HWND wnd);  // minimised
bool IsZoomed(HWND wnd);  // maximised, not minimised

// Sizes the user may give a window, answered by the window to WM_GETMINMAXINFO (LParam: a
// TMinMaxInfo*, filled with the defaults below). The message goes out whenever a top-level
// window is shown or sized by the program, and on UpdateWindowSizeLimits. Only the tracking
// sizes bind, and only the user's sizing: the program may set any size, and the limits then
// widen to hold it.
struct TMinMaxInfo {
    TPoint ptReserved;
    TPoint ptMaxSize;       // default: the primary screen's work area size
    TPoint ptMaxPosition;   // default: (0, 0)
    TPoint ptMinTrackSize;  // default: (0, 0)
    TPoint ptMaxTrackSize;  // default: as large as the toolkit allows
};
void UpdateWindowSizeLimits(HWND wnd);

// The frame the window manager gives a top-level window: none at all, a title with the
// buttons asked for, and whether the user may size it (a window that may not keeps the size
// the program gives it). A dialog is one to the window manager, which then keeps it with its
// owner (SetWindowOwner). Child windows ignore this.
struct TWindowDecoration {
    bool frame = true;
    bool tool = false;  // a small-titled tool window
    bool dialog = false;
    bool systemMenu = true;
    bool minimizeBox = true;
    bool maximizeBox = true;
    bool sizeable = true;
};
void SetWindowDecoration(HWND wnd, const TWindowDecoration& decoration);
bool IsDialogWindow(HWND wnd);

// The window a top-level window belongs to: the window manager keeps it in front of its owner
// (for a dialog, as the owner's dialog). Takes effect when the window is shown next; 0: none.
void SetWindowOwner(HWND wnd, HWND owner);
HWND GetWindowOwner(HWND wnd);
// The top-level window the user works in now, or 0 when none of the program's is active.
HWND GetActiveWindow();

// WM_ACTIVATE goes to a top-level window when it becomes the active one (WParam WA_ACTIVE) and
// when it stops being it (WA_INACTIVE; LParam: the program's window that becomes active, or 0
// when none of the program's does).
inline constexpr WPARAM WA_INACTIVE = 0;
inline constexpr WPARAM WA_ACTIVE = 1;

// The program's shown top-level window in front of its others, as the program has put them: the
// one shown, brought to the top (BringWindowToTop) or activated last. 0 when none is shown.
HWND GetTopWindow();

// Every top-level window the program shows lands whole, frame included, in the work area of the
// screen it is on: shown bounds that stick out are moved inside, and shrunk when larger. A frame
// the window manager has not drawn yet counts as large as the one it drew around another of the
// program's windows; with none to go by, the window is fitted again once it is framed.
//
// The bounds of a top-level window with that frame around them (screen coordinates); a child
// window's bounds as they are.
TRect GetWindowFrameRect(HWND wnd);

// A modal window: while it is shown, the program's other windows take no input. Set before
// showing it.
void SetWindowModal(HWND wnd, bool modal);
bool IsWindowModal(HWND wnd);

// Lets the user move the window with the mouse, as dragging its caption does, until the button
// is released.
void BeginWindowMove(HWND wnd);

}  // namespace rv
