#pragma once
// The Qt widget behind a window with a face; platform .cpp files only.

#include <QRegion>
#include <QScrollBar>
#include <QWidget>

#include "platform/windows/window_host.h"

namespace rv {

class HostWidget : public QWidget {
public:
    HostWidget(HWND wnd);
    ~HostWidget() override;

    static HostWidget* Find(HWND wnd);
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
    void Relayout();
    void PlaceInParent();  // after the parent's frame or the bounds changed

    TRect bounds;  // in the parent's client coordinates
    HWND parent = 0;
    bool shown = false;
    bool wantsDoubleClicks = true;
    TCursor windowCursor = crDefault;
    QRegion pending;  // invalid, not painted yet

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

    // Top-level windows (top_level_window.cpp).
    TRect normalBounds;  // bounds when neither minimised nor maximised
    TPoint minPosition{-1, -1}, maxPosition{-1, -1};
    bool sizeable = true;
    bool InNormalState() const;
    // Bounds set by the program: at once in the normal state, otherwise kept for the restore.
    void PlaceTopLevel(const TRect& r);
    // Bounds follow the window as the toolkit moved it; WM_WINDOWPOSCHANGED when they changed
    // (or always, with `force`).
    void NoteGeometry(bool force = false);
    // Asks WM_GETMINMAXINFO and applies the tracking sizes.
    void ApplySizeLimits();

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
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Mouse(QMouseEvent* e, int kind);
    void ScrollAction(int which, int action);
    void SendScroll(int which, int code, int pos);

    HWND wnd_;
    int border_ = 0;
    int header_ = 0;
    QSize lastClient_{-1, -1};
    bool implicitCapture_ = false;
    int depth_ = 0;  // events being handled
};

// Key and button state kept for GetKeyState.
void UpdateKeyStateFrom(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);
unsigned MouseKeyFlags();
void NoteCursorPos(QPoint global);
void ApplyCursor(HostWidget* host);
extern HWND g_capture;
extern HWND g_lastFocus;    // the window that had the focus last
extern HWND g_focusTarget;  // the window SetFocus is moving the focus to
extern TCursor g_shownCursor;

}  // namespace rv
