#pragma once
// A shown form to put controls on.

#include <gtest/gtest.h>

#include <utility>

#include "platform/framework/custom_controls.h"
#include "platform/windows/tests/gui_app.h"
#include "platform/windows/window_host.h"

namespace rv::test {

struct FormWith {
    FormWith() {
        App();
        form.SetBounds(0, 0, 300, 200);
        form.Show();
    }
    // A control of the form at `bounds`; its own size is kept where `bounds` has none.
    template <class T, class... Args>
    T* Add(TRect bounds, Args&&... args) {
        auto* c = new T(&form, std::forward<Args>(args)...);
        c->SetParent(&form);
        c->SetBounds(bounds.Left, bounds.Top, bounds.Width() > 0 ? bounds.Width() : c->Width(),
                     bounds.Height() > 0 ? bounds.Height() : c->Height());
        return c;
    }
    template <class T>
    T* Add(int left, int top) {
        return Add<T>(TRect{left, top, left, top});
    }
    // A left click three pixels into the control: a windowed one gets it itself, a windowless
    // one through the form.
    void Click(TControl* c, UINT down = WM_LBUTTONDOWN) {
        TControl* to = dynamic_cast<TWinControl*>(c) ? c : &form;
        LPARAM at = to == c ? MAKELPARAM(3, 3) : MAKELPARAM(c->Left() + 3, c->Top() + 3);
        to->Perform(down, MK_LBUTTON, at);
        to->Perform(WM_LBUTTONUP, 0, at);
    }
    TForm form{nullptr};
};

}  // namespace rv::test
