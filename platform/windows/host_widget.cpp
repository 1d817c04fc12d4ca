#include "platform/windows/internal/host_widget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <unordered_map>

#include "platform/graphics/internal/qt_graphics.h"

namespace rv {
namespace {

std::unordered_map<HWND, HostWidget*>& Registry() {
    static std::unordered_map<HWND, HostWidget*> hosts;
    return hosts;
}

UINT NonClientMouseMessage(UINT clientMessage) {
    return clientMessage == WM_MOUSEMOVE ? WM_NCMOUSEMOVE
                                         : clientMessage - WM_LBUTTONDOWN + WM_NCLBUTTONDOWN;
}

}  // namespace

UINT ClientMouseMessage(Qt::MouseButton button, int kind) {
    if (kind == kMove) return WM_MOUSEMOVE;
    UINT base = button == Qt::RightButton    ? WM_RBUTTONDOWN
                : button == Qt::MiddleButton ? WM_MBUTTONDOWN
                                             : WM_LBUTTONDOWN;
    return base + UINT(kind);  // down, up, double click follow each other
}

HostWidget::HostWidget(HWND wnd) : wnd_(wnd) {
    Registry()[wnd] = this;
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // What an input method composes reaches the window as typed characters.
    setAttribute(Qt::WA_InputMethodEnabled);
    for (int which : {SB_HORZ, SB_VERT}) {
        auto* bar = new QScrollBar(which == SB_HORZ ? Qt::Horizontal : Qt::Vertical, this);
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        bar->installEventFilter(this);
        QObject::connect(bar, &QAbstractSlider::actionTriggered,
                         [this, which](int action) { ScrollAction(which, action); });
        QObject::connect(bar, &QAbstractSlider::sliderReleased, [this, which] {
            Bar& b = bars[which];
            SendScroll(which, SB_THUMBPOSITION, b.track);
            SendScroll(which, SB_ENDSCROLL, 0);
        });
        bars[which].widget = bar;
    }
}

HostWidget::~HostWidget() {
    if (Alive()) Registry().erase(wnd_);
    if (g_capture == wnd_) g_capture = 0;
    ForgetHintWindow(wnd_);
    // Child windows belong to their own controls, which destroy them.
    for (QObject* child : children())
        if (auto* host = dynamic_cast<HostWidget*>(child)) {
            host->setParent(nullptr);
            host->parent = 0;
        }
}

HostWidget* HostWidget::Find(HWND wnd) {
    auto it = Registry().find(wnd);
    return it == Registry().end() ? nullptr : it->second;
}

std::vector<HWND> HostWidget::TopLevelWindows() {
    std::vector<HWND> windows;
    for (const auto& [wnd, host] : Registry())
        if (!host->parent) windows.push_back(wnd);
    return windows;
}

HostWidget* HostWidget::Of(QWidget* widget) {
    for (; widget; widget = widget->parentWidget())
        if (auto* host = dynamic_cast<HostWidget*>(widget)) return host;
    return nullptr;
}

// ---- geometry ---------------------------------------------------------------------------------

// The vertical bar stands at the right border, or at the left one; the header strip, the client
// area and the horizontal bar take the width beside it.
QRect HostWidget::HeaderArea() const {
    const auto [left, right] = BesideVerticalBar();
    return QRect(QPoint(left, border_), QPoint(right - 1, border_ + header_ - 1));
}

QRect HostWidget::ClientArea() const {
    const auto [left, right] = BesideVerticalBar();
    int top = border_ + header_;
    int bottom = height() - border_ - (bars[SB_HORZ].visible ? GetSystemScrollBarSize() : 0);
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

std::pair<int, int> HostWidget::BesideVerticalBar() const {
    const int bar = bars[SB_VERT].visible ? GetSystemScrollBarSize() : 0;
    const int left = border_ + (leftScrollBar ? bar : 0);
    return {left, width() - border_ - (leftScrollBar ? 0 : bar)};
}

int HostWidget::VerticalBarLeft() const {
    return leftScrollBar ? border_ : BesideVerticalBar().second;
}

void HostWidget::SetLeftScrollBar(bool left) {
    if (leftScrollBar == left) return;
    leftScrollBar = left;
    Relayout();
}

void HostWidget::SetFrame(int border, int header) {
    border_ = std::max(0, border);
    header_ = std::max(0, header);
    Relayout();
    update();
}

void HostWidget::Relayout() {
    int sb = GetSystemScrollBarSize();
    QRect client = ClientArea();
    Bar& v = bars[SB_VERT];
    Bar& h = bars[SB_HORZ];
    if (v.visible) {
        v.widget->setGeometry(VerticalBarLeft(), border_, sb, client.bottom() + 1 - border_);
        v.widget->show();
        v.widget->raise();
    } else {
        v.widget->hide();
    }
    if (h.visible) {
        h.widget->setGeometry(client.left(), client.bottom() + 1, client.width(), sb);
        h.widget->show();
        h.widget->raise();
    } else {
        h.widget->hide();
    }
    if (face_) face_->setGeometry(client);
    if (headerFace_) headerFace_->setGeometry(HeaderArea());
    for (QObject* child : children())
        if (auto* host = dynamic_cast<HostWidget*>(child)) host->PlaceInParent();
    // A client that moved sideways (a bar came or went at the left) shows nothing of what it
    // showed: all of it is painted again, the frame with it.
    if (client.left() != lastClientLeft_) {
        lastClientLeft_ = client.left();
        keptClient = QRegion();
        pending += rect();
        update();
    }
    if (client.size() != lastClient_) {
        lastClient_ = client.size();
        DeliverMessage(wnd_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.width(), client.height()));
    }
}

void HostWidget::PlaceInParent() {
    QPoint offset;
    if (HostWidget* p = Find(parent)) offset = p->ClientOffset();
    setGeometry(bounds.Left + offset.x(), bounds.Top + offset.y(), std::max(0, bounds.Width()),
                std::max(0, bounds.Height()));
}

// ---- painting ---------------------------------------------------------------------------------

void HostWidget::Paint(QPainter& painter, const QRegion& region) {
    QRect client = ClientArea();
    QRegion frame = region.subtracted(client);
    if (!frame.isEmpty()) {
        TCanvas canvas(std::make_unique<CanvasImpl>(&painter, frame));
        DeliverMessage(wnd_, WM_NCPAINT, reinterpret_cast<WPARAM>(&canvas), 0);
        if (bars[SB_HORZ].visible && bars[SB_VERT].visible) {
            int sb = GetSystemScrollBarSize();
            canvas.Brush = TBrush{};
            canvas.Brush.Color = clBtnFace;
            canvas.FillRect(Bounds(VerticalBarLeft(), client.bottom() + 1, sb, sb));
        }
    }
    QRegion inside = region.intersected(client);
    if (!inside.isEmpty()) {
        TCanvas canvas(std::make_unique<CanvasImpl>(&painter, inside));
        canvas.SetOrigin(client.left(), client.top());
        DeliverMessage(wnd_, WM_PAINT, reinterpret_cast<WPARAM>(&canvas), 0);
    }
}

void HostWidget::paintEvent(QPaintEvent* e) {
    if (fitWhenFramed) {
        // On the screen now, with the frame the window manager gave it: fitted again with that
        // frame, after this paint.
        fitWhenFramed = false;
        QMetaObject::invokeMethod(
            this, [this] { FitOntoWorkArea(false); }, Qt::QueuedConnection);
    }
    QRegion region = e->region();
    if (!keptClient.isEmpty()) {
        if (window()->size() == keptTopLevelSize) region -= keptClient - pending;
        keptClient = QRegion();
    }
    pending -= region;
    paintedOnce = true;
    QPainter painter(this);
    Paint(painter, region);
}

void HostWidget::resizeEvent(QResizeEvent*) {
    const QRect before(ClientArea().topLeft(), lastClient_);
    Relayout();
    // The toolkit paints all of a resized widget again; without redrawOnResize the client's
    // pixels that stay where they were are kept, once it has been painted and as long as the
    // top-level window keeps its size. The frame, which moved, and the client that grew out of
    // it are painted.
    if (!redrawOnResize && paintedOnce && isVisible() && !before.isEmpty()) {
        const QRegion valid = keptClient.isEmpty() ? QRegion(before) : keptClient;
        keptClient = valid & ClientArea();
        keptTopLevelSize = window()->size();
    } else {
        keptClient = QRegion();
    }
    NoteGeometry();
}

// ---- input ------------------------------------------------------------------------------------

bool HostWidget::event(QEvent* e) {
    if (e->type() == QEvent::DeferredDelete) return QWidget::event(e);  // deletes this
    // A handler may destroy its own window; the widget then outlives the event (Retire).
    ++depth_;
    bool handled = true;
    if (e->type() == QEvent::ToolTip) {
        // The hint timing shows hints when the mouse has rested; a face (an edit box) has no
        // mouse moves of its own to time them by and goes by the toolkit's own pause.
        if (face_) ShowHintAt(static_cast<QHelpEvent*>(e)->pos());
        --depth_;
        return true;
    }
    if (e->type() == QEvent::Show && !parent) NoteInFront();
    auto* key = e->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(e) : nullptr;
    // Tab belongs to the control like any other key.
    if (key && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab))
        keyPressEvent(key);
    else
        handled = QWidget::event(e);
    --depth_;
    return handled;
}

