#pragma once
// Input as the toolkit delivers it to a window's host, for tests of controls outside the
// platform layer: the host turns these into the window's messages as it does for real input.

#include <string>

#include "platform/graphics/geometry.h"
#include "platform/messages/messages.h"

namespace rv::test {

enum class ToolkitMouse { Press, Release, DoubleClick, Move };
enum class ToolkitButton { Left, Right, Middle };
// Modifier keys held, with the framework's shift-state values.
enum ToolkitModifier : unsigned { kToolkitShift = 1, kToolkitAlt = 2, kToolkitCtrl = 4 };

// A mouse event at a client point of the window.
void SendToolkitMouse(HWND wnd, ToolkitMouse kind, TPoint client,
                      ToolkitButton button = ToolkitButton::Left, unsigned modifiers = 0);
// A key pressed (or released) on the window, by its virtual-key code (letters, digits, Space,
// Backspace, the arrows, Page Up/Down, Home, End, Enter, Escape, Tab, Delete, Insert, F2),
// typing `text`; a window with a face (an edit box) gets it through its face.
void SendToolkitKey(HWND wnd, int virtualKey, const std::string& text, unsigned modifiers = 0,
                    bool release = false, bool autoRepeat = false);
// Characters (UTF-8) typed on the window as a keyboard layout delivers them, a key pressed and
// released for each: the key named after the character (upper case), as the toolkit names the
// keys of other scripts and accented letters, which have no virtual-key code.
void SendToolkitCharacters(HWND wnd, const std::string& text);
// Text (UTF-8) an input method commits to the window (or to its face).
void SendToolkitInputMethodText(HWND wnd, const std::string& text);

}  // namespace rv::test
