#pragma once

#include "tree/virtual_node.h"

namespace rv {

class TBaseVirtualTree;

// The tree's header, so far as sorting needs it: the sort column and direction. The columns, the
// header's painting, mouse handling and stream come with the header and columns; until then the
// tree has no columns.
class TVTHeader {
public:
    explicit TVTHeader(TBaseVirtualTree& tree) : tree_(tree) {}
    TVTHeader(const TVTHeader&) = delete;
    TVTHeader& operator=(const TVTHeader&) = delete;

    TBaseVirtualTree& Tree() const { return tree_; }

    // Number of columns; the column collection fills this in.
    int ColumnCount() const { return 0; }
    // -1 until the first column exists.
    TColumnIndex MainColumn() const { return mainColumn_; }

    // While the header is read (from a stream or a form) its values are stored as they come, so
    // a loaded SortColumn of -2 (no automatic sorting) survives; otherwise the setter keeps the
    // column within -1 … ColumnCount − 1.
    TColumnIndex SortColumn() const { return sortColumn_; }
    void SetSortColumn(TColumnIndex value);
    TSortDirection SortDirection() const { return sortDirection_; }
    void SetSortDirection(TSortDirection value);

    bool Loading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    void EndLoading() { loading_ = false; }

private:
    void SortAgain();

    TBaseVirtualTree& tree_;
    TColumnIndex mainColumn_ = NoColumn;
    TColumnIndex sortColumn_ = NoColumn;
    TSortDirection sortDirection_ = sdAscending;
    bool loading_ = false;
};

}  // namespace rv
