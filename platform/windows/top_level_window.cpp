#include "platform/windows/top_level_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMoveEvent>
#include <QWindow>
#include <algorithm>

#include "platform/graphics/internal/qt_graphics.h"
#include "platform/windows/internal/host_widget.h"
#include "platform/windows/screen_fit.h"
#include "platform/windows/screens.h"

namespace rv {

namespace {

constexpr Qt::WindowStates kMinMax = Qt::WindowMinimized | Qt::WindowMaximized;

}  // namespace

bool HostWidget::InNormalState() const {
    return !(windowState() & (kMinMax | Qt::WindowFullScreen));
}

void HostWidget::PlaceTopLevel(const TRect& r) {
    normalBounds = r;
    if (!InNormalState()) return;
    bounds = r;
    // Sizing by the program is free of the user's limits, which then follow the new size.
    if (minimumSize() != QSize(0, 0)) setMinimumSize(0, 0);
    if (maximumSize() != QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX))
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setGeometry(ToQRect(r));
    ApplySizeLimits();
}

void HostWidget::NoteGeometry(bool force) {
    if (parent || !Alive()) return;
    TRect now = FromQRect(geometry());
    if (InNormalState()) normalBounds = now;
    if (now == bounds && !force) return;
    bounds = now;
    DeliverMessage(wnd_, WM_WINDOWPOSCHANGED, 0, 0);
}

void HostWidget::ApplySizeLimits() {
    if (parent || !Alive()) return;
    TRect work = ScreenWorkAreas().front();
    TMinMaxInfo info;
    info.ptMaxSize = {work.Width(), work.Height()};
    info.ptMaxTrackSize = {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    DeliverMessage(wnd_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    if (!Alive()) return;
    auto limit = [](int v) { return std::clamp(v, 0, int(QWIDGETSIZE_MAX)); };
    QSize least(limit(info.ptMinTrackSize.X), limit(info.ptMinTrackSize.Y));
    QSize most(std::max(least.width(), limit(info.ptMaxTrackSize.X)),
               std::max(least.height(), limit(info.ptMaxTrackSize.Y)));
    // The limits never undo a size the program gave: they bind the user's sizing from here on.
    least = sizeable ? least.boundedTo(size()) : size();
    most = sizeable ? most.expandedTo(size()) : size();
    if (minimumSize() != least) setMinimumSize(least);
    if (maximumSize() != most) setMaximumSize(most);
}

QMargins FrameMarginsOf(QWidget* window) {
    if (window->windowFlags() & Qt::FramelessWindowHint) return {};
    // Some platforms know the frame as soon as the window exists, others once it is shown.
    window->winId();
    QMargins own = window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    if (!own.isNull()) return own;
    // Not on the screen yet: the window manager frames the program's windows alike.
    for (const QWidget* top : QApplication::topLevelWidgets()) {
        if (top == window || !top->isVisible() || !top->windowHandle() ||
            (top->windowFlags() & Qt::FramelessWindowHint))
            continue;
        if (QMargins other = top->windowHandle()->frameMargins(); !other.isNull()) return other;
    }
    return {};
}

QRect FittedOntoWorkArea(const QRect& inner, const QMargins& frame) {
    const TRect r = FromQRect(inner);
    const TRect outer{r.Left - frame.left(), r.Top - frame.top(), r.Right + frame.right(),
                      r.Bottom + frame.bottom()};
    const TRect fitted = FitOntoScreens(outer, ScreenWorkAreas());
    const TRect result{fitted.Left + frame.left(), fitted.Top + frame.top(),
                       fitted.Right - frame.right(), fitted.Bottom - frame.bottom()};
    // A work area smaller than the frame leaves the window as it is.
    return result.IsEmpty() ? inner : ToQRect(result);
}

QMargins HostWidget::FrameMargins() {
    return parent ? QMargins() : FrameMarginsOf(this);
}

void HostWidget::FitOntoWorkArea(bool whenFramed) {
    if (parent || !Alive()) return;
    QMargins m = FrameMargins();
    // Where the window manager puts the window, and the frame it draws, count once it is on the
    // screen: fitted again then.
    fitWhenFramed = whenFramed && !(windowFlags() & Qt::FramelessWindowHint);
    bool normal = InNormalState();
    const TRect& r = normal ? bounds : normalBounds;
    if (r.IsEmpty()) return;
    const TRect inner = FromQRect(FittedOntoWorkArea(ToQRect(r), m));
    if (inner == r) return;
    if (!normal) {
        normalBounds = inner;
        return;
    }
    PlaceTopLevel(inner);
    if (Alive()) DeliverMessage(wnd_, WM_WINDOWPOSCHANGED, 0, 0);
}

void HostWidget::ApplyOwner() {
    if (parent) return;
    HostWidget* o = Find(owner);
    QWidget* top = o ? o->window() : nullptr;
    if (top == this) top = nullptr;
    // The toolkit tells the window manager whom the window belongs to when it maps it.
    winId();
    if (top) top->winId();
    if (QWindow* w = windowHandle()) w->setTransientParent(top ? top->windowHandle() : nullptr);
}

void HostWidget::moveEvent(QMoveEvent*) {
    NoteGeometry();
}

void HostWidget::NoteInFront() {
    static std::uint64_t places = 0;
    stackPlace = ++places;
}

void HostWidget::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && !parent) {
        // The other window of the program that takes or gives the activation; 0 for none.
        HostWidget* other = Of(QApplication::activeWindow());
        if (isActiveWindow()) {
            NoteInFront();
            DeliverMessage(wnd_, WM_ACTIVATE, WA_ACTIVE, 0);
            return;
        }
        CancelModesInside();
        if (Alive())
            DeliverMessage(wnd_, WM_ACTIVATE, WA_INACTIVE,
                           LPARAM(other && other != this ? other->Handle() : 0));
        return;
    }
    if (e->type() != QEvent::WindowStateChange || parent) return;
    // Back to the normal state: the normal bounds, also when the program changed them meanwhile.
    if (InNormalState() && !normalBounds.IsEmpty() && FromQRect(geometry()) != normalBounds)
        setGeometry(ToQRect(normalBounds));
    NoteGeometry(true);
}

