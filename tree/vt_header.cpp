// The header's properties with their reactions, loading from a form, repainting, automatic and
// spring sizing of the columns.

#include "tree/vt_header.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/graphics/bitmap.h"
#include "platform/windows/window_host.h"
#include "tree/base_tree.h"
#include "tree/header_glyphs.h"

namespace rv {

TVTHeader::TVTHeader(TBaseVirtualTree& tree) : tree_(tree), columns_(*this) {
    // The header's own drag picture, laid over the strip by the header's paint.
    dragImage_.Transparency = 140;
    dragImage_.PrepareBias = 206;
    dragImage_.Windowed = false;
    dragImage_.OnMove = [this](const TRect&, const TRect&) { Invalidate(NoColumn); };
    static const bool splitCursor = [] {
        RegisterCursor(crHeaderSplit, TCursorShape::HorizontalSplit);
        return true;
    }();
    (void)splitCursor;
}

bool TVTHeader::Loading() const {
    return states_.Contains(hdLoading) || tree_.Loading();
}

void TVTHeader::DoStateChange(THeaderStates enter, THeaderStates leave) {
    states_ = states_ + enter - leave;
}

void TVTHeader::BeginLoading() {
    DoStateChange({hdLoading});
}

void TVTHeader::EndLoading() {
    if (!states_.Contains(hdLoading)) return;
    DoStateChange({}, {hdLoading});
    Loaded();
}

void TVTHeader::Loaded() {
    if (!Loading()) columns_.Update(nullptr);
}

void TVTHeader::SetAutoSizeIndex(TColumnIndex value) {
    if (value == autoSizeIndex_) return;
    autoSizeIndex_ = value;
    if (options_.Contains(hoAutoResize) && !Loading()) {
        columns_.AdjustAutoSize(NoColumn);
        tree_.UpdateScrollBars(true);
        tree_.Invalidate();
    }
}

void TVTHeader::SetBackground(TColor value) {
    if (value == background_) return;
    background_ = value;
    Invalidate(NoColumn);
}

void TVTHeader::SetFont(const TFont& value) {
    parentFont_ = false;
    if (value == font_) return;
    font_ = value;
    Invalidate(NoColumn);
}

void TVTHeader::SetParentFont(bool value) {
    if (value == parentFont_) return;
    parentFont_ = value;
    if (value) TreeFontChanged();
}

void TVTHeader::TreeFontChanged() {
    if (!parentFont_ || font_ == tree_.Font()) return;
    font_ = tree_.Font();
    Invalidate(NoColumn);
}

void TVTHeader::SetHeight(int value) {
    // Heights are 16-bit, as the rows'.
    value = std::clamp(value, 0, 0xFFFF);
    if (value == height_) return;
    height_ = value;
    RecalculateFrame();
    Invalidate(NoColumn);
}

// The tree hears when a list or menu of its header goes.
void TVTHeader::SetImages(TImageList* value) {
    if (value == images_) return;
    images_ = value;
    if (images_) tree_.FreeNotification(images_);
    Invalidate(NoColumn);
}

void TVTHeader::SetPopupMenu(TPopupMenu* value) {
    popupMenu_ = value;
    if (popupMenu_) tree_.FreeNotification(popupMenu_);
}

bool TVTHeader::ForgetComponent(const TComponent* component) {
    if (component == popupMenu_) popupMenu_ = nullptr;
    if (component != images_) return false;
    images_ = nullptr;
    return true;
}

void TVTHeader::SetStyle(TVTHeaderStyle value) {
    if (value == style_) return;
    style_ = value;
    Invalidate(NoColumn);
}

TColumnIndex TVTHeader::MainColumn() const {
    return columns_.Count() > 0 ? mainColumn_ : NoColumn;
}

void TVTHeader::SetMainColumn(TColumnIndex value) {
    if (Loading()) {
        mainColumn_ = value;
        return;
    }
    value = columns_.Count() == 0 ? NoColumn : std::clamp(value, 0, columns_.Count() - 1);
    if (value == mainColumn_) return;
    mainColumn_ = value;
    tree_.MainColumnChanged();
}

void TVTHeader::SetOptions(TVTHeaderOptions value) {
    if (value == options_) return;
    const TVTHeaderOptions before = options_;
    options_ = value;
    if (Loading()) return;
    if (value.Contains(hoAutoResize) != before.Contains(hoAutoResize) && columns_.Count() > 0) {
        columns_.AdjustAutoSize(NoColumn);
        tree_.UpdateScrollBars(value.Contains(hoAutoResize));
    }
    if (value.Contains(hoVisible) != before.Contains(hoVisible)) RecalculateFrame();
    Invalidate(NoColumn);
    tree_.Invalidate();
}

void TVTHeader::SetSortColumn(TColumnIndex value) {
    if (Loading()) {
        sortColumn_ = value;
        return;
    }
    value = std::clamp(value, NoColumn, std::max(NoColumn, columns_.Count() - 1));
    if (value == sortColumn_) return;
    const TColumnIndex old = sortColumn_;
    sortColumn_ = value;
    Invalidate(old);
    Invalidate(value);
    SortAgain();
}

void TVTHeader::SetSortDirection(TSortDirection value) {
    if (value == sortDirection_) return;
    sortDirection_ = value;
    if (Loading()) return;
    Invalidate(NoColumn);
    SortAgain();
}

void TVTHeader::SortAgain() {
    if (tree_.TreeOptions().AutoOptions().Contains(toAutoSort) && tree_.UpdateCount() == 0)
        tree_.SortTree(sortColumn_, sortDirection_, true);
}

void TVTHeader::RecalculateFrame() {
    tree_.UpdateFrame();
}

void TVTHeader::Invalidate(TColumnIndex column, bool expandToBottom) {
    if (!options_.Contains(hoVisible) || !tree_.HandleAllocated() || Loading()) return;
    if (column != NoColumn && !columns_.IsValidColumn(column)) return;
    // The strip is part of the window's frame: only it (or the column's cell in it) is painted
    // again, and with ExpandToBottom the column's part of the client area below it.
    const TRect strip = tree_.HeaderRect();
    TRect r = strip;
    int left = 0, right = 0;
    if (column != NoColumn) {
        columns_.GetColumnBounds(column, left, right);
        r.Left = strip.Left + left + tree_.OffsetX();
        r.Right = std::min<long long>(strip.Right, (long long)strip.Left + right + tree_.OffsetX());
    }
    InvalidateWindowRect(tree_.Handle(), r);
    if (!expandToBottom) return;
    if (column == NoColumn) {
        tree_.Invalidate();
        return;
    }
    const TRect below{left + tree_.OffsetX(), 0, right + tree_.OffsetX(), tree_.ClientHeight()};
    InvalidateRect(tree_.Handle(), &below);
}

void TVTHeader::ColumnIndexChanged(const std::function<TColumnIndex(TColumnIndex)>& moved) {
    TColumnIndex& focused = tree_.focusedColumn_;
    if (!Loading()) {
        autoSizeIndex_ = moved(autoSizeIndex_);
        sortColumn_ = moved(sortColumn_);
        if (mainColumn_ >= 0) {
            // The main column goes to the first column when its own one goes.
            const TColumnIndex main = moved(mainColumn_);
            mainColumn_ = main >= 0 || columns_.Count() == 0 ? main : 0;
        }
    }
    if (focused >= 0) {
        const TColumnIndex now = moved(focused);
        focused = now >= 0 ? now : MainColumn();
    }
}

void TVTHeader::Assign(const TVTHeader& s) {
    SetAutoSizeIndex(s.autoSizeIndex_);
    SetBackground(s.background_);
    SetColumns(s.columns_);
    SetFont(s.font_);
    SetHeight(s.height_);
    SetImages(s.images_);
    SetMainColumn(s.mainColumn_);
    SetOptions(s.options_);
    SetParentFont(s.parentFont_);
    SetPopupMenu(s.popupMenu_);
    SetSortColumn(s.sortColumn_);
    SetSortDirection(s.sortDirection_);
    SetStyle(s.style_);
}

// ---- Sizing ----------------------------------------------------------------------------------

void TVTHeader::HandleResize() {
    if (!options_.Contains(hoAutoResize) || states_.Contains(hdResizing) ||
        tree_.TreeStates().Contains(tsSizing) || Loading())
        return;
    columns_.AdjustAutoSize(NoColumn);
    Invalidate(NoColumn);
}

void TVTHeader::ShareSpringWidth(int clientWidth) {
    const int last = lastClientWidth_;
    lastClientWidth_ = clientWidth;
    if (last < 0 || clientWidth == last || !options_.Contains(hoAutoSpring)) return;
    std::vector<TVirtualTreeColumn*> springs;
    for (int i = 0; i < columns_.Count(); ++i)
        if (columns_[i].options_.Contains(coAutoSpring)) springs.push_back(&columns_[i]);
    if (springs.empty()) return;
    const bool grew = clientWidth > last;
    int left = std::abs(clientWidth - last);
    const float share = float(left) / float(springs.size());
    for (TVirtualTreeColumn* column : springs) {
        if (left <= 0) break;
        const float sum = share + column->springRest_;
        // Never more than the difference itself; what is held back stays in the remainder.
        const int whole = std::min(int(std::floor(sum)), left);
        column->springRest_ = sum - float(whole);
        if (whole < 1) continue;
        column->SetWidth(SaturatedSum(column->width_, grew ? whole : -whole));
        left -= whole;
    }
}

void TVTHeader::AutoFitColumns(bool animated) {
    for (TColumnIndex index : std::vector<TColumnIndex>(columns_.PositionToIndex())) {
        TVirtualTreeColumn& column = columns_[index];
        if (!column.options_.Contains(coResizable) || !column.Visible()) continue;
        const int width = tree_.GetMaxColumnWidth(index);
        if (animated)
            columns_.AnimatedResize(index, width);
        else
            column.SetWidth(width);
    }
}

int TVTHeader::CaptionWidth(TColumnIndex index) const {
    if (!columns_.IsValidColumn(index)) return 0;
    const TVirtualTreeColumn& column = columns_[index];
    TBitmap scratch(1, 1);
    TCanvas& canvas = scratch.Canvas();
    canvas.Font = font_;
    // The cell's content keeps two pixels off its edges, and the column's margin inside that.
    int width = 2 * 2 + 2 * column.Margin();
    if (!column.Text().empty()) width += canvas.TextWidth(column.Text());
    if (options_.Contains(hoShowImages) && images_ && column.ImageIndex() >= 0 &&
        column.ImageIndex() < images_->Count())
        width += images_->Width() + (column.Text().empty() ? 0 : column.Spacing());
    if (options_.Contains(hoShowSortGlyphs) && sortColumn_ == index)
        width += kSortGlyphWidth + column.Spacing();
    return width;
}

void TVTHeader::RestoreColumns() {
    const std::vector<TColumnIndex> order = columns_.PositionToIndex();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        TVirtualTreeColumn& column = columns_[*it];
        if (column.options_.Contains(coResizable) && column.Visible())
            columns_.AnimatedResize(*it, column.lastWidth_);
    }
}

}  // namespace rv
