#include "player/fat_scroll_bar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/text/round.h"

namespace rv {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;

bool IsTrackOrArrow(int part) {
    return part >= kFirstArrow && part <= kTrackAfter;
}

// The places of the four looks in the bar's list of styles.
constexpr int kArrowStyle = 0, kArrowButtonStyle = 1, kTrackStyle = 2, kScrollerStyle = 3;

int StyleOf(int part) {
    if (part == kScroller) return kScrollerStyle;
    return part >= kTrackBefore ? kTrackStyle : kArrowButtonStyle;
}

// Covers `r` with copies of the picture, side by side from its top-left corner.
void Tile(TCanvas& canvas, const TRect& r, const TBitmap& picture) {
    const int level = canvas.SaveState();
    canvas.IntersectClipRect(r);
    for (int y = r.Top; y < r.Bottom; y += picture.Height())
        for (int x = r.Left; x < r.Right; x += picture.Width()) canvas.Draw(x, y, picture);
    canvas.RestoreState(level);
}

// The arrow's triangle (its tip first, then the two ends of its base) filled, with an outline
// one pixel wide. It is laid out column by column from the tip, the halves rounded alike, so
// that the triangle is as even as its pixels allow.
void DrawArrow(TCanvas& c, const std::array<TPoint, 3>& t, bool horizontal, TColor fill,
               TColor border) {
    auto along = [&](TPoint p) { return horizontal ? p.X : p.Y; };
    auto across = [&](TPoint p) { return horizontal ? p.Y : p.X; };
    auto cells = [&](int a, int c0, int c1) {
        return horizontal ? TRect{a, c0, a + 1, c1} : TRect{c0, a, c1, a + 1};
    };
    const int tip = along(t[0]), base = along(t[1]), middle = across(t[0]);
    const int low = std::min(across(t[1]), across(t[2])) - middle;
    const int high = std::max(across(t[1]), across(t[2])) - middle;
    const int steps = std::abs(base - tip), direction = base < tip ? -1 : 1;
    c.Brush = TBrush{};
    for (int i = 0; i <= steps; ++i) {
        const int a = tip + direction * i;
        const double share = steps == 0 ? 1 : double(i) / steps;
        const int from = middle + int(std::lround(low * share));
        const int to = middle + int(std::lround(high * share));
        c.Brush.Color = border;
        c.FillRect(cells(a, from, to + 1));
        if (i == 0 || i == steps || to - from < 2) continue;
        c.Brush.Color = fill;
        c.FillRect(cells(a, from + 1, to));
    }
}

}  // namespace

TFatScrollBar::TFatScrollBar(TComponent* owner) : TGraphicControl(owner) {
    InitBounds(0, 0, 150, arrowWidth_);
    SetParentColor(true);
    for (TStyleProperty& style : styles_) style.OnChange = [this] { Invalidate(); };
    timerWindow_ = AllocateHWnd([this](TMessage& m) {
        if (m.Msg == WM_TIMER && m.WParam == kRepeatTimer && repeating_) RepeatStep();
    });
    LayOut();
}

TFatScrollBar::~TFatScrollBar() {
    DeallocateHWnd(timerWindow_);
}

// ---- properties ------------------------------------------------------------------------------

void TFatScrollBar::SetKind(TScrollBarKind value) {
    kind_ = value;
    LayOut();
}

void TFatScrollBar::SetMin(int value) {
    if (value < 0 || value > max_) return;
    min_ = value;
    if (position_ < min_) {
        SetPosition(min_);
        return;
    }
    LayOut();
}

void TFatScrollBar::SetMax(int value) {
    if (value < 0 || value < min_) return;
    max_ = value;
    if (position_ > max_) {
        SetPosition(max_);
        return;
    }
    LayOut();
}

void TFatScrollBar::SetPosition(int value) {
    if (value < min_ || value > max_) return;
    const bool changed = value != position_;
    position_ = value;
    LayOut();
    if (changed) DoChange();
}

void TFatScrollBar::DoChange() {
    if (OnChange) OnChange(this);
}

void TFatScrollBar::SetSmallChange(int value) {
    if (value >= 1 && value < largeChange_) smallChange_ = value;
}

void TFatScrollBar::SetLargeChange(int value) {
    if (value >= smallChange_ && value >= 1) largeChange_ = value;
}

void TFatScrollBar::SetArrowWidth(int value) {
    if (value < 2 || value > Length() / 2) return;
    arrowWidth_ = value;
    LayOut();
}

void TFatScrollBar::SetArrowStretch(int value) {
    arrowStretch_ = std::clamp(value, 1, 100);
    LayOut();
}

void TFatScrollBar::SetScrollerWidth(int value) {
    if (value < 2 || value > Length() - 2 * arrowWidth_ - 1) return;
    scrollerWidth_ = value;
    LayOut();
}

void TFatScrollBar::SetScrollInterval(int value) {
    if (value < 1 || value > 9999) return;
    scrollInterval_ = value;
    if (repeating_) SetTimer(timerWindow_, kRepeatTimer, UINT(scrollInterval_));
}

// ---- layout and painting ---------------------------------------------------------------------

void TFatScrollBar::LayOut() {
    layout_ = LayOutFatScrollBar({kind_, Width(), Height(), arrowWidth_, arrowStretch_,
                                  scrollerWidth_, min_, max_, position_});
    Invalidate();
}

void TFatScrollBar::Resize() {
    LayOut();
    TGraphicControl::Resize();
}

