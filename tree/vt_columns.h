#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/color.h"
#include "platform/graphics/geometry.h"
#include "tree/header_types.h"

namespace rv {

class TCanvas;
class TVirtualTreeColumns;
class TVTHeader;

// Where a column's header cell shows its parts.
struct THeaderCellLayout {
    TRect Glyph;          // the image; empty without one
    TRect Text;           // the caption; empty without one
    TRect SortGlyph;      // the sort arrow; empty without one
    std::string Caption;  // cut with "..." where it does not fit
};

// Widths reach up to the largest int; the edges of the columns after them stop there.
inline int SaturatedSum(int a, int b) {
    const long long sum = static_cast<long long>(a) + b;
    return sum > 0x7FFFFFFF ? 0x7FFFFFFF : sum < -0x7FFFFFFF - 1 ? -0x7FFFFFFF - 1 : int(sum);
}

// One column of the header. Every setter clamps what it is given and tells the collection, which
// keeps positions, the auto-size column and the tree's scroll range in step.
class TVirtualTreeColumn {
public:
    static constexpr int kDefaultWidth = 50;
    static constexpr int kDefaultMinWidth = 10;
    static constexpr int kDefaultMaxWidth = 10000;
    static constexpr int kDefaultMargin = 4;
    static constexpr int kDefaultSpacing = 4;

    // Made by the collection (Add, Insert), which owns it.
    TVirtualTreeColumn(TVirtualTreeColumns& owner, int index);
    TVirtualTreeColumn(const TVirtualTreeColumn&) = delete;
    TVirtualTreeColumn& operator=(const TVirtualTreeColumn&) = delete;

    TVirtualTreeColumns& Owner() const { return owner_; }
    // Place in the collection; setting it moves the column there.
    int Index() const { return index_; }
    void SetIndex(int value);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    // Setting either one of these drops its coParent… option.
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value) { hint_ = value; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    TVTHeaderColumnLayout Layout() const { return layout_; }
    void SetLayout(TVTHeaderColumnLayout value);
    // A negative margin becomes the default.
    int Margin() const { return margin_; }
    void SetMargin(int value);
    // MinWidth stays within 0 … MaxWidth and MaxWidth at least MinWidth; both re-apply Width.
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int value);
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int value);
    TVTColumnOptions Options() const { return options_; }
    void SetOptions(TVTColumnOptions value);
    // Display order: 0 is the leftmost column.
    int Position() const { return position_; }
    void SetPosition(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    TVirtualTreeColumnStyle Style() const { return style_; }
    void SetStyle(TVirtualTreeColumnStyle value);
    int Tag() const { return tag_; }
    void SetTag(int value) { tag_ = value; }
    const std::string& Text() const { return text_; }
    void SetText(const std::string& value);
    int Width() const { return width_; }
    void SetWidth(int value);

    // Start in header coordinates (kept by the collection), the width before the last change,
    // and what automatic spring sizing has not yet given out.
    int Left() const { return left_; }
    int LastWidth() const { return lastWidth_; }
    float SpringRest() const { return springRest_; }
    bool Visible() const { return options_.Contains(coVisible); }

    // The caption, or "Column %d" when it holds a character above U+00FF.
    std::string GetDisplayName() const;
    // Every published property equal.
    bool Equals(const TVirtualTreeColumn& other) const;
    // Copies every published property, the options last.
    void Assign(const TVirtualTreeColumn& source);
    // The column's cell in the header (header coordinates, without scrolling).
    TRect GetRect() const;
    // Places the image (`glyph` big, nothing when empty), the caption (in the canvas's font)
    // and the sort arrow (`sortGlyph` big, nothing when empty) inside `client`, the cell less its
    // edges: Margin on both sides, the sort arrow at the far end, the image beside the caption
    // by Layout with Spacing between them, the two together aligned by Alignment (mirrored for
    // a right-to-left column) and centred vertically.
    THeaderCellLayout ComputeHeaderLayout(TCanvas& canvas, const TRect& client, TSize glyph,
                                          TSize sortGlyph) const;

private:
    friend class TVirtualTreeColumns;
    friend class TVTHeader;
    TVTHeader& Header() const;
    bool Loading() const;
    // The collection reacts: positions, automatic sizing, repaint.
    void Changed();

    TVirtualTreeColumns& owner_;
    int index_;
    TAlignment alignment_ = taLeftJustify;
    TBiDiMode biDiMode_ = bdLeftToRight;
    TColor color_ = clWindow;
    std::string hint_;
    int imageIndex_ = -1;
    TVTHeaderColumnLayout layout_ = blGlyphLeft;
    int margin_ = kDefaultMargin;
    int maxWidth_ = kDefaultMaxWidth;
    int minWidth_ = kDefaultMinWidth;
    TVTColumnOptions options_ = kDefaultColumnOptions;
    int position_;
    int spacing_ = kDefaultSpacing;
    TVirtualTreeColumnStyle style_ = vsText;
    int tag_ = 0;
    std::string text_;
    int width_ = kDefaultWidth;
    int left_ = 0;
    int lastWidth_ = kDefaultWidth;
    float springRest_ = 0;
};

