#include "platform/framework/label.h"

#include "platform/framework/internal/text_measure.h"

namespace rv {

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    InitBounds(0, 0, 65, 13);
    SetParentColor(true);
}

unsigned TLabel::TextFlags() const {
    unsigned flags = DT_EXPANDTABS;
    flags |= alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : 0;
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    return flags;
}

void TLabel::AdjustBounds() {
    if (!autoSize_) return;
    TSize size = MeasureText(Font(), Caption(), TextFlags(), Width());
    // A right-aligned label keeps its right edge, a centred one its middle.
    int left = alignment_ == taRightJustify ? Left() + Width() - size.cx
               : alignment_ == taCenter     ? Left() + (Width() - size.cx) / 2
                                            : Left();
    SetBounds(wordWrap_ ? Left() : left, Top(), wordWrap_ ? Width() : size.cx, size.cy);
}

void TLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustBounds();
}

void TLabel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout layout) {
    layout_ = layout;
    Invalidate();
}

void TLabel::SetWordWrap(bool value) {
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool value) {
    transparent_ = value;
    Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::WndProc(TMessage& m) {
    TGraphicControl::WndProc(m);
    switch (m.Msg) {
        case CM_TEXTCHANGED:
        case CM_FONTCHANGED:
            AdjustBounds();
            break;
        case CM_MOUSEENTER:
            if (OnMouseEnter) OnMouseEnter(this);
            break;
        case CM_MOUSELEAVE:
            if (OnMouseLeave) OnMouseLeave(this);
            break;
        default:
            break;
    }
}

void TLabel::Paint() {
    TCanvas& canvas = *Canvas();
    TRect r = ClientRect();
    canvas.Brush = TBrush{};
    canvas.Brush.Color = Color();
    if (!transparent_) canvas.FillRect(r);
    canvas.Brush.Style = bsClear;
    canvas.Font = Font();
    if (!Enabled()) canvas.Font.Color = clGrayText;
    if (layout_ != tlTop) {
        int height = MeasureText(Font(), Caption(), TextFlags(), r.Width()).cy;
        r.Top += layout_ == tlCenter ? (r.Height() - height) / 2 : r.Height() - height;
    }
    canvas.DrawText(Caption(), r, TextFlags());
}

}  // namespace rv
