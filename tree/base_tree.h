#pragma once

#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/framework/custom_controls.h"
#include "platform/framework/form.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/image_list.h"
#include "platform/messages/messages.h"
#include "tree/border_decoration.h"
#include "tree/clipboard_formats.h"
#include "tree/edit_link.h"
#include "tree/header_types.h"
#include "tree/input_types.h"
#include "tree/node_pool.h"
#include "tree/paint_resources.h"
#include "tree/paint_types.h"
#include "tree/slide_animation.h"
#include "tree/transfer_types.h"
#include "tree/tree_errors.h"
#include "tree/tree_options.h"
#include "tree/tree_property_types.h"
#include "tree/tree_types.h"
#include "tree/validation_worker.h"
#include "tree/virtual_node.h"
#include "tree/vt_header.h"

namespace rv {

class TPanningWindow;
class TVirtualTreeHintWindow;
struct THintInfo;

// The virtual tree: it keeps no items, only a tree of node records with the caller's user data
// behind each, and asks for everything else through events when it needs it. Nodes are made
// raw and initialised on first touch (OnInitNode, OnInitChildren); every node keeps the count
// and the height of its subtree, so that positions and the scroll range never need a walk over
// the whole tree.
//
// The tree is a self-drawn control: its window (the host of the platform layer) carries the
// header strip in its frame and the scroll bars, which the tree sets from the heights kept in
// the nodes and the header's columns, and which receives the worker's notices of the position
// cache kept in the background. Painting, editing and the clipboard reach it through the hooks
// at the end of the protected section, which do nothing or answer a stand-in until those parts
// fill them in.
class TBaseVirtualTree : public TCustomControl {
public:
    // Heights are 32-bit, positions and scroll ranges signed 32-bit: every TotalHeight stops at
    // 2^31 − 1 pixels (119,304,647 rows of the default 18 pixels) instead of running over, and
    // whatever lies below that point of an even taller tree is out of reach of the scroll bar.
    static constexpr std::uint32_t kMaxTotalHeight = 0x7FFFFFFF;
    static constexpr std::uint32_t kDefaultNodeHeight = 18;
    // Timers of the tree's window that delay OnChange and OnStructureChange by ChangeDelay.
    static constexpr UINT_PTR kChangeTimer = 5;
    static constexpr UINT_PTR kStructureChangeTimer = 6;

    explicit TBaseVirtualTree(TComponent* owner);
    ~TBaseVirtualTree() override;
    std::string ClassName() const override { return "TBaseVirtualTree"; }

    // The tree a node belongs to (the hidden root's Parent).
    static TBaseVirtualTree* TreeFromNode(PVirtualNode node);

    // ---- Nodes -------------------------------------------------------------------------------
    PVirtualNode RootNode() const { return root_; }
    // Appends a child (nil: a top-level node). UserData, when given, is stored as a pointer in
    // the first bytes of the node's user data (EVirtualTreeError 2008 when fewer than a pointer's
    // bytes are allocated). Nil with toReadOnly.
    PVirtualNode AddChild(PVirtualNode parent, const void* userData = nullptr);
    // A new node placed relative to `node` (nil: the root).
    PVirtualNode InsertNode(PVirtualNode node, TVTNodeAttachMode mode,
                            const void* userData = nullptr);
    virtual void Clear();
    void DeleteChildren(PVirtualNode node, bool resetHasChildren = false);
    void DeleteNode(PVirtualNode node, bool reindex = true);
    virtual void DeleteSelectedNodes();

    std::uint32_t RootNodeCount() const;
    void SetRootNodeCount(std::uint32_t value);
    std::uint32_t ChildCount(PVirtualNode node) const;
    void SetChildCount(PVirtualNode node, std::uint32_t newCount);
    // Nodes in the tree, the hidden root not counted.
    std::uint32_t TotalCount() const { return root_->TotalCount - 1; }
    // Nodes shown when scrolled to: visible, with every ancestor visible and expanded.
    std::uint32_t VisibleCount() const {
        return visibleCountDeferrals_ ? CountVisibleDescendants(root_) : visibleCount_;
    }

    // The node's user data; nil for nil and the root.
    void* GetNodeData(PVirtualNode node) const {
        TreeAssert(nodeDataSize_ >= 1, "NodeDataSize not initialized.");
        if (!node || node == root_) return nullptr;
        return reinterpret_cast<char*>(node) + UserDataOffset();
    }
    // Where the user data starts in a node: after the internal data, on a multiple of 8 so that
    // pointers and doubles kept there are aligned (the string tree's 4 bytes leave a gap).
    std::size_t UserDataOffset() const { return userDataOffset_; }
    // 0 for a top-level node, nil and the root.
    unsigned GetNodeLevel(PVirtualNode node) const;
    bool HasAsParent(PVirtualNode node, PVirtualNode potentialParent) const;
    // Negative when node1 comes first in pre-order, 0 for the same node.
    int CompareNodePositions(PVirtualNode node1, PVirtualNode node2) const;

    // ---- Properties --------------------------------------------------------------------------
    std::uint32_t DefaultNodeHeight() const { return defaultNodeHeight_; }
    void SetDefaultNodeHeight(std::uint32_t value);
    std::uint32_t Indent() const { return indent_; }
    void SetIndent(std::uint32_t value);
    int NodeDataSize() const { return nodeDataSize_; }
    void SetNodeDataSize(int value);
    int InternalDataSize() const { return internalDataSize_; }
    TVTNodeAlignment NodeAlignment() const { return nodeAlignment_; }
    void SetNodeAlignment(TVTNodeAlignment value);
    std::uint32_t ChangeDelay() const { return changeDelay_; }
    void SetChangeDelay(std::uint32_t value) { changeDelay_ = value; }
    TCustomVirtualTreeOptions& TreeOptions() const { return *options_; }
    TVTHeader& Header() { return header_; }
    const TVTHeader& Header() const { return header_; }
    TVTColors& Colors() { return colors_; }
    const TVTColors& Colors() const { return colors_; }
    TScrollBarOptions& ScrollBarOptions() { return scrollBarOptions_; }
    const TScrollBarOptions& ScrollBarOptions() const { return scrollBarOptions_; }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* value);
    TImageList* StateImages() const { return stateImages_; }
    void SetStateImages(TImageList* value);
    TImageList* CustomCheckImages() const { return customCheckImages_; }
    void SetCustomCheckImages(TImageList* value);
    TClipboardFormats& ClipboardFormats() { return clipboardFormats_; }
    // Empties the list and adds every entry of `value` (the tree's class permitting).
    void SetClipboardFormats(const TClipboardFormats& value) { clipboardFormats_.Assign(value); }

