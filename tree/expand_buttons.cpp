#include "tree/expand_buttons.h"

#include "tree/paint_types.h"

namespace rv {
namespace {

// Top to bottom from white to a light grey, one colour per row.
void FillShaded(TCanvas& c, const TRect& r) {
    for (int y = r.Top; y < r.Bottom; ++y) {
        const double f = r.Height() > 1 ? double(y - r.Top) / (r.Height() - 1) : 0;
        FillSolid(c, {r.Left, y, r.Right, y + 1}, BlendColors(clWhite, RGB(0xC6, 0xC2, 0xB2), f));
    }
}

}  // namespace

void MakeExpandButton(TBitmap& button, bool plus, const TExpandButtonLook& look,
                      double pixelRatio) {
    const int n = kExpandButtonSize;
    button = TBitmap(n, n, pf24bit, pixelRatio);
    button.Transparent = true;
    button.SetTransparentColor(kButtonTransparentColor);
    TCanvas& c = button.Canvas();
    const TRect all{0, 0, n, n};
    FillSolid(c, all, kButtonTransparentColor);
    if (look.Style == bsTriangle) {
        c.Pen = TPen{clBlack};
        c.Brush = TBrush{};
        c.Brush.Color = clBlack;
        if (plus) {
            const TPoint right[] = {{2, 0}, {6, 4}, {2, 8}};
            c.Polygon(right);
        } else {
            const TPoint down[] = {{0, 2}, {8, 2}, {4, 6}};
            c.Polygon(down);
        }
        return;
    }
    const TRect inside = InflateRect(all, -1, -1);
    switch (look.FillMode) {
        case fmTreeColor:
            FillSolid(c, inside, look.TreeColor);
            break;
        case fmWindowColor:
            FillSolid(c, inside, clWindow);
            break;
        case fmShaded:
            FillShaded(c, inside);
            break;
        case fmTransparent:
            break;
    }
    c.Brush = TBrush{};
    c.Brush.Color = look.FillMode == fmShaded ? RGB(0x7A, 0x92, 0xA8) : look.LineColor;
    c.FrameRect(all);
    const TColor sign = look.FillMode == fmShaded ? clBlack : look.SignColor;
    FillSolid(c, {2, n / 2, n - 2, n / 2 + 1}, sign);
    if (plus) FillSolid(c, {n / 2, 2, n / 2 + 1, n - 2}, sign);
}

}  // namespace rv
