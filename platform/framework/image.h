#pragma once

#include "platform/framework/custom_controls.h"
#include "platform/graphics/bitmap.h"

namespace rv {

// A picture on its parent: at its top-left corner, centred, or stretched over the control. The
// picture's own Transparent setting leaves its transparent colour out.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    std::string ClassName() const override { return "TImage"; }

    const TBitmap& Picture() const { return picture_; }
    void SetPicture(const TBitmap& picture);
    // A picture the program draws: made again for the pixel ratio of what it is painted on
    // whenever that differs from the last, so that it is as sharp as the screen at any scale.
    // Picture() is the one made last (at first, at ratio 1).
    void SetPictureMaker(TPictureMaker maker);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);

protected:
    void Paint() override;

private:
    TBitmap picture_;
    TPictureMaker maker_;
    bool stretch_ = false;
    bool center_ = false;
};

}  // namespace rv
