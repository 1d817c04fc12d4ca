// The mouse moving over the tree: the rubber band and its selection, a pending drag, hot
// tracking, and the automatic scrolling that a drag, a band or wheel panning drives by timer 4.

#include <algorithm>
#include <cstdlib>

#include "platform/windows/screens.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"
#include "tree/panning_marks.h"

namespace rv {

namespace {

// Corners in any order to a rectangle that holds both corner pixels.
TRect Normalized(const TRect& r) {
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right) + 1,
            std::max(r.Top, r.Bottom) + 1};
}

}  // namespace

void TBaseVirtualTree::MouseMove(TShiftState shift, int x, int y) {
    HintMouseMoved({x, y});
    const int dragX = GetSystemMetrics(SM_CXDRAG), dragY = GetSystemMetrics(SM_CYDRAG);
    if (states_.Contains(tsDrawSelPending)) {
        if (!TrackSelectionRect(x, y)) return;
        const TRect band = OffsetRect(Normalized(newSelectionRect_), offsetX_, offsetY_);
        InvalidateRect(Handle(), &band);
        UpdateWindow(Handle());
        if (std::abs(newSelectionRect_.Right - newSelectionRect_.Left) > dragX ||
            std::abs(newSelectionRect_.Bottom - newSelectionRect_.Top) > dragY) {
            if (states_.Contains(tsClearPending)) {
                DoStateChange({}, {tsClearPending});
                ClearSelection();
            }
            DoStateChange({tsDrawSelecting}, {tsDrawSelPending});
            SetFocusedColumn(header_.MainColumn());
            SetRubberBand(true);
            if (HandleDrawSelection(oldSelectionRect_, newSelectionRect_)) Invalidate();
        }
        return;
    }
    if (states_.Contains(tsWheelPanning) && states_.Contains(tsWheelScrolling) &&
        (std::abs(x - clickPoint_.X) >= dragX || std::abs(y - clickPoint_.Y) >= dragY))
        DoStateChange({}, {tsWheelScrolling});
    if (states_.Contains(tsOLEDragPending) && (std::abs(x - clickPoint_.X) >= dragThreshold_ ||
                                               std::abs(y - clickPoint_.Y) >= dragThreshold_)) {
        DoDragging(clickPoint_);
        return;
    }
    if (CanAutoScroll()) DoAutoScroll(x, y);
    if (states_.ContainsAny({tsWheelPanning, tsWheelScrolling}))
        SetWindowCursor(Handle(), PanningCursor(PanningCursorShape(
                                      x - panningStart_.X, y - panningStart_.Y, kPanningDeadZone,
                                      ClientWidth() < rangeX_, ClientHeight() < RangeY())));
    if (!states_.ContainsAny({tsDrawSelPending, tsDrawSelecting})) {
        UpdateHotNode(GetHitTestInfoAt(x, y, true));
        TCustomControl::MouseMove(shift, x, y);
    }
    if (states_.Contains(tsDrawSelecting) && !states_.Contains(tsScrolling)) {
        const TRect old = oldSelectionRect_;
        if (TrackSelectionRect(x, y)) {
            SetRubberBand(true);
            if (HandleDrawSelection(oldSelectionRect_, newSelectionRect_))
                Invalidate();
            else
                InvalidateBands(old, newSelectionRect_);
            UpdateWindow(Handle());
        }
    }
}

void TBaseVirtualTree::UpdateHotNode(const THitInfo& hitInfo) {
    PVirtualNode node = nullptr;
    if (hitInfo.HitNode && ((hitInfo.HitPositions & (hiOnItemLabel | hiOnItemCheckbox)) ||
                            (TreeOptions().SelectionOptions().Contains(toFullRowSelect) &&
                             (hitInfo.HitPositions & hiOnItem))))
        node = hitInfo.HitNode;
    if (node == hotNode_) return;
    PVirtualNode old = hotNode_;
    DoHotChange(old, node);
    hotNode_ = node;
    if (TreeOptions().PaintOptions().Contains(toHotTrack) ||
        TreeOptions().MiscOptions().Contains(toCheckSupport)) {
        InvalidateNode(old);
        InvalidateNode(node);
    }
}

