#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <map>

#include "platform/graphics/internal/qt_graphics.h"
#include "platform/messages/application.h"
#include "platform/windows/internal/host_widget.h"

namespace rv {
namespace {

std::map<TCursor, Qt::CursorShape>& RegisteredCursors() {
    static std::map<TCursor, Qt::CursorShape> cursors;
    return cursors;
}

// Cursors made from the program's own pictures.
std::map<TCursor, QCursor>& PictureCursors() {
    static std::map<TCursor, QCursor> cursors;
    return cursors;
}

Qt::CursorShape ShapeOf(TCursor cursor) {
    if (auto it = RegisteredCursors().find(cursor); it != RegisteredCursors().end())
        return it->second;
    switch (cursor) {
        case crNone:
            return Qt::BlankCursor;
        case crCross:
            return Qt::CrossCursor;
        case crIBeam:
            return Qt::IBeamCursor;
        case crSizeNESW:
            return Qt::SizeBDiagCursor;
        case crSizeNS:
            return Qt::SizeVerCursor;
        case crSizeNWSE:
            return Qt::SizeFDiagCursor;
        case crSizeWE:
            return Qt::SizeHorCursor;
        case crUpArrow:
            return Qt::UpArrowCursor;
        case crHourGlass:
            return Qt::WaitCursor;
        case crDrag:
        case crMultiDrag:
            return Qt::DragCopyCursor;
        case crNoDrop:
        case crNo:
            return Qt::ForbiddenCursor;
        case crHSplit:
            return Qt::SplitHCursor;
        case crVSplit:
            return Qt::SplitVCursor;
        case crAppStart:
            return Qt::BusyCursor;
        case crHelp:
            return Qt::WhatsThisCursor;
        case crHandPoint:
            return Qt::PointingHandCursor;
        case crSizeAll:
            return Qt::SizeAllCursor;
        default:
            return Qt::ArrowCursor;
    }
}

}  // namespace

void RegisterCursor(TCursor slot, TCursorShape shape) {
    PictureCursors().erase(slot);
    RegisteredCursors()[slot] = shape == TCursorShape::OpenHand          ? Qt::OpenHandCursor
                                : shape == TCursorShape::ClosedHand      ? Qt::ClosedHandCursor
                                : shape == TCursorShape::HorizontalSplit ? Qt::SplitHCursor
                                                                         : Qt::PointingHandCursor;
}

void RegisterCursor(TCursor slot, const TBitmap& image, TColor transparentColor, TPoint hotSpot) {
    EnsureGuiApplication();
    RegisteredCursors().erase(slot);
    QImage pixels = image.Impl().Pixels().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(transparentColor).rgb() & 0xFFFFFF;
    for (int y = 0; y < pixels.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
    }
    QPixmap picture = QPixmap::fromImage(pixels);
    picture.setDevicePixelRatio(image.PixelRatio());
    PictureCursors()[slot] = QCursor(picture, hotSpot.X, hotSpot.Y);
}

namespace {

QRect WidgetRect(HostWidget* h, const TRect* clientRect) {
    QRect client = h->ClientArea();
    if (!clientRect) return client;
    return ToQRect(*clientRect).translated(client.topLeft()).intersected(client);
}

}  // namespace

LRESULT DeliverMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        return SendMessage(wnd, msg, wParam, lParam);
    } catch (...) {
        if (Application)
            Application->HandleException();
        else
            fprintf(stderr, "Error: unhandled exception in a window procedure\n");
        return 0;
    }
}

HWND CreateHostWindow(TWndMethod method) {
    EnsureGuiApplication();
    HWND wnd = AllocateHWnd(std::move(method));
    new HostWidget(wnd);
    return wnd;
}

void DestroyHostWindow(HWND wnd) {
    if (g_capture == wnd) g_capture = 0;
    if (g_lastFocus == wnd) g_lastFocus = 0;
    if (HostWidget* h = HostWidget::Find(wnd)) h->Retire();
    DeallocateHWnd(wnd);
}

