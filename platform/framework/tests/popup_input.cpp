#include "platform/framework/tests/popup_input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace rv::test {

namespace {

QMenu* OpenPopup() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// The caption as shown: no accelerator mark, no shortcut.
std::string Shown(const QAction* action) {
    if (action->isSeparator()) return "-";
    QString text = action->text().section('\t', 0, 0);
    text.replace("&&", QString(QChar(0xE000))).remove('&').replace(QChar(0xE000), "&");
    return text.toStdString();
}

void Mouse(QMenu* menu, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, at, menu->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(menu, &event);
}

}  // namespace

std::vector<std::string> OpenPopupEntries() {
    std::vector<std::string> entries;
    if (QMenu* menu = OpenPopup())
        for (const QAction* action : menu->actions())
            if (action->isVisible()) entries.push_back(Shown(action));
    return entries;
}

bool ChooseFromPopup(const std::string& caption) {
    QMenu* menu = OpenPopup();
    if (!menu) return false;
    for (QAction* action : menu->actions()) {
        if (!action->isVisible() || !action->isEnabled() || Shown(action) != caption) continue;
        const QPoint at = menu->actionGeometry(action).center();
        Mouse(menu, QEvent::MouseMove, at);
        Mouse(menu, QEvent::MouseButtonPress, at);
        Mouse(menu, QEvent::MouseButtonRelease, at);
        return true;
    }
    return false;
}

bool EscapePopup() {
    QMenu* menu = OpenPopup();
    if (!menu) return false;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(menu, &press);
    return true;
}

}  // namespace rv::test
