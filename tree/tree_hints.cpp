// The tree's hints: which hint the mouse's place asks for (a header column's, the control's, a
// node's, or in tooltip mode the whole text of a node that is cut off), shown in the tree's own
// hint window, and taken away once the mouse leaves the place it was shown for.

#include <algorithm>

#include "platform/windows/desktop_settings.h"
#include "platform/windows/screens.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"
#include "tree/hint_window.h"

namespace rv {

namespace {

// A hint that is not laid over a text goes this far below the mouse pointer.
constexpr int kBelowPointer = 20;

}  // namespace

TVirtualTreeHintWindow& TBaseVirtualTree::HintWindow() {
    if (!hintWindow_) hintWindow_ = std::make_unique<TVirtualTreeHintWindow>(nullptr);
    return *hintWindow_;
}

void TBaseVirtualTree::CancelHint() {
    if (hintWindow_ && hintWindow_->Visible()) hintWindow_->HideHint();
    lastHintRect_ = {};
    if (states_.Contains(tsHint)) DoStateChange({}, {tsHint});
}

void TBaseVirtualTree::HintMouseMoved(TPoint client) {
    if (states_.Contains(tsHint) && !lastHintRect_.Contains(client)) CancelHint();
}

TVTHintAnimationType TBaseVirtualTree::DoGetAnimationType() {
    if (hintAnimation_ != hatSystemDefault) return hintAnimation_;
    switch (GetTooltipAnimation()) {
        case TTooltipAnimation::Fade:
            return hatFade;
        case TTooltipAnimation::Slide:
            return hatSlide;
        default:
            return hatNone;
    }
}

std::string TBaseVirtualTree::DoGetNodeHint(PVirtualNode, TColumnIndex) {
    return Hint;
}

std::string TBaseVirtualTree::DoGetNodeTooltip(PVirtualNode, TColumnIndex) {
    return Hint;
}

void TBaseVirtualTree::PrepareTooltipCanvas(TCanvas& canvas, PVirtualNode, TColumnIndex) {
    canvas.Font = Font();
}

void TBaseVirtualTree::HandleHintShowPause(int& pause) {
    if (hintMode_ == hmTooltip) {
        pause = 0;
        return;
    }
    if (!HintSettings().ShowHint || !header_.UseColumns() ||
        !header_.Options().Contains(hoShowHint) || !HandleAllocated())
        return;
    const TPoint client = rv::ScreenToClient(Handle(), GetCursorPos());
    const TPoint origin = GetClientOffset(Handle());
    if (header_.InHeader({client.X + origin.X, client.Y + origin.Y})) pause = 0;
}

void TBaseVirtualTree::HandleHintShow(THintInfo& info) {
    const TPoint p = info.CursorPos;
    // Nothing new while the mouse stays where the hint shown last belongs.
    if (states_.Contains(tsHint) && lastHintRect_.Contains(p) && hintWindow_ &&
        hintWindow_->Visible())
        return;
    CancelHint();
    if (!ShowHint || !HandleAllocated() || states_.Contains(tsEditing) ||
        GetCapture() == Handle() || Dragging() ||
        states_.ContainsAny({tsDrawSelPending, tsDrawSelecting}))
        return;
    TVTHintData data;
    data.Tree = this;
    std::string text;
    TRect area;  // where the hint belongs, client coordinates
    TRect over;  // a tooltip: the text it is laid over, client coordinates
    const TPoint origin = GetClientOffset(Handle());
    const TRect strip = HeaderRect();
    if (header_.InHeader({p.X + origin.X, p.Y + origin.Y})) {
        if (!header_.UseColumns() || !header_.Options().Contains(hoShowHint)) return;
        const int top = strip.Top - origin.Y;  // the strip's top, client coordinates
        const TColumnIndex column = header_.Columns().ColumnFromPosition({p.X, p.Y - top}, true);
        if (!header_.Columns().IsValidColumn(column)) return;
        const TVirtualTreeColumn& c = header_.Columns()[column];
        text = c.Hint();
        data.Column = column;
        const int left = c.Left() + offsetX_;
        area = {left, top, SaturatedSum(left, c.Width()), top + strip.Height()};
    } else if (hintMode_ == hmDefault) {
        text = Hint;
        area = GetClientRect(Handle());
    } else {
        const THitInfo hit = GetHitTestInfoAt(p.X, p.Y, true);
        PVirtualNode node = hit.HitNode;
        if (!node || hit.HitColumn == InvalidColumn) return;
        const TColumnIndex column = header_.UseColumns() ? hit.HitColumn : NoColumn;
        data.Node = node;
        data.Column = column;
        area = IntersectRect(GetDisplayRect(node, column, false), GetClientRect(Handle()));
        if (hintMode_ == hmTooltip) {
            // Only a text that its cell does not show whole.
            const bool multiline = node->Has(nsMultiline);
            over = GetDisplayRect(node, column, !multiline, true);
            if (!multiline && over.Left >= area.Left && over.Right <= area.Right) return;
            text = DoGetNodeTooltip(node, column);
        } else {
            text = DoGetNodeHint(node, column);
            if (text.empty() && hintMode_ == hmHintAndDefault) text = Hint;
        }
    }
    if (text.empty() || area.IsEmpty()) return;
    TVirtualTreeHintWindow& window = HintWindow();
    window.Animation = DoGetAnimationType();
    window.AnimationDuration = animationDuration_;
    data.HintRect = area;
    data.DefaultHint = text;
    const TRect size = window.CalcHintRect(ScreenWorkAreas().front().Width(), text, data);
    if (size.IsEmpty()) return;
    TPoint at;
    if (data.Node && hintMode_ == hmTooltip) {
        const TPoint corner = rv::ClientToScreen(Handle(), {over.Left, over.Top});
        at = {corner.X - 1, corner.Y - 1};
    } else {
        const TPoint pointer = rv::ClientToScreen(Handle(), p);
        at = {pointer.X, pointer.Y + kBelowPointer};
    }
    window.ActivateHint(OffsetRect(size, at.X, at.Y), text);
    lastHintRect_ = area;
    DoStateChange({tsHint}, {tsCancelHintAnimation});
}

}  // namespace rv