bool IsHostWindow(HWND wnd) {
    return HostWidget::Find(wnd) != nullptr;
}

void SetParentWindow(HWND child, HWND parent) {
    HostWidget* c = HostWidget::Find(child);
    if (!c) return;
    HostWidget* p = HostWidget::Find(parent);
    c->parent = p ? parent : 0;
    c->setParent(p);
    c->PlaceInParent();
    if (p) {
        for (int which : {SB_HORZ, SB_VERT}) p->bars[which].widget->raise();
    }
    c->setVisible(c->shown);
}

HWND GetParentWindow(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    return h ? h->parent : 0;
}

void SetWindowBounds(HWND wnd, const TRect& bounds) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return;
    if (!h->parent) return h->PlaceTopLevel(bounds);
    h->bounds = bounds;
    h->PlaceInParent();
}

TRect GetWindowBounds(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    return h ? h->bounds : TRect{};
}

void ShowWindow(HWND wnd, bool show) {
    if (HostWidget* h = HostWidget::Find(wnd)) {
        if (show && !h->parent && !h->popup && !h->isVisible()) {
            // A top-level window appears whole on a screen, in front of its owner.
            h->FitOntoWorkArea(true);
            h = HostWidget::Find(wnd);
            if (!h) return;
            h->ApplyOwner();
        }
        h->shown = show;
        h->setVisible(show);
        if (show) h->ApplySizeLimits();
    }
}

void BringWindowToTop(HWND wnd) {
    if (HostWidget* h = HostWidget::Find(wnd)) {
        h->raise();
        if (!h->parent) h->NoteInFront();
        // The parent's scroll bars stay above its children.
        if (HostWidget* p = HostWidget::Find(h->parent))
            for (int which : {SB_HORZ, SB_VERT}) p->bars[which].widget->raise();
    }
}

bool IsWindowVisible(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    return h && h->isVisible();
}

void EnableWindow(HWND wnd, bool enable) {
    if (HostWidget* h = HostWidget::Find(wnd)) {
        if (h->isEnabled() == enable) return;
        h->setEnabled(enable);
        DeliverMessage(wnd, WM_ENABLE, enable ? 1 : 0, 0);
    }
}

void SetWindowText(HWND wnd, const std::string& text) {
    if (HostWidget* h = HostWidget::Find(wnd)) h->setWindowTitle(QString::fromStdString(text));
}

void SetWindowFrame(HWND wnd, int border, int headerHeight) {
    if (HostWidget* h = HostWidget::Find(wnd)) h->SetFrame(border, headerHeight);
}

TRect GetClientRect(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return {};
    QRect c = h->ClientArea();
    return {0, 0, c.width(), c.height()};
}

TRect GetWindowRect(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return {};
    QPoint g = h->mapToGlobal(QPoint(0, 0));
    return Bounds(g.x(), g.y(), h->width(), h->height());
}

HWND WindowFromPoint(TPoint screen) {
    HostWidget* h = HostWidget::Of(QApplication::widgetAt(QPoint(screen.X, screen.Y)));
    return h && h->Alive() ? h->Handle() : 0;
}

TPoint GetClientOffset(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return {};
    QPoint o = h->ClientOffset();
    return {o.x(), o.y()};
}

TRect GetHeaderRect(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return {};
    QRect r = h->HeaderArea();
    return r.isEmpty() ? TRect{r.left(), r.top(), r.left(), r.top()} : FromQRect(r);
}

TPoint ClientToScreen(HWND wnd, TPoint p) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return p;
    QPoint g = h->mapToGlobal(QPoint(p.X, p.Y) + h->ClientOffset());
    return {g.x(), g.y()};
}

TPoint ScreenToClient(HWND wnd, TPoint p) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return p;
    QPoint l = h->mapFromGlobal(QPoint(p.X, p.Y)) - h->ClientOffset();
    return {l.x(), l.y()};
}

