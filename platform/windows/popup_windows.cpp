#include "platform/windows/popup_windows.h"

#include <QImage>
#include <algorithm>

#include "platform/graphics/internal/qt_graphics.h"
#include "platform/windows/internal/host_widget.h"

namespace rv {

void SetWindowPopup(HWND wnd, const TPopupStyle& style) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h || h->parent) return;
    h->popup = true;
    // A tool tip in the toolkit's terms: no frame, above the others, never activated.
    Qt::WindowFlags flags = Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                            Qt::WindowDoesNotAcceptFocus;
    if (style.ignoresInput) flags |= Qt::WindowTransparentForInput;
    const bool visible = h->isVisible();
    h->setWindowFlags(flags);
    h->setAttribute(Qt::WA_ShowWithoutActivating);
    h->setAttribute(Qt::WA_TransparentForMouseEvents, style.ignoresInput);
    h->setFocusPolicy(Qt::NoFocus);
    // A translucent window starts every paint from transparent pixels.
    h->setAttribute(Qt::WA_TranslucentBackground, style.translucent);
    h->setAttribute(Qt::WA_OpaquePaintEvent, !style.translucent);
    h->setAttribute(Qt::WA_NoSystemBackground, true);
    if (visible) h->show();
}

bool IsPopupWindow(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    return h && h->popup;
}

void SetWindowOpacity(HWND wnd, double opacity) {
    if (HostWidget* h = HostWidget::Find(wnd)) h->setWindowOpacity(std::clamp(opacity, 0.0, 1.0));
}

double GetWindowOpacity(HWND wnd) {
    HostWidget* h = HostWidget::Find(wnd);
    return h ? h->windowOpacity() : 1.0;
}

void SetWindowShape(HWND wnd, const TBitmap& shape, TColor transparentColor) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h) return;
    if (shape.Empty()) {
        h->clearMask();
        return;
    }
    // The mask is in logical pixels: one sample per logical pixel of the picture.
    const QImage& pixels = shape.Impl().Pixels();
    const double ratio = shape.PixelRatio();
    const QRgb key = ToQColor(transparentColor).rgb() & 0xFFFFFF;
    QRegion region;
    for (int y = 0; y < shape.Height(); ++y) {
        const int py = std::min(pixels.height() - 1, int(y * ratio));
        int start = -1;
        for (int x = 0; x <= shape.Width(); ++x) {
            const int px = std::min(pixels.width() - 1, int(x * ratio));
            const bool inside = x < shape.Width() && (pixels.pixel(px, py) & 0xFFFFFF) != key;
            if (inside && start < 0) start = x;
            if (!inside && start >= 0) {
                region += QRect(start, y, x - start, 1);
                start = -1;
            }
        }
    }
    h->setMask(region);
}

bool WindowShapeContains(HWND wnd, TPoint p) {
    HostWidget* h = HostWidget::Find(wnd);
    if (!h || !h->rect().contains(p.X, p.Y)) return false;
    return h->mask().isEmpty() || h->mask().contains(QPoint(p.X, p.Y));
}

}  // namespace rv
