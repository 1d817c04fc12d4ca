#pragma once
// Pixel probes and a form for the button tests.

#include "platform/framework/tests/form_fixture.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/tests/pixels.h"

namespace rv::test {

// The button's picture over a lime background, so that transparent pixels show.
template <class Button>
TBitmap Snapshot(Button& b) {
    TBitmap picture = Filled(b.Width(), b.Height(), clLime);
    b.PaintTo(picture.Canvas());
    return picture;
}

// A focusable control that is no button and takes no keys of its own.
class PlainControl : public TCustomControl {
public:
    explicit PlainControl(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
    std::string ClassName() const override { return "TPlainEdit"; }
};

}  // namespace rv::test
