// Where rows and cells are: a node's display rectangle, the widths of row contents that the
// scroll range and the column sizing need, and repainting a node's row or everything below it.

#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/windows/window_host.h"
#include "tree/base_tree.h"

namespace rv {

namespace {

int ClampToInt(std::int64_t v) {
    return int(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

}  // namespace

std::int64_t TBaseVirtualTree::NodeTop(PVirtualNode node, std::int64_t limit) const {
    std::int64_t top = 0;
    for (PVirtualNode n = node; n != root_; n = n->Parent) {
        for (PVirtualNode s = n->PrevSibling; s; s = s->PrevSibling)
            if (s->Has(nsVisible) && (top += s->TotalHeight) > limit) return top;
        if (n->Parent != root_) top += n->Parent->NodeHeight;
    }
    return top;
}

bool TBaseVirtualTree::RowBelowClient(PVirtualNode node) const {
    const std::int64_t bottom = std::int64_t(ClientHeight()) - offsetY_;
    return NodeTop(node, bottom) >= bottom;
}

// A row beyond the reach of 32-bit coordinates keeps its height at their end.
TRect TBaseVirtualTree::RowRect(PVirtualNode node) {
    const int height = int(NodeHeight(node));
    const int top = int(
        std::clamp<std::int64_t>(RowTop(node) + offsetY_, INT_MIN, std::int64_t(INT_MAX) - height));
    return {offsetX_, top, std::max(ClientWidth(), rangeX_) + offsetX_, top + height};
}

int TBaseVirtualTree::CheckImageWidth() const {
    if (checkImageKind_ == ckCustom) return customCheckImages_ ? customCheckImages_->Width() : 0;
    return 16;  // the tree's own check images are 16 × 16
}

int TBaseVirtualTree::RowImagesWidth(PVirtualNode node, TColumnIndex column, bool main) {
    int width = 0;
    if (main && TreeOptions().MiscOptions().Contains(toCheckSupport) && node->CheckType != ctNone)
        width += CheckImageWidth() + 2;
    bool ghosted = false;
    if (stateImages_ && DoGetImageIndex(node, ikState, column, ghosted) > -1)
        width += stateImages_->Width() + 2;
    const TVTImageKind kind = node->Has(nsSelected) ? ikSelected : ikNormal;
    if (images_ && DoGetImageIndex(node, kind, column, ghosted) > -1) width += images_->Width() + 2;
    return width;
}

TRect TBaseVirtualTree::GetDisplayRect(PVirtualNode node, TColumnIndex column, bool textOnly,
                                       bool unclipped) {
    TreeAssert(node != nullptr, "Node must not be nil.");
    TreeAssert(node != root_, "Node must not be the hidden root node.");
    InitIfNeeded(node);
    if (!AncestorsFullyVisible(node)) return {};
    TRect r = RowRect(node);
    const TVirtualTreeColumns& columns = header_.Columns();
    const bool inColumn = column > NoColumn && columns.IsValidColumn(column);
    if (inColumn) {
        int left, right;
        columns.GetColumnBounds(column, left, right);
        r.Left = left + offsetX_;
        r.Right = right - 1 + offsetX_;
    }
    if (!textOnly) return r;

    const bool main = !inColumn || column == header_.MainColumn();
    const bool rightToLeft = CellBiDiMode(inColumn ? column : NoColumn) != bdLeftToRight;
    const TAlignment alignment = inColumn ? columns[column].Alignment() : alignment_;
    std::int64_t inset = margin_ + RowImagesWidth(node, column, main);
    if (main) {
        const bool showRoot = TreeOptions().PaintOptions().Contains(toShowRoot);
        inset += std::int64_t(GetNodeLevel(node) + (showRoot ? 1 : 0)) * indent_;
    }
    if (rightToLeft)
        r.Right = ClampToInt(r.Right - inset);
    else
        r.Left = ClampToInt(r.Left + inset);
    const int width = DoGetNodeWidth(node, column);
    const int rest = r.Right - r.Left;
    if (width <= rest) {
        if (alignment == taRightJustify) {
            r.Left = r.Right - width;
        } else {
            if (alignment == taCenter) r.Left += (rest - width) / 2;
            r.Right = r.Left + width;
        }
    } else if (unclipped) {
        if (rightToLeft)
            r.Left = r.Right - width;
        else
            r.Right = r.Left + width;
    }
    return r;
}

int TBaseVirtualTree::GetMaxColumnWidth(TColumnIndex column) {
    const bool main = !header_.UseColumns() || column == header_.MainColumn();
    const bool showRoot = TreeOptions().PaintOptions().Contains(toShowRoot);
    std::int64_t widest = 0;
    for (PVirtualNode n = GetFirstVisible(); n; n = GetNextVisible(n)) {
        std::int64_t width = RowImagesWidth(n, column, main) + DoGetNodeWidth(n, column);
        if (main) width += std::int64_t(GetNodeLevel(n) + (showRoot ? 1 : 0)) * indent_;
        widest = std::max(widest, width);
    }
    if (TreeOptions().PaintOptions().Contains(toShowVertGridLines)) ++widest;
    return ClampToInt(widest);
}

// The rows on screen only: the horizontal range without columns follows what is shown. Nodes
// are not initialised for it (painting does that); one that is not yet counts without content.
int TBaseVirtualTree::WidestVisibleRow() {
    const bool showRoot = TreeOptions().PaintOptions().Contains(toShowRoot);
    const int height = ClientHeight();
    int top = 0;
    std::int64_t widest = 0;
    for (PVirtualNode n = GetNodeAt(0, 0, true, top); n && top < height;
         n = GetNextVisibleNoInit(n)) {
        std::int64_t extent = std::int64_t(GetNodeLevel(n) + (showRoot ? 1 : 0)) * indent_;
        if (stateImages_) extent += stateImages_->Width() + 2;
        if (images_) extent += images_->Width() + 2;
        if (TreeOptions().MiscOptions().Contains(toCheckSupport) && n->CheckType != ctNone)
            extent += CheckImageWidth() + 2;
        if (n->Has(nsInitialized)) extent += DoGetNodeWidth(n, NoColumn);
        widest = std::max(widest, extent);
        top += int(NodeHeight(n));
    }
    return ClampToInt(widest + 2 * std::int64_t(margin_));
}

// ---- Repainting ------------------------------------------------------------------------------
// Only with the window painting (no update bracket) and for rows not below the client area: the
// rectangle of a row needs the heights of every row above it, which is not worth finding for a
// repaint that will not happen. Repainting initialises nothing.

TRect TBaseVirtualTree::InvalidateNode(PVirtualNode node) {
    if (!node || node == root_ || updateCount_ > 0 || !HandleAllocated()) return {};
    if (!node->Has(nsVisible) || !AncestorsFullyVisible(node) || RowBelowClient(node)) return {};
    const TRect r = RowRect(node);
    const TRect client = GetClientRect(Handle());
    if (!IntersectRect(r, client).IsEmpty()) InvalidateRect(Handle(), &r);
    return r;
}

void TBaseVirtualTree::InvalidateToBottom(PVirtualNode node) {
    if (updateCount_ > 0 || !HandleAllocated()) return;
    if (!node || node == root_) {
        Invalidate();
        return;
    }
    if (!node->Has(nsInitialized) || !FullyVisible(node) || RowBelowClient(node)) return;
    TRect r = RowRect(node);
    const int height = ClientHeight();
    if (r.Top >= height) return;
    r = {0, std::max(r.Top, 0), ClientWidth(), height};
    InvalidateRect(Handle(), &r);
}

void TBaseVirtualTree::RepaintNode(PVirtualNode node) {
    if (InvalidateNode(node).IsEmpty()) return;
    UpdateWindow(Handle());
}

// ---- Dispatchers of the geometry -------------------------------------------------------------

int TBaseVirtualTree::DoGetImageIndex(PVirtualNode node, TVTImageKind kind, TColumnIndex column,
                                      bool& ghosted) {
    int index = -1;
    ghosted = false;
    if (OnGetImageIndex) OnGetImageIndex(this, node, kind, column, ghosted, index);
    return index;
}

int TBaseVirtualTree::DoGetNodeWidth(PVirtualNode, TColumnIndex) {
    return 0;
}

}  // namespace rv
