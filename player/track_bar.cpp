#include "player/track_bar.h"

#include <algorithm>

#include "platform/text/round.h"
#include "platform/windows/window_host.h"

namespace rv {

TTrackBar::TTrackBar(TComponent* owner) : TCustomControl(owner) {
    InitBounds(0, 0, 150, 45);
    SetWindowBounds(Handle(), BoundsRect());
    SetTabStop(true);
}

void TTrackBar::SetMin(int value) {
    min_ = value;
    max_ = std::max(max_, min_);
    SetPosition(position_);
    Invalidate();
}

void TTrackBar::SetMax(int value) {
    max_ = value;
    min_ = std::min(min_, max_);
    SetPosition(position_);
    Invalidate();
}

void TTrackBar::SetPosition(int value) {
    value = std::clamp(value, min_, max_);
    if (value == position_) return;
    position_ = value;
    Invalidate();
    DoChange();
}

void TTrackBar::SetOrientation(TTrackBarOrientation value) {
    orientation_ = value;
    Invalidate();
}

void TTrackBar::DoChange() {
    if (OnChange) OnChange(this);
}

int TTrackBar::PositionAt(int x, int y) const {
    const int run = Length() - 2 * kEnd;
    if (run <= 0 || max_ == min_) return min_;
    const int along = (orientation_ == trHorizontal ? x : y) - kEnd;
    return min_ + int(Round(double(along) * (max_ - min_) / run));
}

int TTrackBar::CentreOf(int position) const {
    const int run = std::max(Length() - 2 * kEnd, 0);
    if (max_ == min_) return kEnd;
    return kEnd + int(Round(double(position - min_) * run / (max_ - min_)));
}

void TTrackBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus()) SetFocus();
        SetPosition(PositionAt(x, y));
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TTrackBar::MouseMove(TShiftState shift, int x, int y) {
    if (shift & ssLeft) SetPosition(PositionAt(x, y));
    TCustomControl::MouseMove(shift, x, y);
}

void TTrackBar::KeyDown(int& key, TShiftState shift) {
    if (key == VK_LEFT || key == VK_UP) SetPosition(position_ - 1);
    if (key == VK_RIGHT || key == VK_DOWN) SetPosition(position_ + 1);
    if (key == VK_HOME) SetPosition(min_);
    if (key == VK_END) SetPosition(max_);
    TCustomControl::KeyDown(key, shift);
}

void TTrackBar::WndProc(TMessage& m) {
    if (m.Msg == WM_GETDLGCODE) {
        m.Result = DLGC_WANTARROWS;
        return;
    }
    if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) Invalidate();
    TCustomControl::WndProc(m);
}

void TTrackBar::Paint() {
    TCanvas& c = *Canvas();
    c.Brush = TBrush{};
    c.Brush.Color = Color();
    c.FillRect(ClientRect());
    // Channel and thumb laid out along x; a vertical bar swaps the axes.
    const bool horizontal = orientation_ == trHorizontal;
    auto place = [&](int a0, int c0, int a1, int c1) {
        return horizontal ? TRect{a0, c0, a1, c1} : TRect{c0, a0, c1, a1};
    };
    const int middle = Across() / 2, centre = CentreOf(position_);
    TRect channel = place(kEnd - 2, middle - 2, Length() - kEnd + 2, middle + 2);
    c.DrawEdge(channel, EDGE_SUNKEN, BF_RECT);
    TRect thumb = place(centre - 5, middle - 10, centre + 6, middle + 11);
    c.DrawEdge(thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    if (Focused()) c.DrawFocusRect(ClientRect());
}

}  // namespace rv