    // Appearance and behaviour (painting, editing, dragging, hints and incremental search use
    // them); setters store a changed value and repaint or rebuild what depends on it.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    // A value above 0 switches toAnimatedToggle on, 0 switches it off.
    std::uint32_t AnimationDuration() const { return animationDuration_; }
    void SetAnimationDuration(std::uint32_t value);
    std::uint32_t AutoExpandDelay() const { return autoExpandDelay_; }
    void SetAutoExpandDelay(std::uint32_t value) { autoExpandDelay_ = value; }
    std::uint32_t AutoScrollDelay() const { return autoScrollDelay_; }
    void SetAutoScrollDelay(std::uint32_t value) { autoScrollDelay_ = value; }
    std::uint32_t AutoScrollInterval() const { return autoScrollInterval_; }
    void SetAutoScrollInterval(std::uint32_t value) { autoScrollInterval_ = value; }
    const TBitmap& Background() const { return background_; }
    void SetBackground(const TBitmap& value);
    int BackgroundOffsetX() const { return backgroundOffsetX_; }
    void SetBackgroundOffsetX(int value);
    int BackgroundOffsetY() const { return backgroundOffsetY_; }
    void SetBackgroundOffsetY(int value);
    // bsSingle: a sunken two-pixel edge; bsNone: no border (the other styles are the forms').
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TVTButtonFillMode ButtonFillMode() const { return buttonFillMode_; }
    void SetButtonFillMode(TVTButtonFillMode value);
    TVTButtonStyle ButtonStyle() const { return buttonStyle_; }
    void SetButtonStyle(TVTButtonStyle value);
    TCheckImageKind CheckImageKind() const { return checkImageKind_; }
    void SetCheckImageKind(TCheckImageKind value);
    TVTNodeAttachMode DefaultPasteMode() const { return defaultPasteMode_; }
    void SetDefaultPasteMode(TVTNodeAttachMode value) { defaultPasteMode_ = value; }
    int DragHeight() const { return dragHeight_; }
    void SetDragHeight(int value) { dragHeight_ = value; }
    TVTDragImageKind DragImageKind() const { return dragImageKind_; }
    void SetDragImageKind(TVTDragImageKind value) { dragImageKind_ = value; }
    TDragOperations DragOperations() const { return dragOperations_; }
    void SetDragOperations(TDragOperations value) { dragOperations_ = value; }
    TVTDragType DragType() const { return dragType_; }
    void SetDragType(TVTDragType value) { dragType_ = value; }
    int DragWidth() const { return dragWidth_; }
    void SetDragWidth(int value) { dragWidth_ = value; }
    TVTDrawSelectionMode DrawSelectionMode() const { return drawSelectionMode_; }
    void SetDrawSelectionMode(TVTDrawSelectionMode value);
    std::uint32_t EditDelay() const { return editDelay_; }
    void SetEditDelay(std::uint32_t value) { editDelay_ = value; }
    TVTHintAnimationType HintAnimation() const { return hintAnimation_; }
    void SetHintAnimation(TVTHintAnimationType value) { hintAnimation_ = value; }
    TVTHintMode HintMode() const { return hintMode_; }
    void SetHintMode(TVTHintMode value) { hintMode_ = value; }
    TCursor HotCursor() const { return hotCursor_; }
    void SetHotCursor(TCursor value) { hotCursor_ = value; }
    // isNone stops a running search and forgets where the last one ended.
    TVTIncrementalSearch IncrementalSearch() const { return incrementalSearch_; }
    void SetIncrementalSearch(TVTIncrementalSearch value);
    TVTSearchDirection IncrementalSearchDirection() const { return searchDirection_; }
    void SetIncrementalSearchDirection(TVTSearchDirection value) { searchDirection_ = value; }
    TVTSearchStart IncrementalSearchStart() const { return searchStart_; }
    void SetIncrementalSearchStart(TVTSearchStart value) { searchStart_ = value; }
    std::uint32_t IncrementalSearchTimeout() const { return searchTimeout_; }
    void SetIncrementalSearchTimeout(std::uint32_t value) { searchTimeout_ = value; }
    TVTLineMode LineMode() const { return lineMode_; }
    void SetLineMode(TVTLineMode value);
    TVTLineStyle LineStyle() const { return lineStyle_; }
    void SetLineStyle(TVTLineStyle value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    std::uint8_t SelectionBlendFactor() const { return selectionBlendFactor_; }
    void SetSelectionBlendFactor(std::uint8_t value);
    std::uint32_t SelectionCurveRadius() const { return selectionCurveRadius_; }
    void SetSelectionCurveRadius(std::uint32_t value);
    int TextMargin() const { return textMargin_; }
    void SetTextMargin(int value);
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }
    // The reading order of a tree without columns, and of the columns that take the tree's
    // (coParentBidiMode): right to left, a row's content starts at its right edge.
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode value);
    // The reading order of a cell: its column's, or the tree's for no column.
    TBiDiMode CellBiDiMode(TColumnIndex column) const;
    // Copies the appearance and behaviour of another tree through the setters (not into a
    // read-only tree).
    void AssignFrom(const TBaseVirtualTree& source);

    // Applies what was read while the tree was loading (the root node count).
    void Loaded() override;
    // Besides the control's: the header's columns as "Columns" and the options of older forms
    // as "Options", which is only read.
    void PublishProperties(TPropList& list) override;

    // ---- Node properties ---------------------------------------------------------------------
    // 0 for nil and the root; with toVariableNodeHeight the node is measured first.
    std::uint32_t NodeHeight(PVirtualNode node);
    void SetNodeHeight(PVirtualNode node, std::uint32_t value);
    bool Expanded(PVirtualNode node) const;
    void SetExpanded(PVirtualNode node, bool value);
    // Expands a collapsed node, collapses an expanded one (OnExpanding/OnCollapsing may refuse).
    void ToggleNode(PVirtualNode node);
    // Expands (collapses) every node with children in the subtree of `node` (nil: the tree).
    virtual void FullExpand(PVirtualNode node = nullptr);
    virtual void FullCollapse(PVirtualNode node = nullptr);
    // The node is initialised again (OnInitNode); Recursive: its children too.
    virtual void ReinitNode(PVirtualNode node, bool recursive);
    // The children are made again (OnInitChildren) and re-initialised (nil: the top level).
    virtual void ReinitChildren(PVirtualNode node, bool recursive);
    // The node loses its children and becomes uninitialised (nil: Clear).
    virtual void ResetNode(PVirtualNode node);
    // Initialises every child of the node (Recursive: every descendant), making children.
    void InitRecursive(PVirtualNode node, bool recursive = true);
    // Initialises the node when needed and answers whether it is not hidden (nil: the root).
    bool IsVisible(PVirtualNode node);
    void SetIsVisible(PVirtualNode node, bool value);
    // Visible, and every ancestor visible and expanded.
    bool FullyVisible(PVirtualNode node) const;
    bool IsDisabled(PVirtualNode node) const;
    void SetIsDisabled(PVirtualNode node, bool value);
    bool HasChildren(PVirtualNode node) const;
    // Every ancestor expanded; setting it true expands the collapsed ones.
    bool VisiblePath(PVirtualNode node) const;
    void SetVisiblePath(PVirtualNode node, bool value);
    bool Selected(PVirtualNode node) const;
    void SetSelected(PVirtualNode node, bool value);
    TCheckType CheckType(PVirtualNode node) const;
    void SetCheckType(PVirtualNode node, TCheckType value);
    TCheckState CheckState(PVirtualNode node) const;
    // Changes the check state when the node is enabled and OnChecking allows it, with tri-state
    // and radio-button propagation.
    void SetCheckState(PVirtualNode node, TCheckState value);
    // Vertical offsets of a node's content and of its button (from the node's top), by
    // NodeAlignment; `images` is the image list drawn in the node, if any.
    void GetAlignOffsets(PVirtualNode node, int& alignOffset, int& buttonOffset,
                         const TImageList* images = nullptr);

    // ---- Update bracket and states -----------------------------------------------------------
    void BeginUpdate();
    void EndUpdate();
    std::uint32_t UpdateCount() const { return updateCount_; }
    TVirtualTreeStates TreeStates() const { return states_; }

    // ---- Focus and selection -----------------------------------------------------------------
    PVirtualNode FocusedNode() const { return focusedNode_; }
    void SetFocusedNode(PVirtualNode value);
    TColumnIndex FocusedColumn() const { return focusedColumn_; }
    void SetFocusedColumn(TColumnIndex value);
    PVirtualNode RangeAnchor() const { return rangeAnchor_; }
    std::uint32_t SelectionCount() const {
        return std::uint32_t(selection_.size() - markedSelection_);
    }
    // The selected nodes in ascending address order. Inside an update bracket an entry of a
    // node that left the selection has bit 0 set until the outermost EndUpdate packs the array.
    const std::vector<PVirtualNode>& SelectionArray() const { return selection_; }
    void ClearSelection();
    // Only with toMultiSelect.
    void SelectAll(bool visibleOnly);
    // The selected (cut or copied) nodes in tree order; Resolve leaves out the descendants of a
    // node that is in the list.
    std::vector<PVirtualNode> GetSortedSelection(bool resolve) const;
    std::vector<PVirtualNode> GetSortedCutCopySet(bool resolve) const;

    // ---- Navigation --------------------------------------------------------------------------
    // The plain functions initialise the nodes they return and make the children of a node they
    // descend into; the NoInit twins leave nodes as they are.
    PVirtualNode GetFirst();
    PVirtualNode GetFirstNoInit() const;
    PVirtualNode GetFirstInitialized() const;
    PVirtualNode GetFirstChild(PVirtualNode node);
    PVirtualNode GetLastChild(PVirtualNode node);
    PVirtualNode GetLastChildNoInit(PVirtualNode node) const;
    PVirtualNode GetLast(PVirtualNode node = nullptr);
    PVirtualNode GetLastNoInit(PVirtualNode node = nullptr) const;
    PVirtualNode GetNext(PVirtualNode node);
    PVirtualNode GetNextNoInit(PVirtualNode node) const;
    PVirtualNode GetNextInitialized(PVirtualNode node) const;
    PVirtualNode GetPrevious(PVirtualNode node);
    PVirtualNode GetPreviousNoInit(PVirtualNode node) const;
    PVirtualNode GetNextSibling(PVirtualNode node);
    PVirtualNode GetPreviousSibling(PVirtualNode node);
    PVirtualNode GetFirstVisible();
    PVirtualNode GetFirstVisibleNoInit() const;
    PVirtualNode GetNextVisible(PVirtualNode node);
    PVirtualNode GetNextVisibleNoInit(PVirtualNode node) const;
    PVirtualNode GetPreviousVisible(PVirtualNode node);
    PVirtualNode GetPreviousVisibleNoInit(PVirtualNode node) const;
    PVirtualNode GetFirstVisibleChild(PVirtualNode node);
    PVirtualNode GetFirstVisibleChildNoInit(PVirtualNode node) const;
    PVirtualNode GetLastVisibleChild(PVirtualNode node);
    PVirtualNode GetLastVisibleChildNoInit(PVirtualNode node) const;
    PVirtualNode GetNextVisibleSibling(PVirtualNode node);
    PVirtualNode GetNextVisibleSiblingNoInit(PVirtualNode node) const;
    PVirtualNode GetPreviousVisibleSibling(PVirtualNode node);
    PVirtualNode GetPreviousVisibleSiblingNoInit(PVirtualNode node) const;
    PVirtualNode GetLastVisible(PVirtualNode node = nullptr);
    PVirtualNode GetLastVisibleNoInit(PVirtualNode node = nullptr) const;
    PVirtualNode GetFirstSelected();
    PVirtualNode GetNextSelected(PVirtualNode node);
    PVirtualNode GetFirstChecked(TCheckState state = chkChecked);
    PVirtualNode GetNextChecked(PVirtualNode node, TCheckState state = chkChecked);
    PVirtualNode GetFirstCutCopy();
    PVirtualNode GetNextCutCopy(PVirtualNode node);
    // The nearest ancestor that is expanded with every ancestor of its own; nil at the top.
    PVirtualNode GetVisibleParent(PVirtualNode node) const;
    // The node whose row covers the vertical position Y (client coordinates when Relative);
    // NodeTop gets the row's top.
    PVirtualNode GetNodeAt(int x, int y, bool relative, int& nodeTop);
    PVirtualNode GetNodeAt(int x, int y);
    // The top of the node's row in the whole tree (the sum of the heights of the shown rows
    // before it), for a node whose ancestors are all visible and expanded; -1 for another.
    int GetNodeTop(PVirtualNode node) const;

    // ---- Sorting -----------------------------------------------------------------------------
    // Sorts the children of `node` (nil: the top-level nodes) by OnCompareNodes, stably.
    virtual void Sort(PVirtualNode node, TColumnIndex column, TSortDirection direction,
                      bool doInit = true);
    // Sorts the children of every initialised node, top down. Columns below -1 sort nothing.
    void SortTree(TColumnIndex column, TSortDirection direction, bool doInit = true);

    // ---- Moving and copying ------------------------------------------------------------------
    // Moves the node (or only its children) to `target` with `mode`: within this tree by
    // relinking, into another tree by copying it there and deleting it here. Nil target: this
    // tree's root. EVirtualTreeError 2001 for a target inside the moved subtree.
    void MoveTo(PVirtualNode source, PVirtualNode target, TVTNodeAttachMode mode,
                bool childrenOnly);
    // Copies the node (or only its children) with its subtree to `target` (nil: this tree's
    // root), in this tree or another; answers the first new node.
    PVirtualNode CopyTo(PVirtualNode source, PVirtualNode target, TVTNodeAttachMode mode,
                        bool childrenOnly);

    // ---- Selection of many nodes -------------------------------------------------------------
    // Flips the selection of every (visible) node that is not disabled; only with toMultiSelect.
    void InvertSelection(bool visibleOnly);

    // ---- Scrolling and geometry --------------------------------------------------------------
    // Client area of the window (without border, header strip and scroll bars).
    int ClientWidth() const;
    int ClientHeight() const;
    // Width and height of everything there is to scroll over: the visible columns (without
    // columns the widest row on screen, as of the last scroll-bar update) and the visible rows.
    int RangeX() const { return rangeX_; }
    int RangeY() const;
    // Scroll position in pixels, 0 or negative: kept within min(0, max(client − range, value)).
    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }
    void SetOffsetX(int value);
    void SetOffsetY(int value);
    void SetOffsetXY(TPoint value) { DoSetOffsetXY(value, kDefaultScrollUpdate); }
    // The node at the top of the client area; setting it expands its ancestors and scrolls it
    // there.
    PVirtualNode TopNode();
    void SetTopNode(PVirtualNode node);
    // Sets both bars from the ranges, the client size and the offsets (which they clamp).
    virtual void UpdateScrollBars(bool doRepaint);
    // Expands the ancestors and scrolls until the node is in view (Center: in the middle);
    // true when anything scrolled.
    bool ScrollIntoView(PVirtualNode node, bool center, bool horizontally = false);
    // The node's row (Column > -1: its cell of that column) in client coordinates; TextOnly: the
    // part its text takes. Empty when an ancestor is collapsed or hidden.
    TRect GetDisplayRect(PVirtualNode node, TColumnIndex column, bool textOnly,
                         bool unclipped = false);
    // The widest content of a column over the visible rows (double-click sizing, auto-fit).
    int GetMaxColumnWidth(TColumnIndex column);
    // Repainting a node's row (answered), everything from a node's row down (nil: everything),
    // or a node's row at once.
    virtual TRect InvalidateNode(PVirtualNode node);
    void InvalidateToBottom(PVirtualNode node);
    void RepaintNode(PVirtualNode node);

    // ---- Window ------------------------------------------------------------------------------
    void WndProc(TMessage& message) override;
    // The frame: the border by BorderStyle and the header strip when the header is visible.
    void UpdateFrame();

    // The tree's reaction to a changed option set (called by the options object), to changed
    // scroll-bar options and to a changed colour.
    virtual void TreeOptionsChanged(TVTOptionSetKind kind, std::uint32_t before);
    void ScrollBarOptionsChanged();
    // The window follows toFullRepaintOnResize (a resize repaints all, or what it uncovers) and
    // the scroll bars' style.
    void ApplyWindowStyles();
    void ColorChanged(TVTColors::Index index);
    void ColorsAssigned();

    // ---- Events ------------------------------------------------------------------------------
    TVTChangeEvent OnChange;
    TVTStructureChangeEvent OnStructureChange;
    TVTUpdatingEvent OnUpdating;
    TVTStateChangeEvent OnStateChange;
    TVTInitNodeEvent OnInitNode;
    TVTInitChildrenEvent OnInitChildren;
    TVTFreeNodeEvent OnFreeNode;
    TVTCompareEvent OnCompareNodes;
    TVTExpandingEvent OnExpanding;
    TVTExpandingEvent OnCollapsing;
    TVTChangeEvent OnExpanded;
    TVTChangeEvent OnCollapsed;
    TVTFocusChangingEvent OnFocusChanging;
    TVTFocusChangeEvent OnFocusChanged;
    TVTCheckChangingEvent OnChecking;
    TVTChangeEvent OnChecked;
    TVTGetNodeDataSizeEvent OnGetNodeDataSize;
    TVTNodeMovingEvent OnNodeMoving;
    TVTChangeEvent OnNodeMoved;
    TVTNodeMovingEvent OnNodeCopying;
    TVTChangeEvent OnNodeCopied;
    TVTChangeEvent OnResetNode;
    TVTGetImageIndexEvent OnGetImageIndex;
    TVTHeaderClickEvent OnHeaderClick;
    TVTHeaderNotifyEvent OnColumnResize;
    TVTHeaderClickEvent OnHeaderDblClick;
    TVTHeaderDraggedEvent OnHeaderDragged;
    TVTHeaderDraggedOutEvent OnHeaderDraggedOut;
    TVTHeaderDraggingEvent OnHeaderDragging;
    TVTHeaderPaintEvent OnHeaderDraw;
    TVTHeaderPaintQueryElementsEvent OnHeaderDrawQueryElements;
    TVTAdvancedHeaderPaintEvent OnAdvancedHeaderDraw;
    TVTHeaderMouseEvent OnHeaderMouseDown;
    TVTHeaderMouseMoveEvent OnHeaderMouseMove;
    TVTHeaderMouseEvent OnHeaderMouseUp;
    TVTGetHeaderCursorEvent OnGetHeaderCursor;

