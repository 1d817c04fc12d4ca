// Construction of the tree and its hidden root, the node data areas, the tree-wide and per-node
// properties, and the window's messages and timers.

#include "tree/base_tree.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/framework/drag_loop.h"
#include "platform/text/round.h"
#include "platform/windows/window_host.h"
#include "tree/hint_window.h"
#include "tree/panning_marks.h"

namespace rv {

namespace {

// Input and changes of the window's size end a running slide.
bool EndsSlide(UINT msg) {
    switch (msg) {
        case WM_KEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_MOUSEWHEEL:
        case CM_MOUSEWHEEL:
        case WM_SIZE:
        case WM_CANCELMODE:
            return true;
        default:
            return false;
    }
}

}  // namespace

TBaseVirtualTree::TBaseVirtualTree(TComponent* owner)
    : TCustomControl(owner),
      options_(std::make_unique<TCustomVirtualTreeOptions>(this)),
      header_(*this) {
    CreateRoot(0);
    InitColor(clWindow);
    SetBounds(0, 0, 200, 100);
    SetTabStop(true);
    UpdateFrame();
    RegisterDropTarget(TreeOptions().MiscOptions().Contains(toAcceptOLEDrop));
}

TBaseVirtualTree::~TBaseVirtualTree() {
    // A framework drag from or over this tree goes on without it.
    ForgetFrameworkDragControl(this);
    FinishTransfer();
    MarkDestroying();
    CancelHint();
    if (states_.ContainsAny({tsEditing, tsEditPending})) DoCancelEdit();
    InterruptValidation();
    StopDelayTimer(kChangeTimer);
    StopDelayTimer(kStructureChangeTimer);
    // OnFreeNode still sees every initialised node go.
    Clear();
    std::free(root_);
}

TBaseVirtualTree* TBaseVirtualTree::TreeFromNode(PVirtualNode node) {
    TreeAssert(node != nullptr, "Node must not be nil.");
    while (node->NextSibling != node) node = node->Parent;
    return reinterpret_cast<TBaseVirtualTree*>(node->Parent);
}

void TBaseVirtualTree::CreateRoot(std::uint32_t internalSize) {
    const std::size_t size = kNodeFixedSize + internalSize;
    auto* root = static_cast<PVirtualNode>(std::calloc(1, size));
    if (!root) throw std::bad_alloc();
    if (root_) {
        std::memcpy(root, root_, std::min(size, rootSize_));
        std::free(root_);
    } else {
        root->States = kRootNodeStates;
        root->TotalCount = 1;
        root->NodeHeight = std::uint16_t(defaultNodeHeight_);
        root->TotalHeight = defaultNodeHeight_;
        root->Align = kDefaultNodeAlign;
    }
    // The root's Parent is the tree, never followed as a node.
    root->Parent = reinterpret_cast<PVirtualNode>(this);
    root->PrevSibling = root->NextSibling = root;
    root_ = root;
    rootSize_ = size;
}

std::uint32_t TBaseVirtualTree::AllocateInternalDataArea(std::uint32_t size) {
    TreeAssert(root_->ChildCount == 0 && pool_.LiveCount() == 0,
               "Internal data allocation must be done before any node is created.");
    const std::uint32_t offset = kNodeFixedSize + std::uint32_t(internalDataSize_);
    internalDataSize_ += int((size + 3) & ~3u);
    userDataOffset_ = UserDataOffsetFor(internalDataSize_);
    CreateRoot(std::uint32_t(internalDataSize_));
    return offset;
}

void TBaseVirtualTree::SetOptionsObject(std::unique_ptr<TCustomVirtualTreeOptions> options) {
    options->Assign(*options_);
    options_ = std::move(options);
}

void TBaseVirtualTree::ResolveNodeDataSize() {
    if (nodeDataSize_ != -1) return;
    int size = 0;
    DoGetNodeDataSize(size);
    nodeDataSize_ = std::max(size, 0);
}

// The whole pointer must fit; checked before anything changes.
void TBaseVirtualTree::CheckRoomForUserData() {
    ResolveNodeDataSize();
    if (nodeDataSize_ < int(sizeof(void*))) RaiseVirtualTreeError(hcTFCannotSetUserData);
}

PVirtualNode TBaseVirtualTree::MakeNewNode() {
    ResolveNodeDataSize();
    const std::size_t block = UserDataOffset() + std::size_t(nodeDataSize_);
    if (pool_.BlockSize() != ((block + 7) & ~std::size_t(7))) pool_.SetBlockSize(block);
    auto* node = static_cast<PVirtualNode>(pool_.Allocate());
    node->TotalCount = 1;
    node->NodeHeight = std::uint16_t(defaultNodeHeight_);
    node->TotalHeight = defaultNodeHeight_;
    node->States = nsVisible;
    node->Align = kDefaultNodeAlign;
    return node;
}

void TBaseVirtualTree::SetUserDataPointer(PVirtualNode node, const void* userData) {
    std::memcpy(GetNodeData(node), &userData, sizeof userData);
    node->Include(nsInitialUserData);
}

unsigned TBaseVirtualTree::GetNodeLevel(PVirtualNode node) const {
    unsigned level = 0;
    if (!node || node == root_) return 0;
    for (node = node->Parent; node != root_; node = node->Parent) ++level;
    return level;
}

bool TBaseVirtualTree::HasAsParent(PVirtualNode node, PVirtualNode potentialParent) const {
    if (!node || !potentialParent || node == potentialParent || node == root_) return false;
    for (PVirtualNode p = node->Parent;; p = p->Parent) {
        if (p == potentialParent) return true;
        if (p == root_) return false;
    }
}

int TBaseVirtualTree::CompareNodePositions(PVirtualNode node1, PVirtualNode node2) const {
    TreeAssert(node1 && node2, "Nodes must never be nil.");
    if (node1 == node2) return 0;
    if (HasAsParent(node1, node2)) return 1;
    if (HasAsParent(node2, node1)) return -1;
    unsigned level1 = GetNodeLevel(node1), level2 = GetNodeLevel(node2);
    for (; level1 > level2; --level1) node1 = node1->Parent;
    for (; level2 > level1; --level2) node2 = node2->Parent;
    while (node1->Parent != node2->Parent) {
        node1 = node1->Parent;
        node2 = node2->Parent;
    }
    return int(std::int64_t(node1->Index) - std::int64_t(node2->Index));
}

void TBaseVirtualTree::SetDefaultNodeHeight(std::uint32_t value) {
    if (value == 0) value = kDefaultNodeHeight;
    value = std::min<std::uint32_t>(value, 0xFFFF);  // node heights are 16-bit
    if (value == defaultNodeHeight_) return;
    const std::int64_t difference = std::int64_t(value) - defaultNodeHeight_;
    defaultNodeHeight_ = value;
    InterruptValidation();
    root_->NodeHeight = std::uint16_t(value);
    AdjustTotalHeight(root_, difference, true);
    InvalidateCache();
    if (updateCount_ == 0 && !Loading() && HandleAllocated()) {
        StartValidation();
        UpdateScrollBars(true);
        ScrollIntoView(focusedNode_,
                       TreeOptions().SelectionOptions().Contains(toCenterScrollIntoView));
        Invalidate();
    }
}

void TBaseVirtualTree::SetIndent(std::uint32_t value) {
    if (value == indent_) return;
    indent_ = value;
    if (!Loading() && updateCount_ == 0 && HandleAllocated()) {
        UpdateScrollBars(false);
        Invalidate();
    }
}

void TBaseVirtualTree::SetNodeDataSize(int value) {
    value = std::max(value, -1);
    if (value == nodeDataSize_) return;
    if (Loading() || (ComponentState() & csDesigning)) {
        nodeDataSize_ = value;
        return;
    }
    // A read-only tree keeps its nodes; their blocks could not hold the larger data area.
    if (root_->ChildCount > 0 && TreeOptions().MiscOptions().Contains(toReadOnly)) return;
    const std::uint32_t count = root_->ChildCount;
    Clear();
    nodeDataSize_ = value;
    SetChildCount(root_, count);
}

void TBaseVirtualTree::SetNodeAlignment(TVTNodeAlignment value) {
    if (value == nodeAlignment_) return;
    nodeAlignment_ = value;
    if (!Loading()) Invalidate();
}

void TBaseVirtualTree::SetImages(TImageList* value) {
    if (SetLink(images_, value)) Invalidate();
}

void TBaseVirtualTree::SetStateImages(TImageList* value) {
    if (SetLink(stateImages_, value)) Invalidate();
}

void TBaseVirtualTree::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (header_.ForgetComponent(component) && !Destroying()) header_.Invalidate(NoColumn);
    bool drawn = false;
    for (TImageList** list : {&images_, &stateImages_, &customCheckImages_})
        if (*list == component) {
            *list = nullptr;
            drawn = true;
        }
    if (drawn && !Destroying()) Invalidate();
}

