#pragma once
// Pixel probes and a form for the button tests.

#include "platform/framework/tests/form_fixture.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/tests/pixels.h"

namespace rv::test {

// The button's picture over a lime background, so that transparent pixels show; at a pixel
// ratio above 1 as a screen at that scale gets it.
template <class Button>
TBitmap Snapshot(Button& b, double pixelRatio = 1) {
    TBitmap picture = Filled(b.Width(), b.Height(), clLime, pixelRatio);
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
