#pragma once

#include <cstdint>

#include "platform/messages/message_numbers.h"

namespace rv {

// Messages of windows with a host besides the common numbers.
inline constexpr std::uint32_t WM_MOUSEHWHEEL = 0x020E;

// The class framework's own notifications (CM_BASE + n).
inline constexpr std::uint32_t CM_BASE = 0xB000;
inline constexpr std::uint32_t CM_ACTIVATE = CM_BASE + 0;
inline constexpr std::uint32_t CM_DEACTIVATE = CM_BASE + 1;
inline constexpr std::uint32_t CM_DIALOGKEY = CM_BASE + 5;
inline constexpr std::uint32_t CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr std::uint32_t CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr std::uint32_t CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr std::uint32_t CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr std::uint32_t CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr std::uint32_t CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr std::uint32_t CM_COLORCHANGED = CM_BASE + 13;
inline constexpr std::uint32_t CM_FONTCHANGED = CM_BASE + 14;
inline constexpr std::uint32_t CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr std::uint32_t CM_CTL3DCHANGED = CM_BASE + 16;
inline constexpr std::uint32_t CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr std::uint32_t CM_MOUSEENTER = CM_BASE + 19;
inline constexpr std::uint32_t CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr std::uint32_t CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr std::uint32_t CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr std::uint32_t CM_ENTER = CM_BASE + 26;
inline constexpr std::uint32_t CM_EXIT = CM_BASE + 27;
inline constexpr std::uint32_t CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr std::uint32_t CM_SYSCOLORCHANGE = CM_BASE + 36;
inline constexpr std::uint32_t CM_DRAG = CM_BASE + 47;
inline constexpr std::uint32_t CM_HINTSHOW = CM_BASE + 48;
inline constexpr std::uint32_t CM_HINTSHOWPAUSE = CM_BASE + 65;
inline constexpr std::uint32_t CM_MOUSEWHEEL = CM_BASE + 67;

// Key messages offered to the framework before the window gets them (CN_BASE + the message):
// a non-zero result takes the key, and the window then never sees it.
inline constexpr std::uint32_t CN_BASE = 0xBC00;
inline constexpr std::uint32_t CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
inline constexpr std::uint32_t CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;

// Mouse message key flags (WParam).
inline constexpr unsigned MK_LBUTTON = 0x1;
inline constexpr unsigned MK_RBUTTON = 0x2;
inline constexpr unsigned MK_SHIFT = 0x4;
inline constexpr unsigned MK_CONTROL = 0x8;
inline constexpr unsigned MK_MBUTTON = 0x10;
inline constexpr int WHEEL_DELTA = 120;

// WM_NCHITTEST answers.
inline constexpr int HTERROR = -2;
inline constexpr int HTTRANSPARENT = -1;
inline constexpr int HTNOWHERE = 0;
inline constexpr int HTCLIENT = 1;
inline constexpr int HTCAPTION = 2;
inline constexpr int HTHSCROLL = 6;
inline constexpr int HTVSCROLL = 7;
inline constexpr int HTBORDER = 18;

// Scroll bars: which bar, SCROLLINFO fields, WM_HSCROLL / WM_VSCROLL codes.
inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;
inline constexpr int SB_BOTH = 3;
inline constexpr unsigned SIF_RANGE = 0x1;
inline constexpr unsigned SIF_PAGE = 0x2;
inline constexpr unsigned SIF_POS = 0x4;
inline constexpr unsigned SIF_DISABLENOSCROLL = 0x8;
inline constexpr unsigned SIF_TRACKPOS = 0x10;
inline constexpr unsigned SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINELEFT = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_LINERIGHT = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGELEFT = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_PAGERIGHT = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_TOP = 6;
inline constexpr int SB_LEFT = 6;
inline constexpr int SB_BOTTOM = 7;
inline constexpr int SB_RIGHT = 7;
inline constexpr int SB_ENDSCROLL = 8;

// WM_GETDLGCODE answers.
inline constexpr unsigned DLGC_WANTARROWS = 0x1;
inline constexpr unsigned DLGC_WANTTAB = 0x2;
inline constexpr unsigned DLGC_WANTALLKEYS = 0x4;
inline constexpr unsigned DLGC_WANTCHARS = 0x80;

inline constexpr unsigned SIZE_RESTORED = 0;

// Virtual-key codes.
inline constexpr int VK_LBUTTON = 0x01;
inline constexpr int VK_RBUTTON = 0x02;
inline constexpr int VK_MBUTTON = 0x04;
inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;
inline constexpr int VK_PAUSE = 0x13;
inline constexpr int VK_CAPITAL = 0x14;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_PRIOR = 0x21;
inline constexpr int VK_NEXT = 0x22;
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_INSERT = 0x2D;
inline constexpr int VK_DELETE = 0x2E;
inline constexpr int VK_HELP = 0x2F;
inline constexpr int VK_APPS = 0x5D;
inline constexpr int VK_NUMPAD0 = 0x60;
inline constexpr int VK_MULTIPLY = 0x6A;
inline constexpr int VK_ADD = 0x6B;
inline constexpr int VK_SUBTRACT = 0x6D;
inline constexpr int VK_DECIMAL = 0x6E;
inline constexpr int VK_DIVIDE = 0x6F;
inline constexpr int VK_F1 = 0x70;
inline constexpr int VK_NUMLOCK = 0x90;
inline constexpr int VK_SCROLL = 0x91;
inline constexpr int VK_OEM_1 = 0xBA;
inline constexpr int VK_OEM_PLUS = 0xBB;
inline constexpr int VK_OEM_COMMA = 0xBC;
inline constexpr int VK_OEM_MINUS = 0xBD;
inline constexpr int VK_OEM_PERIOD = 0xBE;
inline constexpr int VK_OEM_2 = 0xBF;
// A key that types a character without a key code of its own (another script's letter, an
// accented one, an input method's text): the character follows as WM_CHAR.
inline constexpr int VK_PACKET = 0xE7;

// Packing of coordinates and words into message parameters.
constexpr std::uint16_t LOWORD(std::uintptr_t v) {
    return std::uint16_t(v & 0xFFFF);
}
constexpr std::uint16_t HIWORD(std::uintptr_t v) {
    return std::uint16_t((v >> 16) & 0xFFFF);
}
constexpr std::intptr_t MAKELPARAM(int lo, int hi) {
    return std::intptr_t(std::uint32_t(std::uint16_t(lo)) |
                         (std::uint32_t(std::uint16_t(hi)) << 16));
}
constexpr std::uintptr_t MAKEWPARAM(int lo, int hi) {
    return std::uintptr_t(MAKELPARAM(lo, hi));
}
// Signed coordinates out of an LParam.
constexpr int GET_X_LPARAM(std::intptr_t lp) {
    return std::int16_t(lp & 0xFFFF);
}
constexpr int GET_Y_LPARAM(std::intptr_t lp) {
    return std::int16_t((lp >> 16) & 0xFFFF);
}
constexpr int GET_WHEEL_DELTA_WPARAM(std::uintptr_t wp) {
    return std::int16_t(HIWORD(wp));
}

}  // namespace rv