std::uint32_t TBaseVirtualTree::RootNodeCount() const {
    return rootCountLoaded_ ? loadedRootCount_ : root_->ChildCount;
}

void TBaseVirtualTree::SetRootNodeCount(std::uint32_t value) {
    if (Loading()) {
        loadedRootCount_ = value;
        rootCountLoaded_ = true;
        return;
    }
    if (value == root_->ChildCount) return;
    if (states_.Contains(tsEditing)) DoEndEdit();
    InterruptValidation();
    SetChildCount(root_, value);
    StartValidation();
}

void TBaseVirtualTree::ChangeScale(int m, int d) {
    if (TreeOptions().AutoOptions().Contains(toAutoChangeScale)) {
        SetDefaultNodeHeight(std::uint32_t(std::max(1, MulDiv(int(defaultNodeHeight_), m, d))));
        header_.ChangeScale(m, d);
    }
    TCustomControl::ChangeScale(m, d);
}

void TBaseVirtualTree::Loaded() {
    header_.Loaded();
    ApplyWindowStyles();
    if (!rootCountLoaded_) return;
    rootCountLoaded_ = false;
    const TVTMiscOptions misc = TreeOptions().MiscOptions();
    BeginUpdate();
    try {
        TreeOptions().SetMiscOptions(misc - TVTMiscOptions{toReadOnly});
        SetChildCount(root_, loadedRootCount_);
    } catch (...) {
        TreeOptions().SetMiscOptions(misc);
        EndUpdate();
        throw;
    }
    TreeOptions().SetMiscOptions(misc);
    EndUpdate();
}