void InvalidateRect(HWND wnd, const TRect* rect) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return;
    QRect r = WidgetRect(h, rect);
    if (r.isEmpty()) return;
    h->pending += r;
    h->update(r);
}

void InvalidateWindow(HWND wnd) {
    if (HostWidget* h = HostWidget::Find(wnd)) {
        h->pending += h->rect();
        h->update();
    }
}

void InvalidateWindowRect(HWND wnd, const TRect& r) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return;
    const QRect area = ToQRect(r).intersected(h->rect());
    if (area.isEmpty()) return;
    h->pending += area;
    h->update(area);
}

void UpdateWindow(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h || h->pending.isEmpty() || !h->isVisible() || !h->updatesEnabled()) return;
    QRegion region = h->pending;
    h->repaint(region);
}

void SetRedraw(HWND wnd, bool redraw) {
    if (HostWidget* h = HostWidget::Find(wnd)) h->setUpdatesEnabled(redraw);
}

bool RedrawEnabled(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    return h && h->updatesEnabled();
}

void ScrollWindow(HWND wnd, int dx, int dy, const TRect* clip) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return;
    QRect area = WidgetRect(h, clip);
    QRegion moved = h->pending.intersected(area).translated(dx, dy).intersected(area);
    h->pending = h->pending.subtracted(area).united(moved);
    // Without a face on screen there is nothing to move: paint the whole area again.
    if (!h->isVisible() || !h->updatesEnabled()) return;
    QRegion exposed = QRegion(area).subtracted(QRegion(area.translated(dx, dy)));
    h->pending += exposed;
    h->scroll(dx, dy, area);
}

void PaintWindowTo(HWND wnd, TCanvas& canvas) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return;
    int level = canvas.SaveState();
    DeliverMessage(wnd, WM_NCPAINT, reinterpret_cast<WPARAM>(&canvas), 0);
    canvas.RestoreState(level);
    level = canvas.SaveState();
    QRect client = h->ClientArea();
    canvas.IntersectClipRect(FromQRect(client));
    canvas.MoveOrigin(client.left(), client.top());
    DeliverMessage(wnd, WM_PAINT, reinterpret_cast<WPARAM>(&canvas), 0);
    canvas.RestoreState(level);
}

void SetSysColors(std::initializer_list<std::pair<int, TColor>> colors) {
    for (const auto& [index, color] : colors) SetSystemColor(index, color);
    for (HWND wnd : HostWidget::TopLevelWindows())
        if (HostWidget::Find(wnd)) DeliverMessage(wnd, WM_SYSCOLORCHANGE, 0, 0);
}

double WindowPixelRatio(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    return h ? h->devicePixelRatioF() : 1;
}

void SetWindowTransparent(HWND wnd, bool transparent) {
    if (HostWidget* h = HostWidget::Find(wnd)) {
        h->setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
        h->setAttribute(Qt::WA_NoSystemBackground, !transparent);
        h->update();
    }
}

void SetRedrawOnResize(HWND wnd, bool whole) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return;
    h->redrawOnResize = whole;
    h->keptClient = QRegion();
}

void SetLeftScrollBar(HWND wnd, bool left) {
    if (HostWidget* h = HostWidget::Find(wnd)) h->SetLeftScrollBar(left);
}

bool HasLeftScrollBar(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    return h && h->leftScrollBar;
}

HWND SetCapture(HWND wnd) {
    HWND previous = g_capture;
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return previous;
    g_capture = wnd;
    if (previous && previous != wnd) DeliverMessage(previous, WM_CAPTURECHANGED, 0, LPARAM(wnd));
    return previous;
}

void ReleaseCapture() {
    HWND previous = g_capture;
    g_capture = 0;
    if (previous) DeliverMessage(previous, WM_CAPTURECHANGED, 0, 0);
}

