// The column collection: adding, deleting and moving columns, the display order, positions and
// the queries over visible columns, automatic sizing and header clicks.

#include <algorithm>
#include <cstdlib>
#include <numeric>

#include "tree/base_tree.h"

namespace rv {

TVirtualTreeColumns::~TVirtualTreeColumns() {
    clearing_ = true;
    items_.clear();
}

TColumnIndex TVirtualTreeColumns::AutoSizeColumn() const {
    const TColumnIndex index = header_.AutoSizeIndex();
    return IsValidColumn(index) ? index : Count() - 1;
}

void TVirtualTreeColumns::Renumber() {
    for (int i = 0; i < Count(); ++i) items_[std::size_t(i)]->index_ = i;
}

TVirtualTreeColumn& TVirtualTreeColumns::Add() {
    return Insert(Count());
}

TVirtualTreeColumn& TVirtualTreeColumns::Insert(int index) {
    index = std::clamp(index, 0, Count());
    // A new column starts at the position of its index, before a column holding it already.
    for (auto& c : items_)
        if (c->position_ >= index) ++c->position_;
    items_.insert(items_.begin() + index, std::make_unique<TVirtualTreeColumn>(*this, index));
    Renumber();
    IndexChanged(NoColumn, index);
    TVirtualTreeColumn& column = *items_[std::size_t(index)];
    if (!header_.Loading()) column.color_ = header_.Tree().Color();
    Update(&column);
    return column;
}

void TVirtualTreeColumns::Delete(int index) {
    if (!IsValidColumn(index)) return;
    const int position = items_[std::size_t(index)]->position_;
    items_.erase(items_.begin() + index);
    for (auto& c : items_)
        if (c->position_ > position) --c->position_;
    Renumber();
    IndexChanged(index, NoColumn);
    Update(nullptr);
}

void TVirtualTreeColumns::MoveItem(int from, int to) {
    to = std::clamp(to, 0, Count() - 1);
    if (!IsValidColumn(from) || from == to) return;
    auto item = std::move(items_[std::size_t(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
    Renumber();
    IndexChanged(from, to);
    Update(nullptr);
}

void TVirtualTreeColumns::Clear() {
    if (items_.empty()) return;
    clearing_ = true;
    HoverIndex = DownIndex = TrackIndex = ClickIndex = DropTarget = NoColumn;
    if (!header_.Loading()) {
        header_.autoSizeIndex_ = NoColumn;
        header_.mainColumn_ = NoColumn;
        header_.sortColumn_ = NoColumn;
        header_.Tree().focusedColumn_ = NoColumn;
    }
    items_.clear();
    positionToIndex_.clear();
    clearing_ = false;
    Update(nullptr);
}

void TVirtualTreeColumns::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) Update(nullptr);
}

void TVirtualTreeColumns::Assign(const TVirtualTreeColumns& source) {
    if (&source == this) return;
    BeginUpdate();
    try {
        while (Count() > source.Count()) Delete(Count() - 1);
        while (Count() < source.Count()) Add();
        for (int i = 0; i < Count(); ++i) (*this)[i].Assign(source[i]);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

bool TVirtualTreeColumns::Equals(const TVirtualTreeColumns& other) const {
    if (Count() != other.Count() || positionToIndex_ != other.positionToIndex_) return false;
    for (int i = 0; i < Count(); ++i)
        if (!(*this)[i].Equals(other[i])) return false;
    return true;
}

void TVirtualTreeColumns::FixPositions() {
    std::vector<TColumnIndex> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](TColumnIndex a, TColumnIndex b) {
        return items_[std::size_t(a)]->position_ < items_[std::size_t(b)]->position_;
    });
    positionToIndex_ = std::move(order);
    needPositionsFix_ = false;
}

void TVirtualTreeColumns::SetPositionToIndex(std::vector<TColumnIndex> order) {
    positionToIndex_ = std::move(order);
    needPositionsFix_ = false;
    UpdatePositions();
}

void TVirtualTreeColumns::UpdatePositions() {
    if (positionToIndex_.size() != items_.size()) FixPositions();
    int left = 0;
    for (std::size_t p = 0; p < positionToIndex_.size(); ++p) {
        TVirtualTreeColumn& column = *items_[std::size_t(positionToIndex_[p])];
        column.position_ = int(p);
        column.left_ = left;
        if (column.Visible()) left = SaturatedSum(left, column.width_);
    }
}

void TVirtualTreeColumns::MovePosition(TVirtualTreeColumn& column, int to) {
    const auto from = std::find(positionToIndex_.begin(), positionToIndex_.end(), column.index_);
    if (from == positionToIndex_.end()) return;
    positionToIndex_.erase(from);
    positionToIndex_.insert(positionToIndex_.begin() + to, column.index_);
    UpdatePositions();
}

void TVirtualTreeColumns::Update(TVirtualTreeColumn* item) {
    if (updateCount_ > 0 || clearing_) return;
    if (header_.Loading()) {
        needPositionsFix_ = true;
        return;
    }
    FixPositions();
    UpdatePositions();
    if (Count() > 0 && header_.mainColumn_ < 0) {
        header_.mainColumn_ = 0;
        header_.Tree().MainColumnChanged();
    }
    if (header_.Options().Contains(hoAutoResize)) AdjustAutoSize(NoColumn);
    TBaseVirtualTree& tree = header_.Tree();
    if (item) {
        header_.Invalidate(item->index_, true);
    } else {
        tree.UpdateScrollBars(false);
        header_.Invalidate(NoColumn);
        tree.Invalidate();
    }
}

void TVirtualTreeColumns::IndexChanged(int from, int to) {
    // Where index i is now; NoColumn for the column that went.
    const auto moved = [from, to](TColumnIndex i) -> TColumnIndex {
        if (i < 0) return i;
        if (to < 0) return i == from ? NoColumn : i > from ? i - 1 : i;
        if (from < 0) return i >= to ? i + 1 : i;
        if (i == from) return to;
        if (from < to && i > from && i <= to) return i - 1;
        if (from > to && i >= to && i < from) return i + 1;
        return i;
    };
    for (TColumnIndex* index : {&HoverIndex, &DownIndex, &TrackIndex, &ClickIndex, &DropTarget})
        *index = moved(*index);
    header_.ColumnIndexChanged(moved);
}

// ---- Queries in display order ----------------------------------------------------------------

TColumnIndex TVirtualTreeColumns::ColumnFromPosition(int position) const {
    if (position < 0 || position >= int(positionToIndex_.size())) return NoColumn;
    return positionToIndex_[std::size_t(position)];
}

TColumnIndex TVirtualTreeColumns::ColumnFromPosition(TPoint p, bool relative) const {
    const TBaseVirtualTree& tree = header_.Tree();
    if (p.X < 0 || p.Y < 0 || p.Y > tree.Height()) return InvalidColumn;
    long long left = relative ? tree.OffsetX() : 0;
    for (TColumnIndex index : positionToIndex_) {
        const TVirtualTreeColumn& column = (*this)[index];
        if (!column.Visible()) continue;
        if (p.X >= left && p.X < left + column.width_) return index;
        left += column.width_;
    }
    return InvalidColumn;
}

void TVirtualTreeColumns::GetColumnBounds(TColumnIndex column, int& left, int& right) const {
    if (column == NoColumn) {
        left = 0;
        right = header_.Tree().ClientWidth();
    } else if (IsValidColumn(column)) {
        left = (*this)[column].left_;
        right = SaturatedSum(left, (*this)[column].width_);
    } else {
        left = right = 0;
    }
}

TColumnIndex TVirtualTreeColumns::GetFirstVisibleColumn() const {
    for (TColumnIndex index : positionToIndex_)
        if ((*this)[index].Visible()) return index;
    return InvalidColumn;
}

TColumnIndex TVirtualTreeColumns::GetLastVisibleColumn() const {
    for (auto it = positionToIndex_.rbegin(); it != positionToIndex_.rend(); ++it)
        if ((*this)[*it].Visible()) return *it;
    return InvalidColumn;
}

TColumnIndex TVirtualTreeColumns::GetNextColumn(TColumnIndex column) const {
    if (!IsValidColumn(column)) return InvalidColumn;
    const TColumnIndex next = ColumnFromPosition((*this)[column].position_ + 1);
    return next == NoColumn ? InvalidColumn : next;
}

TColumnIndex TVirtualTreeColumns::GetPreviousColumn(TColumnIndex column) const {
    if (!IsValidColumn(column)) return InvalidColumn;
    const TColumnIndex previous = ColumnFromPosition((*this)[column].position_ - 1);
    return previous == NoColumn ? InvalidColumn : previous;
}

TColumnIndex TVirtualTreeColumns::GetNextVisibleColumn(TColumnIndex column) const {
    do column = GetNextColumn(column);
    while (column != InvalidColumn && !(*this)[column].Visible());
    return column;
}

TColumnIndex TVirtualTreeColumns::GetPreviousVisibleColumn(TColumnIndex column) const {
    do column = GetPreviousColumn(column);
    while (column != InvalidColumn && !(*this)[column].Visible());
    return column;
}

std::vector<TColumnIndex> TVirtualTreeColumns::GetVisibleColumns() const {
    std::vector<TColumnIndex> result;
    for (TColumnIndex index : positionToIndex_)
        if ((*this)[index].Visible()) result.push_back(index);
    return result;
}

int TVirtualTreeColumns::TotalWidth() const {
    const TColumnIndex last = GetLastVisibleColumn();
    if (last == InvalidColumn) return 0;
    return SaturatedSum((*this)[last].left_, (*this)[last].width_);
}

// ---- Sizing and clicks ---------------------------------------------------------------------

void TVirtualTreeColumns::AdjustAutoSize(TColumnIndex current, bool force) {
    if (items_.empty()) return;
    TColumnIndex target = AutoSizeColumn();
    if (IsValidColumn(current) && (*this)[current].position_ >= (*this)[target].position_) {
        target = GetNextVisibleColumn(current);
        if (target == InvalidColumn) return;
    }
    long long width = header_.Tree().ClientWidth();
    for (const auto& c : items_)
        if (c->index_ != target && c->Visible()) width -= c->width_;
    TVirtualTreeColumn& column = (*this)[target];
    width = std::max<long long>(std::min<long long>(width, column.maxWidth_), column.minWidth_);
    if (width == column.width_ && !force) return;
    column.lastWidth_ = column.width_;
    column.width_ = int(width);
    UpdatePositions();
    header_.Tree().DoColumnResize(target);
}

void TVirtualTreeColumns::AnimatedResize(TColumnIndex column, int newWidth) {
    header_.Tree().AnimateColumnResize(column, newWidth);
}

void TVirtualTreeColumns::HandleClick(TPoint p, TMouseButton button, bool force, bool doubleClick) {
    const TColumnIndex previous = ClickIndex;
    const TColumnIndex column = ColumnFromPosition(p, true);
    if (IsValidColumn(column) && (*this)[column].options_.Contains(coAllowClick) &&
        (column == DownIndex || force)) {
        ClickIndex = column;
        TShiftState shift = KeyboardShiftState();
        if (doubleClick) shift |= ssDouble;
        header_.Tree().DoHeaderClick(column, button, shift, p.X, p.Y);
        header_.Invalidate(column);
    } else {
        ClickIndex = NoColumn;
    }
    if (previous != ClickIndex && IsValidColumn(previous)) header_.Invalidate(previous);
}

}  // namespace rv
