#pragma once
// The Qt widget behind a window with a face; platform .cpp files only.

#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMargins>
#include <QPointer>
#include <QRegion>
#include <QScrollBar>
#include <QWidget>
#include <utility>
#include <vector>

#include "platform/windows/window_host.h"

namespace rv {

class HostWidget : public QWidget {
public:
    HostWidget(HWND wnd);
    ~HostWidget() override;

    static HostWidget* Find(HWND wnd);
    // The windows without a parent window, in no particular order.
    static std::vector<HWND> TopLevelWindows();
    static HostWidget* Of(QWidget* widget);  // the host a widget belongs to, or nullptr

    HWND Handle() const { return wnd_; }
    // Still the window of its handle (not destroyed by a handler meanwhile).
    bool Alive() const;
    // Leaves the registry and goes: now, or after the event being handled.
    void Retire();

    // Geometry, widget coordinates.
    QRect ClientArea() const;
    QRect HeaderArea() const;
    QPoint ClientOffset() const { return ClientArea().topLeft(); }
    void SetFrame(int border, int header);
    // The vertical bar at the left border instead of the right one.
    void SetLeftScrollBar(bool left);
    bool leftScrollBar = false;
    int VerticalBarLeft() const;
    int Border() const { return border_; }
    void Relayout();
    void PlaceInParent();  // after the parent's frame or the bounds changed

    TRect bounds;  // in the parent's client coordinates
    HWND parent = 0;
    bool shown = false;
    bool wantsDoubleClicks = true;
    TCursor windowCursor = crDefault;
    TCursor shownCursor = crDefault;  // the cursor shown last (ApplyCursor)
    QRegion pending;                  // invalid, not painted yet
    // A resize repaints the whole client area, or only what it uncovers (and the frame).
    bool redrawOnResize = true;
    // Without redrawOnResize: the part of the client whose pixels a resize left valid, which the
    // toolkit's repaint of the whole widget then leaves alone; the top-level window's size when
    // it was noted (a top-level resize loses the pixels).
    QRegion keptClient;
    QSize keptTopLevelSize;
    bool paintedOnce = false;

    // Scroll bars.
    struct Bar {
        QScrollBar* widget = nullptr;
        int min = 0, max = 0, pos = 0, track = 0;
        unsigned page = 0;
        bool visible = false;
        bool disableNoScroll = false;
    } bars[2];
    int SetScroll(int which, const TScrollInfo& info);
    void ShowBar(int which, bool show);
    void SyncBar(int which);

    void Paint(QPainter& painter, const QRegion& region);
    // WM_CANCELMODE to the capture holder and the focused window when they are this window or
    // inside it; the default answer to it lets go of the mouse.
    void CancelModesInside();
    void DropCapture();
    // CM_HINTSHOW for the mouse at `local` (widget coordinates), and the tool tip the window
    // asks for; the area it belongs to is noted for the hint timing.
    void ShowHintAt(QPoint local);

    // A toolkit widget that is the face of the control (host_face.cpp): it covers the client
    // area and goes with the host. The host's focus passes to it; its focus changes, keys, mouse
    // buttons (over `mouseArea`, by default the face) and context-menu requests reach the window
    // procedure as the host's own, and it acts on a key only when the procedure leaves the key
    // to the default handling. A header face covers the header strip and is left alone.
    void SetFace(QWidget* widget, QWidget* mouseArea = nullptr);
    void SetHeaderFace(QWidget* widget);
    QWidget* Face() const { return face_.data(); }
    QWidget* HeaderFace() const { return headerFace_.data(); }
    // DefHostWindowProc got a key message: the face may act on it.
    void NoteKeyPassed(const TMessage& m);

    // Top-level windows (top_level_window.cpp).
    TRect normalBounds;  // bounds when neither minimised nor maximised
    TPoint minPosition{-1, -1}, maxPosition{-1, -1};
    bool sizeable = true;
    // A popup (popup_windows.h): placed where the program puts it, never fitted or owned.
    bool popup = false;
    bool InNormalState() const;
    // Bounds set by the program: at once in the normal state, otherwise kept for the restore.
    void PlaceTopLevel(const TRect& r);
    // Bounds follow the window as the toolkit moved it; WM_WINDOWPOSCHANGED when they changed
    // (or always, with `force`).
    void NoteGeometry(bool force = false);
    // Asks WM_GETMINMAXINFO and applies the tracking sizes.
    void ApplySizeLimits();
    // Moves and shrinks the window, frame included, into the work area of the screen it lands
    // on (a minimised or maximised one: its normal bounds). A frame the window manager has not
    // drawn yet counts as big as another window's; `whenFramed` fits again once the window is
    // on the screen, where the window manager put it, with its frame.
    void FitOntoWorkArea(bool whenFramed);
    // The frame the window manager draws around the window, as far as known.
    QMargins FrameMargins();
    bool fitWhenFramed = false;
    // The window it belongs to (a dialog's owner): kept above it, and placed by the window
    // manager as its dialog.
    HWND owner = 0;
    // Hands the owner to the toolkit; before the window is shown, which is when it counts.
    void ApplyOwner();
    // Where the window stands among the program's top-level windows as the program has put
    // them: a window shown, brought to the top or activated goes in front (a higher number).
    std::uint64_t stackPlace = 0;
    void NoteInFront();

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The left and the right edge (exclusive) of the width beside the vertical bar.
    std::pair<int, int> BesideVerticalBar() const;
    void Mouse(QMouseEvent* e, int kind);
    void ScrollAction(int which, int action);
    void SendScroll(int which, int code, int pos);