bool HostWidget::Alive() const {
    return Find(wnd_) == this;
}

void HostWidget::Retire() {
    Registry().erase(wnd_);
    if (depth_ == 0) {
        delete this;
        return;
    }
    hide();
    deleteLater();
}

void HostWidget::Mouse(QMouseEvent* e, int kind) {
    // What a face leaves comes up here; the face has told the window already.
    if (face_) return;
    // A window holding the capture gets the mouse wherever it is.
    if (g_capture && g_capture != wnd_) {
        if (HostWidget* holder = Find(g_capture)) {
            QPointF local = holder->mapFromGlobal(e->globalPosition());
            QMouseEvent moved(e->type(), local, e->globalPosition(), e->button(), e->buttons(),
                              e->modifiers());
            ++holder->depth_;
            holder->Mouse(&moved, kind);
            --holder->depth_;
            return;
        }
    }
    UpdateKeyStateFrom(e->modifiers(), e->buttons());
    QPoint global = e->globalPosition().toPoint();
    NoteCursorPos(global);
    QPoint pos = e->position().toPoint();
    UINT clientMsg = ClientMouseMessage(e->button(), kind);
    if (kind == kDouble && !wantsDoubleClicks) clientMsg = ClientMouseMessage(e->button(), kDown);

    bool captured = g_capture == wnd_ || implicitCapture_;
    int hit = HTCLIENT;
    if (!captured)
        hit = int(DeliverMessage(wnd_, WM_NCHITTEST, 0, MAKELPARAM(global.x(), global.y())));
    if (kind == kMove) {
        g_shownCursor = windowCursor;
        DeliverMessage(wnd_, WM_SETCURSOR, wnd_, MAKELPARAM(hit, WM_MOUSEMOVE));
        ApplyCursor(this);
    }
    if (captured || hit == HTCLIENT) {
        if (kind == kDown && !captured) implicitCapture_ = true;
        QPoint c = pos - ClientOffset();
        DeliverMessage(wnd_, clientMsg, MouseKeyFlags(), MAKELPARAM(c.x(), c.y()));
    } else if (hit != HTTRANSPARENT && hit != HTERROR) {
        DeliverMessage(wnd_, NonClientMouseMessage(clientMsg), WPARAM(hit),
                       MAKELPARAM(global.x(), global.y()));
    }
    if (!Alive()) return;
    if (kind == kUp && e->buttons() == Qt::NoButton) implicitCapture_ = false;
    if (kind == kMove && !captured && e->buttons() == Qt::NoButton && hit != HTTRANSPARENT &&
        hit != HTERROR)
        NoteHintMouse(this, pos);
    else if (kind != kMove)
        CancelHintRest(this);
}

