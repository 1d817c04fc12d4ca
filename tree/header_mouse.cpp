// The header's mouse: resizing a column at its splitter, dragging a column to a new position,
// clicks and double clicks, hot tracking with timer 3, the header's popup menu, its cursor, and
// Escape or the focus loss ending a drag. The header has no window: the tree hands it every
// message first, the strip's own as non-client messages (screen coordinates), and while the
// header holds the capture the client messages of the whole window.

#include <algorithm>
#include <cstdlib>

#include "platform/framework/menus.h"
#include "platform/windows/screens.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"

namespace rv {

namespace {

// Hot tracking looks again this often whether the mouse is still over the header.
constexpr unsigned kHotTrackInterval = 50;

TMouseButton ButtonOf(UINT msg) {
    switch (msg) {
        case WM_NCRBUTTONDOWN:
        case WM_NCRBUTTONUP:
        case WM_NCRBUTTONDBLCLK:
            return mbRight;
        case WM_NCMBUTTONDOWN:
        case WM_NCMBUTTONUP:
        case WM_NCMBUTTONDBLCLK:
            return mbMiddle;
        default:
            return mbLeft;
    }
}

}  // namespace

TPoint TVTHeader::FromScreen(LPARAM lParam) const {
    const TPoint screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const TRect window = GetWindowRect(tree_.Handle());
    const TRect strip = tree_.HeaderRect();
    return {screen.X - window.Left - strip.Left, screen.Y - window.Top - strip.Top};
}

TPoint TVTHeader::FromClient(LPARAM lParam) const {
    const TPoint origin = GetClientOffset(tree_.Handle());
    const TRect strip = tree_.HeaderRect();
    return {GET_X_LPARAM(lParam) + origin.X - strip.Left,
            GET_Y_LPARAM(lParam) + origin.Y - strip.Top};
}

bool TVTHeader::InStrip(TPoint p) const {
    const TRect strip = tree_.HeaderRect();
    return p.X >= 0 && p.Y >= 0 && p.X < strip.Width() && p.Y < strip.Height();
}

bool TVTHeader::InHeader(TPoint p) const {
    return options_.Contains(hoVisible) && tree_.HeaderRect().Contains(p);
}

// The last column by position whose right edge lies within 3 pixels left and 5 pixels right of
// the point; it must be resizable to count.
TColumnIndex TVTHeader::SplitterAt(TPoint p) const {
    if (!InStrip(p)) return NoColumn;
    const std::vector<TColumnIndex>& order = columns_.PositionToIndex();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const TVirtualTreeColumn& column = columns_[*it];
        if (!column.Visible()) continue;
        const long long right = (long long)column.Left() + column.Width() + tree_.OffsetX();
        if (right > p.X - 3 && right < p.X + 5)
            return column.Options().Contains(coResizable) ? *it : NoColumn;
    }
    return NoColumn;
}

bool TVTHeader::HandleMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_NCLBUTTONDOWN:
            return HandleButtonDown(m);
        case WM_MOUSEMOVE:
            return HandleCapturedMove(m);
        case WM_LBUTTONUP:
        case WM_NCLBUTTONUP:
            return HandleLeftButtonUp(m);
        case WM_NCLBUTTONDBLCLK:
        case WM_NCRBUTTONDBLCLK:
        case WM_NCMBUTTONDBLCLK:
            return HandleDoubleClick(m);
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
        case WM_NCRBUTTONUP:
        case WM_NCMBUTTONUP:
            return HandleOtherButton(m);
        case WM_NCMOUSEMOVE:
            HandleNonClientMove(m);
            return false;
        case WM_TIMER:
            return m.WParam == TBaseVirtualTree::kHeaderTimer && HandleHeaderTimer();
        case WM_SETCURSOR:
            return HandleSetCursor(m);
        case WM_KEYDOWN:
            if (m.WParam != VK_ESCAPE || !InInteraction()) return false;
            CancelInteraction();
            return true;
        case WM_KILLFOCUS:
        case WM_CANCELMODE:
            CancelInteraction();
            return false;
        case WM_CAPTURECHANGED:
            // Another window took the mouse: nothing comes back to end the drag.
            if (InInteraction() && HWND(m.LParam) != tree_.Handle()) CancelInteraction();
            return false;
        default:
            return false;
    }
}

void TVTHeader::SetDownIndex(TColumnIndex column) {
    if (column == columns_.DownIndex) return;
    Invalidate(columns_.DownIndex);
    columns_.DownIndex = column;
    Invalidate(column);
}

