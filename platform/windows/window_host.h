#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "platform/graphics/canvas.h"
#include "platform/graphics/geometry.h"
#include "platform/messages/messages.h"
#include "platform/windows/cursors.h"
#include "platform/windows/window_constants.h"

namespace rv {

// Windows with a face: each is a message window (AllocateHWnd) whose procedure also receives the
// input, paint, focus and scroll-bar messages of one on-screen window. The window rectangle holds
// a border, a header strip at the top set by the control (both non-client), the scroll bars, and
// the client area in what is left.
//
// Coordinates: client messages carry client coordinates, non-client ones screen coordinates.
// WM_PAINT carries a TCanvas* in WParam, translated to the client and clipped to what needs
// painting; WM_NCPAINT a TCanvas* in window coordinates. Both are valid during the message only.
// Every function below ignores unknown handles (answers 0, false or an empty rectangle) and is
// for the GUI thread only; other threads post or send messages.

HWND CreateHostWindow(TWndMethod method);
void DestroyHostWindow(HWND wnd);
bool IsHostWindow(HWND wnd);

// Hierarchy and placement. A window without parent is a top-level window; a child's bounds are in
// its parent's client coordinates.
void SetParentWindow(HWND child, HWND parent);
HWND GetParentWindow(HWND wnd);
void SetWindowBounds(HWND wnd, const TRect& bounds);
TRect GetWindowBounds(HWND wnd);  // in the parent's client coordinates (top-level: screen)
void ShowWindow(HWND wnd, bool show);
bool IsWindowVisible(HWND wnd);  // shown, and every parent too
void EnableWindow(HWND wnd, bool enable);
void SetWindowText(HWND wnd, const std::string& text);

// The non-client frame: a border of `border` pixels on every side and a header strip of
// `headerHeight` pixels below the top border. Sends WM_SIZE when the client size changes.
void SetWindowFrame(HWND wnd, int border, int headerHeight);

TRect GetClientRect(HWND wnd);     // (0, 0, width, height) of the client area
TRect GetWindowRect(HWND wnd);     // screen coordinates
TPoint GetClientOffset(HWND wnd);  // client origin in window coordinates
TRect GetHeaderRect(HWND wnd);     // window coordinates
TPoint ClientToScreen(HWND wnd, TPoint p);
TPoint ScreenToClient(HWND wnd, TPoint p);

// Painting. InvalidateRect takes client coordinates (nullptr: the whole client area).
void InvalidateRect(HWND wnd, const TRect* rect);
void InvalidateWindow(HWND wnd);  // client and frame
// A part of the window in window coordinates, frame included (the header strip, say).
void InvalidateWindowRect(HWND wnd, const TRect& r);
void UpdateWindow(HWND wnd);  // paints what is invalid now, before returning
void SetRedraw(HWND wnd, bool redraw);
bool RedrawEnabled(HWND wnd);
// Moves the client's pixels by (dx, dy) within `clip` (client coordinates; nullptr: the whole
// client) and invalidates the uncovered strip.
void ScrollWindow(HWND wnd, int dx, int dy, const TRect* clip);
// Paints the whole window (frame and client) into a canvas, e.g. a bitmap's.
void PaintWindowTo(HWND wnd, TCanvas& canvas);
// Device pixels per logical pixel of the screen the window is on (2 at 200 %), for bitmaps made
// to be painted there; 1 for an unknown window.
double WindowPixelRatio(HWND wnd);
// Lets the parent show through pixels the window does not paint (the platform's transparent
// extended style); off by default: the window paints every pixel of the area it is asked to.
void SetWindowTransparent(HWND wnd, bool transparent);
// Whether a change of the window's size repaints its whole client area (the platform's
// horizontal and vertical redraw class styles; on by default) or only the part it uncovers; the
// frame repaints either way.
void SetRedrawOnResize(HWND wnd, bool whole);
// The look of a scroll bar (SB_HORZ, SB_VERT or SB_BOTH), as the platform's flat scroll bars
// have it: FSB_REGULAR_MODE the desktop's own, FSB_FLAT_MODE flat parts framed in the shadow
// colour with the one under the mouse framed in the highlight colour, FSB_ENCARTA_MODE flat
// parts without frames with the one under the mouse raised.
inline constexpr int FSB_REGULAR_MODE = 0;
inline constexpr int FSB_ENCARTA_MODE = 1;
inline constexpr int FSB_FLAT_MODE = 2;
void SetScrollBarLook(HWND wnd, int bar, int mode);
// The vertical scroll bar at the window's left border instead of its right one, as the
// platform's left-scroll-bar extended style has it for windows read right to left; the header
// strip, the client area and the horizontal bar begin right of it, so client coordinates stay
// as they are. Off by default.
void SetLeftScrollBar(HWND wnd, bool left);
bool HasLeftScrollBar(HWND wnd);

// Changes entries of the system colour scheme (index as in clBtnFace & 0xFF) and then tells
// every top-level window (WM_SYSCOLORCHANGE), as the desktop does when its colours change.
void SetSysColors(std::initializer_list<std::pair<int, TColor>> colors);

// Places the window above its siblings.
void BringWindowToTop(HWND wnd);

// The window that is shown at a screen point, the innermost of nested ones (0: none of ours);
// popups that let the mouse through are not counted.
HWND WindowFromPoint(TPoint screen);

// Tool tips. When the mouse has rested over a window for the hint pause, the window gets
// CM_HINTSHOW with LParam pointing to a THintInfo holding the mouse position (client
// coordinates); a window that fills HintStr gets that text shown as a tool tip while the mouse
// stays inside CursorRect (client coordinates; empty: the whole client area). Each time the mouse
// starts to rest (it moved, no button held), the window is first asked for the pause:
// CM_HINTSHOWPAUSE with WParam 1 when a tool tip shows now (the short pause is offered then, else
// the hint pause) and LParam pointing to the pause in milliseconds (an int it may change).
struct THintInfo {
    TPoint CursorPos;
    std::string HintStr;
    TRect CursorRect;
};
// The application's hint settings: with ShowHint off no window is asked for a hint.
struct THintSettings {
    bool ShowHint = true;
    int HintPause = 500;
    int HintShortPause = 50;
};
THintSettings& HintSettings();
// The window whose hint the mouse rests for now, and the pause it waits (0 and -1: none).
HWND PendingHintWindow();
int PendingHintPause();

// Mouse capture: while a window holds it, every mouse message goes to it in client coordinates.
// Pressing a button captures implicitly until the last button is released.
HWND SetCapture(HWND wnd);  // returns the previous holder
void ReleaseCapture();
HWND GetCapture();

// Keyboard focus. Arriving by Tab or Shift+Tab, a text field selects its text.
enum class TFocusCause { fcOther, fcTab, fcBacktab };
HWND SetFocus(HWND wnd, TFocusCause cause = TFocusCause::fcOther);  // returns the previous holder
HWND GetFocus();
void SetWindowFocusable(HWND wnd, bool focusable);

// Double clicks arrive as WM_xBUTTONDBLCLK only for windows that want them (default yes);
// otherwise as another button-down message.
void SetWantsDoubleClicks(HWND wnd, bool wants);

// The window's cursor, shown while nobody answers WM_SETCURSOR; SetCursor during WM_SETCURSOR
// (or any time) sets the one shown now for the window under the mouse.
void SetWindowCursor(HWND wnd, TCursor cursor);
void SetCursor(TCursor cursor);
TCursor GetWindowCursorShown(HWND wnd);
TPoint GetCursorPos();  // screen coordinates of the last mouse event
// Where the mouse is taken to be from now on, until it moves (for a caller that steps without
// mouse events, such as a test); the pointer on the screen is not moved.
void SetCursorPos(TPoint screen);

// A key pressed in a window is first offered as CN_KEYDOWN (CN_SYSKEYDOWN with Alt); taken,
// it goes no further.
//
// Keys and buttons as they were when the message being handled was sent; the high bit (0x8000)
// is set for a key that is down. Tests may set them.
short GetKeyState(int virtualKey);
void SetKeyState(int virtualKey, bool down);

// Scroll bars set the platform's way: a range, a page and a position. A bar whose page covers
// its range is hidden, unless SIF_DISABLENOSCROLL keeps it shown and disabled.
struct TScrollInfo {
    unsigned fMask = SIF_ALL;
    int nMin = 0;
    int nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
int SetScrollInfo(HWND wnd, int bar, const TScrollInfo& info, bool redraw = true);
bool GetScrollInfo(HWND wnd, int bar, TScrollInfo& info);
int SetScrollPos(HWND wnd, int bar, int pos, bool redraw = true);
int GetScrollPos(HWND wnd, int bar);
void ShowScrollBar(HWND wnd, int bar, bool show);
bool IsScrollBarVisible(HWND wnd, int bar);
int GetSystemScrollBarSize();

// The answers of a window to messages its procedure leaves alone (WM_NCHITTEST zones,
// WM_SETREDRAW, WM_ERASEBKGND, WM_NCPAINT's plain frame, …); the control framework's default.
LRESULT DefHostWindowProc(HWND wnd, TMessage& message);

// Runs a window procedure for a host event; an exception it raises goes to the application's
// exception handling and never further.
LRESULT DeliverMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Colour depth of the screen in bits per pixel.
int ScreenColorDepth();

}  // namespace rv