protected:
    // A component the tree or its header refers to (an image list, a pop-up menu) goes: the
    // reference is dropped, and a tree that drew from the list is painted again.
    void Notification(TComponent* component, TOperation operation) override;

    // ---- Event dispatchers: each fires its event when a handler is set ------------------------
    virtual void DoChange(PVirtualNode node);
    virtual void DoStructureChange(PVirtualNode node, TChangeReason reason);
    virtual void DoUpdating(TVTUpdateState state);
    // OnStateChange when the states really change, then states := states + enter − leave.
    virtual void DoStateChange(TVirtualTreeStates enter, TVirtualTreeStates leave = {});
    virtual void DoInitNode(PVirtualNode parent, PVirtualNode node,
                            TVirtualNodeInitStates& initStates);
    virtual bool DoInitChildren(PVirtualNode node, std::uint32_t& childCount);
    // Fires OnFreeNode for an initialised node or one with initial user data.
    virtual void DoFreeNode(PVirtualNode node);
    // Inline, so that a sort of a million nodes calls the handler without a call in between.
    virtual int DoCompareNodes(PVirtualNode node1, PVirtualNode node2, TColumnIndex column) {
        int result = 0;
        if (OnCompareNodes) OnCompareNodes(this, node1, node2, column, result);
        return result;
    }
    virtual bool DoExpanding(PVirtualNode node);
    virtual void DoExpanded(PVirtualNode node);
    virtual bool DoCollapsing(PVirtualNode node);
    virtual void DoCollapsed(PVirtualNode node);
    virtual bool DoFocusChanging(PVirtualNode oldNode, PVirtualNode newNode, TColumnIndex oldColumn,
                                 TColumnIndex newColumn);
    virtual void DoFocusChange(PVirtualNode node, TColumnIndex column);
    // Moves the focus (ending an edit first, asking OnFocusChanging when `ask`).
    virtual void DoFocusNode(PVirtualNode node, bool ask);
    virtual bool DoChecking(PVirtualNode node, TCheckState& newState);
    virtual void DoCheckClick(PVirtualNode node, TCheckState newState);
    virtual void DoChecked(PVirtualNode node);
    virtual void DoGetNodeDataSize(int& size);
    virtual bool DoNodeMoving(PVirtualNode node, PVirtualNode target);
    virtual void DoNodeMoved(PVirtualNode node);
    virtual bool DoNodeCopying(PVirtualNode node, PVirtualNode target);
    virtual void DoNodeCopied(PVirtualNode node);
    virtual void DoReset(PVirtualNode node);
    virtual int DoGetImageIndex(PVirtualNode node, TVTImageKind kind, TColumnIndex column,
                                bool& ghosted);
    // The width of the node's content in a column; 0 here, the text tree measures its text.
    virtual int DoGetNodeWidth(PVirtualNode node, TColumnIndex column);
    virtual void DoHeaderClick(TColumnIndex column, TMouseButton button, TShiftState shift, int x,
                               int y);
    virtual void DoColumnResize(TColumnIndex column);
    // The header's mouse and drawing (coordinates as the header's events have them).
    virtual void DoHeaderDblClick(TColumnIndex column, TMouseButton button, TShiftState shift,
                                  int x, int y);
    virtual void DoHeaderDragged(TColumnIndex column, int oldPosition);
    virtual void DoHeaderDraggedOut(TColumnIndex column, TPoint dropPosition);
    // Whether the column may be dragged (true without a handler).
    virtual bool DoHeaderDragging(TColumnIndex column);
    virtual void DoHeaderDraw(TCanvas& canvas, TVirtualTreeColumn& column, const TRect& r,
                              bool hover, bool pressed, TVTDropMarkMode dropMark);
    // Under hoOwnerDraw: the parts of a cell the application draws (none without a handler),
    // and their drawing.
    virtual THeaderPaintElements DoHeaderDrawQueryElements(THeaderPaintInfo& paintInfo);
    virtual void DoAdvancedHeaderDraw(THeaderPaintInfo& paintInfo, THeaderPaintElements elements);
    virtual void DoHeaderMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DoHeaderMouseMove(TShiftState shift, int x, int y);
    virtual void DoHeaderMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual TCursor DoGetHeaderCursor(TCursor cursor);
    // Scrolls to new offsets, each kept within min(0, max(client − range, value)); true when
    // either changed.
    virtual bool DoSetOffsetXY(TPoint value, TScrollUpdateOptions options,
                               const TRect* clip = nullptr);
    // True when OnFreeNode (or a descendant's DoFreeNode) needs to see every node that goes;
    // without, Clear drops the whole node store at once.
    virtual bool NodesNeedFreeing() const { return static_cast<bool>(OnFreeNode); }

    // ---- Structure operations used by every part of the tree ----------------------------------
    // Adds `value` to the node's TotalCount (Relative) or sets it, and carries the difference to
    // every ancestor.
    void AdjustTotalCount(PVirtualNode node, std::int64_t value, bool relative);
    // The same for TotalHeight, carried up while the changed node is visible and its parent
    // expanded; every TotalHeight stops at kMaxTotalHeight.
    void AdjustTotalHeight(PVirtualNode node, std::int64_t value, bool relative);
    // Reserves `size` bytes of internal data per node (rounded up to 4) before any node exists;
    // returns the area's offset from the node's start.
    std::uint32_t AllocateInternalDataArea(std::uint32_t size);
    PVirtualNode MakeNewNode();
    void InitNode(PVirtualNode node);
    void InitChildren(PVirtualNode node);
    // Links a free node relative to `destination` with `mode` (not amNoWhere).
    void InternalConnectNode(PVirtualNode node, PVirtualNode destination, TVTNodeAttachMode mode);
    // Sets nsAllChildrenHidden when the node has children and none is visible; returns the first
    // visible child.
    PVirtualNode UpdateAllChildrenHidden(PVirtualNode node);
    bool HasVisibleNextSibling(PVirtualNode node) const;
    bool IsFirstVisibleChild(PVirtualNode parent, PVirtualNode node) const;
    bool IsLastVisibleChild(PVirtualNode parent, PVirtualNode node) const;
    // Whether every ancestor of the node (not the node) is visible and expanded.
    bool AncestorsFullyVisible(PVirtualNode node) const;

    // Change notifications: immediate, deferred to the outermost EndUpdate, or delayed by
    // ChangeDelay through timers 5 and 6.
    void Change(PVirtualNode node);
    void StructureChange(PVirtualNode node, TChangeReason reason);

    // Selection internals: the array stays in ascending address order.
    bool InternalAddToSelection(PVirtualNode node);
    void AddToSelection(PVirtualNode node);
    void InternalRemoveFromSelection(PVirtualNode node);
    void RemoveFromSelection(PVirtualNode node);
    void InternalClearSelection();
    // Squeezes out the entries marked by bit 0.
    void PackSelection();
    // Adds nodes to the selection at once, in one merge: nodes already selected, disabled, or
    // outside the level or sibling constraint are left out. Only with toMultiSelect.
    void InternalAddToSelection(std::vector<PVirtualNode> nodes);
    // Selects the visible nodes from `startNode` (nil: the first top-level node) to `endNode`,
    // without AddOnly instead of the selection there was.
    void SelectNodes(PVirtualNode startNode, PVirtualNode endNode, bool addOnly);
    // Flips the selection of the visible nodes between the two and of the end point that lies
    // away from the range anchor; the anchor stays selected.
    void ToggleSelection(PVirtualNode startNode, PVirtualNode endNode);

    // Check-state change with propagation; false when refused.
    bool ChangeCheckState(PVirtualNode node, TCheckState value);
    // Works out the parent's state from its children after `node` took `newState`.
    bool CheckParentCheckState(PVirtualNode node, TCheckState newState);

    // Runs `work` with the update count raised (no OnUpdating, no redraw switch), as structural
    // operations do; lowering it back to 0 packs the selection and delivers a pending OnChange.
    template <class Work>
    void WithInternalUpdate(Work&& work) {
        ++updateCount_;
        try {
            work();
        } catch (...) {
            try {
                EndInternalUpdate();
            } catch (...) {
                // The first failure is the one to report.
            }
            throw;
        }
        EndInternalUpdate();
    }
    void EndInternalUpdate() {
        if (updateCount_ > 0) --updateCount_;
        if (updateCount_ == 0) FinishInternalUpdate();
    }

    // Node references the tree keeps besides focus and range anchor; the parts that set them
    // (hot tracking, dropping, check clicks, incremental search) use these.
    PVirtualNode hotNode_ = nullptr;
    PVirtualNode dropTargetNode_ = nullptr;
    PVirtualNode checkNode_ = nullptr;         // mouse check click pending
    PVirtualNode pendingCheckNode_ = nullptr;  // Space check pending
    PVirtualNode lastSearchNode_ = nullptr;
    std::string searchBuffer_;  // what incremental search has been typed so far

    // ---- The position cache, then the hooks that painting, editing and the clipboard fill in.
    // Until then they do nothing or answer a stand-in. ------------------------------------------
    // The position cache, built in the background. InterruptValidation stops the worker on this
    // tree and keeps it off until StartValidation queues the tree again: every write to node
    // links, counts, heights or the expanded and visible bits comes after it. `changed` is the
    // first node in tree order whose row, or anything after it, the write may move (nil: any
    // row): the cache's entries before it stay valid, and the next round walks on from the last
    // of them. With nothing under way and no entry kept it costs three tests. InvalidateCache
    // marks the cache as out of date from `changed` on. PauseValidation only stops a walk under
    // way, for a write that moves no shown row; the cache stays as it is and the walk goes on at
    // the next StartValidation. A dropped cache or a stopped walk is queued again by itself once
    // the window handles its messages outside an update bracket.
    void InterruptValidation(PVirtualNode changed = nullptr) {
        if (validation_.Pending() || states_.Contains(tsUseCache) ||
            validation_.Cache().ValidCount() > 0)
            StopValidation(changed);
    }
    void PauseValidation() {
        if (validation_.Pending()) StopWalk();
    }
    void StartValidation();
    void InvalidateCache(PVirtualNode changed = nullptr);
    const TPositionCache& PositionCache() const { return validation_.Cache(); }
    // Painting: the expand buttons' and tree lines' bitmaps after their look changed; whether
    // the desktop's visual styles may be used (the theme services say).
    virtual void PrepareBitmaps();
    virtual bool ThemeServicesEnabled() const;
    // Drag and drop: the window as a drop target, on or off.
    virtual void RegisterDropTarget(bool on);
    // Copying nodes: what of the user data goes with a copy, once it is in its tree. As through
    // the tree stream: what OnSaveNode of the source writes, OnLoadNode of this tree reads (the
    // string tree adds the caption).
    virtual void CopyNodeData(const TBaseVirtualTree& source, PVirtualNode from, PVirtualNode to);
    // Expansion: the toggle's slide, started before the state changes with the height of what
    // appears or goes below the node (see tree_animations.cpp); the scroll bars, the automatic
    // scroll into view and the repaint after a toggle.
    virtual void AnimateToggle(PVirtualNode node, bool expanding, std::int64_t height);
    void ShowToggledNode(PVirtualNode node, int oldOffsetY);
    // One step of the toggle's slide: the area below the node moves on by `stepSize` from
    // `step`; always true (the slide goes on); nothing for a step size of 0 or less.
    bool ToggleAnimationStep(int step, int stepSize, TToggleAnimationData& data);
    // The window: it exists as long as the tree; switching its redraw off and on for the
    // outermost update bracket.
    bool HandleAllocated() const { return Handle() != 0; }
    void SetUpdateRedraw(bool on);
    // Item measuring with toVariableNodeHeight (OnMeasureItem, painting).
    virtual void MeasureItemHeight(PVirtualNode node);
    // Height of the expand button bitmaps.
    virtual int ButtonHeight() const;
    // Editing: cancel a running or pending edit; end a running one (false when refused).
    virtual void DoCancelEdit();
    virtual bool DoEndEdit();
    // Clipboard: empty it while a cut or copy of this tree is pending.
    virtual void FlushClipboard();