void HostWidget::mousePressEvent(QMouseEvent* e) {
    Mouse(e, kDown);
}
void HostWidget::mouseReleaseEvent(QMouseEvent* e) {
    Mouse(e, kUp);
}
void HostWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    Mouse(e, kDouble);
}
void HostWidget::mouseMoveEvent(QMouseEvent* e) {
    Mouse(e, kMove);
}

void HostWidget::wheelEvent(QWheelEvent* e) {
    if (face_) return;
    CancelHintRest(this);
    UpdateKeyStateFrom(e->modifiers(), e->buttons());
    QPoint global = e->globalPosition().toPoint();
    NoteCursorPos(global);
    QPoint delta = e->angleDelta();
    LPARAM where = MAKELPARAM(global.x(), global.y());
    if (delta.y() != 0)
        DeliverMessage(wnd_, WM_MOUSEWHEEL, MAKEWPARAM(int(MouseKeyFlags()), delta.y()), where);
    if (delta.x() != 0 && Alive())
        DeliverMessage(wnd_, WM_MOUSEHWHEEL, MAKEWPARAM(int(MouseKeyFlags()), delta.x()), where);
    e->accept();
}

void HostWidget::ShowHintAt(QPoint local) {
    THintInfo info;
    const QPoint c = local - ClientOffset();
    info.CursorPos = {c.x(), c.y()};
    DeliverMessage(wnd_, CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    if (!Alive() || info.HintStr.empty()) {
        QToolTip::hideText();
        return;
    }
    const QRect area = info.CursorRect.IsEmpty()
                           ? ClientArea()
                           : ToQRect(info.CursorRect).translated(ClientOffset());
    QToolTip::showText(mapToGlobal(local), QString::fromStdString(info.HintStr), this, area);
    NoteToolTipShown(wnd_, area);
}

namespace {

LPARAM KeyData(const QKeyEvent* e, bool up) {
    return up ? LPARAM(1 | (1u << 30) | (1u << 31))
              : LPARAM(1 | (e->isAutoRepeat() ? (1 << 30) : 0));
}

}  // namespace

bool HostWidget::SendKeyDown(QKeyEvent* e) {
    UpdateKeyStateFrom(e->modifiers(), QApplication::mouseButtons());
    int vk = KeyCodeOf(e);
    if (!vk) return true;
    bool alt = e->modifiers() & Qt::AltModifier;
    SetKeyState(vk, true);
    if (DeliverMessage(wnd_, alt ? CN_SYSKEYDOWN : CN_KEYDOWN, WPARAM(vk), KeyData(e, false)))
        return false;
    if (!Alive()) return false;
    DeliverMessage(wnd_, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, WPARAM(vk), KeyData(e, false));
    return Alive();
}

bool HostWidget::SendChars(QKeyEvent* e) {
    bool alt = e->modifiers() & Qt::AltModifier;
    if ((e->modifiers() & Qt::ControlModifier) && !alt) return true;
    for (QChar unit : e->text()) {
        DeliverMessage(wnd_, alt ? WM_SYSCHAR : WM_CHAR, WPARAM(unit.unicode()), KeyData(e, false));
        if (!Alive()) return false;
    }
    return true;
}

bool HostWidget::SendKeyUp(QKeyEvent* e) {
    if (e->isAutoRepeat()) return false;
    UpdateKeyStateFrom(e->modifiers(), QApplication::mouseButtons());
    int vk = KeyCodeOf(e);
    if (!vk) return false;
    SetKeyState(vk, false);
    bool alt = e->modifiers() & Qt::AltModifier;
    DeliverMessage(wnd_, alt ? WM_SYSKEYUP : WM_KEYUP, WPARAM(vk), KeyData(e, true));
    return true;
}

bool HostWidget::SendTypedText(const QString& text) {
    const Qt::KeyboardModifiers shift = QApplication::keyboardModifiers() & Qt::ShiftModifier;
    for (QChar unit : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, shift, QString(unit));
        if (SendKeyDown(&press) && !SendChars(&press)) return false;
        if (!Alive()) return false;
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, shift, QString(unit));
        SendKeyUp(&release);
        if (!Alive()) return false;
    }
    return true;
}

