// Input state kept for the host windows: Qt key numbers to virtual-key codes, the key and button
// state GetKeyState answers, the capture and focus holders and the cursor shown.

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>

#include "platform/windows/internal/host_widget.h"

namespace rv {
namespace {

std::array<bool, 256>& KeysDown() {
    static std::array<bool, 256> keys{};
    return keys;
}

QPoint g_cursorPos;

}  // namespace

HWND g_capture = 0;
HWND g_lastFocus = 0;
HWND g_focusTarget = 0;
TCursor g_shownCursor = crDefault;

int VirtualKeyOf(int key, Qt::KeyboardModifiers modifiers) {
    bool keypad = modifiers & Qt::KeypadModifier;
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return keypad ? VK_NUMPAD0 + (key - Qt::Key_0) : '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + (key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace:
            return VK_BACK;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VK_TAB;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Shift:
            return VK_SHIFT;
        case Qt::Key_Control:
            return VK_CONTROL;
        case Qt::Key_Alt:
            return VK_MENU;
        case Qt::Key_Pause:
            return VK_PAUSE;
        case Qt::Key_CapsLock:
            return VK_CAPITAL;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_Space:
            return VK_SPACE;
        case Qt::Key_PageUp:
            return VK_PRIOR;
        case Qt::Key_PageDown:
            return VK_NEXT;
        case Qt::Key_End:
            return VK_END;
        case Qt::Key_Home:
            return VK_HOME;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_Insert:
            return VK_INSERT;
        case Qt::Key_Delete:
            return VK_DELETE;
        case Qt::Key_Help:
            return VK_HELP;
        case Qt::Key_Menu:
            return VK_APPS;
        case Qt::Key_NumLock:
            return VK_NUMLOCK;
        case Qt::Key_ScrollLock:
            return VK_SCROLL;
        case Qt::Key_Asterisk:
            // Typed on the main keys as well: the key that types "*" is the multiply key.
            return VK_MULTIPLY;
        case Qt::Key_Plus:
            return keypad ? VK_ADD : VK_OEM_PLUS;
        case Qt::Key_Minus:
            return keypad ? VK_SUBTRACT : VK_OEM_MINUS;
        case Qt::Key_Slash:
            return keypad ? VK_DIVIDE : VK_OEM_2;
        case Qt::Key_Period:
            return keypad ? VK_DECIMAL : VK_OEM_PERIOD;
        case Qt::Key_Comma:
            return VK_OEM_COMMA;
        case Qt::Key_Semicolon:
            return VK_OEM_1;
        default:
            return 0;
    }
}

int KeyCodeOf(const QKeyEvent* e) {
    if (int vk = VirtualKeyOf(e->key(), e->modifiers())) return vk;
    // Letters of other scripts, accented ones and signs the table does not name still type.
    const QString text = e->text();
    return !text.isEmpty() && text.front() >= u' ' && text.front() != u'\x7f' ? VK_PACKET : 0;
}

int ToolkitKeyOf(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return Qt::Key_A + (virtualKey - 'A');
    if (virtualKey >= '0' && virtualKey <= '9') return Qt::Key_0 + (virtualKey - '0');
    for (int key :
         {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End,
          Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Insert,
          Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Space})
        if (VirtualKeyOf(key, {}) == virtualKey) return key;
    return 0;
}

short GetKeyState(int vk) {
    if (vk < 0 || vk > 255) return 0;
    return KeysDown()[vk] ? short(0x8000) : 0;
}

void SetKeyState(int vk, bool down) {
    if (vk >= 0 && vk <= 255) KeysDown()[vk] = down;
}

void UpdateKeyStateFrom(Qt::KeyboardModifiers m, Qt::MouseButtons b) {
    SetKeyState(VK_SHIFT, m & Qt::ShiftModifier);
    SetKeyState(VK_CONTROL, m & Qt::ControlModifier);
    SetKeyState(VK_MENU, m & Qt::AltModifier);
    SetKeyState(VK_LBUTTON, b & Qt::LeftButton);
    SetKeyState(VK_RBUTTON, b & Qt::RightButton);
    SetKeyState(VK_MBUTTON, b & Qt::MiddleButton);
}

unsigned MouseKeyFlags() {
    unsigned flags = 0;
    if (GetKeyState(VK_LBUTTON) < 0) flags |= MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON) < 0) flags |= MK_RBUTTON;
    if (GetKeyState(VK_MBUTTON) < 0) flags |= MK_MBUTTON;
    if (GetKeyState(VK_SHIFT) < 0) flags |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) flags |= MK_CONTROL;
    return flags;
}

void NoteCursorPos(QPoint global) {
    g_cursorPos = global;
}
void SetCursorPos(TPoint screen) {
    g_cursorPos = QPoint(screen.X, screen.Y);
}

TPoint GetCursorPos() {
    return {g_cursorPos.x(), g_cursorPos.y()};
}

}  // namespace rv