HWND GetCapture() {
    return g_capture;
}

HWND SetFocus(HWND wnd, TFocusCause cause) {
    HWND previous = GetFocus();
    HostWidget* h = HostWidget::Find(wnd);
    if (!h || previous == wnd) return previous;
    g_focusTarget = wnd;
    QWidget* top = h->window();
    if (top->isVisible() && QApplication::activeWindow() != top) {
        top->activateWindow();
        QApplication::setActiveWindow(top);
    }
    // The toolkit's text fields select their text when the focus comes by Tab.
    h->setFocus(cause == TFocusCause::fcTab       ? Qt::TabFocusReason
                : cause == TFocusCause::fcBacktab ? Qt::BacktabFocusReason
                                                  : Qt::OtherFocusReason);
    g_focusTarget = 0;
    return previous;
}

HWND GetFocus() {
    HostWidget* h = HostWidget::Of(QApplication::focusWidget());
    return h ? h->Handle() : 0;
}

void SetWindowFocusable(HWND wnd, bool focusable) {
    if (HostWidget* h = HostWidget::Find(wnd))
        h->setFocusPolicy(focusable ? Qt::StrongFocus : Qt::NoFocus);
}

void SetWantsDoubleClicks(HWND wnd, bool wants) {
    if (HostWidget* h = HostWidget::Find(wnd)) h->wantsDoubleClicks = wants;
}

void SetWindowCursor(HWND wnd, TCursor cursor) {
    if (HostWidget* h = HostWidget::Find(wnd)) {
        h->windowCursor = cursor;
        g_shownCursor = cursor;
        ApplyCursor(h);
    }
}

void SetCursor(TCursor cursor) {
    g_shownCursor = cursor;
    // The window holding the mouse is the one under it as far as the cursor goes.
    if (HostWidget* holder = HostWidget::Find(g_capture)) ApplyCursor(holder);
}

void ApplyCursor(HostWidget* h) {
    h->shownCursor = g_shownCursor;
    if (auto it = PictureCursors().find(g_shownCursor); it != PictureCursors().end())
        h->setCursor(it->second);
    else
        h->setCursor(QCursor(ShapeOf(g_shownCursor)));
}

TCursor GetWindowCursorShown(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return crDefault;
    switch (h->QWidget::cursor().shape()) {
        case Qt::PointingHandCursor:
            return crHandPoint;
        case Qt::IBeamCursor:
            return crIBeam;
        case Qt::CrossCursor:
            return crCross;
        case Qt::SplitHCursor:
            return crHSplit;
        case Qt::SplitVCursor:
            return crVSplit;
        case Qt::WaitCursor:
            return crHourGlass;
        case Qt::SizeHorCursor:
            return crSizeWE;
        case Qt::SizeVerCursor:
            return crSizeNS;
        case Qt::DragCopyCursor:
            return crDrag;
        case Qt::ForbiddenCursor:
            return crNoDrop;
        case Qt::BitmapCursor:
            return h->shownCursor;
        default:
            for (const auto& [slot, shape] : RegisteredCursors())
                if (shape == h->QWidget::cursor().shape()) return slot;
            return crDefault;
    }
}

int SetScrollInfo(HWND wnd, int bar, const TScrollInfo& info, bool) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h || (bar != SB_HORZ && bar != SB_VERT)) return 0;
    return h->SetScroll(bar, info);
}

bool GetScrollInfo(HWND wnd, int bar, TScrollInfo& info) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h || (bar != SB_HORZ && bar != SB_VERT)) return false;
    const HostWidget::Bar& b = h->bars[bar];
    if (info.fMask & SIF_RANGE) {
        info.nMin = b.min;
        info.nMax = b.max;
    }
    if (info.fMask & SIF_PAGE) info.nPage = b.page;
    if (info.fMask & SIF_POS) info.nPos = b.pos;
    if (info.fMask & SIF_TRACKPOS) info.nTrackPos = b.widget->isSliderDown() ? b.track : b.pos;
    return true;
}

