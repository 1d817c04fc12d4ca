// What the platform's tree view answered about its items, as typed calls: a node's rectangle,
// the node next to another by a relation, and a node's state, images, children and text. Node
// addresses come from the caller, so each is checked to be a live node of this tree first.

#include <algorithm>
#include <cstring>

#include "tree/base_tree.h"

namespace rv {

namespace {

// How many bytes of `text` fit into `room` bytes without splitting a character.
std::size_t FittingBytes(const std::string& text, std::size_t room) {
    if (text.size() <= room) return text.size();
    std::size_t end = room;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return end;
}

}  // namespace

bool TBaseVirtualTree::OwnsNode(const void* node) const {
    return node && node != root_ && pool_.IsLiveBlock(node);
}

bool TBaseVirtualTree::GetItemRect(PVirtualNode node, bool textOnly, TRect& rect) {
    if (!OwnsNode(node)) return false;
    InitIfNeeded(node);
    if (!FullyVisible(node)) return false;
    rect = GetDisplayRect(node, NoColumn, textOnly);
    return true;
}

PVirtualNode TBaseVirtualTree::GetNextItem(unsigned flag, PVirtualNode node) {
    const bool needsNode = flag == TVGN_NEXT || flag == TVGN_PREVIOUS || flag == TVGN_PARENT ||
                           flag == TVGN_CHILD || flag == TVGN_NEXTVISIBLE ||
                           flag == TVGN_PREVIOUSVISIBLE;
    if (needsNode && !OwnsNode(node)) return nullptr;
    switch (flag) {
        case TVGN_ROOT:
            return GetFirst();
        case TVGN_NEXT:
            return GetNextSibling(node);
        case TVGN_PREVIOUS:
            return GetPreviousSibling(node);
        case TVGN_PARENT:
            return node->Parent == root_ ? nullptr : node->Parent;
        case TVGN_CHILD:
            return GetFirstChild(node);
        case TVGN_FIRSTVISIBLE:
            return GetFirstVisible();
        case TVGN_NEXTVISIBLE:
            return GetNextVisible(node);
        case TVGN_PREVIOUSVISIBLE:
            return GetPreviousVisible(node);
        case TVGN_DROPHILITE:
            return dropTargetNode_;
        case TVGN_CARET:
            return focusedNode_;
        case TVGN_LASTVISIBLE:
            return GetLastVisible();
        default:
            return nullptr;
    }
}

bool TBaseVirtualTree::GetItem(TTreeItem& item) {
    if (!(item.Mask & TVIF_HANDLE) || !OwnsNode(item.Item)) return false;
    PVirtualNode node = item.Item;
    if (item.Mask & TVIF_CHILDREN) item.Children = int(node->ChildCount);
    bool ghosted = false;
    if (item.Mask & TVIF_IMAGE) item.Image = DoGetImageIndex(node, ikNormal, -1, ghosted);
    if (item.Mask & TVIF_SELECTEDIMAGE)
        item.SelectedImage = DoGetImageIndex(node, ikSelected, -1, ghosted);
    if (item.Mask & TVIF_STATE) {
        item.StateMask = kTreeItemStateMask;
        item.State = 0;
        if (node == focusedNode_) item.State |= TVIS_FOCUSED;
        if (node->Has(nsSelected)) item.State |= TVIS_SELECTED;
        if (node->Has(nsCutOrCopy)) item.State |= TVIS_CUT;
        if (node == dropTargetNode_) item.State |= TVIS_DROPHILITED;
        if (node->Has(nsExpanded)) item.State |= TVIS_EXPANDED;
    }
    // A buffer of no room (or none at all) gets nothing written.
    if ((item.Mask & TVIF_TEXT) && item.Text && item.TextMax > 0) {
        const std::string text = ItemText(node);
        const std::size_t n = FittingBytes(text, std::size_t(item.TextMax) - 1);
        std::memcpy(item.Text, text.data(), n);
        item.Text[n] = '\0';
    }
    return true;
}

}  // namespace rv
