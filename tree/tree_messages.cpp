// The tree's window messages of input and interaction: keys, buttons, scroll bars, the wheel,
// focus, the cursor, cancel mode, the timers, the clipboard commands and the frame with the
// header strip.

#include <algorithm>

#include "platform/windows/desktop_settings.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"

namespace rv {

namespace {

// A private message of the framework the tree answers with 1.
constexpr UINT kFrameworkQuery = 0xB7D0;

}  // namespace

bool TBaseVirtualTree::DispatchInput(TMessage& message) {
    switch (message.Msg) {
        case WM_KEYUP:
            HandleKeyUp(message);
            return false;
        case WM_CHAR:
            HandleChar(message);
            return false;
        case WM_GETDLGCODE:
            message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (wantTabs_ ? DLGC_WANTTAB : 0);
            return true;
        case WM_SETFOCUS:
            TCustomControl::WndProc(message);
            if (SelectionCount() > 0 ||
                !TreeOptions().PaintOptions().Contains(toGhostedIfUnfocused))
                Invalidate();
            return true;
        case WM_KILLFOCUS:
            TCustomControl::WndProc(message);
            HandleFocusLoss();
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            CancelHint();
            HandleButton(message);
            return true;
        case WM_NCMOUSEMOVE: {
            const TPoint screen{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
            HintMouseMoved(rv::ScreenToClient(Handle(), screen));
            return false;
        }
        case CM_HINTSHOW:
            if (message.LParam) HandleHintShow(*reinterpret_cast<THintInfo*>(message.LParam));
            return true;
        case CM_HINTSHOWPAUSE:
            if (message.LParam) HandleHintShowPause(*reinterpret_cast<int*>(message.LParam));
            return true;
        case WM_CONTEXTMENU:
            // The tree's own menu was shown for this click already.
            if (states_.Contains(tsPopupMenuShown)) {
                DoStateChange({}, {tsPopupMenuShown});
                message.Result = 1;
                return true;
            }
            return false;
        case WM_HSCROLL:
        case WM_VSCROLL:
            HandleScroll(message, message.Msg == WM_VSCROLL);
            return true;
        case CM_MOUSEWHEEL:
            HandleMouseWheel(message);
            return true;
        case WM_ERASEBKGND:
            message.Result = 1;
            return true;
        case WM_SETCURSOR:
            return HandleSetCursor(message);
        case WM_CANCELMODE:
            CancelInputModes();
            return false;
        case WM_ENABLE:
            TCustomControl::WndProc(message);
            InvalidateWindow(Handle());
            return true;
        case WM_TIMER:
            HandleTimer(message);
            return true;
        case WM_COPY:
            CopyToClipboard();
            return true;
        case WM_CUT:
            CutToClipboard();
            return true;
        case WM_PASTE:
            PasteFromClipboard();
            return true;
        case CM_DRAG:
            HandleFrameworkDrag(message);
            return true;
        case CM_MOUSELEAVE:
            CancelHint();
            if (!states_.Contains(tsWheelPanning)) StopAutoScroll();
            if (hotNode_) {
                PVirtualNode old = hotNode_;
                DoHotChange(old, nullptr);
                hotNode_ = nullptr;
                InvalidateNode(old);
            }
            return false;
        case CM_COLORCHANGED:
            TCustomControl::WndProc(message);
            if (!Loading()) PrepareBitmaps();
            return true;
        case CM_SYSCOLORCHANGE:
            // The buttons were made in the colours of the old scheme; the check images are
            // drawn in the scheme's colours as they are painted.
            TCustomControl::WndProc(message);
            PrepareBitmaps();
            Invalidate();
            return true;
        case WM_NCHITTEST:
        case WM_PRINT:
        case WM_PRINTCLIENT:
            return HandleNonClient(message);
        case kFrameworkQuery:
            message.Result = 1;
            return true;
        default:
            return false;
    }
}

void TBaseVirtualTree::KeyDown(int& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key != 0) HandleKeyDown(key);
}

// ---- Buttons ---------------------------------------------------------------------------------

void TBaseVirtualTree::HandleButton(TMessage& message) {
    const int x = GET_X_LPARAM(message.LParam), y = GET_Y_LPARAM(message.LParam);
    const TVTSelectionOptions selection = TreeOptions().SelectionOptions();
    const auto hit = [&] { return GetHitTestInfoAt(x, y, true); };
    const bool headerBusy = header_.InInteraction();
    switch (message.Msg) {
        case WM_LBUTTONDOWN:
            DoStateChange({tsLeftButtonDown});
            TCustomControl::WndProc(message);
            ProcessMouseDown(message, hit());
            return;
        case WM_LBUTTONUP:
            DoStateChange({}, {tsLeftButtonDown});
            HandleMouseUp(message, hit());
            TCustomControl::WndProc(message);
            return;
        case WM_LBUTTONDBLCLK:
            TCustomControl::WndProc(message);
            HandleMouseDblClick(message, hit());
            return;
        case WM_MBUTTONDOWN: {
            DoStateChange({tsMiddleButtonDown});
            if (headerBusy) return;
            TCustomControl::WndProc(message);
            const bool canScroll = ClientWidth() < rangeX_ || ClientHeight() < RangeY();
            if (TreeOptions().MiscOptions().Contains(toWheelPanning) &&
                !states_.Contains(tsWheelPanning) && canScroll) {
                StartWheelPanning({x, y});
                return;
            }
            StopWheelPanning();
            if (selection.Contains(toMiddleClickSelect)) ProcessMouseDown(message, hit());
            return;
        }
        case WM_MBUTTONUP:
            DoStateChange({}, {tsMiddleButtonDown});
            if (!states_.Contains(tsWheelPanning)) {
                if (headerBusy) return;
                TCustomControl::WndProc(message);
                if (selection.Contains(toMiddleClickSelect)) HandleMouseUp(message, hit());
            } else if (states_.Contains(tsWheelScrolling)) {
                // Released where it went down: panning goes on until the next click.
                DoStateChange({}, {tsWheelScrolling});
            } else {
                StopWheelPanning();
            }
            return;
        case WM_MBUTTONDBLCLK:
            TCustomControl::WndProc(message);
            if (selection.Contains(toMiddleClickSelect)) HandleMouseDblClick(message, hit());
            return;
        case WM_RBUTTONDOWN:
            DoStateChange({tsRightButtonDown});
            if (headerBusy) return;
            TCustomControl::WndProc(message);
            if (selection.Contains(toRightClickSelect)) ProcessMouseDown(message, hit());
            return;
        case WM_RBUTTONUP:
            HandleRightButtonUp(message);
            return;
        case WM_RBUTTONDBLCLK:
            TCustomControl::WndProc(message);
            if (selection.Contains(toRightClickSelect)) HandleMouseDblClick(message, hit());
            return;
        default:
            return;
    }
}

void TBaseVirtualTree::HandleRightButtonUp(TMessage& message) {
    DoStateChange({}, {tsRightButtonDown});
    if (header_.InInteraction()) return;
    const int x = GET_X_LPARAM(message.LParam), y = GET_Y_LPARAM(message.LParam);
    const THitInfo before = GetHitTestInfoAt(x, y, true);
    if (states_.ContainsAny({tsDrawSelPending, tsDrawSelecting}) &&
        CanShowPopupMenu(before.HitNode, before.HitColumn, {x, y})) {
        DoStateChange({}, {tsDrawSelPending, tsDrawSelecting});
        SetRubberBand(false);
        Invalidate();
    }
    TCustomControl::WndProc(message);  // the control's own menu comes up from here
    const THitInfo hit = GetHitTestInfoAt(x, y, true);
    if (TreeOptions().SelectionOptions().Contains(toRightClickSelect)) HandleMouseUp(message, hit);
    if (!PopupMenu()) DoPopupMenu(hit.HitNode, hit.HitColumn, {x, y});
}

// ---- Scroll bars and the wheel ---------------------------------------------------------------

void TBaseVirtualTree::HandleScroll(TMessage& message, bool vertical) {
    const int code = LOWORD(message.WParam);
    const int increment =
        vertical ? scrollBarOptions_.VerticalIncrement() : scrollBarOptions_.HorizontalIncrement();
    const int page = vertical ? ClientHeight() : ClientWidth();
    const std::int64_t offset = vertical ? offsetY_ : offsetX_;
    std::int64_t target = offset;
    switch (code) {
        case SB_LINEUP:
            target = offset + increment;
            break;
        case SB_LINEDOWN:
            target = offset - increment;
            break;
        case SB_PAGEUP:
            target = offset + page;
            break;
        case SB_PAGEDOWN:
            target = offset - page;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: {
            DoStateChange({tsThumbTracking});
            TScrollInfo info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(Handle(), vertical ? SB_VERT : SB_HORZ, info);
            target = -std::int64_t(info.nTrackPos);
            break;
        }
        case SB_TOP:
            target = 0;
            break;
        case SB_BOTTOM:
            target = vertical ? -std::int64_t(root_->TotalHeight) : -std::int64_t(rangeX_);
            break;
        case SB_ENDSCROLL:
            DoStateChange({}, {tsThumbTracking});
            UpdateScrollBars(true);
            if (vertical) Invalidate();
            message.Result = 0;
            return;
        default:
            break;
    }
    const int clamped = int(std::clamp<std::int64_t>(target, INT_MIN, 0));
    if (vertical)
        SetOffsetY(clamped);
    else
        SetOffsetX(clamped);
    message.Result = 0;
}

void TBaseVirtualTree::HandleMouseWheel(TMessage& message) {
    StopWheelPanning();
    const int delta = GET_WHEEL_DELTA_WPARAM(message.WParam);
    const bool shift = LOWORD(message.WParam) & MK_SHIFT;
    message.Result = 1;
    if (delta == 0) return;
    // Amounts per notch of WHEEL_DELTA; a finer wheel moves in proportion.
    const auto scroll = [delta](std::int64_t perNotch) { return perNotch * delta / WHEEL_DELTA; };
    if (ClientHeight() >= RangeY()) {
        const std::int64_t indent = std::max<std::uint32_t>(indent_, 1);
        const std::int64_t step = shift ? ClientWidth() / indent * indent : indent;
        SetOffsetX(int(std::clamp<std::int64_t>(offsetX_ + scroll(step), INT_MIN, 0)));
    } else {
        const std::int64_t lines =
            shift ? ClientHeight() / std::int64_t(defaultNodeHeight_) : GetWheelScrollLines();
        SetOffsetY(int(std::clamp<std::int64_t>(
            offsetY_ + scroll(lines * std::int64_t(defaultNodeHeight_)), INT_MIN, 0)));
    }
}

// ---- Focus, cursor, cancel mode and timers ---------------------------------------------------

void TBaseVirtualTree::StopTimer(UINT_PTR id) {
    KillTimer(Handle(), id);
}

void TBaseVirtualTree::CancelInputModes() {
    for (UINT_PTR id : {kExpandTimer, kEditTimer, kHeaderTimer, kScrollTimer, kSearchTimer})
        StopTimer(id);
    searchBuffer_.clear();
    highSurrogate_ = 0;
    if (states_.Contains(tsKeyCheckPending)) AbandonKeyCheck();
    // The release that would end a press never comes now: the press's pending parts go too.
    if (states_.Contains(tsMouseCheckPending)) FinishCheckClick({});
    if (states_.ContainsAny({tsDrawSelPending, tsDrawSelecting})) {
        SetRubberBand(false);
        Invalidate();
    }
    DoStateChange({}, {tsScrollPending, tsScrolling, tsEditPending, tsIncrementalSearching,
                       tsIncrementalSearchPending, tsDrawSelPending, tsDrawSelecting,
                       tsClearPending, tsToggleFocusedSelection, tsOLEDragPending});
}

void TBaseVirtualTree::HandleFocusLoss() {
    CancelHint();
    StopWheelPanning();
    CancelInputModes();
    if (SelectionCount() == 0 && TreeOptions().PaintOptions().Contains(toGhostedIfUnfocused))
        InvalidateNode(focusedNode_);
    else
        Invalidate();
}

bool TBaseVirtualTree::HandleSetCursor(TMessage& message) {
    if (message.WParam != Handle() || LOWORD(message.LParam) != HTCLIENT) return false;
    if (states_.Contains(tsWheelPanning)) return false;
    TCursor cursor = Cursor();
    if (TreeOptions().PaintOptions().Contains(toHotTrack) && hotNode_) cursor = hotCursor_;
    cursor = DoGetCursor(cursor);
    rv::SetCursor(cursor);
    message.Result = 1;
    return true;
}

void TBaseVirtualTree::HandleTimer(TMessage& message) {
    switch (message.WParam) {
        case kExpandTimer:
            DoDragExpand();
            return;
        case kEditTimer:
            StopTimer(kEditTimer);
            DoEdit();
            return;
        case kHeaderTimer:
            StopTimer(kHeaderTimer);  // the header's hot tracking takes it over
            return;
        case kScrollTimer:
            if (states_.Contains(tsScrollPending)) {
                SetTimer(Handle(), kScrollTimer, autoScrollInterval_);
                DoStateChange({tsScrolling}, {tsScrollPending});
            }
            AutoScrollStep();
            return;
        case kChangeTimer:
            DoChange(lastChangedNode_);
            return;
        case kStructureChangeTimer:
            DoStructureChange(lastStructureNode_, lastStructureReason_);
            return;
        case kAnimationTimer:
            SlideTick();
            return;
        case kSearchTimer:
            StopTimer(kSearchTimer);
            DoStateChange({}, {tsIncrementalSearching});
            searchBuffer_.clear();
            highSurrogate_ = 0;
            lastSearchNode_ = nullptr;
            return;
        default:
            TCustomControl::WndProc(message);
            return;
    }
}

// ---- The frame and printing ------------------------------------------------------------------

bool TBaseVirtualTree::HandleNonClient(TMessage& message) {
    switch (message.Msg) {
        case WM_NCHITTEST: {
            TCustomControl::WndProc(message);
            if (!header_.Options().Contains(hoVisible)) return true;
            const TPoint screen{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
            const TPoint client = rv::ScreenToClient(Handle(), screen);
            const TPoint origin = GetClientOffset(Handle());
            // The header's strip answers as border, so that it gets the frame's mouse messages.
            if (HeaderRect().Contains({client.X + origin.X, client.Y + origin.Y}))
                message.Result = HTBORDER;
            return true;
        }
        case WM_PRINT:
            if (auto* canvas = reinterpret_cast<TCanvas*>(message.WParam);
                canvas && header_.Options().Contains(hoVisible))
                PaintHeader(*canvas, HeaderRect());
            return true;
        case WM_PRINTCLIENT:
            if (auto* canvas = reinterpret_cast<TCanvas*>(message.WParam)) {
                const TRect window = OffsetRect(GetClientRect(Handle()), -offsetX_, -offsetY_);
                PaintTree(*canvas, window, {0, 0}, kWindowPaintOptions);
            }
            return true;
        default:
            return false;
    }
}

void TBaseVirtualTree::PaintHeader(TCanvas& canvas, const TRect& r) {
    if (slide_ && slide_->HasHeader()) {
        slide_->PaintHeader(canvas, r,
                            [this](TCanvas& c, const TRect& s) { FillSlideStrip(c, s); });
        return;
    }
    header_.PaintHeader(canvas, r);
}

}  // namespace rv