int SetScrollPos(HWND wnd, int bar, int pos, bool redraw) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h || (bar != SB_HORZ && bar != SB_VERT)) return 0;
    int previous = h->bars[bar].pos;
    TScrollInfo info;
    info.fMask = SIF_POS | (h->bars[bar].disableNoScroll ? SIF_DISABLENOSCROLL : 0);
    info.nPos = pos;
    SetScrollInfo(wnd, bar, info, redraw);
    return previous;
}

int GetScrollPos(HWND wnd, int bar) {
    TScrollInfo info;
    info.fMask = SIF_POS;
    return GetScrollInfo(wnd, bar, info) ? info.nPos : 0;
}

void ShowScrollBar(HWND wnd, int bar, bool show) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return;
    if (bar == SB_HORZ || bar == SB_BOTH) h->ShowBar(SB_HORZ, show);
    if (bar == SB_VERT || bar == SB_BOTH) h->ShowBar(SB_VERT, show);
}

bool IsScrollBarVisible(HWND wnd, int bar) {
    HostWidget* h = HostWidget::Find(wnd);
    return h && (bar == SB_HORZ || bar == SB_VERT) && h->bars[bar].visible;
}

int GetSystemScrollBarSize() {
    return 16;
}

int ScreenColorDepth() {
    EnsureGuiApplication();
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 32;
}

LRESULT DefHostWindowProc(HWND wnd, TMessage& m) {
    HostWidget* h = HostWidget::Find(wnd);
    switch (m.Msg) {
        case WM_NCHITTEST: {
            if (!h) return m.Result = HTNOWHERE;
            QPoint p = h->mapFromGlobal(QPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
            if (!h->rect().contains(p)) return m.Result = HTNOWHERE;
            if (h->ClientArea().contains(p)) return m.Result = HTCLIENT;
            for (int which : {SB_HORZ, SB_VERT})
                if (h->bars[which].visible && h->bars[which].widget->geometry().contains(p))
                    return m.Result = which == SB_HORZ ? HTHSCROLL : HTVSCROLL;
            if (h->HeaderArea().contains(p)) return m.Result = HTNOWHERE;
            return m.Result = HTBORDER;
        }
        case WM_CLOSE:
            ShowWindow(wnd, false);
            return m.Result = 0;
        case WM_SETREDRAW:
            SetRedraw(wnd, m.WParam != 0);
            return m.Result = 0;
        case WM_ERASEBKGND:
            return m.Result = 1;
        case WM_CANCELMODE:
            if (h) h->DropCapture();
            return m.Result = 0;
        case WM_RBUTTONUP: {
            // A face asks for its context menu itself.
            if (!h || h->Face()) return m.Result = 0;
            TPoint at = ClientToScreen(wnd, {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
            DeliverMessage(wnd, WM_CONTEXTMENU, wnd, MAKELPARAM(at.X, at.Y));
            return m.Result = 0;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_CHAR:
        case WM_SYSCHAR:
            if (h) h->NoteKeyPassed(m);
            return m.Result = 0;
        case WM_NCPAINT: {
            // A plain frame: a sunken edge in a border of two pixels or more, else a line.
            auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
            if (!h || !canvas) return m.Result = 0;
            QRect all = h->rect();
            TRect outer = FromQRect(all);
            int border = h->Border();
            if (border >= 2) {
                canvas->DrawEdge(outer, EDGE_SUNKEN, BF_RECT);
            } else if (border == 1) {
                canvas->Brush = TBrush{};
                canvas->Brush.Color = clWindowFrame;
                canvas->FrameRect(outer);
            }
            return m.Result = 0;
        }
        default:
            return m.Result = DefWindowProc(wnd, m.Msg, m.WParam, m.LParam);
    }
}

}  // namespace rv
