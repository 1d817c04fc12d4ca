// Scroll bars of a host window, set and reported the platform's way: the bar never moves by
// itself; the window is told what the user did and sets the new position.

#include <climits>
#include <cstdint>

#include "platform/windows/internal/host_widget.h"

namespace rv {
namespace {

// A range may run from INT_MIN to INT_MAX and a page be as large as it: the sums are made in 64
// bits and what goes back into an int is clamped.
using Wide = std::int64_t;

// The number of positions in the range, 1 to 2^32.
Wide Span(const HostWidget::Bar& b) {
    return Wide(b.max) - b.min + 1;
}

// The last position a page can start at, never below the range's start.
int HighestPosition(const HostWidget::Bar& b) {
    return int(std::max(Wide(b.min), Wide(b.max) - std::max<Wide>(Wide(b.page) - 1, 0)));
}

}  // namespace

int HostWidget::SetScroll(int which, const TScrollInfo& info) {
    Bar& b = bars[which];
    if (info.fMask & SIF_RANGE) {
        b.min = info.nMin;
        b.max = std::max(info.nMin, info.nMax);
    }
    if (info.fMask & SIF_PAGE) b.page = unsigned(std::min<Wide>(info.nPage, Span(b)));
    if (info.fMask & SIF_POS) b.pos = info.nPos;
    b.pos = std::clamp(b.pos, b.min, HighestPosition(b));
    b.disableNoScroll = info.fMask & SIF_DISABLENOSCROLL;
    bool needed = b.page == 0 ? b.max > b.min : Wide(b.page) < Span(b);
    bool visible = needed || b.disableNoScroll;
    if (info.fMask & (SIF_RANGE | SIF_PAGE)) {
        if (visible != b.visible) {
            b.visible = visible;
            Relayout();
        }
        b.widget->setEnabled(needed);
    }
    SyncBar(which);
    return b.pos;
}

void HostWidget::ShowBar(int which, bool show) {
    Bar& b = bars[which];
    if (b.visible == show) return;
    b.visible = show;
    Relayout();
    update();
}

void HostWidget::SyncBar(int which) {
    Bar& b = bars[which];
    QScrollBar* w = b.widget;
    if (w->isSliderDown()) return;  // the thumb follows the mouse until released
    QSignalBlocker quiet(w);
    w->setRange(b.min, HighestPosition(b));
    w->setPageStep(int(std::clamp<Wide>(b.page, 1, INT_MAX)));
    w->setSingleStep(1);
    w->setValue(b.pos);
}

void HostWidget::ScrollAction(int which, int action) {
    Bar& b = bars[which];
    QScrollBar* w = b.widget;
    switch (action) {
        case QAbstractSlider::SliderMove:
            b.track = w->sliderPosition();
            SendScroll(which, SB_THUMBTRACK, b.track);
            return;
        case QAbstractSlider::SliderSingleStepAdd:
            SendScroll(which, SB_LINEDOWN, 0);
            break;
        case QAbstractSlider::SliderSingleStepSub:
            SendScroll(which, SB_LINEUP, 0);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            SendScroll(which, SB_PAGEDOWN, 0);
            break;
        case QAbstractSlider::SliderPageStepSub:
            SendScroll(which, SB_PAGEUP, 0);
            break;
        case QAbstractSlider::SliderToMinimum:
            SendScroll(which, SB_TOP, 0);
            break;
        case QAbstractSlider::SliderToMaximum:
            SendScroll(which, SB_BOTTOM, 0);
            break;
        default:
            return;
    }
    // Undo the bar's own step: the position is the window's to set.
    if (HostWidget* self = Find(Handle()))
        self->bars[which].widget->setSliderPosition(self->bars[which].pos);
}

void HostWidget::SendScroll(int which, int code, int pos) {
    HWND wnd = Handle();
    DeliverMessage(wnd, which == SB_HORZ ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(code, pos & 0xFFFF),
                   0);
    if (HostWidget* self = Find(wnd)) self->SyncBar(which);
}

}  // namespace rv