void TFatScrollBar::PaintPart(TCanvas& c, int part) const {
    const TRect& r = layout_.Parts[part];
    if (r.IsEmpty()) return;
    const TPartState state = states_[part];
    const TStyleProperty& style = styles_[StyleOf(part)];
    const TStateStyleProperty& fill = style.Fill();

    c.Brush = TBrush{};
    if (!fill.Pattern(state).Empty()) {
        Tile(c, r, fill.Pattern(state));
    } else if (fill.Style(state) == bsPattern) {
        c.Brush.SetPattern(kDottedPattern, fill.Color(state), Color());
        c.FillRect(r);
    } else {
        c.Brush.Color = fill.Color(state);
        c.Brush.Style = fill.Style(state);
        c.FillRect(r);
    }
    c.Brush = TBrush{};
    c.Brush.Color = style.Border().Color(state);
    c.FrameRect(r);

    if (part == kFirstArrow || part == kSecondArrow) {
        const TStyleProperty& arrow = styles_[kArrowStyle];
        DrawArrow(c, layout_.Arrows[part], kind_ == sbHorizontal, arrow.Fill().Color(state),
                  arrow.Border().Color(state));
    }
}

void TFatScrollBar::Paint() {
    TCanvas& target = *Canvas();
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    // Drawn whole off the screen, then shown at once.
    if (buffer_.Width() != w || buffer_.Height() != h ||
        buffer_.PixelRatio() != target.PixelRatio()) {
        buffer_ = TBitmap(w, h, pf24bit, target.PixelRatio());
    }
    TCanvas& c = buffer_.Canvas();
    c.Brush = TBrush{};
    c.Brush.Color = Color();
    c.FillRect({0, 0, w, h});
    for (int part = 0; part < kPartCount; ++part) PaintPart(c, part);
    target.Draw(0, 0, buffer_);
}

// ---- mouse -----------------------------------------------------------------------------------

void TFatScrollBar::UpdateStates(TPoint mouse, bool leftDown, bool press) {
    bool changed = false;
    for (int part = 0; part < kPartCount; ++part) {
        TPartState state = stCold;
        if (layout_.Parts[part].Contains(mouse)) {
            if (leftDown && press) {
                pressed_ = part;
                if (part == kScroller) {
                    dragging_ = true;
                    grabOffset_ = kind_ == sbHorizontal ? mouse.X - layout_.Parts[part].Left
                                                        : mouse.Y - layout_.Parts[part].Top;
                } else {
                    StartRepeat();
                }
            }
            state = leftDown && part == pressed_ ? stDown : stHot;
            // Back over the held arrow or track after leaving it: the repeat goes on.
            if (state == stDown && !press && IsTrackOrArrow(part) && !repeating_) StartRepeat();
        }
        changed = changed || states_[part] != state;
        states_[part] = state;
    }
    if (changed) Invalidate();
}

void TFatScrollBar::StartRepeat() {
    repeating_ = SetTimer(timerWindow_, kRepeatTimer, UINT(scrollInterval_)) != 0;
}

void TFatScrollBar::StopRepeat() {
    if (!repeating_) return;
    KillTimer(timerWindow_, kRepeatTimer);
    repeating_ = false;
}

void TFatScrollBar::RepeatStep() {
    if (!IsTrackOrArrow(pressed_) || !layout_.Parts[pressed_].Contains(lastMouse_)) {
        StopRepeat();
        UpdateStates(lastMouse_, MouseCapture(), false);
        return;
    }
    switch (pressed_) {
        case kFirstArrow:
            SetPosition(std::max(position_ - smallChange_, min_));
            break;
        case kSecondArrow:
            SetPosition(std::min(position_ + smallChange_, max_));
            break;
        case kTrackBefore:
            SetPosition(std::max(position_ - largeChange_, min_));
            break;
        default:
            SetPosition(std::min(position_ + largeChange_, max_));
            break;
    }
}

void TFatScrollBar::DragTo(TPoint mouse) {
    const int span = Length() - 2 * arrowWidth_ - scrollerWidth_;
    if (span <= 0) return;
    const int along = kind_ == sbHorizontal ? mouse.X : mouse.Y;
    const double share = double(along - arrowWidth_ - grabOffset_) / span;
    // Past either end the scroller stops there.
    const int value = min_ + int(Round((max_ - min_) * (share * 100) / 100));
    SetPosition(std::clamp(value, min_, max_));
}

void TFatScrollBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    lastMouse_ = {x, y};
    UpdateStates(lastMouse_, button == mbLeft, true);
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TFatScrollBar::MouseMove(TShiftState shift, int x, int y) {
    lastMouse_ = {x, y};
    if (dragging_)
        DragTo(lastMouse_);
    else
        UpdateStates(lastMouse_, shift & ssLeft, false);
    TGraphicControl::MouseMove(shift, x, y);
}

void TFatScrollBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    lastMouse_ = {x, y};
    // Whichever button comes up, and wherever, the press is over.
    StopRepeat();
    dragging_ = false;
    pressed_ = kNoPart;
    UpdateStates(lastMouse_, false, false);
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TFatScrollBar::WndProc(TMessage& m) {
    if (m.Msg == CM_MOUSEENTER) {
        if (OnMouseIn) OnMouseIn(this);
        return;
    }
    if (m.Msg == CM_MOUSELEAVE) {
        UpdateStates({-1, -1}, false, false);
        if (OnMouseOut) OnMouseOut(this);
        return;
    }
    TGraphicControl::WndProc(m);
}

}  // namespace rv