std::uint32_t TBaseVirtualTree::NodeHeight(PVirtualNode node) {
    if (!node || node == root_) return 0;
    if (TreeOptions().MiscOptions().Contains(toVariableNodeHeight) && !node->Has(nsHeightMeasured))
        MeasureItemHeight(node);
    return node->NodeHeight;
}

void TBaseVirtualTree::SetNodeHeight(PVirtualNode node, std::uint32_t value) {
    value = std::min<std::uint32_t>(value, 0xFFFF);
    if (!node || node == root_ || node->NodeHeight == value ||
        TreeOptions().MiscOptions().Contains(toReadOnly))
        return;
    const std::int64_t difference = std::int64_t(value) - node->NodeHeight;
    // A row that is not shown moves no shown row: the cache stays, a walk under way goes on
    // afterwards from where it stopped.
    const bool shown = FullyVisible(node);
    if (shown)
        InterruptValidation(node);
    else
        PauseValidation();
    node->NodeHeight = std::uint16_t(value);
    AdjustTotalHeight(node, difference, true);
    if (shown) InvalidateCache(node);
    if (updateCount_ == 0) {
        StartValidation();
        if (shown) {
            InvalidateToBottom(node);
            UpdateScrollBars(true);
        }
    }
}

void TBaseVirtualTree::GetAlignOffsets(PVirtualNode node, int& alignOffset, int& buttonOffset,
                                       const TImageList* images) {
    const int height = int(NodeHeight(node));
    const int align = node ? node->Align : 0;
    const int button = ButtonHeight();
    switch (nodeAlignment_) {
        case naFromBottom:
            alignOffset = height - align;
            break;
        case naFromTop:
            alignOffset = align;
            break;
        case naProportional:
            if (images)
                alignOffset = MulDiv(height - images->Height(), align, 100) + images->Height() / 2;
            else if (TreeOptions().PaintOptions().Contains(toShowButtons))
                alignOffset = MulDiv(height - button, align, 100) + button / 2;
            else
                alignOffset = MulDiv(height, align, 100);
            break;
    }
    buttonOffset = alignOffset - button / 2;
}