bool TBaseVirtualTree::TrackSelectionRect(int x, int y) {
    if (states_.Contains(tsDrawSelecting)) oldSelectionRect_ = newSelectionRect_;
    newSelectionRect_.Right = std::clamp(x - offsetX_, 0, std::max(rangeX_, ClientWidth()));
    newSelectionRect_.Bottom = std::clamp(y - offsetY_, 0, std::max(RangeY(), ClientHeight()));
    return oldSelectionRect_ != newSelectionRect_;
}

void TBaseVirtualTree::SetRubberBand(bool drawn) {
    drawSelectionRect_ = drawn ? Normalized(newSelectionRect_) : TRect{};
}

void TBaseVirtualTree::InvalidateBands(const TRect& a, const TRect& b) {
    TRect r = UnionRect(Normalized(a), Normalized(b));
    r = OffsetRect(r, offsetX_, offsetY_);
    InvalidateRect(Handle(), &r);
}

void TBaseVirtualTree::NodeContentSpan(PVirtualNode node, int& left, int& right) {
    const TVirtualTreeColumns& columns = header_.Columns();
    const TColumnIndex main = header_.MainColumn();
    int cellLeft = 0, cellRight = std::max(ClientWidth(), rangeX_);
    TAlignment alignment = alignment_;
    bool rightToLeft = biDiMode_ != bdLeftToRight;
    if (columns.IsValidColumn(main)) {
        columns.GetColumnBounds(main, cellLeft, cellRight);
        alignment = columns[main].Alignment();
        rightToLeft = columns[main].BiDiMode() != bdLeftToRight;
        if (TreeOptions().AutoOptions().Contains(toAutoSpanColumns))
            for (TColumnIndex next = columns.GetNextVisibleColumn(main);
                 next > NoColumn && ColumnIsEmpty(node, next);
                 next = columns.GetNextVisibleColumn(next)) {
                int l, r;
                columns.GetColumnBounds(next, l, r);
                cellRight = r;
            }
    }
    // The content starts after the indentation and margin; the text follows the images and
    // sits by the alignment in what is left (mirrored for right to left).
    const bool showRoot = TreeOptions().PaintOptions().Contains(toShowRoot);
    const int indentation = int(GetNodeLevel(node) + (showRoot ? 1 : 0)) * int(indent_) + margin_;
    const int images = RowImagesWidth(node, main, true);
    const int width = DoGetNodeWidth(node, main);
    const int textLeft = rightToLeft ? cellLeft : cellLeft + indentation + images;
    const int textRight = rightToLeft ? cellRight - indentation - images : cellRight;
    int start = rightToLeft ? textRight - width : textLeft;
    if (width <= textRight - textLeft) {
        if (alignment == taRightJustify)
            start = textRight - width;
        else if (alignment == taCenter)
            start = (textLeft + textRight - width) / 2;
        else
            start = textLeft;
    }
    left = rightToLeft ? start : cellLeft + indentation;
    right = rightToLeft ? cellRight - indentation : start + width;
}

