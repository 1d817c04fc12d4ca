// Check boxes and radio buttons: a tri-state node passes a new state down to its check-box
// children and takes its own from theirs, and a change below passes up to tri-state parents.

#include "tree/base_tree.h"

namespace rv {

namespace {

bool IsCheckBox(PVirtualNode n) {
    return n->CheckType == ctTriStateCheckBox || n->CheckType == ctCheckBox;
}

// Clears a state flag again however the check-state change ends.
class StateFlag {
public:
    StateFlag(PVirtualNode node, std::uint16_t flag) : node_(node), flag_(flag) {
        node_->Include(flag_);
    }
    ~StateFlag() { node_->Exclude(flag_); }
    StateFlag(const StateFlag&) = delete;
    StateFlag& operator=(const StateFlag&) = delete;

private:
    PVirtualNode node_;
    std::uint16_t flag_;
};

}  // namespace

TCheckType TBaseVirtualTree::CheckType(PVirtualNode node) const {
    return node ? node->CheckType : ctNone;
}

void TBaseVirtualTree::SetCheckType(PVirtualNode node, TCheckType value) {
    if (!node || node == root_ || node->CheckType == value) return;
    node->CheckType = value;
    InvalidateNode(node);
}

TCheckState TBaseVirtualTree::CheckState(PVirtualNode node) const {
    return node ? node->CheckState : chkUnchecked;
}

void TBaseVirtualTree::SetCheckState(PVirtualNode node, TCheckState value) {
    if (!node || node == root_ || node->CheckState == value || node->Has(nsDisabled)) return;
    if (DoChecking(node, value)) DoCheckClick(node, value);
}

bool TBaseVirtualTree::ChangeCheckState(PVirtualNode node, TCheckState value) {
    if (node->Has(nsChecking)) return false;
    const StateFlag checking(node, nsChecking);
    InitIfNeeded(node);
    const bool tracking = TreeOptions().AutoOptions().Contains(toAutoTristateTracking);
    TCheckState newState = value;

    if (tracking && node->CheckType == ctTriStateCheckBox && node->FirstChild &&
        (value == chkChecked || value == chkUnchecked)) {
        bool anyMixed = false, anyChecked = false, anyUnchecked = false;
        for (PVirtualNode c = node->FirstChild; c; c = c->NextSibling) {
            if (!IsCheckBox(c)) continue;
            if (!c->Has(nsDisabled) && c->CheckState != value) {
                TCheckState childState = value;
                if (DoChecking(c, childState)) ChangeCheckState(c, childState);
            }
            switch (NormalCheckState(c->CheckState)) {
                case chkMixed:
                    anyMixed = true;
                    break;
                case chkChecked:
                    anyChecked = true;
                    break;
                default:
                    anyUnchecked = true;
                    break;
            }
        }
        if (anyMixed)
            newState = chkMixed;
        else if (anyChecked)
            newState = anyUnchecked ? chkMixed : chkChecked;
    }

    if (node->CheckType == ctRadioButton && newState == chkChecked) {
        for (PVirtualNode s = node->Parent->FirstChild; s; s = s->NextSibling)
            if (s != node && s->CheckType == ctRadioButton) s->CheckState = chkUnchecked;
        Invalidate();
    }
    node->CheckState = newState;

    bool result = true;
    PVirtualNode parent = node->Parent;
    if (tracking && IsCheckBox(node) && parent != root_ &&
        parent->CheckType == ctTriStateCheckBox && !parent->Has(nsChecking | nsDisabled))
        result = CheckParentCheckState(node, newState);
    InvalidateNode(node);
    return result;
}

bool TBaseVirtualTree::CheckParentCheckState(PVirtualNode node, TCheckState newState) {
    PVirtualNode parent = node->Parent;
    std::uint32_t boxes = 0, checked = 0, mixed = 0;
    for (PVirtualNode s = parent->FirstChild; s; s = s->NextSibling) {
        if (!IsCheckBox(s)) continue;
        ++boxes;
        const TCheckState state = NormalCheckState(s == node ? newState : s->CheckState);
        if (state == chkChecked) ++checked;
        if (state == chkMixed) ++mixed;
    }
    TCheckState parentState = chkChecked;
    if (checked == 0 && mixed == 0)
        parentState = chkUnchecked;
    else if (checked < boxes)
        parentState = chkMixed;
    if (parentState == parent->CheckState) return true;
    if (!DoChecking(parent, parentState)) return false;
    DoCheckClick(parent, parentState);
    return true;
}

}  // namespace rv
