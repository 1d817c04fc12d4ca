#include "platform/windows/tests/toolkit_input.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/windows/internal/host_widget.h"
#include "platform/windows/window_constants.h"

namespace rv::test {

namespace {

Qt::KeyboardModifiers Modifiers(unsigned shift) {
    Qt::KeyboardModifiers m;
    if (shift & kToolkitShift) m |= Qt::ShiftModifier;
    if (shift & kToolkitCtrl) m |= Qt::ControlModifier;
    if (shift & kToolkitAlt) m |= Qt::AltModifier;
    return m;
}

Qt::MouseButton Button(ToolkitButton button) {
    return button == ToolkitButton::Right    ? Qt::RightButton
           : button == ToolkitButton::Middle ? Qt::MiddleButton
                                             : Qt::LeftButton;
}

int QtKey(int vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return vk;
    switch (vk) {
        case VK_SPACE:
            return Qt::Key_Space;
        case VK_BACK:
            return Qt::Key_Backspace;
        case VK_LEFT:
            return Qt::Key_Left;
        case VK_UP:
            return Qt::Key_Up;
        case VK_RIGHT:
            return Qt::Key_Right;
        case VK_DOWN:
            return Qt::Key_Down;
        case VK_PRIOR:
            return Qt::Key_PageUp;
        case VK_NEXT:
            return Qt::Key_PageDown;
        case VK_HOME:
            return Qt::Key_Home;
        case VK_END:
            return Qt::Key_End;
        case VK_RETURN:
            return Qt::Key_Return;
        case VK_ESCAPE:
            return Qt::Key_Escape;
        case VK_TAB:
            return Qt::Key_Tab;
        case VK_DELETE:
            return Qt::Key_Delete;
        case VK_INSERT:
            return Qt::Key_Insert;
        case VK_F1 + 1:
            return Qt::Key_F2;
        default:
            return 0;
    }
}

}  // namespace

void SendToolkitMouse(HWND wnd, ToolkitMouse kind, TPoint client, ToolkitButton button,
                      unsigned modifiers) {
    HostWidget* host = HostWidget::Find(wnd);
    if (!host) return;
    const QPoint local = QPoint(client.X, client.Y) + host->ClientOffset();
    static const QEvent::Type types[] = {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                         QEvent::MouseButtonDblClick, QEvent::MouseMove};
    const Qt::MouseButton b = kind == ToolkitMouse::Move ? Qt::NoButton : Button(button);
    const Qt::MouseButtons held = kind == ToolkitMouse::Release ? Qt::NoButton
                                  : kind == ToolkitMouse::Move
                                      ? Qt::MouseButtons(QApplication::mouseButtons())
                                      : Qt::MouseButtons(b);
    QMouseEvent e(types[int(kind)], QPointF(local), QPointF(host->mapToGlobal(local)), b, held,
                  Modifiers(modifiers));
    QApplication::sendEvent(host, &e);
}

void SendToolkitKey(HWND wnd, int virtualKey, const std::string& text, unsigned modifiers,
                    bool release, bool autoRepeat) {
    HostWidget* host = HostWidget::Find(wnd);
    if (!host) return;
    QKeyEvent e(release ? QEvent::KeyRelease : QEvent::KeyPress, QtKey(virtualKey),
                Modifiers(modifiers), QString::fromStdString(text), autoRepeat);
    // A window with a face gets its keys through the face, as the toolkit hands them.
    QApplication::sendEvent(host->Face() ? host->Face() : host, &e);
}

void SendToolkitCharacters(HWND wnd, const std::string& text) {
    for (char32_t c : QString::fromStdString(text).toUcs4()) {
        HostWidget* host = HostWidget::Find(wnd);
        if (!host) return;
        const QString typed = QString::fromUcs4(&c, 1);
        const int key = int(typed.toUpper().toUcs4().front());
        QWidget* target = host->Face() ? host->Face() : host;
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent e(type, key, Qt::NoModifier, typed);
            QApplication::sendEvent(target, &e);
        }
    }
}

void SendToolkitInputMethodText(HWND wnd, const std::string& text) {
    HostWidget* host = HostWidget::Find(wnd);
    if (!host) return;
    QInputMethodEvent e;
    e.setCommitString(QString::fromStdString(text));
    QApplication::sendEvent(host->Face() ? host->Face() : host, &e);
}

}  // namespace rv::test
