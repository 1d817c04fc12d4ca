#pragma once

#include <functional>

#include "tree/option_set.h"
#include "tree/virtual_node.h"

namespace rv {

class TBaseVirtualTree;

// The values of the tree's appearance and behaviour properties.

enum class TVTButtonFillMode { fmTreeColor, fmWindowColor, fmShaded, fmTransparent };
using enum TVTButtonFillMode;

enum class TVTButtonStyle { bsRectangle, bsTriangle };
using enum TVTButtonStyle;

enum class TCheckImageKind {
    ckLightCheck,
    ckDarkCheck,
    ckLightTick,
    ckDarkTick,
    ckFlat,
    ckXP,
    ckCustom,
    ckSystem,
    ckSystemFlat,
};
using enum TCheckImageKind;

enum class TVTDragImageKind { diComplete, diMainColumnOnly, diNoImage };
using enum TVTDragImageKind;

enum class TDragOperation { doCopy, doMove, doLink };
using enum TDragOperation;
using TDragOperations = TSet<TDragOperation>;

enum class TVTDragType { dtOLE, dtVCL };
using enum TVTDragType;

enum class TVTDrawSelectionMode { smDottedRectangle, smBlendedRectangle };
using enum TVTDrawSelectionMode;

enum class TVTHintAnimationType { hatNone, hatFade, hatSlide, hatSystemDefault };
using enum TVTHintAnimationType;

enum class TVTHintMode { hmDefault, hmHint, hmHintAndDefault, hmTooltip };
using enum TVTHintMode;

enum class TVTIncrementalSearch { isAll, isNone, isInitializedOnly, isVisibleOnly };
using enum TVTIncrementalSearch;

enum class TVTSearchDirection { sdForward, sdBackward };
using enum TVTSearchDirection;

enum class TVTSearchStart { ssAlwaysStartOver, ssLastHit, ssFocusedNode };
using enum TVTSearchStart;

enum class TVTLineMode { lmNormal, lmBands };
using enum TVTLineMode;

enum class TVTLineStyle { lsCustomStyle, lsDotted, lsSolid };
using enum TVTLineStyle;

// What scrolling to new offsets does besides storing them.
enum class TScrollUpdateOption {
    suoRepaintHeader,      // the header follows a horizontal change
    suoRepaintScrollbars,  // the bars show the new position
    suoScrollClientArea,   // the client's pixels move instead of being painted anew
    suoUpdateNCArea,       // the frame is painted again
};
using enum TScrollUpdateOption;
using TScrollUpdateOptions = TSet<TScrollUpdateOption>;
inline constexpr TScrollUpdateOptions kDefaultScrollUpdate = {
    suoRepaintHeader, suoRepaintScrollbars, suoScrollClientArea, suoUpdateNCArea};

// The kinds of image OnGetImageIndex is asked for.
enum class TVTImageKind { ikNormal, ikSelected, ikState, ikOverlay };
using enum TVTImageKind;

using TVTGetImageIndexEvent =
    std::function<void(TBaseVirtualTree* sender, PVirtualNode node, TVTImageKind kind,
                       TColumnIndex column, bool& ghosted, int& index)>;
// Moving or copying `node` to `target` (nil: the root); Allowed starts true.
using TVTNodeMovingEvent = std::function<void(TBaseVirtualTree* sender, PVirtualNode node,
                                              PVirtualNode target, bool& allowed)>;

}  // namespace rv
