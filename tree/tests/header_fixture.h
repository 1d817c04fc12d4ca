#pragma once
// A shown tree with a visible header of three columns (60, 50 and 70 pixels), driven by the
// messages the window gets for the header strip: non-client ones at screen points, and client
// ones while the header holds the mouse.

#include <vector>

#include "platform/framework/tests/form_fixture.h"
#include "platform/windows/window_host.h"
#include "tree/tests/tree_fixture.h"

namespace rv::test {

struct HeaderMouseFixture {
    HeaderMouseFixture() {
        tree = form.Add<IdTree>(Bounds(0, 0, 300, 100));
        for (int width : {60, 50, 70}) Columns().Add().SetWidth(width);
        Header().SetOptions(Header().Options() + TVTHeaderOptions{hoVisible});
    }
    TVTHeader& Header() { return tree->Header(); }
    TVirtualTreeColumns& Columns() { return tree->Header().Columns(); }

    // A header point: the client X, and the pixels below the strip's top.
    LPARAM Screen(int x, int y = 8) const {
        const TRect window = GetWindowRect(tree->Handle());
        const TRect strip = tree->HeaderRect();
        return MAKELPARAM(window.Left + strip.Left + x, window.Top + strip.Top + y);
    }
    LPARAM Client(int x, int y = 8) const { return MAKELPARAM(x, y - tree->Header().Height()); }
    void Press(int x, UINT msg = WM_NCLBUTTONDOWN) { tree->Perform(msg, HTBORDER, Screen(x)); }
    void NonClient(UINT msg, int x, int y = 8) { tree->Perform(msg, HTBORDER, Screen(x, y)); }
    void Move(int x, int y = 8) { tree->Perform(WM_MOUSEMOVE, MK_LBUTTON, Client(x, y)); }
    void Release(int x, int y = 8) { tree->Perform(WM_LBUTTONUP, 0, Client(x, y)); }
    std::vector<TColumnIndex> Order() { return Columns().PositionToIndex(); }

    FormWith form;
    IdTree* tree;
};

}  // namespace rv::test
