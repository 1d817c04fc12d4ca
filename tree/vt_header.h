#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/graphics/font.h"
#include "platform/messages/messages.h"
#include "tree/header_types.h"
#include "tree/vt_columns.h"

namespace rv {

class TBaseVirtualTree;
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
    void SetPopupMenu(TPopupMenu* value) { popupMenu_ = value; }
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
    void Assign(const TVTHeader& source);

    // The tree's client size changed: with hoAutoResize the auto-size column takes what the
    // other columns leave (not while the header or the tree sizes columns itself).
    void HandleResize();
    // With hoAutoSpring the coAutoSpring columns share a change of the client width.
    void ShareSpringWidth(int clientWidth);
    // The tree's font changed.
    void TreeFontChanged();
    // The header's own handling of a message of the tree's window (its mouse in the strip);
    // true when it took the message. The header's mouse handling fills this in.
    bool HandleMessage(TMessage& /*message*/) { return false; }
    // Whether a column is being dragged or sized, or about to be.
    bool InInteraction() const {
        return states_.ContainsAny({hdDragging, hdDragPending, hdTracking, hdTrackPending});
    }

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
