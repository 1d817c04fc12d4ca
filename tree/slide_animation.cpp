#include "tree/slide_animation.h"

#include <algorithm>
#include <utility>

namespace rv {

TSlideAnimation::TSlideAnimation(TBitmap window, TRect client, TRect area, TMotion motion,
                                 int distance, bool header)
    : window_(std::move(window)),
      client_(client),
      area_(area),
      motion_(motion),
      distance_(std::max(0, distance)),
      header_(header) {}

void TSlideAnimation::SetPosition(int position) {
    position_ = std::clamp(position, 0, distance_);
}

void TSlideAnimation::PaintShifted(TCanvas& canvas, const TRect& r, TPoint origin,
                                   const TFill& fill) const {
    if (r.IsEmpty()) return;
    // What stays in view of the moving part, where it goes, and the strip it leaves, along the
    // motion's axis.
    const bool vertical = motion_ == TMotion::Down || motion_ == TMotion::Up;
    const int p = std::min(position_, vertical ? r.Height() : r.Width());
    const bool forward = motion_ == TMotion::Down || motion_ == TMotion::Right;
    const auto start = [vertical](TRect& x) -> int& { return vertical ? x.Top : x.Left; };
    const auto end = [vertical](TRect& x) -> int& { return vertical ? x.Bottom : x.Right; };
    TRect whole = r, from = r, to = r, strip = r;
    if (forward) {
        end(from) -= p;
        start(to) += p;
        end(strip) = start(whole) + p;
    } else {
        start(from) += p;
        end(to) -= p;
        start(strip) = end(whole) - p;
    }
    if (!to.IsEmpty()) canvas.CopyRect(to, window_, OffsetRect(from, origin.X, origin.Y));
    if (!strip.IsEmpty()) fill(canvas, strip);
}

void TSlideAnimation::PaintClient(TCanvas& canvas, int width, int height, const TFill& fill) const {
    const TRect client{0, 0, client_.Width(), client_.Height()};
    // What the picture does not reach shows the background.
    if (width > client.Right) fill(canvas, {client.Right, 0, width, height});
    if (height > client.Bottom) fill(canvas, {0, client.Bottom, client.Right, height});
    canvas.CopyRect(client, window_, client_);
    PaintShifted(canvas, IntersectRect(area_, client), client_.TopLeft(), fill);
}

void TSlideAnimation::PaintHeader(TCanvas& canvas, const TRect& strip, const TFill& fill) const {
    canvas.CopyRect(strip, window_, strip);
    if (!header_) return;
    // The columns that move, in window coordinates.
    const TRect moving{std::max(strip.Left, area_.Left + client_.Left), strip.Top,
                       std::min(strip.Right, area_.Right + client_.Left), strip.Bottom};
    PaintShifted(canvas, moving, {0, 0}, fill);
}

}  // namespace rv