void HostWidget::closeEvent(QCloseEvent* e) {
    // The window's procedure decides; by default it hides the window.
    e->ignore();
    DeliverMessage(wnd_, WM_CLOSE, 0, 0);
}

bool GetWindowPlacement(HWND wnd, TWindowPlacement& placement) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return false;
    placement = TWindowPlacement{};
    Qt::WindowStates state = h->parent ? Qt::WindowNoState : h->windowState();
    bool minimized = state & Qt::WindowMinimized;
    bool maximized = state & Qt::WindowMaximized;
    placement.showCmd = minimized ? SW_SHOWMINIMIZED : maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    if (minimized && maximized) placement.flags = WPF_RESTORETOMAXIMIZED;
    placement.ptMinPosition = h->minPosition;
    placement.ptMaxPosition = h->maxPosition;
    placement.rcNormalPosition = h->parent || h->InNormalState() ? h->bounds : h->normalBounds;
    return true;
}

bool SetWindowPlacement(HWND wnd, const TWindowPlacement& placement) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return false;
    h->minPosition = placement.ptMinPosition;
    h->maxPosition = placement.ptMaxPosition;
    TRect before = h->bounds;
    SetWindowBounds(wnd, placement.rcNormalPosition);
    ShowWindowCmd(wnd, placement.showCmd);
    if (h->Alive() && !h->parent && h->bounds != before)
        DeliverMessage(wnd, WM_WINDOWPOSCHANGED, 0, 0);
    return true;
}

