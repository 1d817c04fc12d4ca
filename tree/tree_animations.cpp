// The tree's two animations, each a slide of a picture of the window taken just before the
// change: the area below a node that opens or closes moves down or up (the toggle animation),
// and what lies right of a column's left edge moves as the column grows or shrinks (its animated
// resize). The tree's state changes at once, as without the animation; a timer moves the picture
// step by step, and after the last step the tree paints its state again. Input, scrolling and
// a new slide end a running one first, so that what the user acts on is what is shown.

#include <algorithm>

#include "platform/text/round.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"

namespace rv {

namespace {

// A column's resize moves its content this many times (the desktop's way), within about as
// many milliseconds.
constexpr int kResizeSteps = 32;
constexpr unsigned kResizeDuration = 32;

}  // namespace

void TBaseVirtualTree::AnimateToggle(PVirtualNode node, bool expanding, std::int64_t height) {
    FinishSlide();
    if (!TreeOptions().AnimationOptions().Contains(toAnimatedToggle) || animationDuration_ == 0 ||
        !HandleAllocated() || !IsWindowVisible(Handle()) || states_.Contains(tsPainting) ||
        states_.Contains(expanding ? tsExpanding : tsCollapsing))
        return;
    const TRect row = GetDisplayRect(node, NoColumn, false);
    if (row.IsEmpty()) return;
    const int clientHeight = ClientHeight();
    // An opening node moves the rows after it down, so it needs such a row and room below it.
    if (expanding && (row.Bottom >= clientHeight || !GetNextVisibleNoInit(node))) return;
    const std::int64_t room = std::int64_t(clientHeight) - row.Bottom + 1;
    const int distance = int(std::min(height, room));
    if (distance <= 0) return;
    const int stepSize =
        std::max<int>(1, int(Round(double(distance) / double(animationDuration_))));
    toggleData_ = {expanding, {0, row.Bottom, ClientWidth(), clientHeight}};
    StartSlide(toggleData_.area,
               expanding ? TSlideAnimation::TMotion::Down : TSlideAnimation::TMotion::Up, distance,
               stepSize, distance / stepSize, animationDuration_, false);
    slideOfToggle_ = true;
}

bool TBaseVirtualTree::ToggleAnimationStep(int step, int stepSize, TToggleAnimationData& data) {
    if (stepSize <= 0 || !slide_) return true;
    slide_->SetPosition(step + stepSize);
    InvalidateRect(Handle(), &data.area);
    return true;
}

void TBaseVirtualTree::AnimateColumnResize(TColumnIndex column, int newWidth) {
    FinishSlide();
    TVirtualTreeColumns& columns = header_.Columns();
    if (!columns.IsValidColumn(column)) return;
    TVirtualTreeColumn& c = columns[column];
    newWidth = std::max(std::min(newWidth, c.MaxWidth()), c.MinWidth());
    const int difference = newWidth - c.Width();
    if (difference == 0) return;
    const int stepSize = difference / kResizeSteps;
    const int left = c.Left() + offsetX_;
    const TRect area{std::max(0, left), 0, ClientWidth(), ClientHeight()};
    if (stepSize != 0 && HandleAllocated() && IsWindowVisible(Handle()) &&
        !states_.Contains(tsPainting) && !area.IsEmpty()) {
        const int step = std::abs(stepSize);
        StartSlide(
            area, difference > 0 ? TSlideAnimation::TMotion::Right : TSlideAnimation::TMotion::Left,
            step * kResizeSteps, step, kResizeSteps, kResizeDuration,
            header_.Options().Contains(hoVisible));
        slideOfToggle_ = false;
    }
    changingUnderSlide_ = true;
    try {
        c.SetWidth(newWidth);
    } catch (...) {
        changingUnderSlide_ = false;
        throw;
    }
    changingUnderSlide_ = false;
}

void TBaseVirtualTree::StartSlide(const TRect& area, TSlideAnimation::TMotion motion, int distance,
                                  int stepSize, int steps, unsigned duration, bool header) {
    if (steps <= 0) return;
    TBitmap picture(Width(), Height(), pf32bit, WindowPixelRatio(Handle()));
    PaintWindowTo(Handle(), picture.Canvas());
    const TRect client = OffsetRect(GetClientRect(Handle()), GetClientOffset(Handle()).X,
                                    GetClientOffset(Handle()).Y);
    slide_ = std::make_unique<TSlideAnimation>(std::move(picture), client, area, motion, distance,
                                               header);
    slideStepSize_ = stepSize;
    slideSteps_ = steps;
    slideStep_ = 0;
    // Steps that fall within one tick are shown together.
    slideStepsPerTick_ = std::max<int>(
        1, int((std::int64_t(steps) * kAnimationInterval + duration - 1) / std::max(1u, duration)));
    SetTimer(Handle(), kAnimationTimer, kAnimationInterval);
}

void TBaseVirtualTree::SlideTick() {
    if (!slide_) {
        StopTimer(kAnimationTimer);
        return;
    }
    const int steps = std::min(slideStepsPerTick_, slideSteps_ - slideStep_);
    const int from = slideStep_ * slideStepSize_;
    slideStep_ += steps;
    if (slideOfToggle_) {
        ToggleAnimationStep(from, steps * slideStepSize_, toggleData_);
    } else {
        slide_->SetPosition(from + steps * slideStepSize_);
        InvalidateWindow(Handle());
    }
    if (slideStep_ < slideSteps_) return;
    // The last call finishes the slide; the tree shows itself again.
    if (slideOfToggle_) ToggleAnimationStep(slide_->Position(), 0, toggleData_);
    FinishSlide();
}

void TBaseVirtualTree::FinishSlide() {
    if (!slide_) return;
    StopTimer(kAnimationTimer);
    const bool header = slide_->HasHeader();
    slide_.reset();
    if (!HandleAllocated()) return;
    if (header)
        InvalidateWindow(Handle());
    else
        Invalidate();
}

// The strip a slide uncovers: the toggle's shows the columns' colours (the tree's without
// columns), a column's resize the tree's colour.
void TBaseVirtualTree::FillSlideStrip(TCanvas& canvas, const TRect& strip) {
    if (!slideOfToggle_ || !header_.UseColumns()) {
        FillSolid(canvas, strip, Color());
        return;
    }
    const int saved = canvas.SaveState();
    canvas.MoveOrigin(offsetX_, 0);
    PaintColumnBackgrounds(canvas, OffsetRect(strip, -offsetX_, 0));
    canvas.RestoreState(saved);
}

}  // namespace rv
