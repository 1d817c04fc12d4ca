// The update bracket, the tree states, the change and structure-change notifications with their
// delay, and the event dispatchers.

#include "tree/base_tree.h"

namespace rv {

void TBaseVirtualTree::BeginUpdate() {
    if (!Destroying()) {
        if (updateCount_ == 0) {
            DoUpdating(usBegin);
            SetUpdateRedraw(false);
        } else {
            DoUpdating(usUpdate);
        }
    }
    ++updateCount_;
    DoStateChange({tsUpdating});
}

void TBaseVirtualTree::EndUpdate() {
    if (updateCount_ > 0) --updateCount_;
    if (Destroying()) return;
    if (updateCount_ == 0 && states_.Contains(tsUpdating)) {
        if (states_.Contains(tsAllChildrenHiddenRefresh)) {
            RecomputeAllChildrenHidden();
            DoStateChange({}, {tsAllChildrenHiddenRefresh});
        }
        DoStateChange({}, {tsUpdating});
        PackSelection();
        StartValidation();
        if (HandleAllocated()) UpdateScrollBars(false);
        if (states_.Contains(tsStructureChangePending))
            DoStructureChange(lastStructureNode_, lastStructureReason_);
        if (states_.Contains(tsChangePending)) DoChange(lastChangedNode_);
        if (TreeOptions().AutoOptions().Contains(toAutoSort))
            SortTree(header_.SortColumn(), header_.SortDirection(), true);
        SetUpdateRedraw(true);
        if (HandleAllocated()) Invalidate();
    }
    DoUpdating(updateCount_ > 0 ? usUpdate : usEnd);
}

void TBaseVirtualTree::FinishInternalUpdate() {
    if (Destroying()) return;
    PackSelection();
    // A change that arrived inside the bracket is due now (or after ChangeDelay).
    if (states_.Contains(tsChangePending) && !changeTimerRunning_) {
        if (changeDelay_ == 0 || states_.Contains(tsImmediateNotification) ||
            !StartDelayTimer(kChangeTimer))
            DoChange(lastChangedNode_);
    }
}

void TBaseVirtualTree::Change(PVirtualNode node) {
    if (states_.Contains(tsChangePending))
        StopDelayTimer(kChangeTimer);
    else
        DoStateChange({tsChangePending});
    lastChangedNode_ = node;
    if (updateCount_ > 0) return;
    if (changeDelay_ > 0 && !states_.Contains(tsImmediateNotification) &&
        StartDelayTimer(kChangeTimer))
        return;
    DoChange(node);
}

void TBaseVirtualTree::StructureChange(PVirtualNode node, TChangeReason reason) {
    if (states_.Contains(tsStructureChangePending))
        StopDelayTimer(kStructureChangeTimer);
    else
        DoStateChange({tsStructureChangePending});
    lastStructureNode_ = node;
    if (lastStructureReason_ == crIgnore)
        lastStructureReason_ = reason;
    else if (reason != crIgnore)
        lastStructureReason_ = crAccumulated;
    if (updateCount_ > 0) return;
    if (changeDelay_ > 0 && !states_.Contains(tsImmediateNotification) &&
        StartDelayTimer(kStructureChangeTimer))
        return;
    DoStructureChange(lastStructureNode_, lastStructureReason_);
}

void TBaseVirtualTree::DoChange(PVirtualNode node) {
    StopDelayTimer(kChangeTimer);
    lastChangedNode_ = nullptr;
    DoStateChange({}, {tsChangePending});
    if (OnChange) OnChange(this, node);
}

void TBaseVirtualTree::DoStructureChange(PVirtualNode node, TChangeReason reason) {
    StopDelayTimer(kStructureChangeTimer);
    lastStructureNode_ = nullptr;
    lastStructureReason_ = crIgnore;
    DoStateChange({}, {tsStructureChangePending});
    if (OnStructureChange) OnStructureChange(this, node, reason);
}

void TBaseVirtualTree::DoUpdating(TVTUpdateState state) {
    if (OnUpdating) OnUpdating(this, state);
}

void TBaseVirtualTree::DoStateChange(TVirtualTreeStates enter, TVirtualTreeStates leave) {
    if (OnStateChange && states_ + enter - leave != states_) OnStateChange(this, enter, leave);
    states_ = states_ + enter - leave;
}

void TBaseVirtualTree::DoInitNode(PVirtualNode parent, PVirtualNode node,
                                  TVirtualNodeInitStates& initStates) {
    if (OnInitNode) OnInitNode(this, parent, node, initStates);
}

bool TBaseVirtualTree::DoInitChildren(PVirtualNode node, std::uint32_t& childCount) {
    if (!OnInitChildren) return false;
    OnInitChildren(this, node, childCount);
    return true;
}

void TBaseVirtualTree::DoFreeNode(PVirtualNode node) {
    if (node == hotNode_) hotNode_ = nullptr;
    ForgetTransferNode(node);
    if (OnFreeNode && node->Has(nsInitialized | nsInitialUserData)) OnFreeNode(this, node);
    pool_.Free(node);
}

bool TBaseVirtualTree::DoExpanding(PVirtualNode node) {
    bool allowed = true;
    if (OnExpanding) OnExpanding(this, node, allowed);
    return allowed;
}

void TBaseVirtualTree::DoExpanded(PVirtualNode node) {
    if (OnExpanded) OnExpanded(this, node);
}

bool TBaseVirtualTree::DoCollapsing(PVirtualNode node) {
    bool allowed = true;
    if (OnCollapsing) OnCollapsing(this, node, allowed);
    return allowed;
}

void TBaseVirtualTree::DoCollapsed(PVirtualNode node) {
    if (OnCollapsed) OnCollapsed(this, node);
}

bool TBaseVirtualTree::DoFocusChanging(PVirtualNode oldNode, PVirtualNode newNode,
                                       TColumnIndex oldColumn, TColumnIndex newColumn) {
    bool allowed = true;
    if (OnFocusChanging) OnFocusChanging(this, oldNode, newNode, oldColumn, newColumn, allowed);
    return allowed;
}

void TBaseVirtualTree::DoFocusChange(PVirtualNode node, TColumnIndex column) {
    if (OnFocusChanged) OnFocusChanged(this, node, column);
}

bool TBaseVirtualTree::DoChecking(PVirtualNode node, TCheckState& newState) {
    if (TreeOptions().MiscOptions().Contains(toReadOnly)) return false;
    bool allowed = true;
    if (OnChecking) OnChecking(this, node, newState, allowed);
    return allowed;
}

void TBaseVirtualTree::DoCheckClick(PVirtualNode node, TCheckState newState) {
    if (ChangeCheckState(node, newState)) DoChecked(node);
}

void TBaseVirtualTree::DoChecked(PVirtualNode node) {
    if (OnChecked) OnChecked(this, node);
}

void TBaseVirtualTree::DoGetNodeDataSize(int& size) {
    if (OnGetNodeDataSize) OnGetNodeDataSize(this, size);
}

}  // namespace rv
