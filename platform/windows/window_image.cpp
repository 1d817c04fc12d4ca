#include "platform/windows/window_image.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdlib>

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

void SetApplicationIcon(const TBitmap& icon) {
    EnsureGuiApplication();
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon.Impl().Pixels())));
}

bool DesktopAvailable() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace rv
