#pragma once
// The open pop-up menu as the user meets it, for tests of programs above the platform layer.

#include <string>
#include <vector>

namespace rv::test {

// The entries of the pop-up menu open now, as shown ("-" for lines, hidden ones left out);
// empty when none is open.
std::vector<std::string> OpenPopupEntries();
// Chooses the entry shown as `caption` in the open pop-up menu with the mouse, pressed and
// released on it as the user does. False when no menu is open or it has no such enabled entry.
bool ChooseFromPopup(const std::string& caption);
// Closes the open pop-up menu with the Escape key; false when none is open.
bool EscapePopup();

}  // namespace rv::test
