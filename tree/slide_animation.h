#pragma once

#include <functional>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/geometry.h"

namespace rv {

// A change of the tree shown as a slide: a picture of the window taken just before the change,
// in which one part moves by the distance reached so far while the tree itself is already in the
// change's end state. The strip the moving part uncovers is filled by the caller. The tree paints
// the picture in place of itself until the slide is over and then paints itself again, so the
// end is exactly what the tree shows without the slide. (The desktop scrolled the window's own
// pixels for this; here nothing draws outside a paint.)
class TSlideAnimation {
public:
    enum class TMotion { Down, Up, Right, Left };
    // Fills a strip the motion uncovered (coordinates of the canvas given).
    using TFill = std::function<void(TCanvas& canvas, const TRect& strip)>;

    // `window`: the whole window as it was; `client`: where the client area lies in it; `area`:
    // the part of the client that moves (client coordinates); with `header`, the header strip
    // takes part as well over the same columns (horizontal motions only).
    TSlideAnimation(TBitmap window, TRect client, TRect area, TMotion motion, int distance,
                    bool header);

    TMotion Motion() const { return motion_; }
    int Distance() const { return distance_; }
    int Position() const { return position_; }
    void SetPosition(int position);
    bool Done() const { return position_ >= distance_; }
    const TRect& Area() const { return area_; }
    bool HasHeader() const { return header_; }

    // The client area as the slide shows it now, onto a canvas whose origin is the client's;
    // `width` and `height` are the client's size now, which may have grown (a scroll bar went).
    void PaintClient(TCanvas& canvas, int width, int height, const TFill& fill) const;
    // The header strip (window coordinates `strip`) as the slide shows it now.
    void PaintHeader(TCanvas& canvas, const TRect& strip, const TFill& fill) const;

private:
    // `r` of the target (target coordinates) from the picture at `origin` + r, its moving part
    // shifted by the position.
    void PaintShifted(TCanvas& canvas, const TRect& r, TPoint origin, const TFill& fill) const;

    TBitmap window_;
    TRect client_;
    TRect area_;
    TMotion motion_;
    int distance_;
    int position_ = 0;
    bool header_;
};

// What ToggleNode hands the steps of its slide: which way the node goes and the area below its
// row (client coordinates) that moves.
struct TToggleAnimationData {
    bool expanding = false;
    TRect area;
};

}  // namespace rv
