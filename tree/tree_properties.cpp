// The tree's appearance and behaviour properties with their reactions, the reactions to changed
// option sets, scroll-bar options and colours, the header's notifications, and copying the
// properties of another tree.

#include "platform/windows/window_host.h"
#include "tree/base_tree.h"

namespace rv {

namespace {

// Stores a changed value; answers whether it changed.
template <class T>
bool Store(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
}

}  // namespace

void TBaseVirtualTree::TreeOptionsChanged(TVTOptionSetKind kind, std::uint32_t before) {
    if (Loading()) return;
    const auto changed = [&](auto now, auto option) {
        using Set = decltype(now);
        return now.Contains(option) != Set::FromBits(before).Contains(option);
    };
    const auto newlySet = [&](auto now, auto option) {
        using Set = decltype(now);
        return now.Contains(option) && !Set::FromBits(before).Contains(option);
    };
    switch (kind) {
        case oskPaint: {
            const TVTPaintOptions now = TreeOptions().PaintOptions();
            if (changed(now, toThemeAware)) {
                if (now.Contains(toThemeAware) && ThemeServicesEnabled())
                    DoStateChange({tsUseThemes});
                else
                    DoStateChange({}, {tsUseThemes});
                PrepareBitmaps();
                InvalidateWindow(Handle());
            } else {
                Invalidate();
            }
            break;
        }
        case oskAuto:
            if (changed(TreeOptions().AutoOptions(), toAutoSpanColumns)) Invalidate();
            break;
        case oskSelection: {
            const TVTSelectionOptions now = TreeOptions().SelectionOptions();
            if (changed(now, toMultiSelect) || newlySet(now, toLevelSelectConstraint) ||
                newlySet(now, toSiblingSelectConstraint))
                ClearSelection();
            if (!now.Contains(toExtendedFocus)) {
                if (changed(now, toExtendedFocus) && focusedColumn_ > 0) Invalidate();
                focusedColumn_ = header_.MainColumn();
            }
            break;
        }
        case oskMisc: {
            const TVTMiscOptions now = TreeOptions().MiscOptions();
            if (changed(now, toCheckSupport)) Invalidate();
            if (changed(now, toFullRepaintOnResize)) ApplyWindowStyles();
            if (changed(now, toAcceptOLEDrop)) RegisterDropTarget(now.Contains(toAcceptOLEDrop));
            break;
        }
        case oskAnimation:
        case oskString:
            break;
    }
}

void TBaseVirtualTree::ApplyWindowStyles() {
    SetRedrawOnResize(Handle(), TreeOptions().MiscOptions().Contains(toFullRepaintOnResize));
    SetLeftScrollBar(Handle(), biDiMode_ != bdLeftToRight);
    const TScrollBarStyle style = scrollBarOptions_.ScrollBarStyle();
    SetScrollBarLook(Handle(), SB_BOTH,
                     style == sbmFlat ? FSB_FLAT_MODE
                     : style == sbm3D ? FSB_ENCARTA_MODE
                                      : FSB_REGULAR_MODE);
}

void TBaseVirtualTree::ScrollBarOptionsChanged() {
    if (Loading()) return;
    ApplyWindowStyles();
    UpdateScrollBars(true);
    Invalidate();
}

void TBaseVirtualTree::ColorChanged(TVTColors::Index index) {
    if (index == TVTColors::TreeLineColor) PrepareBitmaps();
    if (index == TVTColors::BorderColor)
        InvalidateWindow(Handle());
    else
        Invalidate();
}

void TBaseVirtualTree::ColorsAssigned() {
    if (updateCount_ == 0) Invalidate();
}

void TBaseVirtualTree::MainColumnChanged() {
    if (!TreeOptions().SelectionOptions().Contains(toExtendedFocus))
        focusedColumn_ = header_.MainColumn();
    Invalidate();
}

void TBaseVirtualTree::DoHeaderClick(TColumnIndex column, TMouseButton button, TShiftState shift,
                                     int x, int y) {
    if (OnHeaderClick) OnHeaderClick(&header_, column, button, shift, x, y);
}

void TBaseVirtualTree::DoColumnResize(TColumnIndex column) {
    if (OnColumnResize) OnColumnResize(&header_, column);
}

// ---- Properties ------------------------------------------------------------------------------

void TBaseVirtualTree::SetAlignment(TAlignment value) {
    if (Store(alignment_, value) && !Loading()) Invalidate();
}

void TBaseVirtualTree::SetMargin(int value) {
    if (Store(margin_, value) && !Loading()) Invalidate();
}

void TBaseVirtualTree::SetBiDiMode(TBiDiMode value) {
    if (!Store(biDiMode_, value)) return;
    header_.TreeBiDiModeChanged();
    if (Loading()) return;
    ApplyWindowStyles();
    Invalidate();
}

TBiDiMode TBaseVirtualTree::CellBiDiMode(TColumnIndex column) const {
    const TVirtualTreeColumns& columns = header_.Columns();
    return columns.IsValidColumn(column) ? columns[column].BiDiMode() : biDiMode_;
}

void TBaseVirtualTree::SetTextMargin(int value) {
    if (Store(textMargin_, value) && !Loading()) Invalidate();
}

void TBaseVirtualTree::SetLineMode(TVTLineMode value) {
    if (Store(lineMode_, value) && !Loading()) Invalidate();
}

void TBaseVirtualTree::SetSelectionCurveRadius(std::uint32_t value) {
    if (Store(selectionCurveRadius_, value) && !Loading()) Invalidate();
}

void TBaseVirtualTree::SetDrawSelectionMode(TVTDrawSelectionMode value) {
    if (Store(drawSelectionMode_, value) && !Loading()) Invalidate();
}

void TBaseVirtualTree::SetSelectionBlendFactor(std::uint8_t value) {
    if (Store(selectionBlendFactor_, value) && !Loading()) Invalidate();
}

void TBaseVirtualTree::SetAnimationDuration(std::uint32_t value) {
    if (!Store(animationDuration_, value)) return;
    TVTAnimationOptions options = TreeOptions().AnimationOptions();
    value ? options.Include(toAnimatedToggle) : options.Exclude(toAnimatedToggle);
    TreeOptions().SetAnimationOptions(options);
}

void TBaseVirtualTree::SetBackground(const TBitmap& value) {
    background_ = value;
    Invalidate();
}

void TBaseVirtualTree::SetBackgroundOffsetX(int value) {
    if (Store(backgroundOffsetX_, value)) Invalidate();
}

void TBaseVirtualTree::SetBackgroundOffsetY(int value) {
    if (Store(backgroundOffsetY_, value)) Invalidate();
}

void TBaseVirtualTree::SetBorderStyle(TFormBorderStyle value) {
    if (Store(borderStyle_, value)) UpdateFrame();
}

void TBaseVirtualTree::SetButtonFillMode(TVTButtonFillMode value) {
    if (!Store(buttonFillMode_, value)) return;
    if (!Loading()) PrepareBitmaps();
    Invalidate();
}

void TBaseVirtualTree::SetButtonStyle(TVTButtonStyle value) {
    if (!Store(buttonStyle_, value)) return;
    if (!Loading()) PrepareBitmaps();
    Invalidate();
}

void TBaseVirtualTree::SetLineStyle(TVTLineStyle value) {
    if (!Store(lineStyle_, value)) return;
    if (!Loading()) PrepareBitmaps();
    Invalidate();
}

void TBaseVirtualTree::SetCheckImageKind(TCheckImageKind value) {
    if (Store(checkImageKind_, value) && updateCount_ == 0) Invalidate();
}

void TBaseVirtualTree::SetCustomCheckImages(TImageList* value) {
    if (SetLink(customCheckImages_, value)) Invalidate();
}

void TBaseVirtualTree::SetIncrementalSearch(TVTIncrementalSearch value) {
    if (!Store(incrementalSearch_, value) || value != isNone) return;
    KillTimer(Handle(), kSearchTimer);
    searchBuffer_.clear();
    lastSearchNode_ = nullptr;
}

void TBaseVirtualTree::AssignFrom(const TBaseVirtualTree& s) {
    if (&s == this || TreeOptions().MiscOptions().Contains(toReadOnly)) return;
    SetAlignment(s.alignment_);
    SetAnimationDuration(s.animationDuration_);
    SetAutoExpandDelay(s.autoExpandDelay_);
    SetAutoScrollDelay(s.autoScrollDelay_);
    SetAutoScrollInterval(s.autoScrollInterval_);
    SetBackground(s.background_);
    SetBackgroundOffsetX(s.backgroundOffsetX_);
    SetBackgroundOffsetY(s.backgroundOffsetY_);
    SetBiDiMode(s.biDiMode_);
    SetBorderStyle(s.borderStyle_);
    SetButtonFillMode(s.buttonFillMode_);
    SetButtonStyle(s.buttonStyle_);
    SetChangeDelay(s.changeDelay_);
    SetCheckImageKind(s.checkImageKind_);
    SetClipboardFormats(s.clipboardFormats_);
    SetColor(s.Color());
    colors_.Assign(s.colors_);
    SetCustomCheckImages(s.customCheckImages_);
    SetDefaultNodeHeight(s.defaultNodeHeight_);
    SetDefaultPasteMode(s.defaultPasteMode_);
    SetDragHeight(s.dragHeight_);
    SetDragImageKind(s.dragImageKind_);
    SetDragOperations(s.dragOperations_);
    SetDragType(s.dragType_);
    SetDragWidth(s.dragWidth_);
    SetDrawSelectionMode(s.drawSelectionMode_);
    SetEditDelay(s.editDelay_);
    SetFont(s.Font());
    header_.Assign(s.header_);
    SetHintAnimation(s.hintAnimation_);
    SetHintMode(s.hintMode_);
    SetHotCursor(s.hotCursor_);
    SetImages(s.images_);
    SetIncrementalSearch(s.incrementalSearch_);
    SetIncrementalSearchDirection(s.searchDirection_);
    SetIncrementalSearchStart(s.searchStart_);
    SetIncrementalSearchTimeout(s.searchTimeout_);
    SetIndent(s.indent_);
    SetLineMode(s.lineMode_);
    SetLineStyle(s.lineStyle_);
    SetMargin(s.margin_);
    SetNodeAlignment(s.nodeAlignment_);
    SetNodeDataSize(s.nodeDataSize_);
    SetPopupMenu(s.PopupMenu());
    SetRootNodeCount(s.RootNodeCount());
    scrollBarOptions_.Assign(s.scrollBarOptions_);
    SetSelectionBlendFactor(s.selectionBlendFactor_);
    SetSelectionCurveRadius(s.selectionCurveRadius_);
    SetStateImages(s.stateImages_);
    SetTextMargin(s.textMargin_);
    TreeOptions().Assign(s.TreeOptions());
    SetWantTabs(s.wantTabs_);
    SetTabStop(s.TabStop);
    Hint = s.Hint;
    ShowHint = s.ShowHint;
    SetVisible(s.Visible());
}

}  // namespace rv
