#include "app/tool_bar_glyphs.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace rv {
namespace {

constexpr int kCell = 16;
constexpr TColor kKey = RGB(255, 0, 255);
constexpr TColor kInk = RGB(32, 32, 32);
constexpr TColor kPaper = RGB(255, 255, 255);
constexpr TColor kFolder = RGB(230, 190, 80);
constexpr TColor kFolderFront = RGB(245, 215, 120);
constexpr TColor kDisk = RGB(40, 70, 140);
constexpr TColor kSilver = RGB(192, 192, 192);
constexpr TColor kLens = RGB(200, 230, 250);
constexpr TColor kGreen = RGB(0, 140, 0);
constexpr TColor kTeal = RGB(29, 56, 56);

void Shape(TCanvas& c, TColor edge, TColor fill, std::span<const TPoint> points) {
    c.Pen = TPen{};
    c.Pen.Color = edge;
    c.Brush = TBrush{};
    c.Brush.Color = fill;
    c.Polygon(points);
}

void Box(TCanvas& c, TColor color, const TRect& r) {
    c.Brush = TBrush{};
    c.Brush.Color = color;
    c.FillRect(r);
}

void Round(TCanvas& c, TColor edge, TColor fill, const TRect& r, int penWidth = 1) {
    c.Pen = TPen{};
    c.Pen.Color = edge;
    c.Pen.Width = penWidth;
    c.Brush = TBrush{};
    c.Brush.Color = fill;
    c.Ellipse(r);
    c.Pen.Width = 1;
}

void DrawNew(TCanvas& c) {
    const TPoint page[] = {{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}};
    Shape(c, kInk, kPaper, page);
    const TPoint fold[] = {{10, 1}, {10, 4}, {13, 4}};
    Shape(c, kInk, kSilver, fold);
}

void DrawOpen(TCanvas& c) {
    const TPoint back[] = {{1, 3}, {5, 3}, {6, 4}, {12, 4}, {12, 13}, {1, 13}};
    Shape(c, kInk, kFolder, back);
    const TPoint front[] = {{1, 13}, {4, 7}, {14, 7}, {11, 13}};
    Shape(c, kInk, kFolderFront, front);
}

void DrawSave(TCanvas& c) {
    const TPoint body[] = {{1, 1}, {12, 1}, {14, 3}, {14, 14}, {1, 14}};
    Shape(c, kInk, kDisk, body);
    Box(c, kPaper, {4, 2, 11, 7});
    Box(c, kSilver, {5, 10, 11, 14});
    Box(c, kInk, {6, 11, 8, 13});
}

void DrawScan(TCanvas& c) {
    c.Pen = TPen{};
    c.Pen.Color = kInk;
    c.Pen.Width = 3;
    c.MoveTo(10, 10);
    c.LineTo(13, 13);
    Round(c, kInk, kLens, {1, 1, 12, 12}, 2);
}

void DrawPreferences(TCanvas& c) {
    // Three sliders, their knobs at different places.
    const int rows[] = {3, 8, 12}, knobs[] = {10, 5, 8};
    for (int i = 0; i < 3; ++i) {
        Box(c, kInk, {2, rows[i], 14, rows[i] + 1});
        Round(c, kInk, kGreen, Bounds(knobs[i] - 2, rows[i] - 2, 5, 5));
    }
}

void DrawExit(TCanvas& c) {
    // An open door with the way out.
    c.Pen = TPen{};
    c.Pen.Color = kInk;
    c.Brush = TBrush{};
    c.Brush.Color = kTeal;
    c.Rectangle(2, 1, 10, 15);
    const TPoint leaf[] = {{2, 1}, {6, 3}, {6, 15}, {2, 14}};
    Shape(c, kInk, kFolder, leaf);
    Box(c, kGreen, {7, 7, 11, 9});
    const TPoint head[] = {{10, 4}, {14, 8}, {10, 12}};
    Shape(c, kGreen, kGreen, head);
}

void DrawPlayer(TCanvas& c) {
    Round(c, kInk, kGreen, {1, 1, 15, 15});
    const TPoint play[] = {{6, 4}, {11, 8}, {6, 12}};
    Shape(c, kPaper, kPaper, play);
}

bool Dark(TColor c) {
    return c != kKey && GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11 < 160 * 100;
}

// The disabled cell from the first one: its dark pixels in grey over a white shadow one logical
// pixel to the lower right; light pixels are left out. Device pixels, so it is as fine as the
// picture.
void Emboss(TBitmap& strip) {
    const double ratio = strip.PixelRatio();
    const int cell = int(std::lround(kCell * ratio));
    const int shift = std::max(1, int(std::lround(ratio)));
    const int height = strip.PixelHeight();
    for (TColor shade : {clWhite, clGray})
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < cell; ++x) {
                if (!Dark(strip.Pixel(x, y))) continue;
                const int to = shade == clWhite ? shift : 0;
                if (x + to < cell && y + to < height) strip.SetPixel(cell + x + to, y + to, shade);
            }
}

TBitmap Draw(TToolBarGlyph glyph, double ratio) {
    TBitmap strip(2 * kCell, kCell, pf24bit, ratio);
    TCanvas& c = strip.Canvas();
    Box(c, kKey, {0, 0, 2 * kCell, kCell});
    switch (glyph) {
        case TToolBarGlyph::New:
            DrawNew(c);
            break;
        case TToolBarGlyph::Open:
            DrawOpen(c);
            break;
        case TToolBarGlyph::Save:
            DrawSave(c);
            break;
        case TToolBarGlyph::Scan:
            DrawScan(c);
            break;
        case TToolBarGlyph::Preferences:
            DrawPreferences(c);
            break;
        case TToolBarGlyph::Exit:
            DrawExit(c);
            break;
        case TToolBarGlyph::Player:
            DrawPlayer(c);
            break;
    }
    Emboss(strip);
    return strip;
}

}  // namespace

TBitmap ToolBarGlyph(TToolBarGlyph glyph) {
    return TBitmap::Drawn([glyph](double ratio) { return Draw(glyph, ratio); });
}

}  // namespace rv
