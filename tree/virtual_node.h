#pragma once

#include <atomic>
#include <cstdint>

namespace rv {

struct TVirtualNode;
using PVirtualNode = TVirtualNode*;

// Node state bits. The bit numbers are written to tree streams, so they never change.
enum TVirtualNodeState : std::uint16_t {
    nsInitialized = 1u << 0,         // OnInitNode ran
    nsChecking = 1u << 1,            // a check-state change is under way (re-entrance guard)
    nsCutOrCopy = 1u << 2,           // marked by a pending cut or copy
    nsDisabled = 1u << 3,            // its check state cannot change
    nsDeleting = 1u << 4,            // being deleted
    nsExpanded = 1u << 5,            //
    nsHasChildren = 1u << 6,         // has or may get children (a button is shown)
    nsVisible = 1u << 7,             // not hidden
    nsSelected = 1u << 8,            //
    nsInitialUserData = 1u << 9,     // user data was given when the node was added
    nsAllChildrenHidden = 1u << 10,  // has children, none of them visible
    nsClearing = 1u << 11,           // its children are being deleted
    nsMultiline = 1u << 12,          // its text is drawn on several lines
    nsHeightMeasured = 1u << 13,     //
};

// The states a stream keeps: bits 1, 2, 4, 9 and 13 only make sense while the program runs.
inline constexpr std::uint16_t kStreamedNodeStates = 0xDDE9;

// The hidden root's states: initialized, expanded, has children, visible.
inline constexpr std::uint16_t kRootNodeStates =
    nsInitialized | nsExpanded | nsHasChildren | nsVisible;

enum class TCheckType : std::uint8_t { ctNone, ctTriStateCheckBox, ctCheckBox, ctRadioButton };
using enum TCheckType;

enum class TCheckState : std::uint8_t {
    chkUnchecked,
    chkUncheckedPressed,
    chkChecked,
    chkCheckedPressed,
    chkMixed,
    chkMixedPressed,
};
using enum TCheckState;

// A pressed check state's normal form (a normal state stays as it is).
constexpr TCheckState NormalCheckState(TCheckState s) {
    return TCheckState(static_cast<std::uint8_t>(s) & ~1u);
}

// The look of a check state while its box is held down: 0 → 1, 2 → 3, 4 → 5 (pressed stays
// pressed).
constexpr TCheckState PressedCheckState(TCheckState s) {
    return TCheckState(static_cast<std::uint8_t>(s) | 1u);
}

// The node record: a fixed part, then the tree's internal data area, then the caller's user
// data, all in one block. The hidden root's Parent is the tree object itself and its sibling
// links point at the root; no other node's links ever leave the tree.
struct TVirtualNode {
    std::uint32_t Index;       // position among its siblings, gap-free from 0
    std::uint32_t ChildCount;  //
    std::uint16_t NodeHeight;  // pixels
    std::uint16_t States;      // TVirtualNodeState bits, one atomic word (see LoadStates)
    std::uint8_t Align;        // button, image and line alignment (see TVTNodeAlignment)
    TCheckState CheckState;
    TCheckType CheckType;
    std::uint8_t Marks;         // the tree's own bookkeeping (kMarkExpandedBelow), never streamed
    std::uint32_t TotalCount;   // nodes in the subtree, this one included
    std::uint32_t TotalHeight;  // own height plus, expanded, the visible children's totals
    PVirtualNode Parent;
    PVirtualNode PrevSibling;
    PVirtualNode NextSibling;
    PVirtualNode FirstChild;
    PVirtualNode LastChild;

    bool Has(std::uint16_t states) const { return (LoadStates() & states) != 0; }
    void Include(std::uint16_t states) { StoreStates(std::uint16_t(LoadStates() | states)); }
    void Exclude(std::uint16_t states) { StoreStates(std::uint16_t(LoadStates() & ~states)); }

    // The cache worker reads the visible and expanded bits while the GUI thread, the only writer,
    // changes other bits of the word (selected, initialised, measured…): the word is read and
    // written whole, atomically. Changes of the bits the worker reads interrupt it first.
    std::uint16_t LoadStates() const {
        return std::atomic_ref(const_cast<std::uint16_t&>(States)).load(std::memory_order_relaxed);
    }
    void StoreStates(std::uint16_t states) {
        std::atomic_ref(States).store(states, std::memory_order_relaxed);
    }
};

static_assert(std::atomic_ref<std::uint16_t>::is_always_lock_free);

// A bit of Marks: a node below may be expanded. Every ancestor of a node gets it as the node is
// expanded or attached expanded, and only a full collapse that finds nothing expanded below
// takes it away; so a node without it has nothing expanded below, and a full collapse passes
// its subtree by.
inline constexpr std::uint8_t kMarkExpandedBelow = 1;

// Where the user data begins: behind the fixed part and the internal data area.
inline constexpr std::uint32_t kNodeFixedSize = sizeof(TVirtualNode);
static_assert(kNodeFixedSize % 8 == 0);

// Alignment value every new node starts with (half of the row for naProportional).
inline constexpr std::uint8_t kDefaultNodeAlign = 50;

// How a node's Align is read: pixels from the bottom, pixels from the top, or percent of the
// node height.
enum class TVTNodeAlignment { naFromBottom, naFromTop, naProportional };
using enum TVTNodeAlignment;

// Where a node goes relative to another one.
enum class TVTNodeAttachMode {
    amNoWhere,
    amInsertBefore,
    amInsertAfter,
    amAddChildFirst,
    amAddChildLast
};
using enum TVTNodeAttachMode;

// A column number: -1 no column (no visible header columns), -2 and below no valid column.
using TColumnIndex = std::int32_t;
inline constexpr TColumnIndex NoColumn = -1;
inline constexpr TColumnIndex InvalidColumn = -2;

enum class TSortDirection { sdAscending, sdDescending };
using enum TSortDirection;

// Why the structure changed (the reason of OnStructureChange, one byte).
enum class TChangeReason : std::uint8_t {
    crIgnore = 0,       // none
    crAccumulated = 1,  // a second change arrived while one was pending
    crChildAdded = 2,
    crChildDeleted = 3,
    crNodeAdded = 4,
    crNodeCopied = 5,
    crNodeMoved = 6,
};
using enum TChangeReason;

}  // namespace rv