bool TBaseVirtualTree::HandleDrawSelection(const TRect& oldRect, const TRect& newRect) {
    const bool hadOld = oldRect != TRect{};
    const TRect oldBand = hadOld ? Normalized(oldRect) : TRect{};
    const TRect newBand = Normalized(newRect);
    const TRect both = hadOld ? UnionRect(oldBand, newBand) : newBand;
    const bool simple = TreeOptions().SelectionOptions().Contains(toSimpleDrawSelection);
    const bool toggle = selectionShiftState_ & ssCtrl;
    std::vector<PVirtualNode> adding;
    bool changed = false;
    int top = 0;
    PVirtualNode node = GetNodeAt(0, both.Top, false, top);
    WithInternalUpdate([&] {
        for (; node && top < both.Bottom; node = GetNextVisible(node)) {
            const int bottom = top + int(NodeHeight(node));
            int left = 0, right = 0;
            if (!simple) NodeContentSpan(node, left, right);
            const auto inside = [&](const TRect& band) {
                if (band.IsEmpty() || band.Top >= bottom || band.Bottom <= top) return false;
                return simple || (band.Left < right && band.Right > left);
            };
            const bool nowIn = inside(newBand), wasIn = inside(oldBand);
            top = bottom;
            if (nowIn == wasIn || node->Has(nsDisabled)) continue;
            const bool select = toggle ? !node->Has(nsSelected) : nowIn;
            if (select == node->Has(nsSelected)) continue;
            if (select) {
                adding.push_back(node);
            } else {
                InternalRemoveFromSelection(node);
                changed = true;
            }
        }
        PackSelection();
        const std::uint32_t before = SelectionCount();
        InternalAddToSelection(std::move(adding));
        changed = changed || SelectionCount() != before;
    });
    if (changed) Change(nullptr);
    return changed;
}

// ---- Automatic scrolling ---------------------------------------------------------------------

bool TBaseVirtualTree::CanAutoScroll() {
    const bool panning = states_.Contains(tsWheelPanning);
    if (!TreeOptions().AutoOptions().Contains(toAutoScroll) && !panning) return false;
    if (header_.InInteraction()) return false;
    return states_.ContainsAny({tsDrawSelPending, tsDrawSelecting, tsFrameworkDragging}) ||
           panning || (dragManager_ && dragManager_->IsDropTarget());
}

TScrollDirections TBaseVirtualTree::ScrollDirectionsAt(int x, int y) {
    TScrollDirections directions = 0;
    if (states_.Contains(tsWheelPanning)) {
        if (x < panningStart_.X - kPanningDeadZone) directions |= sdLeft;
        if (x > panningStart_.X + kPanningDeadZone) directions |= sdRight;
        if (y < panningStart_.Y - kPanningDeadZone) directions |= sdUp;
        if (y > panningStart_.Y + kPanningDeadZone) directions |= sdDown;
        return directions;
    }
    const int zone = int(defaultNodeHeight_);
    const int width = ClientWidth(), height = ClientHeight();
    if (x < zone && offsetX_ != 0) directions |= sdLeft;
    if (x >= width - zone && width - offsetX_ < rangeX_) directions |= sdRight;
    if (y < zone && offsetY_ != 0) directions |= sdUp;
    if (y >= height - zone && height - offsetY_ < RangeY()) directions |= sdDown;
    return directions;
}

void TBaseVirtualTree::DoAutoScroll(int x, int y) {
    autoScrollDirections_ = ScrollDirectionsAt(x, y);
    if (states_.Contains(tsWheelPanning)) return;  // timer 4 runs already
    if (autoScrollDirections_ == 0) {
        StopAutoScroll();
        return;
    }
    if (states_.ContainsAny({tsScrollPending, tsScrolling})) return;
    // Over the tree the first step waits; outside it scrolling starts at once.
    if (GetClientRect(Handle()).Contains({x, y})) {
        DoStateChange({tsScrollPending});
        SetTimer(Handle(), kScrollTimer, autoScrollDelay_);
    } else {
        DoStateChange({tsScrolling});
        SetTimer(Handle(), kScrollTimer, autoScrollInterval_);
    }
}

void TBaseVirtualTree::StopAutoScroll() {
    StopTimer(kScrollTimer);
    DoStateChange({}, {tsScrollPending, tsScrolling});
}

