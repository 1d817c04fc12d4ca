// Scrolling: the offsets and their clamp, the scroll bars set through the window, the reaction
// to a new client size, bringing a node into view and the node at the top.
//
// Ranges and offsets are signed 32-bit, as the scroll bars are. Node heights stop adding up at
// TBaseVirtualTree::kMaxTotalHeight (2^31 − 1 pixels, 119,304,647 rows of 18 pixels), so the
// vertical range never runs over; rows of an even taller tree below that point cannot be
// scrolled to.

#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/windows/window_host.h"
#include "tree/base_tree.h"

namespace rv {

int TBaseVirtualTree::ClientWidth() const {
    return GetClientRect(Handle()).Width();
}

int TBaseVirtualTree::ClientHeight() const {
    return GetClientRect(Handle()).Height();
}

int TBaseVirtualTree::RangeY() const {
    const std::int64_t total = std::max<std::int64_t>(root_->TotalHeight, defaultNodeHeight_);
    return int(std::clamp<std::int64_t>(total - root_->NodeHeight, 0, kMaxTotalHeight));
}

void TBaseVirtualTree::SetOffsetX(int value) {
    DoSetOffsetXY({value, offsetY_}, kDefaultScrollUpdate);
}

void TBaseVirtualTree::SetOffsetY(int value) {
    DoSetOffsetXY({offsetX_, value}, kDefaultScrollUpdate);
}

bool TBaseVirtualTree::DoSetOffsetXY(TPoint value, TScrollUpdateOptions options,
                                     const TRect* clip) {
    // Content narrower (lower) than the client area gives min(0, positive) = 0: it cannot move.
    const std::int64_t x = std::min<std::int64_t>(
        0, std::max<std::int64_t>(std::int64_t(ClientWidth()) - rangeX_, value.X));
    const std::int64_t y = std::min<std::int64_t>(
        0, std::max<std::int64_t>(std::int64_t(ClientHeight()) - RangeY(), value.Y));
    const int dx = int(x - offsetX_), dy = int(y - offsetY_);
    if (dx == 0 && dy == 0) return false;
    offsetX_ = int(x);
    offsetY_ = int(y);
    CancelHint();
    // The picture of a slide no longer lies where the window moves its pixels to.
    if (!changingUnderSlide_) FinishSlide();
    DoScroll(dx, dy);
    if (updateCount_ > 0 || !HandleAllocated()) return true;
    if (options.Contains(suoRepaintScrollbars)) {
        if (dx) SetScrollPos(Handle(), SB_HORZ, -offsetX_);
        if (dy) SetScrollPos(Handle(), SB_VERT, -offsetY_);
    }
    if (options.Contains(suoScrollClientArea))
        ScrollWindow(Handle(), dx, dy, clip);
    else
        Invalidate();
    if (dx && options.ContainsAny({suoRepaintHeader, suoUpdateNCArea}))
        header_.Invalidate(NoColumn);
    return true;
}

void TBaseVirtualTree::UpdateScrollBars(bool doRepaint) {
    if (!HandleAllocated() || Destroying()) return;
    // Showing or hiding a bar changes the client size, which reaches the tree as WM_SIZE and
    // asks for the bars again: that round runs after this one, not inside it.
    if (updatingScrollBars_) {
        scrollBarsAgain_ = true;
        return;
    }
    updatingScrollBars_ = true;
    try {
        for (int round = 0; round < 4; ++round) {
            scrollBarsAgain_ = false;
            rangeX_ = header_.UseColumns() ? header_.Columns().TotalWidth() : WidestVisibleRow();
            UpdateScrollBar(SB_HORZ, rangeX_, ClientWidth(), doRepaint);
            UpdateScrollBar(SB_VERT, RangeY(), ClientHeight(), doRepaint);
            if (!scrollBarsAgain_) break;
        }
    } catch (...) {
        updatingScrollBars_ = false;
        throw;
    }
    updatingScrollBars_ = false;
}

void TBaseVirtualTree::UpdateScrollBar(int bar, int range, int clientSize, bool doRepaint) {
    const TScrollStyle allowed = scrollBarOptions_.ScrollBars();
    const bool horizontal = bar == SB_HORZ;
    int& offset = horizontal ? offsetX_ : offsetY_;
    int newOffset = offset;
    if (allowed == ssBoth || allowed == (horizontal ? ssHorizontal : ssVertical)) {
        TScrollInfo info;
        if (clientSize < range || scrollBarOptions_.AlwaysVisible()) {
            info.fMask = SIF_ALL;
            if (scrollBarOptions_.AlwaysVisible()) info.fMask |= SIF_DISABLENOSCROLL;
            info.nMin = 0;
            info.nMax = range;
            info.nPos = -offset;
            info.nPage = unsigned(std::max(0, clientSize + 1));
            SetScrollInfo(Handle(), bar, info, doRepaint);
        } else {
            info.fMask = SIF_ALL;
            SetScrollInfo(Handle(), bar, info, doRepaint);
            ShowScrollBar(Handle(), bar, false);
        }
        newOffset = -GetScrollPos(Handle(), bar);
    } else {
        ShowScrollBar(Handle(), bar, false);
    }
    // The offset is applied again in any case, which keeps it within the range.
    if (horizontal)
        DoSetOffsetXY({newOffset, offsetY_}, kDefaultScrollUpdate);
    else
        DoSetOffsetXY({offsetX_, newOffset}, kDefaultScrollUpdate);
}

void TBaseVirtualTree::HandleResize() {
    if (!HandleAllocated() || states_.Contains(tsSizing) || ClientHeight() <= 0) return;
    DoStateChange({tsSizing});
    try {
        header_.ShareSpringWidth(ClientWidth());
        UpdateScrollBars(true);
        if (states_.Contains(tsEditing) && !header_.UseColumns()) UpdateEditBounds();
    } catch (...) {
        DoStateChange({}, {tsSizing});
        throw;
    }
    DoStateChange({}, {tsSizing});
}

PVirtualNode TBaseVirtualTree::TopNode() {
    int top = 0;
    return GetNodeAt(0, 0, true, top);
}

void TBaseVirtualTree::SetTopNode(PVirtualNode node) {
    if (!node || node == root_) return;
    SetVisiblePath(node, true);
    const std::int64_t top = std::min<std::int64_t>(NodeTop(node), kMaxTotalHeight);
    SetOffsetY(int(-top));
}

bool TBaseVirtualTree::ScrollIntoView(PVirtualNode node, bool center, bool horizontally) {
    if (!node || node == root_) return false;
    for (PVirtualNode p = node->Parent; p != root_; p = p->Parent)
        if (!p->Has(nsExpanded)) ToggleNode(p);
    const TVirtualTreeColumns& columns = header_.Columns();
    const bool withColumns = columns.GetFirstVisibleColumn() != InvalidColumn;
    const TRect r = GetDisplayRect(node, withColumns ? focusedColumn_ : NoColumn,
                                   !TreeOptions().MiscOptions().Contains(toGridExtensions));
    if (r.Bottom <= r.Top) return false;
    // Rows far down a tall tree lie billions of pixels away: the sums are made in 64 bits.
    using Wide = std::int64_t;
    const auto clamped = [](Wide v) { return int(std::clamp<Wide>(v, INT_MIN, INT_MAX)); };
    const int oldX = offsetX_, oldY = offsetY_;
    const int height = ClientHeight();
    if (r.Top < 0) {
        SetOffsetY(clamped(Wide(offsetY_) - r.Top + (center ? height / 2 : 0)));
    } else if (r.Bottom > height || center) {
        int bottom = center ? height / 2 : height;
        const TScrollStyle bars = scrollBarOptions_.ScrollBars();
        if (!center && !withColumns && (bars == ssHorizontal || bars == ssBoth) &&
            IsScrollBarVisible(Handle(), SB_HORZ))
            bottom -= GetSystemScrollBarSize();
        SetOffsetY(clamped(Wide(offsetY_) + bottom - r.Bottom));
    }
    if (horizontally && (r.Left < 0 || r.Right > ClientWidth()))
        SetOffsetX(clamped(Wide(offsetX_) + ClientWidth() / 2 - (Wide(r.Left) + r.Right) / 2));
    return offsetX_ != oldX || offsetY_ != oldY;
}

}  // namespace rv
