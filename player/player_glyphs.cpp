#include "player/player_glyphs.h"

#include <array>

namespace rv {

namespace {

constexpr int kSize = 16;
constexpr TColor kBackground = RGB(255, 0, 255);
constexpr TColor kInk = RGB(32, 32, 32);
constexpr TColor kGreen = RGB(0, 128, 0);
constexpr TColor kRed = RGB(192, 0, 0);
constexpr TColor kPaper = RGB(255, 255, 255);
constexpr TColor kFolder = RGB(230, 190, 80);

void Box(TCanvas& c, TColor color, int left, int top, int right, int bottom) {
    c.Brush.Color = color;
    c.FillRect({left, top, right, bottom});
}

void Triangle(TCanvas& c, TColor color, std::array<TPoint, 3> points) {
    c.Pen.Color = color;
    c.Brush.Color = color;
    c.Polygon(points);
}

// A page with lines of text, its top-left corner at (x, y).
void Page(TCanvas& c, int x, int y) {
    c.Pen.Color = kInk;
    c.Brush.Color = kPaper;
    c.Rectangle(x, y, x + 10, y + 13);
    for (int line = y + 3; line < y + 11; line += 2) Box(c, kInk, x + 2, line, x + 8, line + 1);
}

// A plus or a minus in a small box at the lower right.
void Badge(TCanvas& c, TColor color, bool plus) {
    Box(c, color, 8, 11, 15, 14);
    if (plus) Box(c, color, 10, 9, 13, 16);
}

TBitmap Draw(TPlayerGlyph glyph, double ratio) {
    TBitmap picture(kSize, kSize, pf24bit, ratio);
    TCanvas& c = picture.Canvas();
    Box(c, kBackground, 0, 0, kSize, kSize);
    switch (glyph) {
        case TPlayerGlyph::Play:
            Triangle(c, kGreen, {{{4, 2}, {12, 8}, {4, 14}}});
            break;
        case TPlayerGlyph::Pause:
            Box(c, kInk, 4, 3, 7, 14);
            Box(c, kInk, 9, 3, 12, 14);
            break;
        case TPlayerGlyph::Stop:
            Box(c, kInk, 4, 4, 13, 13);
            break;
        case TPlayerGlyph::Previous:
            Box(c, kInk, 3, 3, 5, 14);
            Triangle(c, kInk, {{{12, 3}, {6, 8}, {12, 13}}});
            break;
        case TPlayerGlyph::Next:
            Triangle(c, kInk, {{{4, 3}, {10, 8}, {4, 13}}});
            Box(c, kInk, 11, 3, 13, 14);
            break;
        case TPlayerGlyph::Exit:
            // A door standing open, with the way out.
            c.Pen.Color = kInk;
            c.Brush.Color = kFolder;
            c.Rectangle(3, 2, 11, 15);
            Triangle(c, kInk, {{{9, 8}, {14, 4}, {14, 12}}});
            break;
        case TPlayerGlyph::AddFiles:
            Page(c, 2, 1);
            Badge(c, kGreen, true);
            break;
        case TPlayerGlyph::RemoveFile:
            Page(c, 2, 1);
            Badge(c, kRed, false);
            break;
        case TPlayerGlyph::ClearFiles:
            Page(c, 4, 2);
            Page(c, 2, 1);
            c.Pen.Color = kRed;
            c.Pen.Width = 2;
            c.MoveTo(8, 9);
            c.LineTo(14, 15);
            c.MoveTo(14, 9);
            c.LineTo(8, 15);
            break;
        case TPlayerGlyph::ShowHide:
            // A window with its title bar.
            c.Pen.Color = kInk;
            c.Brush.Color = kPaper;
            c.Rectangle(1, 2, 15, 14);
            Box(c, RGB(29, 56, 56), 2, 3, 14, 6);
            break;
        case TPlayerGlyph::AddToLibrary:
            // A disc going into the library.
            c.Pen.Color = kInk;
            c.Brush.Color = RGB(160, 230, 60);
            c.Ellipse({1, 1, 13, 13});
            c.Brush.Color = kInk;
            c.Ellipse({5, 5, 9, 9});
            Badge(c, kGreen, true);
            break;
    }
    return picture;
}

}  // namespace

TBitmap PlayerGlyph(TPlayerGlyph glyph) {
    return TBitmap::Drawn([glyph](double ratio) { return Draw(glyph, ratio); });
}

}  // namespace rv
