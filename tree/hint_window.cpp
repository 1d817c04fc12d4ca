#include "tree/hint_window.h"

#include <algorithm>

#include "platform/windows/popup_windows.h"
#include "platform/windows/screens.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"
#include "tree/draw_tree.h"

namespace rv {

namespace {

// How dark the shadow's strips make what lies below (alpha of black, of 255), from the
// outermost strip inwards.
constexpr int kShadowBlend[TVirtualTreeHintWindow::kDefaultShadowSize] = {5, 10, 20, 35, 50};

// The work area holding the point, else the first screen's.
TRect WorkAreaAt(TPoint p) {
    const std::vector<TRect> areas = ScreenWorkAreas();
    for (const TRect& area : areas)
        if (area.Contains(p)) return area;
    return areas.front();
}

}  // namespace

TVirtualTreeHintWindow::TVirtualTreeHintWindow(TComponent* owner) : TCustomControl(owner) {
    InitVisible(false);
    SetWindowPopup(Handle(), {.translucent = true, .ignoresInput = true});
}

bool TVirtualTreeHintWindow::Tooltip() const {
    return data_.Tree && data_.Node && data_.Tree->HintMode() == hmTooltip;
}

void TVirtualTreeHintWindow::PrepareCanvas(TCanvas& canvas) {
    if (Tooltip())
        data_.Tree->PrepareTooltipCanvas(canvas, data_.Node, data_.Column);
    else
        canvas.Font = TFont{};
    canvas.Font.Color = clInfoText;
}

TRect TVirtualTreeHintWindow::CalcHintRect(int maxWidth, const std::string& hint,
                                           TVTHintData& data) {
    data_ = data;
    text_ = data.DefaultHint.empty() ? hint : data.DefaultHint;
    multiline_ = false;
    TBaseVirtualTree* tree = data_.Tree;
    bidiMode_ = tree ? tree->CellBiDiMode(data_.Column) : bdLeftToRight;
    TBitmap measure(1, 1);
    TCanvas& canvas = measure.Canvas();
    PrepareCanvas(canvas);
    TRect r;
    if (Tooltip()) {
        PVirtualNode node = data_.Node;
        multiline_ = node->Has(nsMultiline);
        if (!multiline_) {
            r = tree->GetDisplayRect(node, data_.Column, true, true);
            if (tree->TreeOptions().PaintOptions().Contains(toShowHorzGridLines)) --r.Bottom;
        } else {
            r = tree->GetDisplayRect(node, data_.Column, false, true);
            TRect text = InflateRect(r, -tree->TextMargin(), 0);
            const int height =
                canvas.DrawText(text_, text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            ++r.Right;
            const TRect client = tree->ClientRect();
            const bool whole = r.Left >= client.Left && r.Top >= client.Top &&
                               r.Right <= client.Right + 1 && r.Bottom <= client.Bottom;
            if (int(tree->NodeHeight(node)) + 2 >= height && whole) return {};
            r.Bottom = r.Top + std::max(r.Height(), height);
        }
        r = InflateRect(r, 1, 1);
        r = OffsetRect(r, -r.Left, -r.Top);
    } else {
        TRect text{0, 0, std::max(1, maxWidth), 0};
        canvas.DrawText(text_, text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        const int margin = tree ? tree->TextMargin() : 4;
        r = {0, 0, text.Width() + 2 * margin + 2, text.Height() + 6};
    }
    if (auto* drawTree = dynamic_cast<TCustomVirtualDrawTree*>(tree)) {
        drawTree->DoGetHintSize(data_.Node, data_.Column, r);
        if (r.IsEmpty()) return {};
        r = {0, 0, r.Width(), r.Height()};
    }
    if (ShadowSize > 0) {
        r.Right += ShadowSize;
        r.Bottom += ShadowSize;
    }
    return r;
}

void TVirtualTreeHintWindow::ActivateHint(const TRect& r, const std::string& hint) {
    if (r.IsEmpty()) {
        HideHint();
        return;
    }
    HideHint();
    if (!hint.empty()) text_ = hint;
    // Moved back inside the work area: left or up where it sticks out at the right or the
    // bottom, but never past the left or top edge.
    const TRect area = WorkAreaAt({r.Left, r.Top});
    TRect b = r;
    if (b.Right > area.Right) b = OffsetRect(b, area.Right - b.Right, 0);
    if (b.Bottom > area.Bottom) b = OffsetRect(b, 0, area.Bottom - b.Bottom);
    if (b.Left < area.Left) b = OffsetRect(b, area.Left - b.Left, 0);
    if (b.Top < area.Top) b = OffsetRect(b, 0, area.Top - b.Top);
    bounds_ = b;
    steps_ = Animation == hatFade ? 255 : Animation == hatSlide ? b.Height() : 0;
    step_ = steps_ > 0 ? 1 : 0;
    SetWindowOpacity(Handle(), 1);
    ShowStep();
    SetVisible(true);
    if (steps_ > 0)
        SetTimer(Handle(), kAnimationTimer, kAnimationInterval);
    else
        Invalidate();
}

void TVirtualTreeHintWindow::HideHint() {
    KillTimer(Handle(), kAnimationTimer);
    steps_ = step_ = 0;
    SetVisible(false);
}

void TVirtualTreeHintWindow::FinishAnimation() {
    KillTimer(Handle(), kAnimationTimer);
    step_ = steps_;
    ShowStep();
}

// Fading: the window's opacity grows with the steps; sliding: the window grows downwards
// showing the bottom rows of the hint first.
void TVirtualTreeHintWindow::ShowStep() {
    const bool sliding = Animation == hatSlide && steps_ > 0;
    const int height = sliding ? std::max(1, step_) : bounds_.Height();
    SetBounds(bounds_.Left, bounds_.Top, bounds_.Width(), height);
    if (Animation == hatFade && steps_ > 0)
        SetWindowOpacity(Handle(), std::min(1.0, step_ * 256.0 / 255.0 / 255.0));
    Invalidate();
}

void TVirtualTreeHintWindow::WndProc(TMessage& m) {
    if (m.Msg == WM_TIMER && m.WParam == kAnimationTimer) {
        // The animation goes on only while the hint shows and the tree has not called it off.
        if (!Visible() || !data_.Tree || data_.Tree->TreeStates().Contains(tsCancelHintAnimation)) {
            FinishAnimation();
            return;
        }
        const unsigned time = Animation == hatFade ? 2 * AnimationDuration : AnimationDuration;
        const int advance = std::max(
            1, int((std::int64_t(steps_) * kAnimationInterval + time - 1) / std::max(1u, time)));
        step_ = std::min(steps_, step_ + advance);
        ShowStep();
        if (step_ >= steps_) KillTimer(Handle(), kAnimationTimer);
        return;
    }
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        return;
    }
    TCustomControl::WndProc(m);
}

void TVirtualTreeHintWindow::PaintText(TCanvas& c, const TRect& body) {
    c.Brush.Style = bsClear;
    const int margin = data_.Tree ? data_.Tree->TextMargin() : 4;
    TRect text = InflateRect(body, -(margin + 1), -1);
    unsigned flags = DT_NOPREFIX;
    if (Tooltip() && !multiline_)
        flags |= DT_SINGLELINE | DT_VCENTER;
    else
        flags |= DT_WORDBREAK;
    if (bidiMode_ != bdLeftToRight) flags |= DT_RIGHT | DT_RTLREADING;
    c.DrawText(text_, text, flags);
}

void TVirtualTreeHintWindow::Paint() {
    TCanvas& canvas = *Canvas();
    const int width = bounds_.Width(), height = bounds_.Height();
    const int shadow = std::clamp(ShadowSize, 0, kDefaultShadowSize);
    TBitmap picture(width, height, pf32bit, canvas.PixelRatio());
    TCanvas& c = picture.Canvas();
    const TRect body{0, 0, width - shadow, height - shadow};
    c.Brush.Color = clInfoBk;
    c.FillRect(body);
    c.Brush.Color = clBlack;
    c.FrameRect(body);
    c.Brush.Color = clInfoBk;
    PrepareCanvas(c);
    if (auto* drawTree = dynamic_cast<TCustomVirtualDrawTree*>(data_.Tree))
        drawTree->DoDrawHint(c, data_.Node, body, data_.Column);
    else
        PaintText(c, body);
    // The shadow: black of growing strength from the outer strip in, along the right and the
    // bottom edge, set off by its own width from the top and the left.
    for (int y = 0; y < picture.PixelHeight(); ++y) {
        std::uint8_t* p = picture.ScanLine(y);
        const int ly = int(y / picture.PixelRatio());
        for (int x = 0; x < picture.PixelWidth(); ++x, p += 4) {
            const int lx = int(x / picture.PixelRatio());
            if (lx < body.Right && ly < body.Bottom) continue;
            const int level = std::min(width - 1 - lx, height - 1 - ly);
            const bool inShadow = lx >= shadow && ly >= shadow && level < shadow;
            p[0] = p[1] = p[2] = 0;
            p[3] = std::uint8_t(inShadow ? kShadowBlend[level] : 0);
        }
    }
    // Sliding shows the bottom rows first.
    canvas.DrawAlpha(0, Height() - height, picture);
}

}  // namespace rv