void TVTHeader::SetHoverIndex(TColumnIndex column) {
    if (column == columns_.HoverIndex) return;
    if (options_.Contains(hoHotTrack)) Invalidate(columns_.HoverIndex);
    columns_.HoverIndex = column;
    if (options_.Contains(hoHotTrack)) Invalidate(column);
}

bool TVTHeader::HandleButtonDown(TMessage& m) {
    tree_.CancelHint();
    tree_.StopTimer(TBaseVirtualTree::kScrollTimer);
    tree_.StopTimer(TBaseVirtualTree::kEditTimer);
    const TPoint p = FromScreen(m.LParam);
    pressPoint_ = p;
    if (!InStrip(p)) return false;
    tree_.DoHeaderMouseDown(mbLeft, KeyboardShiftState(), p.X, p.Y);
    if (options_.Contains(hoColumnResize)) {
        if (const TColumnIndex splitter = SplitterAt(p); splitter != NoColumn) {
            columns_.TrackIndex = splitter;
            // Measured from the press, so that the edge follows the mouse without a jump.
            trackStart_ = p.X - columns_[splitter].Width();
            DoStateChange({hdTrackPending});
            SetCapture(tree_.Handle());
            return true;
        }
    }
    const TColumnIndex column = columns_.ColumnFromPosition(p, true);
    const bool valid = columns_.IsValidColumn(column);
    const TVTColumnOptions options = valid ? columns_[column].Options() : TVTColumnOptions{};
    SetDownIndex(options.Contains(coAllowClick) && options.Contains(coEnabled) ? column : NoColumn);
    if (options_.Contains(hoDrag) && options.Contains(coDraggable)) {
        DoStateChange({hdDragPending});
        SetCapture(tree_.Handle());
    }
    return true;
}

bool TVTHeader::HandleCapturedMove(TMessage& m) {
    if (!InInteraction()) return false;
    const TPoint p = FromClient(m.LParam);
    if (states_.Contains(hdTrackPending)) {
        tree_.StopTimer(TBaseVirtualTree::kHeaderTimer);
        DoStateChange({hdTracking}, {hdTrackPending});
    }
    if (states_.Contains(hdTracking)) {
        if (columns_.IsValidColumn(columns_.TrackIndex))
            columns_[columns_.TrackIndex].SetWidth(SaturatedSum(p.X, -trackStart_));
        return true;
    }
    if (states_.Contains(hdDragPending)) {
        const bool far = std::abs(p.X - pressPoint_.X) > GetSystemMetrics(SM_CXDRAG) ||
                         std::abs(p.Y - pressPoint_.Y) > GetSystemMetrics(SM_CYDRAG);
        const TColumnIndex column = columns_.ColumnFromPosition(pressPoint_, true);
        if (far && options_.Contains(hoDrag) && columns_.IsValidColumn(column) &&
            tree_.DoHeaderDragging(column))
            StartColumnDrag(p);
        return true;
    }
    DragColumnTo(p);
    return true;
}

void TVTHeader::StartColumnDrag(TPoint p) {
    tree_.StopTimer(TBaseVirtualTree::kHeaderTimer);
    SetDownIndex(NoColumn);
    SetHoverIndex(NoColumn);
    dragIndex_ = columns_.ColumnFromPosition(pressPoint_, true);
    columns_.DropTarget = NoColumn;
    // The picture: the header as it is, on the tree's colour, cut to the dragged cell.
    const TRect strip = tree_.HeaderRect();
    // At the scale the header was painted at last, which the picture is laid over at.
    const double ratio = paintBuffer_.Empty() ? 1 : paintBuffer_.PixelRatio();
    TBitmap header(strip.Width(), strip.Height(), pf32bit, ratio);
    header.Canvas().Brush.Color = tree_.Color();
    header.Canvas().FillRect({0, 0, strip.Width(), strip.Height()});
    PaintColumns(header.Canvas(), {0, 0, strip.Width(), strip.Height()}, false);
    const TVirtualTreeColumn& column = columns_[dragIndex_];
    const int left = column.Left() + tree_.OffsetX();
    TBitmap cell(column.Width(), strip.Height(), pf32bit, ratio);
    cell.Canvas().CopyRect({0, 0, column.Width(), strip.Height()}, header,
                           {left, 0, left + column.Width(), strip.Height()});
    dragImage_.MoveRestriction = options_.Contains(hoRestrictDrag) ? dmrHorizontalOnly : dmrNone;
    dragImage_.PrepareDrag(cell, pressPoint_, {pressPoint_.X - left, pressPoint_.Y});
    dragImage_.ShowDragImage();
    DoStateChange({hdDragging}, {hdDragPending});
    DragColumnTo(p);
}

