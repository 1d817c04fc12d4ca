#include "platform/framework/input_types.h"

#include <string>

#include "platform/text/ascii_case.h"
#include "platform/text/utf8.h"
#include "platform/windows/window_host.h"

namespace rv {

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    if (GetKeyState(VK_LBUTTON) < 0) s |= ssLeft;
    if (GetKeyState(VK_RBUTTON) < 0) s |= ssRight;
    if (GetKeyState(VK_MBUTTON) < 0) s |= ssMiddle;
    return s;
}

bool IsAccel(unsigned ch, const std::string& caption) {
    size_t i = 0;
    while ((i = caption.find('&', i)) != std::string::npos) {
        if (i + 1 >= caption.size()) return false;
        if (caption[i + 1] == '&') {
            i += 2;
            continue;
        }
        size_t pos = i + 1;
        char32_t marked = DecodeUtf8(caption, pos);
        if (marked < 128 && ch < 128) return AsciiUpper(char(marked)) == AsciiUpper(char(ch));
        return marked == ch;
    }
    return false;
}

}  // namespace rv
