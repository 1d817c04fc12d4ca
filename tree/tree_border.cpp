// The tree's frame: the border by BorderStyle, the bevel and the band of BorderWidth inside it,
// the themed border, and the strip the header takes.

#include "platform/windows/theme_services.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"

namespace rv {

unsigned TBorderDecoration::EdgeType() const {
    const unsigned inner = Inner == bvLowered  ? BDR_SUNKENINNER
                           : Inner == bvRaised ? BDR_RAISEDINNER
                                               : 0u;
    const unsigned outer = Outer == bvLowered  ? BDR_SUNKENOUTER
                           : Outer == bvRaised ? BDR_RAISEDOUTER
                                               : 0u;
    return inner | outer;
}

unsigned TBorderDecoration::EdgeFlags() const {
    unsigned flags = Edges.ToBits();  // beLeft … beBottom are BF_LEFT … BF_BOTTOM
    if (Kind == bkSoft) flags |= BF_SOFT;
    if (Kind == bkFlat) flags |= BF_FLAT;
    if (!Ctl3D) flags |= BF_MONO;
    return flags;
}

void TBaseVirtualTree::SetBorderDecoration(const TBorderDecoration& value) {
    border_ = value;
    UpdateFrame();
    InvalidateWindow(Handle());
}

int TBaseVirtualTree::BorderDimension() const {
    if (borderStyle_ != bsSingle) return 0;
    return border_.Ctl3D ? 2 : 1;  // the client edge, or a plain line
}

int TBaseVirtualTree::FrameWidth() const {
    return BorderDimension() + border_.BorderWidth +
           (border_.Kind != bkNone ? border_.BevelSize() : 0);
}

void TBaseVirtualTree::PaintBorderDecoration(TCanvas& canvas) {
    if (border_.Kind == bkNone && border_.BorderWidth == 0) return;
    const int dimension = BorderDimension();
    TRect outer = InflateRect({0, 0, Width(), Height()}, -dimension, -dimension);
    const TRect fill = outer;
    const int saved = canvas.SaveState();
    if (border_.Kind != bkNone) {
        TRect edge = outer;
        canvas.DrawEdge(edge, border_.EdgeType(), border_.EdgeFlags());
        const int size = border_.BevelSize();
        if (border_.Edges.Contains(beLeft)) outer.Left += size;
        if (border_.Edges.Contains(beTop)) outer.Top += size;
        if (border_.Edges.Contains(beRight)) outer.Right -= size;
        if (border_.Edges.Contains(beBottom)) outer.Bottom -= size;
    }
    canvas.IntersectClipRect(outer);
    canvas.ExcludeClipRect(InflateRect(outer, -border_.BorderWidth, -border_.BorderWidth));
    FillSolid(canvas, fill, colors_.Get(TVTColors::BorderColor));
    canvas.RestoreState(saved);
}

TRect TBaseVirtualTree::HeaderRect() const {
    const int dimension = BorderDimension();
    TRect r = InflateRect({0, 0, Width(), Height()}, -dimension, -dimension);
    int offsetX = border_.BorderWidth, offsetY = border_.BorderWidth;
    if (border_.Kind != bkNone) {
        if (border_.Edges.Contains(beLeft)) offsetX += border_.BevelSize();
        if (border_.Edges.Contains(beTop)) offsetY += border_.BevelSize();
    }
    r = InflateRect(r, -offsetX, -offsetY);
    // A vertical bar at the left takes the strip's start, as it does the client's: the columns
    // stay above their cells.
    if (HasLeftScrollBar(Handle()) && IsScrollBarVisible(Handle(), SB_VERT))
        r.Left += GetSystemScrollBarSize();
    if (!header_.Options().Contains(hoVisible))
        r.Bottom = r.Top;
    else if (r.Left <= r.Right)
        r.Bottom = r.Top + header_.Height();
    else
        r = {};
    return r;
}

// The border by its style (themed while the tree draws themed), the header strip, then the
// decoration.
void TBaseVirtualTree::PaintNonClientArea(TCanvas& canvas) {
    TRect window{0, 0, Width(), Height()};
    if (BorderDimension() == 2) {
        if (states_.Contains(tsUseThemes))
            ThemeServices().PaintBorder(canvas, window, true);
        else
            canvas.DrawEdge(window, EDGE_SUNKEN, BF_RECT);
    } else if (BorderDimension() == 1) {
        canvas.Brush = TBrush{};
        canvas.Brush.Color = clWindowFrame;
        canvas.FrameRect(window);
    }
    if (header_.Options().Contains(hoVisible)) PaintHeader(canvas, HeaderRect());
    PaintBorderDecoration(canvas);
}

}  // namespace rv
