#include "platform/windows/desktop_settings.h"

#include <QApplication>
#include <QStyleHints>
#include <atomic>

#include "platform/graphics/internal/qt_graphics.h"

namespace rv {

namespace {

std::atomic<unsigned> g_beeps{0};

}  // namespace

int GetWheelScrollLines() {
    EnsureGuiApplication();
    return QGuiApplication::styleHints()->wheelScrollLines();
}

TTooltipAnimation GetTooltipAnimation() {
    EnsureGuiApplication();
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
        !QApplication::isEffectEnabled(Qt::UI_AnimateTooltip))
        return TTooltipAnimation::None;
    return QApplication::isEffectEnabled(Qt::UI_FadeTooltip) ? TTooltipAnimation::Fade
                                                             : TTooltipAnimation::Slide;
}

void MessageBeep(unsigned) {
    g_beeps.fetch_add(1, std::memory_order_relaxed);
    EnsureGuiApplication();
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
}

unsigned MessageBeepCount() {
    return g_beeps.load(std::memory_order_relaxed);
}

}  // namespace rv
