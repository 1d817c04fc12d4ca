#include "platform/framework/panel.h"

#include <algorithm>

namespace rv {

void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width) {
    canvas.Brush = TBrush{};
    for (int i = 0; i < width && r.Width() > 0 && r.Height() > 0; ++i) {
        canvas.Brush.Color = topLeft;
        canvas.FillRect({r.Left, r.Top, r.Right, r.Top + 1});
        canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
        canvas.Brush.Color = bottomRight;
        canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
        canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
}

namespace {

void Bevel(TCanvas& canvas, TRect& r, TBevelCut cut, TColor face, int width) {
    switch (cut) {
        case bvRaised:
            return Frame3D(canvas, r, clBtnHighlight, clBtnShadow, width);
        case bvLowered:
            return Frame3D(canvas, r, clBtnShadow, clBtnHighlight, width);
        case bvSpace:
            return Frame3D(canvas, r, face, face, width);
        default:
            return;
    }
}

}  // namespace

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
    InitBounds(0, 0, 185, 41);
    ControlStyle |= csAcceptsControls;
}

void TPanel::Changed() {
    Realign();
    Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut bevel) {
    bevelOuter_ = bevel;
    Changed();
}

void TPanel::SetBevelInner(TBevelCut bevel) {
    bevelInner_ = bevel;
    Changed();
}

void TPanel::SetBevelWidth(int width) {
    bevelWidth_ = std::max(1, width);
    Changed();
}

void TPanel::SetBorderWidth(int width) {
    borderWidth_ = std::max(0, width);
    Changed();
}

void TPanel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void TPanel::AdjustClientRect(TRect& rect) const {
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    rect = {rect.Left + inset, rect.Top + inset, rect.Right - inset, rect.Bottom - inset};
}

void TPanel::Paint() {
    TCanvas& canvas = *Canvas();
    TRect r = ClientRect();
    Bevel(canvas, r, bevelOuter_, Color(), bevelWidth_);
    Frame3D(canvas, r, Color(), Color(), borderWidth_);
    Bevel(canvas, r, bevelInner_, Color(), bevelWidth_);
    canvas.Brush = TBrush{};
    canvas.Brush.Color = Color();
    canvas.FillRect(r);
    if (Caption().empty()) return;
    canvas.Font = Font();
    canvas.Brush.Style = bsClear;
    unsigned align = alignment_ == taCenter         ? DT_CENTER
                     : alignment_ == taRightJustify ? DT_RIGHT
                                                    : 0;
    canvas.DrawText(Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | align);
}

}  // namespace rv
