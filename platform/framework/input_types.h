#pragma once

#include <cstdint>
#include <string>

#include "platform/messages/messages.h"

namespace rv {

enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = unsigned;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

// Shift state out of a mouse message's key flags, and out of the keys held now.
TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyboardShiftState();

// Modal results of forms and buttons.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;

// True when `caption` marks `ch` as its accelerator ("&File" and 'f'), ASCII case ignored.
bool IsAccel(unsigned ch, const std::string& caption);

}  // namespace rv
