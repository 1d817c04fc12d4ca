#include "tree/vt_header.h"

#include <algorithm>

#include "tree/base_tree.h"

namespace rv {

void TVTHeader::SetSortColumn(TColumnIndex value) {
    if (loading_) {
        sortColumn_ = value;
        return;
    }
    value = std::clamp(value, NoColumn, std::max(NoColumn, ColumnCount() - 1));
    if (value == sortColumn_) return;
    sortColumn_ = value;
    SortAgain();
}

void TVTHeader::SetSortDirection(TSortDirection value) {
    if (value == sortDirection_) return;
    sortDirection_ = value;
    if (!loading_) SortAgain();
}

// The column cells' repaint joins here with the header's painting.
void TVTHeader::SortAgain() {
    if (tree_.TreeOptions().AutoOptions().Contains(toAutoSort) && tree_.UpdateCount() == 0)
        tree_.SortTree(sortColumn_, sortDirection_, true);
}

}  // namespace rv