private:
    friend class TVTHeader;
    friend class TVirtualTreeColumns;
    friend class TVirtualTreeColumn;
    friend struct THeaderStreamData;

    void FinishInternalUpdate();
    void StopValidation(PVirtualNode changed);
    void StopWalk();
    // Posts the tree's window a notice to start validation, once until it is handled.
    void ScheduleValidation();
    // The worker's notice of a validation round starting or ending.
    void ChangeValidationStates(WPARAM enter, LPARAM leave);
    // The row at `position`, walking forward from a shown node whose row starts at `top`, or
    // with the cache in use from the nearer of the entries around the position; `top` gets the
    // row's top.
    PVirtualNode RowFrom(PVirtualNode node, std::int64_t& top, std::int64_t position) const;
    PVirtualNode RowFromPositionCache(std::int64_t position, std::int64_t& top) const;
    // The row at `position`, walking back from a shown node whose row starts below it, at `end`.
    PVirtualNode RowBefore(PVirtualNode node, std::int64_t end, std::int64_t position,
                           std::int64_t& top) const;
    void CreateRoot(std::uint32_t internalSize);
    void SetUserDataPointer(PVirtualNode node, const void* userData);
    // Asks DoGetNodeDataSize while NodeDataSize is still unknown (-1).
    void ResolveNodeDataSize();
    void CheckRoomForUserData();
    void UnlinkNode(PVirtualNode node, bool reindex);
    void FreeSubtreeNodes(PVirtualNode node);
    void DropAllNodes();
    // Before nodes are freed: drops every reference into the subtree (the node itself when
    // `withNode`), cancels an edit inside it; a pending structure change moves up out of it.
    void ForgetSubtree(PVirtualNode node, bool withNode);
    bool InSubtree(PVirtualNode candidate, PVirtualNode top, bool withTop) const;
    std::uint32_t CountVisibleDescendants(PVirtualNode node) const;
    void RecomputeAllChildrenHidden();
    bool StartDelayTimer(UINT_PTR id);
    void StopDelayTimer(UINT_PTR id);
    std::vector<PVirtualNode> CollectInTreeOrder(std::uint16_t state, bool resolve) const;
    void SortChildren(PVirtualNode node, TColumnIndex column, TSortDirection direction);
    template <TSortDirection direction>
    void MergeSortSiblings(PVirtualNode& list, PVirtualNode* into, PVirtualNode* spare,
                           std::size_t count, TColumnIndex column);
    // The siblings being sorted, and as many pointers their runs are merged from.
    std::vector<PVirtualNode> sortBuffer_;
    // Whether the children of the node last sorted with initialisation had no children of their
    // own when sorted: SortTree has nothing to do below them.
    bool sortedLeavesOnly_ = false;
    // Whether the children of the node ToggleNode last expanded were all initialised leaves
    // then: FullExpand has nothing to do below them.
    bool expandedLeavesOnly_ = false;
    PVirtualNode NextVisibleAfterSubtree(PVirtualNode node, bool init);
    PVirtualNode NextVisibleFrom(PVirtualNode node, bool init);
    PVirtualNode PreviousVisibleFrom(PVirtualNode node, bool init);
    PVirtualNode HighestVisibilityBlocker(PVirtualNode node) const;
    PVirtualNode DeepestLastVisible(PVirtualNode node, bool init);
    // Scrolling and geometry.
    void UpdateScrollBar(int bar, int range, int clientSize, bool doRepaint);
    void HandleResize();
    int WidestVisibleRow();
    // Sum of the heights of the visible rows above the node (tree coordinates); the walk stops
    // with a sum above `limit` once it passes it.
    std::int64_t NodeTop(PVirtualNode node, std::int64_t limit = INT64_MAX) const;
    // The same sum for a node whose ancestors are shown, found through the position cache when
    // it is in use (a binary search and a walk from the entries around the node), else NodeTop.
    std::int64_t RowTop(PVirtualNode node) const;
    // The whole row of a node whose ancestors are shown, in client coordinates.
    TRect RowRect(PVirtualNode node);
    // Whether the node's row starts at or below the client area's bottom.
    bool RowBelowClient(PVirtualNode node) const;
    // Check box, state and normal image of a row (each with its gap) before its content.
    int RowImagesWidth(PVirtualNode node, TColumnIndex column, bool main);
    int CheckImageWidth() const;
    // The header's main column changed: the focus follows unless toExtendedFocus.
    void MainColumnChanged();
    // Reads ahead the subtrees of `first` and the siblings after (before) it, up to
    // kPrefetchWalkers of them and kPrefetchSteps nodes each, all at once.
    void PrefetchSubtrees(PVirtualNode first, bool forward) const;
    // Marks the ancestors of a node that is now expanded, or that was attached with expanded
    // nodes in it (kMarkExpandedBelow).
    void MarkExpandedAbove(PVirtualNode node);
    // The full collapse's walk below `top`; whether an expanded node is left there.
    bool CollapseBelow(PVirtualNode top);
    // The visible count moves by `delta`, unless a full collapse counts it afresh at its end.
    void ChangeVisibleCount(std::int64_t delta) {
        if (visibleCountDeferrals_ == 0) visibleCount_ = std::uint32_t(visibleCount_ + delta);
    }
    class TVisibleCountDeferral;
    static constexpr int kPrefetchWalkers = 8;
    // How many pool blocks ahead a walk along siblings reads (RowFrom, RowBefore).
    static constexpr int kReadAheadBlocks = 6;
    static constexpr int kPrefetchSteps = 2048;
    // Moving and copying.
    TBaseVirtualTree& ResolveTarget(PVirtualNode source, PVirtualNode& target,
                                    TVTNodeAttachMode& mode);
    void MoveWithin(PVirtualNode source, PVirtualNode target, TVTNodeAttachMode mode,
                    bool childrenOnly);
    PVirtualNode TransferTo(TBaseVirtualTree& tree, PVirtualNode source, PVirtualNode target,
                            TVTNodeAttachMode mode, bool childrenOnly, bool moving);
    struct TCopiedNode {
        PVirtualNode original, copy;
    };
    PVirtualNode BuildCopy(TBaseVirtualTree& source, PVirtualNode from,
                           std::vector<TCopiedNode>& pairs);
    void FreeDetached(PVirtualNode top);
    void AdoptSelected(PVirtualNode top);
    // The visible nodes from `startNode` to `endNode`, both included: a start that is not shown
    // stands for the shown node before it (nil: the first top-level node); the two come back in
    // tree order.
    std::vector<PVirtualNode> VisibleRange(PVirtualNode& startNode, PVirtualNode& endNode);
    // Selection: whether a node may join the selection under the level and sibling rules.
    bool SelectionAllows(PVirtualNode node, int level);
    PVirtualNode VisibleFrom(PVirtualNode start, bool forward, bool init);
    // The walking helpers serve both twins; with init off they change nothing, so the NoInit
    // functions stay const.
    TBaseVirtualTree* Walker() const { return const_cast<TBaseVirtualTree*>(this); }
    bool ChildrenShown(PVirtualNode node) const;
    void InitIfNeeded(PVirtualNode node);
    void MakeChildrenIfNeeded(PVirtualNode node);
    bool AutoSortActive() const;

    PVirtualNode root_ = nullptr;
    std::size_t rootSize_ = 0;
    TNodePool pool_;
    std::uint32_t defaultNodeHeight_ = kDefaultNodeHeight;
    std::uint32_t indent_ = 18;
    int nodeDataSize_ = -1;
    int internalDataSize_ = 0;
    static constexpr std::size_t UserDataOffsetFor(int internalDataSize) {
        return (kNodeFixedSize + std::size_t(internalDataSize) + 7) & ~std::size_t(7);
    }
    std::size_t userDataOffset_ = UserDataOffsetFor(0);
    TVTNodeAlignment nodeAlignment_ = naProportional;
    std::uint32_t visibleCount_ = 0;
    // While above 0 (a full collapse runs) the visible count is not kept up: it is counted
    // when asked for and afresh when the collapse ends.
    std::uint32_t visibleCountDeferrals_ = 0;
    // Goes up with every expansion, so that a walk can tell that none happened meanwhile.
    std::uint64_t expansions_ = 0;
    std::uint32_t updateCount_ = 0;
    std::uint32_t changeDelay_ = 0;
    TVirtualTreeStates states_;
    PVirtualNode focusedNode_ = nullptr;
    TColumnIndex focusedColumn_ = NoColumn;
    PVirtualNode rangeAnchor_ = nullptr;
    PVirtualNode lastChangedNode_ = nullptr;
    PVirtualNode lastStructureNode_ = nullptr;
    TChangeReason lastStructureReason_ = crIgnore;
    std::vector<PVirtualNode> selection_;
    std::size_t markedSelection_ = 0;
    int offsetX_ = 0;
    int offsetY_ = 0;
    std::uint32_t deleting_ = 0;  // depth of running deletions: forget only at the outermost
    std::uint32_t loadedRootCount_ = 0;
    bool rootCountLoaded_ = false;
    std::unique_ptr<TCustomVirtualTreeOptions> options_;
    TVTHeader header_;
    TVTColors colors_{this};
    TScrollBarOptions scrollBarOptions_{this};
    TImageList* images_ = nullptr;
    TImageList* stateImages_ = nullptr;
    TImageList* customCheckImages_ = nullptr;
    TClipboardFormats clipboardFormats_{*this};
    int rangeX_ = 0;
    bool updatingScrollBars_ = false;
    bool scrollBarsAgain_ = false;
    int selectionLevel_ = -1;  // level kept by toLevelSelectConstraint (-1: none)
    TAlignment alignment_ = taLeftJustify;
    std::uint32_t animationDuration_ = 200;
    std::uint32_t autoExpandDelay_ = 1000;
    std::uint32_t autoScrollDelay_ = 1000;
    std::uint32_t autoScrollInterval_ = 1;
    TBitmap background_;
    int backgroundOffsetX_ = 0;
    int backgroundOffsetY_ = 0;
    TFormBorderStyle borderStyle_ = bsSingle;
    TVTButtonFillMode buttonFillMode_ = fmTreeColor;
    TVTButtonStyle buttonStyle_ = bsRectangle;
    TCheckImageKind checkImageKind_ = ckLightCheck;
    TVTNodeAttachMode defaultPasteMode_ = amAddChildLast;
    int dragHeight_ = 350;
    TVTDragImageKind dragImageKind_ = diComplete;
    TDragOperations dragOperations_ = {doCopy, doMove};
    TVTDragType dragType_ = dtOLE;
    int dragWidth_ = 200;
    TVTDrawSelectionMode drawSelectionMode_ = smDottedRectangle;
    std::uint32_t editDelay_ = 1000;
    TVTHintAnimationType hintAnimation_ = hatSystemDefault;
    TVTHintMode hintMode_ = hmDefault;
    TCursor hotCursor_ = crDefault;
    TVTIncrementalSearch incrementalSearch_ = isNone;
    TVTSearchDirection searchDirection_ = sdForward;
    TVTSearchStart searchStart_ = ssFocusedNode;
    std::uint32_t searchTimeout_ = 1000;
    TVTLineMode lineMode_ = lmNormal;
    TVTLineStyle lineStyle_ = lsDotted;
    int margin_ = 4;
    std::uint8_t selectionBlendFactor_ = 128;
    std::uint32_t selectionCurveRadius_ = 0;
    int textMargin_ = 4;
    bool wantTabs_ = false;
    TBiDiMode biDiMode_ = bdLeftToRight;
    bool changeTimerRunning_ = false;
    bool structureTimerRunning_ = false;
    bool validationScheduled_ = false;
    TTreeValidation validation_{*this};

