#include "platform/windows/screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyleHints>
#include <cmath>

#include "platform/graphics/internal/qt_graphics.h"

namespace rv {

namespace {

QScreen* PrimaryScreen() {
    EnsureGuiApplication();
    return QGuiApplication::primaryScreen();
}

}  // namespace

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
        case SM_CYSCREEN: {
            QScreen* screen = PrimaryScreen();
            if (!screen) return 0;
            QSize size = screen->geometry().size();
            return index == SM_CXSCREEN ? size.width() : size.height();
        }
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return 3;
        case SM_CXFRAME:
        case SM_CYFRAME:
            return 4;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        case SM_CXDRAG:
        case SM_CYDRAG:
            EnsureGuiApplication();
            return QGuiApplication::styleHints()->startDragDistance();
        default:
            return 0;
    }
}

int ScreenPixelsPerInch() {
    QScreen* screen = PrimaryScreen();
    return screen ? int(std::lround(screen->logicalDotsPerInchY())) : 96;
}

std::vector<TRect> ScreenWorkAreas() {
    std::vector<TRect> areas;
    QScreen* primary = PrimaryScreen();
    if (primary) areas.push_back(FromQRect(primary->availableGeometry()));
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != primary) areas.push_back(FromQRect(screen->availableGeometry()));
    // Without any screen (no display at all), a small one at the origin keeps callers simple.
    if (areas.empty()) areas.push_back(Bounds(0, 0, 640, 480));
    return areas;
}

}  // namespace rv
