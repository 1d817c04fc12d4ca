#pragma once
// The user's mouse and keys on the library views, as the toolkit delivers them.

#include <string>

#include "platform/windows/tests/toolkit_input.h"
#include "tree/string_tree.h"

namespace rv::test {

// A point in the middle of a node's text, in the view's client coordinates.
inline TPoint OnText(TBaseVirtualTree* view, PVirtualNode node, TColumnIndex column = 0) {
    const TRect r = view->GetDisplayRect(node, column, true);
    return {std::min(r.Left + 6, (r.Left + r.Right) / 2), (r.Top + r.Bottom) / 2};
}

inline void Click(TBaseVirtualTree* view, TPoint p, ToolkitButton button = ToolkitButton::Left,
                  unsigned modifiers = 0) {
    SendToolkitMouse(view->Handle(), ToolkitMouse::Press, p, button, modifiers);
    SendToolkitMouse(view->Handle(), ToolkitMouse::Release, p, button, modifiers);
}

inline void DoubleClick(TBaseVirtualTree* view, TPoint p) {
    for (ToolkitMouse kind : {ToolkitMouse::Press, ToolkitMouse::Release, ToolkitMouse::DoubleClick,
                              ToolkitMouse::Release})
        SendToolkitMouse(view->Handle(), kind, p);
}

// A click in the middle of a column's header cell.
inline void ClickHeader(TBaseVirtualTree* view, TColumnIndex column,
                        ToolkitButton button = ToolkitButton::Left, unsigned modifiers = 0) {
    const TVirtualTreeColumn& cell = view->Header().Columns()[column];
    // The header strip lies above the client area.
    Click(view,
          {cell.Left() + cell.Width() / 2, view->Header().Height() / 2 - view->Header().Height()},
          button, modifiers);
}

// Letters, digits and blanks typed on the view, one key each.
inline void Type(TBaseVirtualTree* view, const std::string& text) {
    for (char c : text) {
        const int key = c == ' ' ? VK_SPACE : c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
        SendToolkitKey(view->Handle(), key, std::string(1, c));
    }
}

}  // namespace rv::test