// ---- The window and its timers ---------------------------------------------------------------

bool TBaseVirtualTree::StartDelayTimer(UINT_PTR id) {
    const bool running = SetTimer(Handle(), id, changeDelay_) != 0;
    (id == kChangeTimer ? changeTimerRunning_ : structureTimerRunning_) = running;
    return running;
}

void TBaseVirtualTree::StopDelayTimer(UINT_PTR id) {
    // Only a running timer is killed: a bracket of a million changes asks a million times.
    bool& running = id == kChangeTimer ? changeTimerRunning_ : structureTimerRunning_;
    if (!running) return;
    KillTimer(Handle(), id);
    running = false;
}

void TBaseVirtualTree::SetUpdateRedraw(bool on) {
    if (Visible() && HandleAllocated()) SetRedraw(Handle(), on);
}

void TBaseVirtualTree::UpdateFrame() {
    SetWindowFrame(Handle(), FrameWidth(),
                   header_.Options().Contains(hoVisible) ? header_.Height() : 0);
}

void TBaseVirtualTree::WndProc(TMessage& message) {
    const UINT msg = message.Msg;
    // What the user does next acts on the tree's state: a slide shows it first.
    if (slide_ && EndsSlide(msg) && !(msg == WM_SIZE && changingUnderSlide_)) FinishSlide();
    if ((msg == WM_NCLBUTTONDOWN || msg == WM_NCRBUTTONDOWN || msg == WM_NCMBUTTONDOWN) &&
        !Focused() && CanFocus())
        SetFocus();
    // The header sees every message first: its strip takes its own mouse messages.
    if (header_.Options().Contains(hoVisible) && header_.HandleMessage(message)) return;
    if (DispatchInput(message)) return;
    switch (message.Msg) {
        case WM_SIZE:
            header_.HandleResize();
            TCustomControl::WndProc(message);
            HandleResize();
            return;
        case CM_FONTCHANGED:
            TCustomControl::WndProc(message);
            header_.TreeFontChanged();
            if (!Loading()) {
                PrepareBitmaps();
                Invalidate();
            }
            return;
        case WM_THEMECHANGED:
            SyncThemeState();
            InvalidateWindow(Handle());
            break;
        case WM_NCPAINT:
            if (auto* canvas = reinterpret_cast<TCanvas*>(message.WParam))
                PaintNonClientArea(*canvas);
            return;
        default:
            break;
    }
    if (message.Msg == WM_CHANGESTATE) {
        ChangeValidationStates(message.WParam, message.LParam);
        return;
    }
    if (message.Msg == WM_STARTVALIDATION) {
        validationScheduled_ = false;
        // An update bracket starts validation at its end.
        if (updateCount_ == 0) StartValidation();
        return;
    }
    TCustomControl::WndProc(message);
}

}  // namespace rv
