#pragma once
// A shown form to put buttons on, and pixel probes for the button tests.

#include <gtest/gtest.h>

#include "platform/framework/custom_controls.h"
#include "platform/graphics/bitmap.h"
#include "platform/windows/gui_application.h"
#include "platform/windows/window_host.h"

namespace rv::test {

inline TApplication& App() {
    static TGuiApplication* app = [] {
        auto* a = new TGuiApplication;
        a->Initialize();
        return a;
    }();
    return *app;
}

// The button's picture over a lime background, so that transparent pixels show.
template <class Button>
TBitmap Snapshot(Button& b) {
    TBitmap picture(b.Width(), b.Height());
    picture.Canvas().Brush.Color = clLime;
    picture.Canvas().FillRect({0, 0, b.Width(), b.Height()});
    b.PaintTo(picture.Canvas());
    return picture;
}

// A focusable control that is no button and takes no keys of its own.
class PlainControl : public TCustomControl {
public:
    explicit PlainControl(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
    std::string ClassName() const override { return "TPlainEdit"; }
};

struct FormWith {
    FormWith() {
        App();
        form.SetBounds(0, 0, 300, 200);
        form.Show();
    }
    template <class T>
    T* Add(int left, int top) {
        auto* c = new T(&form);
        c->SetParent(&form);
        c->SetBounds(left, top, c->Width(), c->Height());
        return c;
    }
    TForm form{nullptr};
};

}  // namespace rv::test
