#include "player/knob.h"

#include <algorithm>
#include <string>

#include "platform/windows/window_host.h"
#include "player/knob_geometry.h"

namespace rv {

TKnob::TKnob(TComponent* owner) : TCustomControl(owner) {
    InitBounds(0, 0, diameter_, diameter_);
    SetWindowBounds(Handle(), BoundsRect());
    SetParentColor(true);
    SetTabStop(true);
    step_ = KnobAngleStep(min_, max_);
    angle_ = KnobPointerAngle(position_, min_, step_);
}

void TKnob::SetParams(int position, int min, int max) {
    if (min != min_ || max != max_) {
        min_ = min;
        max_ = max;
        step_ = KnobAngleStep(min_, max_);
    }
    position_ = min_ <= max_ ? std::clamp(position, min_, max_) : std::clamp(position, max_, min_);
    angle_ = KnobPointerAngle(position_, min_, step_);
    Invalidate();
    ShowInLabel(position_);
    DoChange();
}

void TKnob::DoChange() {
    if (OnChange) OnChange(this);
}

void TKnob::SetLineColor(TColor value) {
    lineColor_ = value;
    Invalidate();
}

void TKnob::SetSpringLoaded(bool value) {
    springLoaded_ = value;
    if (value) SetPosition(0);
}

void TKnob::SetPositionLabel(TControl* label) {
    if (!SetLink(label_, label) || !label_) return;
    ShowInLabel(position_);
    label_->SetVisible(Visible());
    label_->SetEnabled(Enabled());
}

void TKnob::ShowInLabel(int position) {
    if (label_) label_->SetCaption(std::to_string(position) + " " + Caption());
}

void TKnob::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == label_) label_ = nullptr;
}

void TKnob::SetBounds(int left, int top, int width, int height) {
    if (diameter_ < width || diameter_ < height)
        diameter_ = std::max(width, height);
    else if (diameter_ > width || diameter_ > height)
        diameter_ = std::min(width, height);
    diameter_ = std::max(diameter_, 0);
    TCustomControl::SetBounds(left, top, diameter_, diameter_);
}

int TKnob::PositionAt(int x, int y) const {
    return KnobPositionOfAngle(KnobAngleAt(x, y, Width() / 2, Height() / 2), min_, step_);
}

void TKnob::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && InsideEllipse(ClientRect(), x, y)) {
        if (CanFocus()) SetFocus();
        dragging_ = true;
        SetPosition(PositionAt(x, y));
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TKnob::MouseMove(TShiftState shift, int x, int y) {
    const int under = PositionAt(x, y);
    if (dragging_ && under != position_) SetPosition(under);
    ShowInLabel(under);
    TCustomControl::MouseMove(shift, x, y);
}

void TKnob::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (dragging_) {
        if (springLoaded_) {
            SetPosition(0);
        } else if (const int under = PositionAt(x, y); under != position_) {
            SetPosition(under);
        }
        dragging_ = false;
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TKnob::KeyDown(int& key, TShiftState shift) {
    switch (key) {
        case VK_PRIOR:
            SetPosition(position_ + pageSize_);
            break;
        case VK_NEXT:
            SetPosition(position_ - pageSize_);
            break;
        case VK_END:
            SetPosition(max_);
            break;
        case VK_HOME:
            SetPosition(min_);
            break;
        case VK_LEFT:
        case VK_DOWN:
            SetPosition(position_ - 1);
            break;
        case VK_RIGHT:
        case VK_UP:
            SetPosition(position_ + 1);
            break;
        default:
            break;
    }
    TCustomControl::KeyDown(key, shift);
}

void TKnob::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_GETDLGCODE:
            m.Result = DLGC_WANTARROWS;
            return;
        case WM_SETFOCUS:
            Invalidate();
            break;
        case WM_KILLFOCUS:
            Invalidate();
            dragging_ = false;
            if (springLoaded_) SetPosition(0);
            break;
        case CM_MOUSELEAVE:
        case CM_TEXTCHANGED:
            ShowInLabel(position_);
            break;
        case CM_VISIBLECHANGED:
            if (label_) label_->SetVisible(Visible());
            break;
        case CM_ENABLEDCHANGED:
            if (label_) label_->SetEnabled(Enabled());
            break;
        default:
            break;
    }
    TCustomControl::WndProc(m);
}

void TKnob::Paint() {
    TCanvas& c = *Canvas();
    const int d = diameter_, r = d / 2;
    c.Brush = TBrush{};
    c.Brush.Color = Color();
    c.FillRect({0, 0, d, d});

    // The face, lit from the upper left.
    c.Pen = TPen{clBtnFace};
    c.Brush.Color = clBtnFace;
    c.Ellipse({2, 2, d - 2, d - 2});
    const TPoint upperRight{d, 0}, lowerLeft{0, d};
    c.Pen = TPen{clBtnHighlight, psSolid, 2};
    c.Arc({3, 3, d - 3, d - 3}, upperRight, lowerLeft);
    c.Pen.Color = clBtnShadow;
    c.Arc({3, 3, d - 3, d - 3}, lowerLeft, upperRight);

    // The rim, and below it the arc that darkens with the focus.
    c.Pen = TPen{Enabled() ? clBlack : clBtnShadow};
    c.Brush.Style = bsClear;
    c.Ellipse({1, 1, d - 1, d - 1});
    c.Pen.Color = Focused() ? clBlack : clBtnShadow;
    c.Arc({0, 0, d, d}, lowerLeft, upperRight);

    // The pointer, with a highlight beside it.
    const TKnobPointer p = KnobPointerLine(r, angle_, r - 11, r - 5);
    c.Pen = TPen{clBtnHighlight};
    c.MoveTo(p.From.X + 1, p.From.Y + 1);
    c.LineTo(p.To.X + 1, p.To.Y + 1);
    c.Pen.Color = lineColor_;
    c.MoveTo(p.From.X, p.From.Y);
    c.LineTo(p.To.X, p.To.Y);
}

}  // namespace rv