public:
    // ---- Painting ----------------------------------------------------------------------------
    // Paints the part `window` of the tree (tree coordinates: the rows from the top of the
    // first one, scrolling left out) onto `target` with its top-left corner at `targetPoint`,
    // one row at a time through a bitmap of that row; `options` say what is drawn. The window's
    // paint does so for its update rectangle; a bitmap's canvas gets the picture for printing,
    // drag images and tests. Rows are drawn at the target's pixel ratio.
    void PaintTree(TCanvas& target, const TRect& window, TPoint targetPoint,
                   TVTInternalPaintOptions options);
    // The node a drag would drop on and where; the drop part sets them.
    PVirtualNode DropTargetNode() const { return dropTargetNode_; }
    TDropMode LastDropMode() const { return dropMode_; }

    // The frame around the header and the client area: the border by BorderStyle (2 pixels of
    // sunken client edge, or 1 plain pixel without Ctl3D), the bevel and BorderWidth inside it.
    // The host's frame is equally wide on every side, so a bevel on some edges only still takes
    // its room on all four.
    const TBorderDecoration& BorderDecoration() const { return border_; }
    void SetBorderDecoration(const TBorderDecoration& value);
    int BorderDimension() const;
    int FrameWidth() const;
    // The bevel and the band of BorderWidth in BorderColor, into a canvas of the whole window;
    // nothing with bkNone and a BorderWidth of 0.
    void PaintBorderDecoration(TCanvas& canvas);
    // The header's strip, window coordinates (its bottom equals its top without hoVisible).
    TRect HeaderRect() const;

    TVTPaintEvent OnBeforePaint;
    TVTPaintEvent OnAfterPaint;
    TVTBackgroundPaintEvent OnPaintBackground;
    TVTBeforeItemEraseEvent OnBeforeItemErase;
    TVTAfterItemEraseEvent OnAfterItemErase;
    TVTBeforeItemPaintEvent OnBeforeItemPaint;
    TVTAfterItemPaintEvent OnAfterItemPaint;
    TVTCellPaintEvent OnBeforeCellPaint;
    TVTCellPaintEvent OnAfterCellPaint;
    TVTGetLineStyleEvent OnGetLineStyle;
    TVTMeasureItemEvent OnMeasureItem;
    TVTGetCellIsEmptyEvent OnGetCellIsEmpty;

