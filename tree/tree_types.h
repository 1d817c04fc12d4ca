#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "tree/option_set.h"
#include "tree/virtual_node.h"

namespace rv {

class TBaseVirtualTree;

// The tree's internal states. They change only through DoStateChange, which tells OnStateChange.
// The painting, mouse, keyboard, editing and drag parts of the tree use the rest.
enum class TVirtualTreeState {
    tsUpdating,
    tsChangePending,             // OnChange is due (update bracket or ChangeDelay)
    tsStructureChangePending,    // OnStructureChange is due
    tsImmediateNotification,     // change notifications ignore ChangeDelay
    tsAllChildrenHiddenRefresh,  // nodes were hidden inside an update bracket
    tsIterating,                 // nodes must not be deleted now
    tsCutPending,
    tsCopyPending,
    tsEditPending,
    tsEditing,
    tsMouseCheckPending,  // a check box was pressed with the mouse, waiting for its release
    tsKeyCheckPending,    // Space was pressed on a check box, waiting for its release
    tsIncrementalSearching,
    tsIncrementalSearchPending,
    tsStopValidation,
    tsUseCache,
    tsValidating,
    tsValidationNeeded,
    tsScrollPending,
    tsScrolling,
    tsThumbTracking,
    tsWheelPanning,
    tsWheelScrolling,
    tsUseThemes,
    tsFrameworkDragging,
    tsDrawSelecting,
    tsSizing,
    tsExpanding,   // FullExpand runs
    tsCollapsing,  // FullCollapse runs
    tsPainting,    // PaintTree runs
    tsLeftButtonDown,
    tsMiddleButtonDown,
    tsRightButtonDown,
    tsClearPending,            // a press keeps the selection until the release clears it
    tsToggleFocusedSelection,  // a Ctrl press flips the focused node's selection at the release
    tsDrawSelPending,          // a rubber band waits for the mouse to pass the drag threshold
    tsOLEDragPending,          // a drag starts once the mouse passes DragStartThreshold
    tsOLEDragging,
    tsVCLDragging,          // the framework's own drag, started by the tree
    tsPopupMenuShown,       // the tree's popup menu is open
    tsUserDragObject,       // OnStartDrag handed a drag object of its own
    tsClipboardFlushing,    // the clipboard's data of this tree are being rendered for good
    tsHint,                 // a hint of the tree is shown
    tsCancelHintAnimation,  // a hint's animation is to stop at its end
};
using enum TVirtualTreeState;
using TVirtualTreeStates = TSet<TVirtualTreeState, std::uint64_t>;

// What OnInitNode may ask for a node (bits of InitialStates).
enum TVirtualNodeInitState : std::uint8_t {
    ivsDisabled = 1u << 0,
    ivsExpanded = 1u << 1,
    ivsHasChildren = 1u << 2,
    ivsMultiline = 1u << 3,
    ivsSelected = 1u << 4,
};
using TVirtualNodeInitStates = std::uint8_t;

// The State of OnUpdating.
enum class TVTUpdateState : std::uint8_t { usBegin = 0, usUpdate = 3, usEnd = 4 };
using enum TVTUpdateState;

using TVTChangeEvent = std::function<void(TBaseVirtualTree* sender, PVirtualNode node)>;
using TVTStructureChangeEvent =
    std::function<void(TBaseVirtualTree* sender, PVirtualNode node, TChangeReason reason)>;
using TVTUpdatingEvent = std::function<void(TBaseVirtualTree* sender, TVTUpdateState state)>;
using TVTStateChangeEvent = std::function<void(TBaseVirtualTree* sender, TVirtualTreeStates enter,
                                               TVirtualTreeStates leave)>;
using TVTInitNodeEvent =
    std::function<void(TBaseVirtualTree* sender, PVirtualNode parentNode, PVirtualNode node,
                       TVirtualNodeInitStates& initialStates)>;
using TVTInitChildrenEvent =
    std::function<void(TBaseVirtualTree* sender, PVirtualNode node, std::uint32_t& childCount)>;
using TVTFreeNodeEvent = std::function<void(TBaseVirtualTree* sender, PVirtualNode node)>;
using TVTCompareEvent = std::function<void(TBaseVirtualTree* sender, PVirtualNode node1,
                                           PVirtualNode node2, TColumnIndex column, int& result)>;
using TVTExpandingEvent =
    std::function<void(TBaseVirtualTree* sender, PVirtualNode node, bool& allowed)>;
using TVTFocusChangingEvent =
    std::function<void(TBaseVirtualTree* sender, PVirtualNode oldNode, PVirtualNode newNode,
                       TColumnIndex oldColumn, TColumnIndex newColumn, bool& allowed)>;
using TVTFocusChangeEvent =
    std::function<void(TBaseVirtualTree* sender, PVirtualNode node, TColumnIndex column)>;
using TVTCheckChangingEvent = std::function<void(TBaseVirtualTree* sender, PVirtualNode node,
                                                 TCheckState& newState, bool& allowed)>;
using TVTGetNodeDataSizeEvent = std::function<void(TBaseVirtualTree* sender, int& nodeDataSize)>;

}  // namespace rv
