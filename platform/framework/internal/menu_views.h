#pragma once
// The toolkit's presentation of menus (menu_views.cpp).

#include "platform/framework/menus.h"
#include "platform/messages/messages.h"

namespace rv {

// Shows the menu as a pop-up at the screen point and returns; a chosen item is clicked from the
// message loop. Changing the menu's items while it is open closes it.
void ShowPopupMenu(TPopupMenu& menu, int x, int y);

// Presents the menu as the menu bar across the top of the window: the window's client area
// starts below it. Items follow their changes; shortcuts are shown but left to the framework.
void AttachMenuBar(HWND window, TMainMenu& menu);
// Takes the menu bar off the window again.
void DetachMenuBar(TMainMenu& menu);

}  // namespace rv
