#pragma once

#include "platform/graphics/canvas.h"

namespace rv {

// Small pictures of the header drawn by our own code, in whole logical pixels so that they stay
// crisp at any scale.

// The hot-tracking bar of the XP look, 3 pixels high along the bottom of a cell, built from
// 16-pixel pieces as the utility images have them: a rounded left end (piece 6), a middle that
// repeats (7) and a rounded right end (8). A cell of 32 pixels or less gets the left end cut to
// half its width and the right end at its right edge.
inline constexpr int kHotBarPieceWidth = 16;
inline constexpr int kHotBarHeight = 3;
void DrawHotBarPiece(TCanvas& canvas, int piece, int left, int bottom);
void DrawHotBar(TCanvas& canvas, const TRect& cell);

// The sort arrow: a triangle with its point up (ascending) or down, `box` wide and high.
inline constexpr int kSortGlyphWidth = 9;
inline constexpr int kSortGlyphHeight = 5;
void DrawSortGlyph(TCanvas& canvas, const TRect& box, bool ascending, TColor color);

// The mark where a dragged column would land: a bar along the left or right edge of the cell.
inline constexpr int kDropMarkWidth = 2;
void DrawHeaderDropMark(TCanvas& canvas, const TRect& cell, bool left, TColor color);

}  // namespace rv
