#include "tree/panning_marks.h"

#include <cmath>
#include <map>

#include "platform/graphics/bitmap.h"
#include "platform/windows/popup_windows.h"
#include "platform/windows/window_host.h"

namespace rv {

namespace {

// Cursor slots of the screen's cursor table, one per shape from here on.
constexpr TCursor kFirstPanningCursor = 110;

enum TArrows : unsigned { aUp = 1, aDown = 2, aLeft = 4, aRight = 8 };

unsigned ArrowsOf(TPanningShape shape) {
    switch (shape) {
        case psNS:
            return aUp | aDown;
        case psEW:
            return aLeft | aRight;
        case psAll:
            return aUp | aDown | aLeft | aRight;
        case psN:
            return aUp;
        case psS:
            return aDown;
        case psE:
            return aRight;
        case psW:
            return aLeft;
        case psNE:
            return aUp | aRight;
        case psSE:
            return aDown | aRight;
        case psNW:
            return aUp | aLeft;
        case psSW:
            return aDown | aLeft;
    }
    return 0;
}

void Fill(TCanvas& c, int left, int top, int right, int bottom, TColor color) {
    c.Brush = TBrush{};
    c.Brush.Color = color;
    c.FillRect({left, top, right, bottom});
}

// A disc of `radius` around the middle of the square, row by row.
void Disc(TCanvas& c, int x, int y, double radius, TColor color) {
    const double centre = kPanningMarkSize / 2.0;
    for (int row = 0; row < kPanningMarkSize; ++row) {
        const double dy = row + 0.5 - centre;
        if (std::abs(dy) >= radius) continue;
        const int half = int(std::lround(std::sqrt(radius * radius - dy * dy)));
        Fill(c, x + int(centre) - half, y + row, x + int(centre) + half, y + row + 1, color);
    }
}

}  // namespace

void DrawPanningShape(TCanvas& c, TPanningShape shape, int x, int y) {
    Fill(c, x, y, x + kPanningMarkSize, y + kPanningMarkSize, kPanningKeyColor);
    Disc(c, x, y, 14, RGB(64, 64, 64));
    Disc(c, x, y, 13, clWhite);
    Fill(c, x + 15, y + 15, x + 17, y + 17, clBlack);
    const unsigned arrows = ArrowsOf(shape);
    // Triangles of 1, 3, 5, 7 and 9 pixels pointing outwards from the middle.
    for (int i = 0; i < 5; ++i) {
        if (arrows & aUp) Fill(c, x + 15 - i, y + 5 + i, x + 17 + i, y + 6 + i, clBlack);
        if (arrows & aDown) Fill(c, x + 15 - i, y + 26 - i, x + 17 + i, y + 27 - i, clBlack);
        if (arrows & aLeft) Fill(c, x + 5 + i, y + 15 - i, x + 6 + i, y + 17 + i, clBlack);
        if (arrows & aRight) Fill(c, x + 26 - i, y + 15 - i, x + 27 - i, y + 17 + i, clBlack);
    }
}

TPanningShape PanningMarkShape(bool horizontal, bool vertical) {
    if (!horizontal) return psNS;
    if (!vertical) return psEW;
    return psAll;
}

TPanningShape PanningCursorShape(int dx, int dy, int deadZone, bool horizontal, bool vertical) {
    const bool up = vertical && dy < -deadZone, down = vertical && dy > deadZone;
    const bool left = horizontal && dx < -deadZone, right = horizontal && dx > deadZone;
    if (up) return right ? psNE : left ? psNW : psN;
    if (down) return right ? psSE : left ? psSW : psS;
    if (right) return psE;
    if (left) return psW;
    return PanningMarkShape(horizontal, vertical);
}

TCursor PanningCursor(TPanningShape shape) {
    static std::map<TPanningShape, TCursor> registered;
    const TCursor slot = kFirstPanningCursor + TCursor(shape);
    if (!registered.count(shape)) {
        TBitmap picture(kPanningMarkSize, kPanningMarkSize);
        DrawPanningShape(picture.Canvas(), shape, 0, 0);
        RegisterCursor(slot, picture, kPanningKeyColor, {16, 16});
        registered[shape] = slot;
    }
    return slot;
}

TPanningWindow::TPanningWindow(TPoint centre, TPanningShape shape) : shape_(shape) {
    window_ = CreateHostWindow([this](TMessage& m) { WindowProc(m); });
    SetWindowPopup(window_, {.translucent = false, .ignoresInput = true});
    TBitmap picture(kPanningMarkSize, kPanningMarkSize);
    DrawPanningShape(picture.Canvas(), shape, 0, 0);
    SetWindowShape(window_, picture, kPanningKeyColor);
    SetWindowBounds(window_,
                    Bounds(centre.X - kPanningMarkSize / 2, centre.Y - kPanningMarkSize / 2,
                           kPanningMarkSize, kPanningMarkSize));
    ShowWindow(window_, true);
}

TPanningWindow::~TPanningWindow() {
    DestroyHostWindow(window_);
}

void TPanningWindow::WindowProc(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        if (auto* canvas = reinterpret_cast<TCanvas*>(m.WParam))
            DrawPanningShape(*canvas, shape_, 0, 0);
        return;
    }
    DefHostWindowProc(window_, m);
}

}  // namespace rv