    // A pressed key as the window gets it: CN_KEYDOWN (CN_SYSKEYDOWN with Alt) and, unless taken
    // there, WM_KEYDOWN; false when it was taken or the window went.
    bool SendKeyDown(QKeyEvent* e);
    // WM_CHAR (WM_SYSCHAR) per UTF-16 unit of its text, none while Ctrl is held without Alt;
    // false when the window went.
    bool SendChars(QKeyEvent* e);
    // WM_KEYUP (WM_SYSKEYUP); false for an auto-repeat's release or a key without a code.
    bool SendKeyUp(QKeyEvent* e);
    // Text that comes without keys (an input method's): each UTF-16 unit as a key of its own
    // that types it, down, WM_CHAR and up; false when the window went.
    bool SendTypedText(const QString& text);
    void NoteFocusIn();
    void NoteFocusOut();
    bool FaceEvent(QObject* watched, QEvent* e);
    bool FaceKeyPress(QKeyEvent* e);
    bool FaceKeyRelease(QKeyEvent* e);
    bool FaceInputMethod(QInputMethodEvent* e);
    bool FaceMouse(QMouseEvent* e);

    HWND wnd_;
    QPointer<QWidget> face_;
    QPointer<QWidget> faceMouseArea_;
    QPointer<QWidget> headerFace_;
    bool keyPassed_ = false;  // the last key message reached the default handling
    int passedKey_ = 0;       // the key code it reached it with
    QString passedChars_;     // the characters that reached it, as the procedure left them
    bool collectingChars_ = false;
    bool replaying_ = false;  // a key event made for the face is on its way
    int border_ = 0;
    int header_ = 0;
    QSize lastClient_{-1, -1};
    int lastClientLeft_ = -1;
    bool implicitCapture_ = false;
    int depth_ = 0;  // events being handled
};

// The frame the window manager draws around a top-level window, as far as known: its own, or
// before it is on the screen the frame of another window of the program.
QMargins FrameMarginsOf(QWidget* window);
// Client bounds moved and shrunk so that the window, `frame` included, lies whole on the work
// area of the screen it lands on.
QRect FittedOntoWorkArea(const QRect& inner, const QMargins& frame);
// The toolkit's own top-level windows (its dialogs and what they open) are fitted onto the work
// area like the program's: when shown, and again once the window manager has framed them.
void FitToolkitWindowsOntoWorkArea();

// Mouse events as client messages: the message number by button (left, right, middle) and kind.
enum MouseKind { kDown, kUp, kDouble, kMove };
UINT ClientMouseMessage(Qt::MouseButton button, int kind);

// Key and button state kept for GetKeyState.
void UpdateKeyStateFrom(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);
// The code a key event reaches the window with: its virtual-key code, or VK_PACKET for a key
// that has none but types a character; 0 for a key that does neither.
int KeyCodeOf(const QKeyEvent* e);
// The toolkit's key for a virtual-key code of the keys that move and edit (0 for others).
int ToolkitKeyOf(int virtualKey);
unsigned MouseKeyFlags();
void NoteCursorPos(QPoint global);
void ApplyCursor(HostWidget* host);
// The hint timing (hint_timing.cpp): the mouse moved over the host without a button at `local`
// (widget coordinates) and starts to rest there; a press, a key, the wheel or leaving cancels
// the rest; a host that goes is forgotten.
void NoteHintMouse(HostWidget* host, QPoint local);
void CancelHintRest(HostWidget* host);
void ForgetHintWindow(HWND wnd);
// The area (widget coordinates) of the tool tip shown for the window.
void NoteToolTipShown(HWND wnd, QRect area);
extern HWND g_capture;
extern HWND g_lastFocus;    // the window that had the focus last
extern HWND g_focusTarget;  // the window SetFocus is moving the focus to
extern TCursor g_shownCursor;

}  // namespace rv