void TVTHeader::DragColumnTo(TPoint p) {
    const TRect window = GetWindowRect(tree_.Handle());
    const TRect strip = tree_.HeaderRect();
    const bool inside = p.X + strip.Left >= 0 && p.Y + strip.Top >= 0 &&
                        p.X + strip.Left < window.Width() && p.Y + strip.Top < window.Height();
    TColumnIndex target = inside ? columns_.ColumnFromPosition({p.X, 0}, true) : NoColumn;
    if (!columns_.IsValidColumn(target)) target = NoColumn;
    bool before = false;
    if (target != NoColumn) {
        const TVirtualTreeColumn& column = columns_[target];
        before = p.X < column.Left() + tree_.OffsetX() + column.Width() / 2;
    }
    if (target != columns_.DropTarget || before != columns_.DropBefore) {
        Invalidate(columns_.DropTarget);
        columns_.DropTarget = target;
        columns_.DropBefore = before;
        Invalidate(target);
    }
    dragImage_.DragTo(p);
}

bool TVTHeader::HandleLeftButtonUp(TMessage& m) {
    const bool nonClient = m.Msg == WM_NCLBUTTONUP;
    const THeaderStates before = states_;
    const TPoint p = nonClient ? FromScreen(m.LParam) : FromClient(m.LParam);
    if (!InInteraction() && (!nonClient || !InStrip(p))) return false;
    tree_.CancelHint();
    if (InInteraction()) {
        DoStateChange({}, {hdDragging, hdDragPending, hdTracking, hdTrackPending});
        if (GetCapture() == tree_.Handle()) ReleaseCapture();
    }
    if (before.Contains(hdDragging)) {
        DropColumn(p);
    } else if (!before.ContainsAny({hdTracking, hdTrackPending})) {
        // A click: released where it went down (a draggable column holds the capture meanwhile).
        if (nonClient || InStrip(p)) columns_.HandleClick(p, mbLeft, false, false);
        if (InStrip(p)) tree_.DoHeaderMouseUp(mbLeft, KeyboardShiftState(), p.X, p.Y);
    }
    columns_.TrackIndex = NoColumn;
    SetDownIndex(NoColumn);
    return true;
}

void TVTHeader::DropColumn(TPoint p) {
    const TColumnIndex dragged = dragIndex_;
    const TColumnIndex target = columns_.DropTarget;
    EndColumnDrag();
    if (!columns_.IsValidColumn(dragged)) return;
    const TRect strip = tree_.HeaderRect();
    const TRect window = GetWindowRect(tree_.Handle());
    const TPoint inWindow{p.X + strip.Left, p.Y + strip.Top};
    const bool inside = inWindow.X >= 0 && inWindow.Y >= 0 && inWindow.X < window.Width() &&
                        inWindow.Y < window.Height();
    if (!inside) {
        tree_.DoHeaderDraggedOut(dragged, {window.Left + inWindow.X, window.Top + inWindow.Y});
        return;
    }
    if (!columns_.IsValidColumn(target) || target == dragged) return;
    const int from = columns_[dragged].Position();
    const int at = columns_[target].Position();
    int to;
    if (columns_.DropBefore)
        to = from >= at ? at : std::max(0, at - 1);
    else
        to = from >= at ? at + 1 : at;
    columns_[dragged].SetPosition(to);
    tree_.DoHeaderDragged(dragged, from);
}

void TVTHeader::EndColumnDrag() {
    dragImage_.EndDrag();
    dragIndex_ = NoColumn;
    columns_.DropTarget = NoColumn;
    Invalidate(NoColumn);
}

void TVTHeader::CancelInteraction() {
    if (!InInteraction()) return;
    const bool dragging = states_.Contains(hdDragging);
    DoStateChange({}, {hdDragging, hdDragPending, hdTracking, hdTrackPending});
    if (GetCapture() == tree_.Handle()) ReleaseCapture();
    if (dragging) EndColumnDrag();
    columns_.TrackIndex = NoColumn;
    SetDownIndex(NoColumn);
}