protected:
    void Paint() override;
    // The painting steps, each overridable; the Do… ones fire their events.
    virtual void DoBeforePaint(TCanvas& canvas);
    virtual void DoAfterPaint(TCanvas& canvas);
    // True when the application painted the row itself.
    virtual bool DoBeforeItemPaint(TCanvas& canvas, PVirtualNode node, const TRect& itemRect);
    virtual void DoAfterItemPaint(TCanvas& canvas, PVirtualNode node, const TRect& itemRect);
    virtual void DoBeforeItemErase(TCanvas& canvas, PVirtualNode node, const TRect& itemRect,
                                   TColor& color, TItemEraseAction& action);
    virtual void DoAfterItemErase(TCanvas& canvas, PVirtualNode node, const TRect& itemRect);
    virtual void DoBeforeCellPaint(TCanvas& canvas, PVirtualNode node, TColumnIndex column,
                                   const TRect& cellRect);
    virtual void DoAfterCellPaint(TCanvas& canvas, PVirtualNode node, TColumnIndex column,
                                  const TRect& cellRect);
    // True when the application painted the area below the rows.
    virtual bool DoPaintBackground(TCanvas& canvas, const TRect& r);
    virtual void DoGetLineStyle(std::array<std::uint8_t, 8>& pattern);
    virtual void DoMeasureItem(TCanvas& canvas, PVirtualNode node, int& nodeHeight);
    // Whether the node shows nothing in the column (OnGetCellIsEmpty; true without a handler).
    virtual bool ColumnIsEmpty(PVirtualNode node, TColumnIndex column);
    // The cell may reach over following columns; `nextNonEmpty` gets the column painted next
    // (here the next visible one).
    virtual void AdjustPaintCellRect(TVTPaintInfo& paintInfo, TColumnIndex& nextNonEmpty);
    // The check image the node shows (see check_images.h), -1 for none.
    virtual int GetCheckImage(PVirtualNode node);
    virtual void PaintTreeLines(const TVTPaintInfo& paintInfo, int vAlign, int indentSize,
                                const TLineImage& lineImage);
    virtual void PaintNodeButton(TCanvas& canvas, PVirtualNode node, int x, int y);
    virtual void PaintCheckImage(const TVTPaintInfo& paintInfo);
    virtual void PaintImage(TVTPaintInfo& paintInfo, TVTImageInfoIndex imageInfoIndex,
                            TImageList* images, bool doOverlay);
    // The cell's content: nothing here, the string tree draws its text.
    virtual void PaintNode(TVTPaintInfo& /*paintInfo*/) {}
    virtual void PaintDropMark(TCanvas& canvas, PVirtualNode node, const TRect& r);

    // Painting support shared by the steps. The line image of a row, one entry per level (one
    // more with toShowRoot), and the number of its ancestors that are selected.
    int DetermineLineImageAndSelectLevel(PVirtualNode node, TLineImage& lineImage);
    // One level's tree lines in the box of `indentSize` pixels from x (the row's top at y, its
    // height h, the horizontal lines at vAlign); Reverse mirrors them for right-to-left.
    void DrawLineImage(const TVTPaintInfo& paintInfo, int x, int y, int h, int vAlign,
                       TVTLineType lineType, bool reverse);
    // The row's background, and with full-row selection its selection.
    void EraseNodeBackground(TVTPaintInfo& paintInfo, const TRect& itemRect);
    // The cell's colour, its selection and drop-target marking and the focus rectangle.
    void PaintCellSelection(TVTPaintInfo& paintInfo);
    // Each visible column's span of `r` in its colour (coParentColor: the tree's).
    void PaintColumnBackgrounds(TCanvas& canvas, const TRect& r);
    // The background picture tiled over `r`, fixed to the client area (plus
    // BackgroundOffsetX/Y) while the rows scroll over it; the canvas's y = 0 is the tree's
    // `canvasTop`.
    void TileBackground(TCanvas& canvas, const TRect& r, std::int64_t canvasTop);
    // Dotted one-pixel lines in `color` over the tree's colour, both ends included.
    void DrawDottedHLine(TCanvas& canvas, int left, int right, int top, TColor color);
    void DrawDottedVLine(TCanvas& canvas, int top, int bottom, int left, TColor color);
    // The selection is drawn in its focused colours: the window has the focus, or toPopupMode.
    bool SelectionLooksFocused() const;
    // tsUseThemes follows toThemeAware and the theme services.
    void SyncThemeState();
    // A canvas in the tree's font for measuring outside painting.
    TCanvas& MeasureCanvas();

    TDropMode dropMode_ = dmNowhere;
    // The rubber band of a multi-selection, tree coordinates; empty while there is none.
    TRect drawSelectionRect_;

private:
    void PaintRow(TCanvas& target, const TRect& window, TPoint targetPoint, PVirtualNode node,
                  std::int64_t rowTop, int height, TVTInternalPaintOptions options);
    void PaintCell(TVTPaintInfo& paintInfo, const TLineImage& lineImage);
    // Where the expand button and the vertical tree lines sit in a level's box of Indent
    // pixels: the button centred, (Indent − button width) / 2 rounded, the lines through the
    // button's middle.
    int ButtonOffsetInLevel() const;
    int LineOffsetInLevel() const;
    void PaintGridLines(TVTPaintInfo& paintInfo, int indentation);
    void PositionImages(TVTPaintInfo& paintInfo, bool main);
    void PaintSelectionRectangle(TBitmap& row, const TRect& window, std::int64_t rowTop);
    void PaintBelowRows(TCanvas& target, const TRect& area, TPoint targetPoint,
                        TVTInternalPaintOptions options);
    // The expand buttons and the line pattern for painting at `pixelRatio`.
    void PrepareButtons(double pixelRatio);

    // The window's frame: the border, the bevel and the band inside it.
    void PaintNonClientArea(TCanvas& canvas);

    TTreePaintResources paint_;
    TBorderDecoration border_;

public:
    // ---- Animations: the toggle's slide and a column's animated resize ------------------------
    // Both run on timer kAnimationTimer, kAnimationInterval ms a tick; the tree's state is the
    // end state from their start, and only the picture moves until the last tick.
    static constexpr UINT_PTR kAnimationTimer = 8;
    static constexpr unsigned kAnimationInterval = 10;
    // The slide running now (nullptr: none).
    const TSlideAnimation* Slide() const { return slide_.get(); }
    // Ends a running slide at once: the tree shows its state.
    void FinishSlide();
    // Gives a column its new width (within its limits), shown as a slide of what lies right of
    // its left edge when the width changes by 32 pixels or more (AnimatedResize).
    void AnimateColumnResize(TColumnIndex column, int newWidth);

private:
    // Takes the window's picture and starts the timer.
    void StartSlide(const TRect& area, TSlideAnimation::TMotion motion, int distance, int stepSize,
                    int steps, unsigned duration, bool header);
    void SlideTick();
    void FillSlideStrip(TCanvas& canvas, const TRect& strip);
    std::unique_ptr<TSlideAnimation> slide_;
    TToggleAnimationData toggleData_;
    bool slideOfToggle_ = false;
    int slideStepSize_ = 1;
    int slideSteps_ = 0;
    int slideStep_ = 0;
    int slideStepsPerTick_ = 1;
    // The change a slide shows is being made: its own scrolling and sizing do not end it.
    bool changingUnderSlide_ = false;