void HostWidget::keyPressEvent(QKeyEvent* e) {
    if (face_) return;
    CancelHintRest(this);
    if (SendKeyDown(e)) SendChars(e);
}

void HostWidget::inputMethodEvent(QInputMethodEvent* e) {
    if (face_) return;
    SendTypedText(e->commitString());
    e->accept();
}

void HostWidget::keyReleaseEvent(QKeyEvent* e) {
    if (face_) return;
    SendKeyUp(e);
}

void HostWidget::focusInEvent(QFocusEvent*) {
    NoteFocusIn();
}

void HostWidget::focusOutEvent(QFocusEvent*) {
    NoteFocusOut();
}

void HostWidget::NoteFocusIn() {
    HWND previous = g_lastFocus;
    g_lastFocus = wnd_;
    DeliverMessage(wnd_, WM_SETFOCUS, previous == wnd_ ? 0 : previous, 0);
}

void HostWidget::NoteFocusOut() {
    HostWidget* next = Of(QApplication::focusWidget());
    HWND gaining = next ? next->Handle() : g_focusTarget;
    DeliverMessage(wnd_, WM_KILLFOCUS, gaining == wnd_ ? 0 : gaining, 0);
}

void HostWidget::enterEvent(QEnterEvent*) {
    DeliverMessage(wnd_, CM_MOUSEENTER, 0, 0);
}
void HostWidget::leaveEvent(QEvent*) {
    CancelHintRest(this);
    DeliverMessage(wnd_, CM_MOUSELEAVE, 0, 0);
}

bool HostWidget::eventFilter(QObject* watched, QEvent* e) {
    if (watched == face_ || (watched == faceMouseArea_ && faceMouseArea_)) {
        ++depth_;
        bool taken = FaceEvent(watched, e);
        --depth_;
        return taken;
    }
    for (int which : {SB_HORZ, SB_VERT}) {
        if (watched != bars[which].widget) continue;
        if (e->type() == QEvent::Wheel) {
            wheelEvent(static_cast<QWheelEvent*>(e));
            return true;
        }
        // Releasing an arrow or the page area ends the scroll; the thumb ends it itself.
        if (e->type() == QEvent::MouseButtonRelease && !bars[which].widget->isSliderDown())
            SendScroll(which, SB_ENDSCROLL, 0);
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace rv
