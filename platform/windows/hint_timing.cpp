// When hints come: the mouse rests over a window for the pause that window agrees to
// (CM_HINTSHOWPAUSE), then the window is asked for its hint (CM_HINTSHOW). One rest at a time,
// for the window under the mouse; GUI thread only.

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QToolTip>
#include <algorithm>

#include "platform/windows/internal/host_widget.h"

namespace rv {
namespace {

struct HintRest {
    QPointer<QTimer> timer;
    HWND wnd = 0;  // the window the mouse rests over
    int pause = -1;
    HWND shownWnd = 0;  // the window of the tool tip shown last, and where it belongs
    QRect shownArea;
};

HintRest& Rest() {
    static HintRest rest;
    return rest;
}

void StopRest() {
    HintRest& rest = Rest();
    if (rest.timer) rest.timer->stop();
    rest.wnd = 0;
    rest.pause = -1;
}

// The rest is over: the window under the mouse is asked for its hint there.
void RestOver() {
    const HWND wnd = Rest().wnd;
    StopRest();
    HostWidget* host = HostWidget::Find(wnd);
    if (!host || !host->isVisible()) return;
    const TPoint cursor = GetCursorPos();
    const QPoint local = host->mapFromGlobal(QPoint(cursor.X, cursor.Y));
    if (host->rect().contains(local)) host->ShowHintAt(local);
}

QTimer& Timer() {
    HintRest& rest = Rest();
    if (!rest.timer) {
        rest.timer = new QTimer(qApp);
        rest.timer->setSingleShot(true);
        QObject::connect(rest.timer, &QTimer::timeout, [] { RestOver(); });
    }
    return *rest.timer;
}

}  // namespace

THintSettings& HintSettings() {
    static THintSettings settings;
    return settings;
}

HWND PendingHintWindow() {
    return Rest().wnd;
}

int PendingHintPause() {
    return Rest().wnd ? Rest().pause : -1;
}

void NoteHintMouse(HostWidget* host, QPoint local) {
    HintRest& rest = Rest();
    const HWND wnd = host->Handle();
    const bool showing = QToolTip::isVisible() && rest.shownWnd != 0;
    // Within the place of the tool tip shown the mouse changes nothing.
    if (showing && rest.shownWnd == wnd && rest.shownArea.contains(local)) return;
    StopRest();
    if (!HintSettings().ShowHint) return;
    int pause = showing ? HintSettings().HintShortPause : HintSettings().HintPause;
    DeliverMessage(wnd, CM_HINTSHOWPAUSE, showing ? 1 : 0, reinterpret_cast<LPARAM>(&pause));
    if (!HostWidget::Find(wnd)) return;
    rest.wnd = wnd;
    rest.pause = std::max(0, pause);
    Timer().start(rest.pause);
}

void CancelHintRest(HostWidget* host) {
    if (Rest().wnd == host->Handle()) StopRest();
}

void ForgetHintWindow(HWND wnd) {
    HintRest& rest = Rest();
    if (rest.wnd == wnd) StopRest();
    if (rest.shownWnd == wnd) rest.shownWnd = 0;
}

void NoteToolTipShown(HWND wnd, QRect area) {
    Rest().shownWnd = wnd;
    Rest().shownArea = area;
}

}  // namespace rv