void ShowWindowCmd(HWND wnd, int showCmd) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return;
    if (showCmd == SW_HIDE || h->parent) return ShowWindow(wnd, showCmd != SW_HIDE);
    Qt::WindowStates state = h->windowState();
    switch (showCmd) {
        case SW_SHOWNORMAL:
        case SW_SHOWNOACTIVATE:
            state &= ~kMinMax;
            break;
        case SW_RESTORE:
            // A minimised window goes back to the state it had before.
            if (state & Qt::WindowMinimized)
                state &= ~Qt::WindowMinimized;
            else
                state &= ~kMinMax;
            break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE:
            state |= Qt::WindowMinimized;
            break;
        case SW_SHOWMAXIMIZED:
            state = (state & ~Qt::WindowMinimized) | Qt::WindowMaximized;
            break;
        default:
            break;
    }
    if (state != h->windowState()) h->setWindowState(state);
    ShowWindow(wnd, true);
}

bool IsIconic(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    return h && !h->parent && (h->windowState() & Qt::WindowMinimized);
}

bool IsZoomed(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    return h && !h->parent && (h->windowState() & kMinMax) == Qt::WindowMaximized;
}

void UpdateWindowSizeLimits(HWND wnd) {
    if (HostWidget* h = HostWidget::Find(wnd)) h->ApplySizeLimits();
}

void SetWindowDecoration(HWND wnd, const TWindowDecoration& d) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h || h->parent) return;
    Qt::WindowFlags flags = d.tool ? Qt::Tool : d.dialog ? Qt::Dialog : Qt::Window;
    if (!d.frame) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (d.systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (d.minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
        if (d.maximizeBox) flags |= Qt::WindowMaximizeButtonHint;
    }
    h->sizeable = d.sizeable;
    if (h->windowFlags() != flags) {
        // New flags take the window off the screen; it comes back as it was.
        bool visible = h->isVisible();
        h->setWindowFlags(flags);
        if (visible) h->show();
    }
    h->ApplySizeLimits();
}

TRect GetWindowFrameRect(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return {};
    QMargins m = h->FrameMargins();
    const TRect& r = h->bounds;
    return {r.Left - m.left(), r.Top - m.top(), r.Right + m.right(), r.Bottom + m.bottom()};
}

bool IsDialogWindow(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    return h && !h->parent && h->windowType() == Qt::Dialog;
}

void SetWindowOwner(HWND wnd, HWND owner) {
    if (HostWidget* h = HostWidget::Find(wnd); h && owner != wnd) h->owner = owner;
}

HWND GetWindowOwner(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    return h && HostWidget::Find(h->owner) ? h->owner : 0;
}

HWND GetTopWindow() {
    HostWidget* top = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        HostWidget* h = HostWidget::Of(w);
        if (h && h == w && h->isVisible() && !h->popup && (!top || h->stackPlace > top->stackPlace))
            top = h;
    }
    return top ? top->Handle() : 0;
}

HWND GetActiveWindow() {
    HostWidget* h = HostWidget::Of(QApplication::activeWindow());
    return h ? h->Handle() : 0;
}

void SetWindowModal(HWND wnd, bool modal) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h || h->parent) return;
    h->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
}

bool IsWindowModal(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    return h && h->windowModality() != Qt::NonModal;
}

void BeginWindowMove(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h || h->parent || !h->windowHandle()) return;
    h->windowHandle()->startSystemMove();
}

}  // namespace rv

namespace rv {

// A window that loses the activation ends what its windows were in the middle of: the holder of
// the capture and the window with the focus get WM_CANCELMODE, as when a dialog comes up.
void HostWidget::CancelModesInside() {
    const HWND capture = g_capture, focus = g_lastFocus;
    for (HWND target : {capture, focus}) {
        HostWidget* host = Find(target);
        if (!host || (host != this && !isAncestorOf(host))) continue;
        DeliverMessage(target, WM_CANCELMODE, 0, 0);
        if (focus == capture) break;  // told once
    }
}

void HostWidget::DropCapture() {
    implicitCapture_ = false;
    if (g_capture == wnd_) ReleaseCapture();
}

}  // namespace rv
