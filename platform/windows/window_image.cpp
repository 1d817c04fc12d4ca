#include "platform/windows/window_image.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include "platform/graphics/internal/qt_graphics.h"
#include "platform/windows/internal/host_widget.h"

namespace rv {

TBitmap WindowImage(HWND wnd, double pixelRatio) {
    HostWidget* host = HostWidget::Find(wnd);
    if (!host) return {};
    TBitmap picture(host->width(), host->height(), pf32bit, pixelRatio);
    QImage& pixels = picture.Impl().Pixels();
    pixels.fill(Qt::white);
    host->render(&pixels);
    return picture;
}

TBitmap ScreenImage(HWND wnd) {
    HostWidget* host = HostWidget::Find(wnd);
    if (!host || !host->isVisible()) return {};
    QWidget* top = host->window();
    QScreen* screen = top->screen();
    if (!screen) return {};
    QPoint at = host->mapTo(top, QPoint(0, 0));
    QPixmap shot = screen->grabWindow(top->winId(), at.x(), at.y(), host->width(), host->height());
    TBitmap picture(host->width(), host->height(), pf32bit, shot.devicePixelRatio());
    QPainter painter(&picture.Impl().Pixels());
    painter.drawPixmap(QRect(0, 0, host->width(), host->height()), shot);
    return picture;
}

void SetApplicationIcon(const TBitmap& icon) {
    EnsureGuiApplication();
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon.Impl().Pixels())));
}

}  // namespace rv