void TBaseVirtualTree::AutoScrollStep() {
    const TRect client = GetClientRect(Handle());
    const TPoint cursor = rv::ScreenToClient(Handle(), GetCursorPos());
    const bool inClient = client.Contains(cursor);
    const bool panning = states_.ContainsAny({tsWheelPanning, tsWheelScrolling});
    const bool band = states_.ContainsAny({tsDrawSelPending, tsDrawSelecting});
    if (!band && !inClient && !panning) return;

    const int vertical = std::min<int>(scrollBarOptions_.VerticalIncrement(), client.Height());
    const int horizontal = scrollBarOptions_.HorizontalIncrement();
    int dx = 0, dy = 0;
    TScrollDirections& directions = autoScrollDirections_;
    if (directions & sdUp) {
        dy = panning    ? clickPoint_.Y - cursor.Y - kPanningDeadZone
             : inClient ? vertical
                        : vertical * std::max(1, client.Top - cursor.Y);
        if (offsetY_ == 0) directions &= ~sdUp;
    }
    if (directions & sdDown) {
        dy = panning    ? clickPoint_.Y - cursor.Y + kPanningDeadZone
             : inClient ? -vertical
                        : -vertical * std::max(1, cursor.Y - client.Bottom + 1);
        if (client.Height() - offsetY_ >= RangeY()) directions &= ~sdDown;
    }
    if (directions & sdLeft) {
        dx = panning    ? clickPoint_.X - cursor.X - kPanningDeadZone
             : inClient ? horizontal
                        : horizontal * std::max(1, client.Left - cursor.X);
        if (offsetX_ == 0) directions &= ~sdLeft;
    }
    if (directions & sdRight) {
        dx = panning    ? clickPoint_.X - cursor.X + kPanningDeadZone
             : inClient ? -horizontal
                        : -horizontal * std::max(1, cursor.X - client.Right + 1);
        if (client.Width() - offsetX_ >= rangeX_) directions &= ~sdRight;
    }
    if (band) {
        const TRect clip = OffsetRect(client, dx, dy);
        DoSetOffsetXY({offsetX_ + dx, offsetY_ + dy}, kDefaultScrollUpdate, &clip);
        const TRect old = newSelectionRect_;
        if (TrackSelectionRect(cursor.X, cursor.Y)) {
            if (states_.Contains(tsDrawSelecting)) SetRubberBand(true);
            if (states_.Contains(tsDrawSelecting) &&
                HandleDrawSelection(oldSelectionRect_, newSelectionRect_))
                Invalidate();
            else
                InvalidateBands(old, newSelectionRect_);
        }
    } else if ((dx != 0 || dy != 0) && !(dragManager_ && dragManager_->IsDropTarget())) {
        // A drag over the tree scrolls it from its drag-over calls.
        DoSetOffsetXY({offsetX_ + dx, offsetY_ + dy}, kDefaultScrollUpdate);
    }
    UpdateWindow(Handle());
    if (directions == 0 && !panning) StopAutoScroll();
}

// ---- Wheel panning ---------------------------------------------------------------------------

void TBaseVirtualTree::StartWheelPanning(TPoint position) {
    StopTimer(kScrollTimer);
    DoStateChange({tsWheelPanning, tsWheelScrolling}, {tsScrollPending, tsScrolling});
    panningStart_ = position;
    clickPoint_ = position;
    autoScrollDirections_ = 0;
    // The mark where panning started shows the ways the view can move.
    const TPanningShape shape =
        PanningMarkShape(ClientWidth() < rangeX_, ClientHeight() < RangeY());
    panningWindow_ =
        std::make_unique<TPanningWindow>(rv::ClientToScreen(Handle(), position), shape);
    SetWindowCursor(Handle(), PanningCursor(shape));
    if (!Focused() && CanFocus()) SetFocus();
    SetCapture(Handle());
    SetTimer(Handle(), kScrollTimer, kPanningInterval);
}

void TBaseVirtualTree::StopWheelPanning() {
    if (!states_.ContainsAny({tsWheelPanning, tsWheelScrolling})) return;
    DoStateChange({}, {tsWheelPanning, tsWheelScrolling});
    StopTimer(kScrollTimer);
    autoScrollDirections_ = 0;
    if (GetCapture() == Handle()) ReleaseCapture();
    panningWindow_.reset();
    SetWindowCursor(Handle(), Cursor());
}

}  // namespace rv
