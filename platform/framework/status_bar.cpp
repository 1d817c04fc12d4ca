#include "platform/framework/status_bar.h"

#include <algorithm>

#include "platform/framework/internal/text_measure.h"

namespace rv {

namespace {

// Fields stand two pixels apart, each in a sunken edge of one pixel with its text two pixels
// inside it.
constexpr int kFieldGap = 2;
constexpr int kEdge = 1;
constexpr int kTextPadding = 2;

}  // namespace

void TStatusPanel::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    bar_->Invalidate();
}

void TStatusPanel::SetWidth(int width) {
    width_ = std::max(0, width);
    bar_->Invalidate();
}

void TStatusPanel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    bar_->Invalidate();
}

TStatusBar::TStatusBar(TComponent* owner) : TCustomControl(owner) {
    InitBounds(0, 0, 200, 19);
    InitAlign(alBottom);
}

TStatusPanel* TStatusBar::AddPanel() {
    panels_.push_back(std::unique_ptr<TStatusPanel>(new TStatusPanel(this)));
    Invalidate();
    return panels_.back().get();
}

TStatusPanel* TStatusBar::Panels(int index) const {
    return index >= 0 && index < PanelCount() ? panels_[size_t(index)].get() : nullptr;
}

TRect TStatusBar::PanelRect(int index) const {
    if (!Panels(index)) return {};
    TRect client = ClientRect();
    int left = 0;
    for (int i = 0; i < index && i < PanelCount(); ++i) left += panels_[size_t(i)]->width_;
    int right = index == PanelCount() - 1 ? client.Right : left + Panels(index)->width_;
    // Two pixels below the top edge.
    return {std::min(left, client.Right), 2,
            std::max(left, std::min(right, client.Right) - kFieldGap), client.Bottom};
}

int TStatusBar::PanelWidthFor(const std::string& text) const {
    return MeasureText(Font(), text, DT_SINGLELINE | DT_NOPREFIX).cx + 2 * (kEdge + kTextPadding) +
           kFieldGap;
}

void TStatusBar::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.Brush = TBrush{};
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
    canvas.Font = Font();
    for (int i = 0; i < PanelCount(); ++i) {
        const TStatusPanel& panel = *panels_[size_t(i)];
        TRect r = PanelRect(i);
        if (r.Width() <= 0) continue;
        canvas.DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        r = {r.Left + kTextPadding, r.Top, r.Right - kTextPadding, r.Bottom};
        unsigned align = panel.alignment_ == taCenter         ? DT_CENTER
                         : panel.alignment_ == taRightJustify ? DT_RIGHT
                                                              : DT_LEFT;
        canvas.Brush.Style = bsClear;
        canvas.DrawText(panel.text_, r,
                        DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | align);
        canvas.Brush.Style = bsSolid;
    }
}

}  // namespace rv