public:
    // ---- Input: hit testing, keys, mouse, scrolling and search -------------------------------
    // Timers of the tree's window besides the change timers (5, 6) and the search timer (7).
    static constexpr UINT_PTR kExpandTimer = 1;
    static constexpr UINT_PTR kEditTimer = 2;
    static constexpr UINT_PTR kHeaderTimer = 3;
    static constexpr UINT_PTR kScrollTimer = 4;
    static constexpr UINT_PTR kSearchTimer = 7;  // ends an incremental search
    // Panning ticks and the dead zone around the point where panning started.
    static constexpr std::uint32_t kPanningInterval = 20;
    static constexpr int kPanningDeadZone = 8;

    // Where the point (client coordinates; Relative: the scroll offsets are taken off first)
    // lies: the node, the column and the position bits.
    THitInfo GetHitTestInfoAt(int x, int y, bool relative = true);

    // The dragging settings of the control (the framework's DragMode and DragKind).
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode value) { dragMode_ = value; }
    TDragKind DragKind() const { return dragKind_; }
    void SetDragKind(TDragKind value) { dragKind_ = value; }
    // Whether the tree is dragging: one of its drag states is set, or the framework drags it.
    bool Dragging() const override;
    // Starts a drag (Immediate) or lets it start once the mouse moved Threshold pixels (negative:
    // the desktop's drag threshold) away from where the button went down.
    void BeginDrag(bool immediate, int threshold = -1);
    // The distance a pending drag waits for.
    int DragStartThreshold() const { return dragThreshold_; }

    // Editing: opens the editor for the node and column (true when editing is on afterwards);
    // ends a running or pending edit (true when none is left running); cancels one.
    bool EditNode(PVirtualNode node, TColumnIndex column);
    bool EndEditNode();
    virtual void CancelEditNode();
    // Whether the node may be edited in the column now.
    virtual bool CanEdit(PVirtualNode node, TColumnIndex column);
    bool IsEditing() const { return states_.Contains(tsEditing); }
    // The node being edited; nil when none, or when it was deleted meanwhile.
    PVirtualNode EditedNode() const { return editNode_; }
    IVTEditLink* EditLink() const { return editLink_.get(); }
    // What an editor starts with: the font, the rectangle (client coordinates) and the text of
    // the node's cell; here the tree's font and nothing else.
    virtual void GetTextInfo(PVirtualNode node, TColumnIndex column, TFont& font, TRect& r,
                             std::string& text);
    TVTCreateEditorEvent OnCreateEditor;
    TVTEditChangeEvent OnEdited;
    TVTEditCancelEvent OnEditCancelled;

    // ---- Hints -------------------------------------------------------------------------------
    // Takes a shown hint away.
    void CancelHint();
    // The window the tree's hints show in (made on first use).
    TVirtualTreeHintWindow& HintWindow();
    // Where the hint shown belongs (client coordinates); empty when none is shown.
    TRect LastHintRect() const { return lastHintRect_; }
    // A node's hint and tooltip texts: the control's Hint here.
    virtual std::string DoGetNodeHint(PVirtualNode node, TColumnIndex column);
    virtual std::string DoGetNodeTooltip(PVirtualNode node, TColumnIndex column);
    // The font a node's tooltip is measured and drawn in.
    virtual void PrepareTooltipCanvas(TCanvas& canvas, PVirtualNode node, TColumnIndex column);
    // How hints appear: HintAnimation, or the desktop's setting for hatSystemDefault.
    virtual TVTHintAnimationType DoGetAnimationType();

    // The clipboard: what WM_COPY, WM_CUT and WM_PASTE do (tree_clipboard.cpp).
    virtual void CopyToClipboard();
    virtual void CutToClipboard();
    virtual bool PasteFromClipboard();

    // What the platform's tree view answered to its item messages, as typed calls. A node must
    // be one of this tree's (others are taken for none).
    // The node's row (TextOnly: its text) in client coordinates; false when not shown.
    bool GetItemRect(PVirtualNode node, bool textOnly, TRect& rect);
    PVirtualNode GetNextItem(unsigned flag, PVirtualNode node);
    // Fills what Mask asks for; false without a node.
    bool GetItem(TTreeItem& item);
    // Whether `node` is a live node of this tree (not the hidden root).
    bool OwnsNode(const void* node) const;

    // Incremental search: the text typed so far.
    const std::string& SearchBuffer() const { return searchBuffer_; }
    PVirtualNode HotNode() const { return hotNode_; }
    TPoint ClickPoint() const { return clickPoint_; }
    TScrollDirections AutoScrollDirections() const { return autoScrollDirections_; }
    // The rubber band in tree coordinates: its first corner where it started.
    TRect NewSelectionRect() const { return newSelectionRect_; }
    int SelectionLevel() const { return selectionLevel_; }

    // Shows the tree's popup menu for a node and column at a client point.
    void DoPopupMenu(PVirtualNode node, TColumnIndex column, TPoint position);

    TVTHotNodeChangeEvent OnHotChange;
    TVTGetCursorEvent OnGetCursor;
    TVTPopupEvent OnGetPopupMenu;
    TVTKeyActionEvent OnKeyAction;
    TVTHelpContextEvent OnGetHelpContext;
    TVTColumnClickEvent OnColumnClick;
    TVTColumnClickEvent OnColumnDblClick;
    TVTScrollEvent OnScroll;
    TVTDragAllowedEvent OnDragAllowed;
    TVTEditChangingEvent OnEditing;
    TVTIncrementalSearchEvent OnIncrementalSearch;

    // 0 when the node answers the typed text (OnIncrementalSearch; a match without a handler).
    virtual int DoIncrementalSearch(PVirtualNode node, const std::string& text);
    // The node's text in the main column (GetItem); the string tree has texts.
    virtual std::string ItemText(PVirtualNode /*node*/) { return {}; }

protected:
    // The framework's drag of controls goes on beside the drop target's calls of the same names.
    using TCustomControl::DragDrop;
    using TCustomControl::DragOver;

    void MouseMove(TShiftState shift, int x, int y) override;
    // The steps of the input handling, each overridable.
    virtual THitPositions DetermineHitPositionLTR(PVirtualNode node, int x, int right,
                                                  TColumnIndex column, TAlignment alignment);
    virtual THitPositions DetermineHitPositionRTL(PVirtualNode node, int x, int right,
                                                  TColumnIndex column, TAlignment alignment);
    bool HitInFrontOfText(PVirtualNode node, int fromEdge, TColumnIndex column, THitPositions& hit,
                          int& textStart);
    virtual TCheckState DetermineNextCheckState(TCheckType checkType, TCheckState checkState);
    void PressCheckBox(PVirtualNode node);
    virtual void ProcessMouseDown(TMessage& message, const THitInfo& hitInfo);
    virtual void HandleMouseUp(TMessage& message, const THitInfo& hitInfo);
    virtual void HandleMouseDblClick(TMessage& message, const THitInfo& hitInfo);
    // The rubber band's second corner follows (X, Y); true when the band changed.
    bool TrackSelectionRect(int x, int y);
    void AutoScrollStep();
    virtual bool CanAutoScroll();
    virtual void DoAutoScroll(int x, int y);
    virtual bool CanShowDragImage() { return dragImageKind_ != diNoImage; }
    bool CanShowPopupMenu(PVirtualNode node, TColumnIndex column, TPoint position);
    virtual bool DoBeforeDrag(PVirtualNode node, TColumnIndex column);
    virtual bool DoCanEdit(PVirtualNode node, TColumnIndex column);
    virtual void DoColumnClick(TColumnIndex column, TShiftState shift);
    virtual void DoColumnDblClick(TColumnIndex column, TShiftState shift);
    virtual TCursor DoGetCursor(TCursor cursor);
    virtual TPopupMenu* DoGetPopupMenu(PVirtualNode node, TColumnIndex column, TPoint position);
    virtual int DoGetHelpContext(PVirtualNode node, TColumnIndex column);
    virtual void DoHotChange(PVirtualNode oldNode, PVirtualNode newNode);
    // False when the handler cancels the key's default action.
    virtual bool DoKeyAction(int& charCode, TShiftState& shift);
    virtual void DoScroll(int deltaX, int deltaY);
    // Opens the editor for the focused node and column.
    virtual void DoEdit();
    // The edit link for a node and column: OnCreateEditor's (EVirtualTreeError 2000 when the
    // handler gives none); nil without a handler, and the tree does not edit.
    virtual std::shared_ptr<IVTEditLink> DoCreateEditor(PVirtualNode node, TColumnIndex column);
    // Places the open editor over the focused node's text.
    void UpdateEditBounds();
    // A pending drag starts from the press point; the drag-and-drop part fills it in (here it
    // only ends the pending states).
    virtual void DoDragging(TPoint p);
    // The help for a context, handed to the application's help hook: there is no help viewer
    // of the system's here.
    virtual void ShowHelp(int context);
    // Paints the header into its strip of the frame (window coordinates).
    virtual void PaintHeader(TCanvas& canvas, const TRect& r);
    // Wheel panning: the state, the capture, timer 4, the panning mark and its cursors.
    TPanningWindow* PanningWindow() const { return panningWindow_.get(); }
    void StartWheelPanning(TPoint position);
    void StopWheelPanning();
    // Incremental search of one typed character (0: only the timeout restarts).
    void DoIncrementalSearchKey(char32_t key);

    // The node whose check box is pressed with the mouse and the state it gets on release.
    TCheckState checkState_ = chkUnchecked;
    // Space's pending check: the state the node gets on release.
    TCheckState pendingCheckState_ = chkUnchecked;

    void KeyDown(int& key, TShiftState shift) override;
    // With toAutoChangeScale a scaled tree scales DefaultNodeHeight and its header too (nodes
    // made before keep their heights). Indent stays, as the expand buttons and check images it
    // makes room for keep their size.
    void ChangeScale(int m, int d) override;

private:
    // Message handlers; DispatchInput answers whether it handled the message whole.
    bool DispatchInput(TMessage& message);
    void HandleKeyDown(int key);
    void HandleKeyUp(TMessage& message);
    void HandleChar(TMessage& message);
    void HandleTimer(TMessage& message);
    void HandleScroll(TMessage& message, bool vertical);
    void HandleMouseWheel(TMessage& message);
    void HandleButton(TMessage& message);
    void HandleFocusLoss();
    void CancelInputModes();
    bool HandleSetCursor(TMessage& message);
    void HandleRightButtonUp(TMessage& message);
    bool HandleNonClient(TMessage& message);
    // The keyboard's navigation keys (Backspace, Tab, Page Up … Down).
    void NavigateByKey(int key, TShiftState shift);
    void MoveFocusColumn(bool forward);
    void OpenPopupByKey();
    void ShowHelpForFocus();
    void PressCheckByKey();
    void AbandonKeyCheck();
    // Mouse-up steps for the check box and the edit timer.
    void FinishCheckClick(const THitInfo& hitInfo);
    // Click selection by the keys held: Ctrl+Shift adds a range, Ctrl toggles, Shift selects a
    // range; none selects the node.
    void HandleClickSelection(PVirtualNode lastFocused, PVirtualNode newNode, TShiftState shift,
                              bool dragPending);
    // The rubber band's selection between the old and the new band; true when it changed.
    bool HandleDrawSelection(const TRect& oldRect, const TRect& newRect);
    // The horizontal span of a node's content for the rubber band (tree coordinates).
    void NodeContentSpan(PVirtualNode node, int& left, int& right);
    void ClearSelectionKeeping(PVirtualNode node);
    void UpdateHotNode(const THitInfo& hitInfo);
    void SetRubberBand(bool drawn);
    // Invalidates the union of two rubber bands in client coordinates.
    void InvalidateBands(const TRect& a, const TRect& b);
    TScrollDirections ScrollDirectionsAt(int x, int y);
    void StopAutoScroll();
    bool InHeaderInteraction() const;
    void StopTimer(UINT_PTR id);
    // Steps of the search walk by mode and direction.
    PVirtualNode SearchStep(PVirtualNode node, bool forward);
    PVirtualNode SearchFirst(bool forward);

    TDragMode dragMode_ = dmManual;
    TDragKind dragKind_ = dkDrag;
    int dragThreshold_ = 5;
    TPoint clickPoint_;
    TRect newSelectionRect_;
    TRect oldSelectionRect_;
    TShiftState selectionShiftState_ = 0;
    TScrollDirections autoScrollDirections_ = 0;
    TPoint panningStart_;
    TColumnIndex editColumn_ = NoColumn;
    bool panningButtonHeld_ = false;
    std::shared_ptr<IVTEditLink> editLink_;
    PVirtualNode editNode_ = nullptr;
    std::unique_ptr<TVirtualTreeHintWindow> hintWindow_;
    std::unique_ptr<TPanningWindow> panningWindow_;
    TRect lastHintRect_;
    void HandleHintShow(THintInfo& info);
    // The pause before the hint: none for tooltips, nor over a header that shows hints.
    void HandleHintShowPause(int& pause);
    // The mouse moved to a client point: a hint that does not belong there goes.
    void HintMouseMoved(TPoint client);
    char32_t highSurrogate_ = 0;  // the first half of a typed character beyond the first plane

