#include "platform/framework/group_box.h"

#include "platform/framework/internal/text_measure.h"

namespace rv {

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
    InitBounds(0, 0, 185, 105);
    ControlStyle |= csAcceptsControls;
    SetParentColor(true);
}

void TGroupBox::AdjustClientRect(TRect& rect) const {
    int textHeight = MeasureText(Font(), "0", DT_SINGLELINE).cy;
    rect = {rect.Left + 2, rect.Top + textHeight, rect.Right - 2, rect.Bottom - 2};
}

void TGroupBox::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.Font = Font();
    canvas.Brush = TBrush{};
    canvas.Brush.Color = Color();
    TRect all = ClientRect();
    canvas.FillRect(all);
    int textHeight = canvas.TextHeight("0");
    // The etched frame starts half a line down, so that the caption sits in its top line.
    TRect frame{all.Left, all.Top + textHeight / 2, all.Right, all.Bottom};
    canvas.DrawEdge(frame, EDGE_ETCHED, BF_RECT);
    if (Caption().empty()) return;
    TRect text{8, 0, all.Right - 8, textHeight};
    canvas.DrawText(Caption(), text, DT_SINGLELINE | DT_CALCRECT);
    text = {text.Left - 1, text.Top, text.Right + 1, text.Bottom};
    canvas.FillRect(text);
    if (!Enabled()) canvas.Font.Color = clGrayText;
    canvas.Brush.Style = bsClear;
    canvas.DrawText(Caption(), text, DT_SINGLELINE | DT_CENTER);
}

}  // namespace rv
