#include "platform/framework/splitter.h"

#include <algorithm>

namespace rv {

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    InitBounds(0, 0, 3, 100);
    InitAlign(alLeft);
    SetParentColor(true);
    SetCursor(crHSplit);
}

void TSplitter::WndProc(TMessage& m) {
    // The cursor follows the direction the bar moves in.
    if (m.Msg == WM_SETCURSOR || m.Msg == WM_MOUSEMOVE)
        SetCursor(Horizontal() ? crVSplit : crHSplit);
    TGraphicControl::WndProc(m);
}

TControl* TSplitter::FindControl() const {
    if (!Parent()) return nullptr;
    TPoint p{Left(), Top()};
    switch (Align()) {
        case alLeft:
            --p.X;
            break;
        case alRight:
            p.X += Width();
            break;
        case alTop:
            --p.Y;
            break;
        case alBottom:
            p.Y += Height();
            break;
        default:
            return nullptr;
    }
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (c == this || !c->Visible() || !c->Enabled()) continue;
        TRect r = c->BoundsRect();
        // A control shrunk to nothing still sits at the edge.
        if (r.Width() == 0) (Align() == alLeft || Align() == alTop) ? --r.Left : ++r.Right;
        if (r.Height() == 0) (Align() == alLeft || Align() == alTop) ? --r.Top : ++r.Bottom;
        if (r.Contains(p)) return c;
    }
    return nullptr;
}

int TSplitter::MaxSize(const TControl& control) const {
    TRect client = Parent()->ClientRect();
    int room = Horizontal() ? client.Height() : client.Width();
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        const TControl* c = Parent()->Controls(i);
        if (!c->Visible()) continue;
        bool sameAxis = Horizontal() ? (c->Align() == alTop || c->Align() == alBottom)
                                     : (c->Align() == alLeft || c->Align() == alRight);
        if (sameAxis) room -= Horizontal() ? c->Height() : c->Width();
    }
    int size = Horizontal() ? control.Height() : control.Width();
    return std::max(size, size + room - MinSize);
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    SetLink(control_, FindControl());
    if (!control_) return;
    downAt_ = ClientToScreen({x, y});
    startSize_ = Horizontal() ? control_->Height() : control_->Width();
    maxSize_ = MaxSize(*control_);
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!control_) return;
    TPoint at = ClientToScreen({x, y});
    int delta = 0;
    switch (Align()) {
        case alLeft:
            delta = at.X - downAt_.X;
            break;
        case alRight:
            delta = downAt_.X - at.X;
            break;
        case alTop:
            delta = at.Y - downAt_.Y;
            break;
        default:
            delta = downAt_.Y - at.Y;
            break;
    }
    int size = std::clamp(startSize_ + delta, std::min(MinSize, startSize_), maxSize_);
    Horizontal() ? control_->SetHeight(size) : control_->SetWidth(size);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !control_) return;
    control_ = nullptr;
    if (OnMoved) OnMoved(this);
}

void TSplitter::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == control_) control_ = nullptr;
}

void TSplitter::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.Brush = TBrush{};
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
}

}  // namespace rv