public:
    // ---- Streams, the clipboard and drag and drop --------------------------------------------
    // The tree (or one node with its subtree) as a stream of chunks: a header, the count of
    // top-level nodes, then one node chunk each. Loading checks the header, then replaces the
    // tree; data it cannot trust raise EVirtualTreeError 2002 to 2006 (or the stream's
    // EReadError) and leave what was read so far. Nothing happens to a read-only tree.
    virtual void SaveToStream(TStream& stream, PVirtualNode node = nullptr);
    virtual void LoadFromStream(TStream& stream);
    void SaveToFile(const std::string& fileName);
    virtual void LoadFromFile(const std::string& fileName);
    // Loads a stream's nodes as the last children of `targetNode` (nil: the top level), keeping
    // what the tree holds.
    void AddFromStream(TStream& stream, PVirtualNode targetNode);

    // Leaves a pending cut or copy: the nodes lose their marks. A pending cut whose data were
    // pasted into another tree deletes its nodes (FinishCut).
    void CancelCutOrCopy();
    void FinishCut();
    // Inserts the tree data a data object carries at `targetNode` (nil: the root) with `mode`.
    // Optimized: `source` is a tree of this process whose dragged (or cut) nodes move over
    // directly. False when the data object carries no tree data, the tree is read-only or
    // nothing could be read.
    bool ProcessOLEData(TBaseVirtualTree* source, const std::shared_ptr<IDataObject>& dataObject,
                        PVirtualNode targetNode, TVTNodeAttachMode mode, bool optimized);
    // The tree of this process a data object comes from, nil for any other data (or a tree that
    // is gone).
    static TBaseVirtualTree* SourceTreeOf(IDataObject& dataObject);
    // The number under which this tree is found by data objects and references while it lives.
    std::uint64_t TreeId();

    // The drop target's calls as the drag manager passes them on (screen coordinates).
    virtual HRESULT DragEnter(DWORD keyState, TPoint pt, DWORD& effect);
    virtual HRESULT DragOver(TObject* source, DWORD keyState, TDragState state, TPoint pt,
                             DWORD& effect);
    virtual void DragLeave();
    virtual HRESULT DragDrop(const std::shared_ptr<IDataObject>& dataObject, DWORD keyState,
                             TPoint pt, DWORD& effect);
    // Made on first use (OnCreateDragManager, else the tree's own).
    IVTDragManager& DragManager();
    // The selection when a drag from this tree started, in tree order, without the descendants
    // of a node in it, less the nodes deleted or moved away since; empty outside a drag.
    std::vector<PVirtualNode> DragSelection() const;
    // The effect a drop would have: move for a drag from this tree, copy for others, changed by
    // the keys (Ctrl+Shift or Alt link, Ctrl copy, Shift move), within `allowed`.
    virtual DWORD SuggestDropEffect(TObject* source, TShiftState shift, TPoint pt, DWORD allowed);
    TDropMode DropMode() const { return dropMode_; }

    TVTSaveNodeEvent OnSaveNode;
    TVTSaveNodeEvent OnLoadNode;
    TVTRenderOLEDataEvent OnRenderOLEData;
    TVTCreateDataObjectEvent OnCreateDataObject;
    TVTCreateDragManagerEvent OnCreateDragManager;
    TVTGetUserClipboardFormatsEvent OnGetUserClipboardFormats;
    TVTDragOverEvent OnDragOver;
    TVTDragDropEvent OnDragDrop;

protected:
    friend class TVTDataObject;
    friend class TVTDragManager;
    // The chunks of a stream: a node chunk with its subtree, the sub-chunks of one node (the
    // base chunk with the children, the user data; the string tree adds the caption), and their
    // reading into an existing node. ReadChunk answers whether it understood the chunk.
    void WriteNode(TStream& stream, PVirtualNode node);
    virtual void WriteChunks(TStream& stream, PVirtualNode node);
    virtual void ReadNode(TStream& stream, int version, PVirtualNode node);
    virtual bool ReadChunk(TStream& stream, int version, PVirtualNode node, int chunkType,
                           int chunkSize);
    virtual void SkipNode(TStream& stream);
    virtual void DoSaveUserData(PVirtualNode node, TStream& stream);
    virtual void DoLoadUserData(PVirtualNode node, TStream& stream);
    // The data of one format for a data object of this tree; "Virtual Tree Data" here, other
    // formats through OnRenderOLEData (E_FAIL when nobody renders them).
    virtual HRESULT RenderOLEData(const TFormatEtc& format, TStgMedium& medium, bool forClipboard);
    virtual HRESULT DoRenderOLEData(const TFormatEtc& format, TStgMedium& medium,
                                    bool forClipboard);
    // The formats a data object of this tree offers: the tree's class's, as ClipboardFormats
    // allows (all when it lists none), then the application's.
    virtual void GetNativeClipboardFormats(std::vector<TFormatEtc>& formats);
    virtual void DoGetUserClipboardFormats(std::vector<TFormatEtc>& formats);
    virtual std::shared_ptr<IDataObject> DoCreateDataObject();
    virtual std::shared_ptr<IVTDragManager> DoCreateDragManager();
    // OnDragOver; false (refused) without a handler.
    virtual bool DoDragOver(TObject* source, TShiftState shift, TDragState state, TPoint pt,
                            TDropMode mode, DWORD& effect);
    virtual void DoDragDrop(TObject* source, const std::shared_ptr<IDataObject>& dataObject,
                            const TFormatArray& formats, TShiftState shift, TPoint pt,
                            DWORD& effect, TDropMode mode);
    // OnStartDrag; a drag object handed there is noted (tsUserDragObject).
    void DoStartDrag(std::unique_ptr<TDragObject>& dragObject) override;
    // OnEndDrag; the end of a framework drag started here also leaves its states and brings
    // the button's release where the mouse is.
    void DoEndDrag(TObject* target, int x, int y) override;
    // Timer 1: a collapsed drop target with children opens.
    virtual void DoDragExpand();
    // The picture of the selected rows around the hot spot (client coordinates) that follows
    // the mouse while the tree's nodes are dragged.
    virtual void PrepareDragImage(TPoint hotSpot, const std::shared_ptr<IDataObject>& dataObject);
    // Repaints part of the tree (client coordinates) under the drag image of `tree`, the drag's
    // source in this process.
    void UpdateWindowAndDragImage(TBaseVirtualTree& tree, TRect treeRect, bool updateNCArea,
                                  bool reshowDragImage);
    // The framework's own drag over the tree (CM_DRAG).
    void HandleFrameworkDrag(TMessage& message);

private:
    // The picture of this tree's drag that follows the mouse (screen coordinates).
    void ShowDragImage();
    void HideDragImage();
    bool DragImageWillMove(TPoint screen) const;
    void DragImageTo(TPoint screen);
    void EndDragImage();
    // A node goes (or all go): the transfer's references to it go too.
    void ForgetTransferNode(PVirtualNode node);
    void ForgetAllTransferNodes();
    // Reads the header; answers the version.
    static int ReadStreamHeader(TStream& stream);
    // Reads the count after the header and that many node chunks into `parent`, in one update.
    void ReadStreamNodes(TStream& stream, int version, PVirtualNode parent);
    // Reads top-level node chunks into new last children of `parent` (at most `count`).
    void ReadTopLevelNodes(TStream& stream, int version, PVirtualNode parent, std::int64_t count);
    // After nodes were read into `parent`: its flags, the cache, the structure change.
    void FinishReading(PVirtualNode parent, bool added);
    // ReadNode of a new node with the bookkeeping of the selection after it.
    void ReadNewNode(TStream& stream, int version, PVirtualNode node);
    // A node's fields from a base chunk, with the counts, heights and visible rows kept right.
    void ApplyStreamedFields(PVirtualNode node, std::uint16_t states, std::uint32_t height,
                             std::uint8_t align, std::uint8_t checkState, std::uint8_t checkType);
    // Empties the clipboard of this tree's data (Clear).
    void ReleaseClipboard();
    // What ends at the tree's end: the clipboard's data rendered while the nodes still exist,
    // the drop target, the tree's number.
    void FinishTransfer();
    // Marks the nodes of a cut or copy just put on the clipboard.
    void MarkCutOrCopy(bool cut, const std::shared_ptr<IDataObject>& dataObject);
    void EndOLEDrag(DWORD effect);
    void MoveDraggedNodes(TBaseVirtualTree& source, PVirtualNode target, TVTNodeAttachMode mode);
    bool InsertStreamedNodes(TBaseVirtualTree* source, IDataObject& dataObject, PVirtualNode target,
                             TVTNodeAttachMode mode);

    std::uint64_t treeId_ = 0;
    std::shared_ptr<IVTDragManager> dragManager_;
    std::unique_ptr<TVTDragImage> dragImage_;     // while a drag from this tree runs
    std::weak_ptr<IDataObject> clipboardObject_;  // the data of this tree's pending cut or copy
    std::vector<PVirtualNode> dragSelection_;
    std::unordered_set<PVirtualNode> dragged_;  // the part of it still in this tree
    std::uint32_t dragScrollStart_ = 0;         // when the mouse first stood in an edge zone
    DWORD frameworkDragEffect_ = DROPEFFECT_NONE;
    PVirtualNode frameworkDropTarget_ = nullptr;
    std::int64_t readLimit_ = -1;  // where the chunk being read ends (-1: the stream's end)
    unsigned streamDepth_ = 0;     // node chunks being read or written inside each other
    bool dropTargetRegistered_ = false;

protected:
    // A descendant replaces the options object with its own kind (in its constructor).
    void SetOptionsObject(std::unique_ptr<TCustomVirtualTreeOptions> options);
};

}  // namespace rv