// The header's columns in collection order, with the display order kept in PositionToIndex,
// which is always a permutation of the column indices.
class TVirtualTreeColumns {
public:
    explicit TVirtualTreeColumns(TVTHeader& header) : header_(header) {}
    TVirtualTreeColumns(const TVirtualTreeColumns&) = delete;
    TVirtualTreeColumns& operator=(const TVirtualTreeColumns&) = delete;
    ~TVirtualTreeColumns();

    TVTHeader& Header() const { return header_; }
    int Count() const { return int(items_.size()); }
    TVirtualTreeColumn& operator[](TColumnIndex index) const { return *items_.at(index); }
    bool IsValidColumn(TColumnIndex column) const { return column >= 0 && column < Count(); }

    TVirtualTreeColumn& Add();
    TVirtualTreeColumn& Insert(int index);
    void Delete(int index);
    void Clear();
    // Changes inside a bracket are applied once, at its end.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    // Makes this collection a copy of `source`: count, properties and display order.
    void Assign(const TVirtualTreeColumns& source);
    // Same count, display order and column properties.
    bool Equals(const TVirtualTreeColumns& other) const;

    // Display order: for each position the index of the column shown there.
    const std::vector<TColumnIndex>& PositionToIndex() const { return positionToIndex_; }
    // The visible column whose span holds p.X (header coordinates; Relative: client coordinates,
    // the horizontal scroll offset taken into account); InvalidColumn when none, for negative
    // coordinates and below the tree.
    TColumnIndex ColumnFromPosition(TPoint p, bool relative = true) const;
    // The column shown at `position`; NoColumn out of range.
    TColumnIndex ColumnFromPosition(int position) const;
    // Left and right edge of a column (NoColumn: the tree's client width).
    void GetColumnBounds(TColumnIndex column, int& left, int& right) const;
    // In display order; InvalidColumn when there is none.
    TColumnIndex GetFirstVisibleColumn() const;
    TColumnIndex GetLastVisibleColumn() const;
    TColumnIndex GetNextColumn(TColumnIndex column) const;
    TColumnIndex GetNextVisibleColumn(TColumnIndex column) const;
    TColumnIndex GetPreviousColumn(TColumnIndex column) const;
    TColumnIndex GetPreviousVisibleColumn(TColumnIndex column) const;
    std::vector<TColumnIndex> GetVisibleColumns() const;
    // Right edge of the last visible column; 0 without columns.
    int TotalWidth() const;

    // Gives the auto-size column (or, when `current` sits at or right of it, the next visible
    // column after `current`) whatever the client width leaves over.
    void AdjustAutoSize(TColumnIndex current, bool force = false);
    // Sets a column's width (clamped); the sliding animation of the original is not shown.
    void AnimatedResize(TColumnIndex column, int newWidth);
    // A click at `p` (client coordinates): the tree's header click for a clickable column that
    // was pressed (or always with `force`).
    void HandleClick(TPoint p, TMouseButton button, bool force, bool doubleClick);

    // Columns under the mouse, pressed, resized, clicked and dropped on; -1 when none.
    TColumnIndex HoverIndex = NoColumn;
    TColumnIndex DownIndex = NoColumn;
    TColumnIndex TrackIndex = NoColumn;
    TColumnIndex ClickIndex = NoColumn;
    TColumnIndex DropTarget = NoColumn;
    bool DropBefore = false;
    bool NeedPositionsFix() const { return needPositionsFix_; }

private:
    friend class TVirtualTreeColumn;
    friend class TVTHeader;
    friend struct THeaderStreamData;
    // Rebuilds the display order from the columns' Position values (ties keep collection order),
    // so that it is a permutation whatever those values are.
    void FixPositions();
    // Position and Left of every column from the display order.
    void UpdatePositions();
    // The collection or one column changed.
    void Update(TVirtualTreeColumn* item);
    // Moves a column within the collection.
    void MoveItem(int from, int to);
    // Every stored column index follows a column that moved, came (from = NoColumn) or went
    // (to = NoColumn).
    void IndexChanged(int from, int to);
    void Renumber();
    // The column automatic sizing gives the rest to: AutoSizeIndex, else the last column.
    TColumnIndex AutoSizeColumn() const;
    // Applies a display order that is known to be a permutation.
    void SetPositionToIndex(std::vector<TColumnIndex> order);
    void MovePosition(TVirtualTreeColumn& column, int to);

    TVTHeader& header_;
    std::vector<std::unique_ptr<TVirtualTreeColumn>> items_;
    std::vector<TColumnIndex> positionToIndex_;
    int updateCount_ = 0;
    bool needPositionsFix_ = false;
    bool clearing_ = false;
};

}  // namespace rv