bool TVTHeader::HandleDoubleClick(TMessage& m) {
    const TPoint p = FromScreen(m.LParam);
    if (!InStrip(p)) return false;
    const TMouseButton button = ButtonOf(m.Msg);
    if (options_.Contains(hoDblClickResize)) {
        if (const TColumnIndex splitter = SplitterAt(p); splitter != NoColumn) {
            TVirtualTreeColumn& column = columns_[splitter];
            columns_.AnimatedResize(splitter,
                                    std::max(column.MinWidth(), tree_.GetMaxColumnWidth(splitter)));
            return true;
        }
    }
    columns_.HandleClick(p, button, true, true);
    if (columns_.ClickIndex > NoColumn)
        tree_.DoHeaderDblClick(columns_.ClickIndex, button, KeyboardShiftState() | ssDouble, p.X,
                               p.Y);
    return true;
}

bool TVTHeader::HandleOtherButton(TMessage& m) {
    const TPoint p = FromScreen(m.LParam);
    if (!InStrip(p)) return false;
    const TMouseButton button = ButtonOf(m.Msg);
    const TShiftState shift = KeyboardShiftState();
    if (m.Msg == WM_NCRBUTTONDOWN || m.Msg == WM_NCMBUTTONDOWN) {
        tree_.DoHeaderMouseDown(button, shift, p.X, p.Y);
        return true;
    }
    tree_.CancelHint();
    columns_.HandleClick(p, button, true, false);
    tree_.DoHeaderMouseUp(button, shift, p.X, p.Y);
    SetDownIndex(NoColumn);
    if (button != mbRight) return true;
    SetHoverIndex(NoColumn);
    if (popupMenu_) {
        tree_.StopTimer(TBaseVirtualTree::kScrollTimer);
        tree_.StopTimer(TBaseVirtualTree::kHeaderTimer);
        popupMenu_->SetPopupComponent(&tree_);
        popupMenu_->Popup(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    }
    return true;
}

void TVTHeader::HandleNonClientMove(TMessage& m) {
    const TPoint p = FromScreen(m.LParam);
    tree_.DoHeaderMouseMove(KeyboardShiftState(), p.X, p.Y);
    if (!InStrip(p)) return;
    const TColumnIndex column = columns_.ColumnFromPosition(p, true);
    const TColumnIndex hover = columns_.IsValidColumn(column) ? column : NoColumn;
    const bool pressedLeft = columns_.DownIndex != NoColumn && columns_.DownIndex != hover;
    if (hover == columns_.HoverIndex && !pressedLeft) return;
    SetHoverIndex(hover);
    SetTimer(tree_.Handle(), TBaseVirtualTree::kHeaderTimer, kHotTrackInterval);
}

// Timer 3: the mouse left the header (no message says so of a non-client area), or a pressed
// column is no longer the one under it.
bool TVTHeader::HandleHeaderTimer() {
    const TRect window = GetWindowRect(tree_.Handle());
    const TPoint cursor = GetCursorPos();
    const bool outside = !InHeader({cursor.X - window.Left, cursor.Y - window.Top});
    if (outside || (columns_.DownIndex != NoColumn && columns_.DownIndex != columns_.HoverIndex)) {
        tree_.StopTimer(TBaseVirtualTree::kHeaderTimer);
        SetHoverIndex(NoColumn);
        columns_.ClickIndex = NoColumn;
        if (!InInteraction()) SetDownIndex(NoColumn);
        Invalidate(NoColumn);
    }
    return true;
}

bool TVTHeader::HandleSetCursor(TMessage& m) {
    if (m.WParam != tree_.Handle()) return false;
    if (InInteraction()) {
        // The split cursor stays while a column is sized, wherever the mouse is.
        if (states_.ContainsAny({hdTracking, hdTrackPending})) rv::SetCursor(crHeaderSplit);
        m.Result = 1;
        return true;
    }
    const TRect window = GetWindowRect(tree_.Handle());
    const TPoint cursor = GetCursorPos();
    if (!InHeader({cursor.X - window.Left, cursor.Y - window.Top})) return false;
    TCursor shape = crDefault;
    if (options_.Contains(hoColumnResize) &&
        SplitterAt(FromScreen(MAKELPARAM(cursor.X, cursor.Y))) != NoColumn)
        shape = crHeaderSplit;
    shape = tree_.DoGetHeaderCursor(shape);
    if (shape == crDefault) return false;
    rv::SetCursor(shape);
    m.Result = 1;
    return true;
}

}  // namespace rv
