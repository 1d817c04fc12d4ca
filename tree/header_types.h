#pragma once

#include <cstdint>
#include <functional>

#include "platform/framework/input_types.h"
#include "platform/graphics/text_flags.h"
#include "tree/option_set.h"
#include "tree/virtual_node.h"

namespace rv {

class TVTHeader;

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

using TVTHeaderClickEvent = std::function<void(
    TVTHeader* sender, TColumnIndex column, TMouseButton button, TShiftState shift, int x, int y)>;
using TVTHeaderNotifyEvent = std::function<void(TVTHeader* sender, TColumnIndex column)>;

}  // namespace rv
