#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/component.h"
#include "platform/graphics/image_list.h"
#include "platform/messages/messages.h"
#include "tree/node_pool.h"
#include "tree/tree_errors.h"
#include "tree/tree_options.h"
#include "tree/tree_types.h"
#include "tree/validation_worker.h"
#include "tree/virtual_node.h"
#include "tree/vt_header.h"

namespace rv {

// The virtual tree: it keeps no items, only a tree of node records with the caller's user data
// behind each, and asks for everything else through events when it needs it. Nodes are made
// raw and initialised on first touch (OnInitNode, OnInitChildren); every node keeps the count
// and the height of its subtree, so that positions and the scroll range never need a walk over
// the whole tree.
//
// This class holds the node store and the programming interface without painting: adding,
// inserting and deleting nodes, the update bracket, the change notifications with their delay,
// navigation, focus, selection, check states, visibility, expansion, sorting and the position
// cache. The parts that need the window (painting, scrolling, editing, the clipboard) reach it
// through the hooks at the end of the protected section, which do nothing or answer a stand-in
// until those parts fill them in.
class TBaseVirtualTree : public TComponent {
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
    std::uint32_t VisibleCount() const { return visibleCount_; }

    // The node's user data; nil for nil and the root.
    void* GetNodeData(PVirtualNode node) const {
        TreeAssert(nodeDataSize_ >= 1, "NodeDataSize not initialized.");
        if (!node || node == root_) return nullptr;
        return reinterpret_cast<char*>(node) + kNodeFixedSize + internalDataSize_;
    }
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
    TScrollBarOptions& ScrollBarOptions() { return scrollBarOptions_; }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* value);
    TImageList* StateImages() const { return stateImages_; }
    void SetStateImages(TImageList* value);
    // Scroll position in pixels, 0 or negative; scrolling sets it.
    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }

    // Applies what was read while the tree was loading (the root node count).
    virtual void Loaded();

    // ---- Node properties ---------------------------------------------------------------------
    // 0 for nil and the root; with toVariableNodeHeight the node is measured first.
    std::uint32_t NodeHeight(PVirtualNode node);
    void SetNodeHeight(PVirtualNode node, std::uint32_t value);
    bool Expanded(PVirtualNode node) const;
    void SetExpanded(PVirtualNode node, bool value);
    // Expands a collapsed node, collapses an expanded one (OnExpanding/OnCollapsing may refuse).
    void ToggleNode(PVirtualNode node);
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

    // ---- Window ------------------------------------------------------------------------------
    // The tree's window. Until the window host joins, a message-only window made when a delay
    // timer is first needed (0 before).
    HWND Handle() const { return handle_; }
    virtual void WndProc(TMessage& message);

    // The tree's reaction to a changed option set (called by the options object).
    virtual void TreeOptionsChanged(TVTOptionSetKind kind, std::uint32_t before);

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

protected:
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
    virtual int DoCompareNodes(PVirtualNode node1, PVirtualNode node2, TColumnIndex column);
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

    // ---- Hooks that the window, painting, scrolling, editing and the clipboard fill in. Until
    // then they do nothing or answer a stand-in. The position cache's calls come first. ---------
    // The position cache, built in the background. InterruptValidation stops the worker on this
    // tree and keeps it off until StartValidation queues the tree again: every write to node
    // links, counts, heights or the expanded and visible bits comes after it. With no validation
    // under way it costs two flag tests. InvalidateCache marks the cache as out of date.
    void InterruptValidation() {
        if (validation_.Pending() || states_.Contains(tsUseCache)) StopValidation();
    }
    void StartValidation();
    void InvalidateCache();
    const TPositionCache& PositionCache() const { return validation_.Cache(); }
    // Painting: mark the control, a node's row or everything below a node for repainting, or
    // repaint a node at once.
    virtual void Invalidate() {}
    virtual void InvalidateNode(PVirtualNode) {}
    virtual void InvalidateToBottom(PVirtualNode) {}
    virtual void RepaintNode(PVirtualNode) {}
    // Scrolling: the scroll bars after a change of the ranges; bringing a node into view (true
    // when anything scrolled).
    virtual void UpdateScrollBars(bool /*doRepaint*/) {}
    virtual bool ScrollIntoView(PVirtualNode, bool /*center*/, bool /*horizontally*/ = false) {
        return false;
    }
    // Expansion: the toggle animation before the state changes, the scroll bars, the automatic
    // scroll into view and the repaint after it.
    virtual void AnimateToggle(PVirtualNode, bool /*expanding*/) {}
    virtual void ShowToggledNode(PVirtualNode) {}
    // The window: whether it exists (painting and scroll bars only then), and switching its
    // redraw off and on for the outermost update bracket.
    virtual bool HandleAllocated() const { return false; }
    virtual void SetUpdateRedraw(bool) {}
    // Item measuring with toVariableNodeHeight (OnMeasureItem, painting).
    virtual void MeasureItemHeight(PVirtualNode) {}
    // Height of the expand button bitmaps (9 × 9 until painting support makes them).
    virtual int ButtonHeight() const { return 9; }
    // Editing: cancel a running or pending edit; end a running one (false when refused).
    virtual void DoCancelEdit();
    virtual bool DoEndEdit() { return true; }
    // Clipboard: empty it while a cut or copy of this tree is pending.
    virtual void FlushClipboard();

private:
    void FinishInternalUpdate();
    void StopValidation();
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
    // The message window (made on first use) that receives the timers and the worker's notices.
    HWND MessageWindow();
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
    PVirtualNode MergeSortSiblings(PVirtualNode& list, std::uint32_t count, TColumnIndex column,
                                   TSortDirection direction);
    PVirtualNode NextVisibleAfterSubtree(PVirtualNode node, bool init);
    PVirtualNode NextVisibleFrom(PVirtualNode node, bool init);
    PVirtualNode PreviousVisibleFrom(PVirtualNode node, bool init);
    PVirtualNode HighestVisibilityBlocker(PVirtualNode node) const;
    PVirtualNode DeepestLastVisible(PVirtualNode node, bool init);
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
    TVTNodeAlignment nodeAlignment_ = naProportional;
    std::uint32_t visibleCount_ = 0;
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
    TVTColors colors_;
    TScrollBarOptions scrollBarOptions_;
    TImageList* images_ = nullptr;
    TImageList* stateImages_ = nullptr;
    HWND handle_ = 0;
    bool changeTimerRunning_ = false;
    bool structureTimerRunning_ = false;
    TTreeValidation validation_{*this};

protected:
    // A descendant replaces the options object with its own kind (in its constructor).
    void SetOptionsObject(std::unique_ptr<TCustomVirtualTreeOptions> options);
};

}  // namespace rv
