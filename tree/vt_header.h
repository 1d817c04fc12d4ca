#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/font.h"
#include "platform/messages/messages.h"
#include "tree/drag_image.h"
#include "tree/header_types.h"
#include "tree/vt_columns.h"

namespace rv {

class TBaseVirtualTree;

// The cursor over a column's splitter: a slot of the screen's cursor table.
inline constexpr TCursor crHeaderSplit = 100;
class TComponent;
class TImageList;
class TPopupMenu;

// The tree's header: its columns and the properties of the strip above the client area. The
// header has no window of its own; the tree shows it as a non-client strip when hoVisible is set.
class TVTHeader {
public:
    static constexpr int kDefaultHeight = 17;
    // New headers start without hoShowSortGlyphs, which the published default has.
    static constexpr TVTHeaderOptions kInitialOptions = {hoColumnResize, hoDrag};
    static constexpr TVTHeaderOptions kPublishedDefaultOptions = {hoColumnResize, hoDrag,
                                                                  hoShowSortGlyphs};

    explicit TVTHeader(TBaseVirtualTree& tree);
    TVTHeader(const TVTHeader&) = delete;
    TVTHeader& operator=(const TVTHeader&) = delete;

    TBaseVirtualTree& Tree() const { return tree_; }
    TVirtualTreeColumns& Columns() { return columns_; }
    const TVirtualTreeColumns& Columns() const { return columns_; }
    void SetColumns(const TVirtualTreeColumns& value) { columns_.Assign(value); }
    // Whether the tree is a multi-column list.
    bool UseColumns() const { return columns_.Count() > 0; }

    // Any index; sizing uses it only when it names a column (else the last column).
    TColumnIndex AutoSizeIndex() const { return autoSizeIndex_; }
    void SetAutoSizeIndex(TColumnIndex value);
    TColor Background() const { return background_; }
    void SetBackground(TColor value);
    const TFont& Font() const { return font_; }
    // Clears ParentFont.
    void SetFont(const TFont& value);
    int Height() const { return height_; }
    void SetHeight(int value);
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* value);
    // The column carrying the tree lines: within 0 … Count − 1, NoColumn without columns.
    TColumnIndex MainColumn() const;
    void SetMainColumn(TColumnIndex value);
    TVTHeaderOptions Options() const { return options_; }
    void SetOptions(TVTHeaderOptions value);
    // On: the header takes the tree's font now and whenever it changes.
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* value);
    // While the header is read from a form its values are stored as they come, so a SortColumn
    // of -2 (no automatic sorting) survives; otherwise the setter keeps the column within
    // -1 … Count − 1. A change sorts the tree again with toAutoSort.
    TColumnIndex SortColumn() const { return sortColumn_; }
    void SetSortColumn(TColumnIndex value);
    TSortDirection SortDirection() const { return sortDirection_; }
    void SetSortDirection(TSortDirection value);
    TVTHeaderStyle Style() const { return style_; }
    void SetStyle(TVTHeaderStyle value);

    THeaderStates States() const { return states_; }
    // Reading columns from a form: indices are stored as they come and columns trigger no
    // refresh until EndLoading.
    bool Loading() const;
    void BeginLoading();
    void EndLoading();
    // The tree was read from its form: positions, the auto-size column and the bars follow the
    // columns read.
    void Loaded();

    // The header's own stream (layout in header_stream.cpp). Appends to `stream`.
    void SaveToStream(std::string& stream) const;
    // Reads a header written by SaveToStream (or an older version) from the start of `stream`
    // and answers the number of bytes used. The stream is checked completely before anything
    // changes: a malformed one raises EReadError and leaves the header as it was.
    std::size_t LoadFromStream(std::string_view stream);

    // Repaints a column's cell (NoColumn: the whole header), with ExpandToBottom also the
    // column's part of the client area.
    void Invalidate(TColumnIndex column, bool expandToBottom = false);
    // Every resizable visible column gets the tree's widest content in it.
    void AutoFitColumns(bool animated);
    // Every resizable visible column gets its LastWidth back.
    void RestoreColumns();
    // The width a column's header cell needs to show its caption whole, beside its image and,
    // while the column is the sort column with sort glyphs shown, the sort glyph.
    int CaptionWidth(TColumnIndex column) const;
    void Assign(const TVTHeader& source);

    // The tree's client size changed: with hoAutoResize the auto-size column takes what the
    // other columns leave (not while the header or the tree sizes columns itself).
    void HandleResize();
    // With hoAutoSpring the coAutoSpring columns share a change of the client width.
    void ShareSpringWidth(int clientWidth);
    // The tree's font changed.
    void TreeFontChanged();
    // The header's own handling of a message of the tree's window, which it sees before the
    // tree: its mouse in the strip, the mouse it captured, its timer, the cursor over it, and
    // Escape or the focus loss ending a drag; true when it took the message.
    bool HandleMessage(TMessage& message);
    // Whether a column is being dragged or sized, or about to be.
    bool InInteraction() const {
        return states_.ContainsAny({hdDragging, hdDragPending, hdTracking, hdTrackPending});
    }
    // Whether a point of the tree's window (window coordinates) lies in the header strip.
    bool InHeader(TPoint p) const;
    // The column whose right edge is under the header point (see HeaderPoint); NoColumn when
    // none, or when that column may not be resized.
    TColumnIndex SplitterAt(TPoint p) const;

    // Paints the header into the strip `r` (coordinates of `canvas`), the columns moved by the
    // tree's horizontal scroll offset; a column being dragged is laid over it.
    void PaintHeader(TCanvas& canvas, const TRect& r);
    // The picture of a column being dragged: drawn by the header over its own strip, at header
    // points (x of the client area, y from the strip's top).
    TVTDragImage& DragImage() { return dragImage_; }
    // The column being dragged; NoColumn when none.
    TColumnIndex DragIndex() const { return dragIndex_; }
    // Ends a column drag or resize at once (Escape, focus loss).
    void CancelInteraction();
    // Drops the header's references to a component that goes (the tree, which hears of it,
    // tells); true when that was its image list, whose pictures are then painted no more.
    bool ForgetComponent(const TComponent* component);

