// Our own pictures for the predefined button kinds: two cells each, the normal picture and a
// greyed, embossed one for the disabled button, on the transparent colour.

#include <cmath>
#include <functional>
#include <string_view>

#include "widgets/lb_paint.h"

namespace rv {
namespace {

using Shape = std::function<void(TCanvas& c, int x, TColor ink, TColor accent)>;

void Stroke(TCanvas& c, TColor color, int width, std::initializer_list<TPoint> points, int x) {
    c.Pen = TPen{};
    c.Pen.Color = color;
    c.Pen.Width = width;
    auto it = points.begin();
    c.MoveTo(it->X + x, it->Y);
    for (++it; it != points.end(); ++it) c.LineTo(it->X + x, it->Y);
    c.Pen.Width = 1;
}

// A fresh brush and pen for a filled shape.
void FillAndEdge(TCanvas& c, TColor fill, TColor edge) {
    c.Brush = TBrush{};
    c.Brush.Color = fill;
    c.Pen = TPen{};
    c.Pen.Color = edge;
}

void Disc(TCanvas& c, TColor fill, TColor edge, TRect r) {
    FillAndEdge(c, fill, edge);
    c.Ellipse(r);
}

void Check(TCanvas& c, int x, TColor ink, TColor) {
    Stroke(c, ink, 3, {{3, 9}, {7, 13}, {14, 4}}, x);
}

void Cross(TCanvas& c, int x, TColor ink, TColor) {
    Stroke(c, ink, 3, {{4, 4}, {13, 13}}, x);
    Stroke(c, ink, 3, {{13, 4}, {4, 13}}, x);
}

void Help(TCanvas& c, int x, TColor ink, TColor accent) {
    Disc(c, accent, ink, Bounds(x + 1, 1, 16, 16));
    Stroke(c, clWhite, 2, {{6, 6}, {7, 4}, {11, 4}, {12, 6}, {9, 9}, {9, 11}}, x);
    c.Brush = TBrush{};
    c.Brush.Color = clWhite;
    c.FillRect(Bounds(x + 8, 13, 2, 2));
}

void No(TCanvas& c, int x, TColor ink, TColor) {
    c.Brush.Style = bsClear;
    c.Pen = TPen{};
    c.Pen.Color = ink;
    c.Pen.Width = 2;
    c.Ellipse(Bounds(x + 2, 2, 14, 14));
    c.Pen.Width = 1;
    Stroke(c, ink, 2, {{5, 5}, {13, 13}}, x);
}

void Close(TCanvas& c, int x, TColor ink, TColor accent) {
    FillAndEdge(c, accent, ink);
    c.Rectangle(x + 2, 2, x + 16, 16);
    Stroke(c, ink, 2, {{6, 6}, {12, 12}}, x);
    Stroke(c, ink, 2, {{12, 6}, {6, 12}}, x);
}

void Abort(TCanvas& c, int x, TColor ink, TColor) {
    const TPoint stop[] = {{x + 6, 1},   {x + 12, 1}, {x + 17, 6}, {x + 17, 12},
                           {x + 12, 17}, {x + 6, 17}, {x + 1, 12}, {x + 1, 6}};
    c.Brush = TBrush{};
    c.Brush.Color = ink;
    c.Pen = TPen{};
    c.Pen.Style = psClear;
    c.Polygon(stop);
    c.Brush.Color = clWhite;
    c.FillRect(Bounds(x + 4, 8, 10, 3));
}

void Retry(TCanvas& c, int x, TColor ink, TColor) {
    Stroke(c, ink, 2, {{13, 5}, {10, 3}, {6, 3}, {3, 6}, {3, 11}, {6, 14}, {11, 14}, {14, 11}}, x);
    const TPoint head[] = {{x + 11, 1}, {x + 16, 5}, {x + 10, 8}};
    FillAndEdge(c, ink, ink);
    c.Polygon(head);
}

void Ignore(TCanvas& c, int x, TColor ink, TColor) {
    Stroke(c, ink, 2, {{2, 9}, {14, 9}}, x);
    const TPoint head[] = {{x + 10, 4}, {x + 16, 9}, {x + 10, 14}};
    FillAndEdge(c, ink, ink);
    c.Polygon(head);
}

void All(TCanvas& c, int x, TColor ink, TColor) {
    Stroke(c, ink, 2, {{1, 8}, {4, 11}, {9, 4}}, x);
    Stroke(c, ink, 2, {{7, 12}, {10, 15}, {16, 6}}, x);
}

struct Kind {
    const char* name;
    Shape shape;
    TColor ink;
    TColor accent;
};

const Kind kKinds[] = {
    {"LBOK", Check, RGB(0, 128, 0), clNone},
    {"LBCANCEL", Cross, RGB(192, 0, 0), clNone},
    {"LBHELP", Help, RGB(0, 0, 128), RGB(0, 64, 192)},
    {"LBYES", Check, RGB(0, 160, 0), clNone},
    {"LBNO", No, RGB(192, 0, 0), clNone},
    {"LBCLOSE", Close, RGB(96, 0, 0), RGB(255, 224, 192)},
    {"LBABORT", Abort, RGB(200, 0, 0), clNone},
    {"LBRETRY", Retry, RGB(0, 112, 0), clNone},
    {"LBIGNORE", Ignore, RGB(0, 64, 160), clNone},
    {"LBALL", All, RGB(0, 128, 0), clNone},
};

// The 5 x 3 arrow of a button with a pop-up menu: every device pixel whose centre lies in the
// triangle from the top corners to the middle of the bottom edge, which at 100 % makes rows of
// 5, 3 and 1 pixels.
TBitmap PopupArrow(double ratio) {
    TBitmap arrow(5, 3, pf24bit, ratio);
    TCanvas& c = arrow.Canvas();
    c.Brush.Color = kLbTransparent;
    c.FillRect({0, 0, 5, 3});
    for (int y = 0; y < arrow.PixelHeight(); ++y) {
        const double half = 2.5 * (1 - (y + 0.5) / ratio / 3);  // at the row's centre
        for (int x = 0; x < arrow.PixelWidth(); ++x)
            if (std::abs((x + 0.5) / ratio - 2.5) < half) arrow.SetPixel(x, y, clBlack);
    }
    return arrow;
}

// Two cells: the kind's picture, and an embossed grey one for the disabled button.
TBitmap KindPicture(const Kind& kind, double ratio) {
    const int height = std::string_view(kind.name) == "LBALL" ? 19 : 18;
    TBitmap picture(36, height, pf24bit, ratio);
    TCanvas& c = picture.Canvas();
    c.Brush.Color = kLbTransparent;
    c.FillRect({0, 0, 36, height});
    kind.shape(c, 0, kind.ink, kind.accent == clNone ? kind.ink : kind.accent);
    c.SaveState();
    c.MoveOrigin(1, 1);
    kind.shape(c, 18, clWhite, clWhite);
    c.RestoreState();
    kind.shape(c, 18, clGray, clGray);
    return picture;
}

}  // namespace

TBitmap LoadLbBitmap(const std::string& name) {
    if (name == "LBARROW") return TBitmap::Drawn(PopupArrow);
    for (const Kind& kind : kKinds)
        if (name == kind.name)
            return TBitmap::Drawn([&kind](double ratio) { return KindPicture(kind, ratio); });
    return TBitmap();
}

}  // namespace rv
