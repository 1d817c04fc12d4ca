#include "platform/windows/window_image.h"

#include <QApplication>
#include <QBackingStore>
#include <QIcon>
#include <QPixmap>

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
    // The pixels the window last painted for the screen: its backing store, device pixels.
    QWidget* top = host->window();
    QBackingStore* store = top->backingStore();
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image || top->width() <= 0) return {};
    const QImage& shot = *static_cast<QImage*>(device);
    const double ratio = double(shot.width()) / top->width();
    const QPoint at = host->mapTo(top, QPoint(0, 0));
    const QRect part(DevicePixels(at.x(), ratio), DevicePixels(at.y(), ratio),
                     DevicePixels(host->width(), ratio), DevicePixels(host->height(), ratio));
    TBitmap picture(host->width(), host->height(), pf32bit, ratio);
    QImage& pixels = picture.Impl().Pixels();
    QImage cut = shot.copy(part).convertToFormat(pixels.format());
    if (cut.size() != pixels.size()) return {};
    cut.setDevicePixelRatio(ratio);
    pixels = cut;
    return picture;
}

void SetApplicationIcon(const TBitmap& icon) {
    EnsureGuiApplication();
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon.Impl().Pixels())));
}

}  // namespace rv