private:
    friend class TVirtualTreeColumns;
    friend class TVirtualTreeColumn;
    friend struct THeaderStreamData;
    void SortAgain();
    void DoStateChange(THeaderStates enter, THeaderStates leave = {});
    // A column came, went or moved in the collection: the indices kept here (and the tree's
    // focused column) follow; `moved` maps an old index to the new one (NoColumn: gone).
    void ColumnIndexChanged(const std::function<TColumnIndex(TColumnIndex)>& moved);
    // Frame of the tree: the header strip's height follows hoVisible and Height.
    void RecalculateFrame();

    // Header points: the tree's client X, and the pixels below the strip's top.
    TPoint FromScreen(LPARAM lParam) const;
    TPoint FromClient(LPARAM lParam) const;
    bool InStrip(TPoint p) const;
    bool HandleButtonDown(TMessage& message);
    bool HandleCapturedMove(TMessage& message);
    bool HandleLeftButtonUp(TMessage& message);
    bool HandleDoubleClick(TMessage& message);
    bool HandleOtherButton(TMessage& message);
    void HandleNonClientMove(TMessage& message);
    bool HandleHeaderTimer();
    bool HandleSetCursor(TMessage& message);
    void SetDownIndex(TColumnIndex column);
    void SetHoverIndex(TColumnIndex column);
    void StartColumnDrag(TPoint p);
    void DragColumnTo(TPoint p);
    // Drops the dragged column at the header point `p` (inside: a new position; outside the
    // tree: OnHeaderDraggedOut).
    void DropColumn(TPoint p);
    void EndColumnDrag();
    // Painting (header_paint.cpp).
    void PaintColumns(TCanvas& canvas, const TRect& strip, bool withDragged);
    void PaintColumn(TCanvas& canvas, TColumnIndex index, const TRect& cell);
    void PaintSpace(TCanvas& canvas, const TRect& cell);

    TPoint pressPoint_;
    int trackStart_ = 0;  // client X a tracked column's width is measured from
    TColumnIndex dragIndex_ = NoColumn;
    TVTDragImage dragImage_;
    TBitmap paintBuffer_;

    TBaseVirtualTree& tree_;
    TVirtualTreeColumns columns_;
    TColumnIndex autoSizeIndex_ = NoColumn;
    TColor background_ = clBtnFace;
    TFont font_;
    int height_ = kDefaultHeight;
    TImageList* images_ = nullptr;
    TColumnIndex mainColumn_ = NoColumn;
    TVTHeaderOptions options_ = kInitialOptions;
    bool parentFont_ = false;
    TPopupMenu* popupMenu_ = nullptr;
    TColumnIndex sortColumn_ = NoColumn;
    TSortDirection sortDirection_ = sdAscending;
    TVTHeaderStyle style_ = hsThickButtons;
    THeaderStates states_;
    int lastClientWidth_ = -1;  // -1: not seen yet
};

}  // namespace rv
