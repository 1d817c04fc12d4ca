#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/graphics/canvas.h"
#include "platform/graphics/text_flags.h"
#include "tree/header_types.h"
#include "tree/virtual_node.h"

namespace rv {

class TBaseVirtualTree;

// The tree lines of one indentation level of a row.
enum class TVTLineType : std::uint8_t {
    ltNone,
    ltBottomRight,   // from the middle down, and to the right (first of several top-level nodes)
    ltTopDown,       // all the way through (an ancestor with siblings after it)
    ltTopDownRight,  // through, and to the right (a node with siblings after it)
    ltRight,         // to the right only (the only top-level node)
    ltTopRight,      // from the top to the middle, and to the right (the last sibling)
    ltLeft,          // bands: a line at the level's left edge
    ltLeftBottom,    // bands: the left edge and the bottom
};
using enum TVTLineType;
// One entry per indentation level of a row, the node's own level last.
using TLineImage = std::vector<TVTLineType>;

// What one run of PaintTree draws: bits of one byte.
enum TVTInternalPaintOption : std::uint8_t {
    poBackground = 1u << 0,     // the background picture
    poColumnColor = 1u << 1,    // cells in their column's colour
    poDrawFocusRect = 1u << 2,  //
    poDrawSelection = 1u << 3,  //
    poDrawDropMark = 1u << 4,   //
    poGridLines = 1u << 5,      //
    poMainOnly = 1u << 6,       // the main column alone
    poSelectedOnly = 1u << 7,   // selected rows alone (drag images)
};
using TVTInternalPaintOptions = std::uint8_t;
// Everything but the two restrictions: what the window paints.
inline constexpr TVTInternalPaintOptions kWindowPaintOptions =
    poBackground | poColumnColor | poDrawFocusRect | poDrawSelection | poDrawDropMark | poGridLines;

// The images of a cell, by entry.
enum TVTImageInfoIndex { iiNormal = 0, iiState = 1, iiCheck = 2 };

struct TVTImageInfo {
    int Index = -1;  // -1: none
    int XPos = 0;    // top-left corner in the row's coordinates
    int YPos = 0;
    bool Ghosted = false;
};

// What the painting steps of one cell share. Coordinates are the tree's (scrolling left out),
// with the row's top at 0.
struct TVTPaintInfo {
    TCanvas* Canvas = nullptr;
    TVTInternalPaintOptions PaintOptions = 0;
    PVirtualNode Node = nullptr;
    TColumnIndex Column = NoColumn;
    int Position = 0;  // the column's place in display order
    TRect CellRect;
    TRect ContentRect;  // the cell less Margin on the reading side, indentation and images
    int NodeWidth = 0;
    TAlignment Alignment = taLeftJustify;
    TBiDiMode BidiMode = bdLeftToRight;
    TPoint BrushOrigin;
    std::array<TVTImageInfo, 3> ImageInfo{};
};

// Fills `r` in one plain colour (the canvas's brush becomes that solid brush).
inline void FillSolid(TCanvas& canvas, const TRect& r, TColor color) {
    canvas.Brush = TBrush{};
    canvas.Brush.Color = color;
    canvas.FillRect(r);
}

// Where a dragged node would land relative to the drop target.
enum class TDropMode { dmNowhere, dmAbove, dmOnNode, dmBelow };
using enum TDropMode;

// What OnBeforeItemErase asks for: the colour it gave, the tree's own erasing, or nothing.
enum class TItemEraseAction { eaColor, eaDefault, eaNone };
using enum TItemEraseAction;

// Painting events; every rectangle is in the coordinates of the canvas they come with.
using TVTPaintEvent = std::function<void(TBaseVirtualTree* sender, TCanvas& canvas)>;
using TVTBackgroundPaintEvent =
    std::function<void(TBaseVirtualTree* sender, TCanvas& canvas, const TRect& r, bool& handled)>;
using TVTBeforeItemEraseEvent =
    std::function<void(TBaseVirtualTree* sender, TCanvas& canvas, PVirtualNode node,
                       const TRect& itemRect, TColor& itemColor, TItemEraseAction& eraseAction)>;
using TVTAfterItemEraseEvent = std::function<void(TBaseVirtualTree* sender, TCanvas& canvas,
                                                  PVirtualNode node, const TRect& itemRect)>;
using TVTBeforeItemPaintEvent =
    std::function<void(TBaseVirtualTree* sender, TCanvas& canvas, PVirtualNode node,
                       const TRect& itemRect, bool& customDraw)>;
using TVTAfterItemPaintEvent = std::function<void(TBaseVirtualTree* sender, TCanvas& canvas,
                                                  PVirtualNode node, const TRect& itemRect)>;
using TVTCellPaintEvent =
    std::function<void(TBaseVirtualTree* sender, TCanvas& canvas, PVirtualNode node,
                       TColumnIndex column, const TRect& cellRect)>;
// lsCustomStyle: the 8 × 8 pattern of the tree lines, one byte per row, bit 7 leftmost.
using TVTGetLineStyleEvent =
    std::function<void(TBaseVirtualTree* sender, std::array<std::uint8_t, 8>& pattern)>;
using TVTMeasureItemEvent = std::function<void(TBaseVirtualTree* sender, TCanvas& canvas,
                                               PVirtualNode node, int& nodeHeight)>;
using TVTGetCellIsEmptyEvent = std::function<void(TBaseVirtualTree* sender, PVirtualNode node,
                                                  TColumnIndex column, bool& isEmpty)>;

}  // namespace rv
