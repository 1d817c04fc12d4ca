#pragma once
// What the tree's input handling works with: where a point lies on the tree (hit information),
// the drag settings, the item query record and the events of keys, mouse and search.

#include <functional>
#include <string>

#include "platform/framework/input_types.h"
#include "platform/graphics/geometry.h"
#include "platform/windows/cursors.h"
#include "tree/virtual_node.h"

namespace rv {

class TBaseVirtualTree;
class TPopupMenu;

// Where a point lies, one bit each (values as the tree's hit test has always answered them).
enum THitPosition : unsigned {
    hiAbove = 0x1,            // above the first row (Y < 0)
    hiBelow = 0x2,            // below the client area
    hiNowhere = 0x4,          // in the client area, below the last row or outside the columns
    hiOnItem = 0x8,           // on a row
    hiOnItemButton = 0x10,    // its expand button
    hiOnItemCheckbox = 0x20,  // its check box
    hiOnItemIndent = 0x40,    // its indentation
    hiOnItemLabel = 0x80,     // its text
    hiOnItemLeft = 0x100,     // in the cell, before the text
    hiOnItemRight = 0x200,    // in the cell, after the text
    hiOnNormalIcon = 0x400,
    hiOnStateIcon = 0x800,
    hiToLeft = 0x1000,   // left of the client area
    hiToRight = 0x2000,  // right of the client area
};
using THitPositions = unsigned;

struct THitInfo {
    PVirtualNode HitNode = nullptr;
    THitPositions HitPositions = 0;
    TColumnIndex HitColumn = NoColumn;  // InvalidColumn: not on a column
};

// The framework's drag settings of the control: whether a press may start a drag by itself, and
// whether it drags or docks.
enum class TDragMode { dmManual, dmAutomatic };
using enum TDragMode;
enum class TDragKind { dkDrag, dkDock };
using enum TDragKind;

// Automatic scroll directions.
enum TScrollDirection : unsigned { sdLeft = 1, sdUp = 2, sdRight = 4, sdDown = 8 };
using TScrollDirections = unsigned;

// The flags of GetNextItem, as the platform's tree view numbers them.
enum TTreeItemFlag : unsigned {
    TVGN_ROOT = 0,
    TVGN_NEXT = 1,
    TVGN_PREVIOUS = 2,
    TVGN_PARENT = 3,
    TVGN_CHILD = 4,
    TVGN_FIRSTVISIBLE = 5,
    TVGN_NEXTVISIBLE = 6,
    TVGN_PREVIOUSVISIBLE = 7,
    TVGN_DROPHILITE = 8,
    TVGN_CARET = 9,
    TVGN_LASTVISIBLE = 10,
};

// What GetItem is asked for (Mask) and what the state answers.
enum TTreeItemMask : unsigned {
    TVIF_TEXT = 0x1,
    TVIF_IMAGE = 0x2,
    TVIF_STATE = 0x8,
    TVIF_HANDLE = 0x10,
    TVIF_SELECTEDIMAGE = 0x20,
    TVIF_CHILDREN = 0x40,
};
enum TTreeItemState : unsigned {
    TVIS_FOCUSED = 0x1,
    TVIS_SELECTED = 0x2,
    TVIS_CUT = 0x4,
    TVIS_DROPHILITED = 0x8,
    TVIS_EXPANDED = 0x20,
};
inline constexpr unsigned kTreeItemStateMask = 0xFF2F;

// The item record of GetItem: the caller names the node and what it wants, and gives a text
// buffer of TextMax bytes (UTF-8, terminated).
struct TTreeItem {
    unsigned Mask = 0;
    PVirtualNode Item = nullptr;
    unsigned State = 0;
    unsigned StateMask = 0;
    char* Text = nullptr;
    int TextMax = 0;
    int Image = -1;
    int SelectedImage = -1;
    int Children = 0;
};

using TVTHotNodeChangeEvent =
    std::function<void(TBaseVirtualTree* sender, PVirtualNode oldNode, PVirtualNode newNode)>;
using TVTGetCursorEvent = std::function<void(TBaseVirtualTree* sender, TCursor& cursor)>;
// The popup menu for a node and column at a client point; AskParent (true at first) lets the
// parent's menu be used when none is given.
using TVTPopupEvent =
    std::function<void(TBaseVirtualTree* sender, PVirtualNode node, TColumnIndex column, TPoint p,
                       bool& askParent, TPopupMenu*& popupMenu)>;
// A key before the tree acts on it: the handler may change it or cancel the tree's action.
using TVTKeyActionEvent = std::function<void(TBaseVirtualTree* sender, int& charCode,
                                             TShiftState& shift, bool& doDefault)>;
using TVTHelpContextEvent = std::function<void(TBaseVirtualTree* sender, PVirtualNode node,
                                               TColumnIndex column, int& helpContext)>;
using TVTColumnClickEvent =
    std::function<void(TBaseVirtualTree* sender, TColumnIndex column, TShiftState shift)>;
using TVTScrollEvent = std::function<void(TBaseVirtualTree* sender, int deltaX, int deltaY)>;
using TVTDragAllowedEvent = std::function<void(TBaseVirtualTree* sender, PVirtualNode node,
                                               TColumnIndex column, bool& allowed)>;
using TVTEditChangingEvent = std::function<void(TBaseVirtualTree* sender, PVirtualNode node,
                                                TColumnIndex column, bool& allowed)>;
// Whether a node answers the typed text: Result starts at 0, which means it does.
using TVTIncrementalSearchEvent = std::function<void(TBaseVirtualTree* sender, PVirtualNode node,
                                                     const std::string& searchText, int& result)>;

}  // namespace rv
