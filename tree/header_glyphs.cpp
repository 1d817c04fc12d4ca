#include "tree/header_glyphs.h"

#include <algorithm>

namespace rv {

namespace {

// The bar's rows from the top: light, full and dark orange.
constexpr TColor kHotBarRows[kHotBarHeight] = {RGB(255, 214, 110), RGB(248, 179, 48),
                                               RGB(229, 151, 0)};

void Pixel(TCanvas& canvas, int x, int y, TColor color) {
    canvas.Brush = TBrush{};
    canvas.Brush.Color = color;
    canvas.FillRect({x, y, x + 1, y + 1});
}

}  // namespace

void DrawHotBarPiece(TCanvas& canvas, int piece, int left, int bottom) {
    const int top = bottom - kHotBarHeight;
    for (int row = 0; row < kHotBarHeight; ++row) {
        int from = left, to = left + kHotBarPieceWidth;
        // The ends are rounded: their outer pixel shows only in the middle row.
        if (row != 1 && piece == 6) ++from;
        if (row != 1 && piece == 8) --to;
        canvas.Brush = TBrush{};
        canvas.Brush.Color = kHotBarRows[row];
        canvas.FillRect({from, top + row, to, top + row + 1});
    }
}

void DrawHotBar(TCanvas& canvas, const TRect& cell) {
    const int width = cell.Width();
    if (width <= 0) return;
    const int saved = canvas.SaveState();
    canvas.IntersectClipRect(cell);
    if (width <= 2 * kHotBarPieceWidth) {
        const int saveHalf = canvas.SaveState();
        canvas.IntersectClipRect({cell.Left, cell.Top, cell.Left + width / 2, cell.Bottom});
        DrawHotBarPiece(canvas, 6, cell.Left, cell.Bottom);
        canvas.RestoreState(saveHalf);
    } else {
        DrawHotBarPiece(canvas, 6, cell.Left, cell.Bottom);
        for (int x = cell.Left + kHotBarPieceWidth; x < cell.Right - kHotBarPieceWidth;
             x += kHotBarPieceWidth) {
            const int saveMiddle = canvas.SaveState();
            canvas.IntersectClipRect({x, cell.Top, cell.Right - kHotBarPieceWidth, cell.Bottom});
            DrawHotBarPiece(canvas, 7, x, cell.Bottom);
            canvas.RestoreState(saveMiddle);
        }
    }
    DrawHotBarPiece(canvas, 8, cell.Right - kHotBarPieceWidth, cell.Bottom);
    canvas.RestoreState(saved);
}

void DrawSortGlyph(TCanvas& canvas, const TRect& box, bool ascending, TColor color) {
    // Rows of odd widths, 9, 7, 5, 3, 1 pixels, centred in the box.
    const int rows = std::min(kSortGlyphHeight, box.Height());
    const int centre = box.Left + box.Width() / 2;
    const int top = box.Top + (box.Height() - rows) / 2;
    canvas.Brush = TBrush{};
    canvas.Brush.Color = color;
    for (int i = 0; i < rows; ++i) {
        const int half = ascending ? i : rows - 1 - i;
        canvas.FillRect({centre - half, top + i, centre + half + 1, top + i + 1});
    }
}

void DrawHeaderDropMark(TCanvas& canvas, const TRect& cell, bool left, TColor color) {
    const int x = left ? cell.Left : cell.Right - kDropMarkWidth;
    canvas.Brush = TBrush{};
    canvas.Brush.Color = color;
    canvas.FillRect({x, cell.Top, x + kDropMarkWidth, cell.Bottom});
    // Small arrow heads at both ends point into the cell.
    for (int i = 1; i <= 2; ++i) {
        const int px = x + (left ? kDropMarkWidth - 1 + i : -i);
        Pixel(canvas, px, cell.Top, color);
        Pixel(canvas, px, cell.Bottom - 1, color);
        if (i == 1) {
            Pixel(canvas, px, cell.Top + 1, color);
            Pixel(canvas, px, cell.Bottom - 2, color);
        }
    }
}

}  // namespace rv
