#pragma once

#include <cstdint>
#include <functional>

#include "platform/framework/input_types.h"
#include "platform/graphics/geometry.h"
#include "platform/graphics/text_flags.h"
#include "platform/windows/cursors.h"
#include "tree/option_set.h"
#include "tree/virtual_node.h"

namespace rv {

class TCanvas;
class TVTHeader;
class TVirtualTreeColumn;

// Reading order of a column's text, as the framework's controls have it.
enum class TBiDiMode {
    bdLeftToRight,
    bdRightToLeft,
    bdRightToLeftNoAlign,
    bdRightToLeftReadingOnly
};
using enum TBiDiMode;

enum class TVTColumnOption {
    coAllowClick,
    coDraggable,
    coEnabled,
    coParentBidiMode,
    coParentColor,
    coResizable,
    coShowDropMark,
    coVisible,
    coAutoSpring,
};
using enum TVTColumnOption;
using TVTColumnOptions = TSet<TVTColumnOption>;

inline constexpr TVTColumnOptions kDefaultColumnOptions = {
    coAllowClick,  coDraggable, coEnabled,      coParentBidiMode,
    coParentColor, coResizable, coShowDropMark, coVisible};

// Where a column's image sits beside its caption.
enum class TVTHeaderColumnLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using enum TVTHeaderColumnLayout;

// vsOwnerDraw leaves the column's face to the application.
enum class TVirtualTreeColumnStyle { vsText, vsOwnerDraw };
using enum TVirtualTreeColumnStyle;

enum class TVTHeaderOption {
    hoAutoResize,
    hoColumnResize,
    hoDblClickResize,
    hoDrag,
    hoHotTrack,
    hoOwnerDraw,
    hoRestrictDrag,
    hoShowHint,
    hoShowImages,
    hoShowSortGlyphs,
    hoVisible,
    hoAutoSpring,
};
using enum TVTHeaderOption;
using TVTHeaderOptions = TSet<TVTHeaderOption>;

enum class TVTHeaderStyle { hsThickButtons, hsFlatButtons, hsPlates, hsXPStyle };
using enum TVTHeaderStyle;

// What the header is busy with.
enum class THeaderState {
    hdDragging,      // a column is dragged to a new position
    hdDragPending,   // the mouse went down on a draggable column
    hdTracking,      // a column is resized with the splitter
    hdTrackPending,  // the mouse went down on a splitter
    hdLoading,       // columns are being read (stream or form)
    hdResizing,      // the header sizes columns itself: no automatic sizing meanwhile
};
using enum THeaderState;
using THeaderStates = TSet<THeaderState>;

// Where a dragged column would land beside the cell a mark is drawn in.
enum class TVTDropMarkMode { dmmNone, dmmLeft, dmmRight };
using enum TVTDropMarkMode;

using TVTHeaderClickEvent = std::function<void(
    TVTHeader* sender, TColumnIndex column, TMouseButton button, TShiftState shift, int x, int y)>;
using TVTHeaderNotifyEvent = std::function<void(TVTHeader* sender, TColumnIndex column)>;

// The header's mouse: coordinates are the tree's client X and the pixels below the header's top.
using TVTHeaderMouseEvent =
    std::function<void(TVTHeader* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TVTHeaderMouseMoveEvent =
    std::function<void(TVTHeader* sender, TShiftState shift, int x, int y)>;
// Whether a column may be dragged (Allowed starts true).
using TVTHeaderDraggingEvent =
    std::function<void(TVTHeader* sender, TColumnIndex column, bool& allowed)>;
using TVTHeaderDraggedEvent =
    std::function<void(TVTHeader* sender, TColumnIndex column, int oldPosition)>;
// A column was dropped outside the tree, at a screen point.
using TVTHeaderDraggedOutEvent =
    std::function<void(TVTHeader* sender, TColumnIndex column, TPoint dropPosition)>;
using TVTGetHeaderCursorEvent = std::function<void(TVTHeader* sender, TCursor& cursor)>;
// A column of style vsOwnerDraw under hoOwnerDraw: the handler paints the whole cell `r`.
using TVTHeaderPaintEvent =
    std::function<void(TVTHeader* sender, TCanvas& canvas, TVirtualTreeColumn& column,
                       const TRect& r, bool hover, bool pressed, TVTDropMarkMode dropMark)>;

// The parts of a header cell under hoOwnerDraw that the application may draw itself.
enum class THeaderPaintElement {
    hpeBackground,
    hpeDropMark,
    hpeHeaderGlyph,
    hpeSortGlyph,
    hpeText
};
using enum THeaderPaintElement;
using THeaderPaintElements = TSet<THeaderPaintElement>;

// A header cell as the header lays it out, for the application's drawing of its parts. Column is
// nil for the space right of the last column, which has a background only.
struct THeaderPaintInfo {
    TCanvas* TargetCanvas = nullptr;
    TVirtualTreeColumn* Column = nullptr;
    TRect PaintRectangle;  // the cell
    TRect TextRectangle;   // where the caption goes (empty without one)
    bool IsHoverIndex = false;
    bool IsDownIndex = false;
    bool IsEnabled = true;
    bool ShowHeaderGlyph = false;
    bool ShowSortGlyph = false;
    TVTDropMarkMode DropMark = dmmNone;
    TRect GlyphRectangle;      // the column's image (empty without one)
    TRect SortGlyphRectangle;  // the sort arrow (empty without one)
};
// Which parts of the cell the application draws itself (Elements starts empty).
using TVTHeaderPaintQueryElementsEvent = std::function<void(
    TVTHeader* sender, THeaderPaintInfo& paintInfo, THeaderPaintElements& elements)>;
// Draws the parts asked for: first the background alone, then the rest over the header's own.
using TVTAdvancedHeaderPaintEvent = std::function<void(
    TVTHeader* sender, THeaderPaintInfo& paintInfo, THeaderPaintElements elements)>;

}  // namespace rv
