// The tree's properties as a form keeps them by name.

#include <string>
#include <vector>

#include "tree/base_tree.h"
#include "tree/column_properties.h"
#include "tree/legacy_options.h"

namespace rv {

void TBaseVirtualTree::PublishProperties(TPropList& list) {
    TCustomControl::PublishProperties(list);
    // "Columns": the header's columns, kept by the tree. Reading them puts the header into its
    // loading state, in which clearing keeps the main, sort and auto-size columns.
    TCollectionAccess columns;
    columns.Count = [this] { return header_.Columns().Count(); };
    columns.ItemProperties = [this](int index) {
        TPropList item;
        PublishColumnProperties(header_.Columns()[index], item);
        return item;
    };
    columns.Clear = [this] { header_.Columns().Clear(); };
    columns.Add = [this] { header_.Columns().Add(); };
    columns.BeginUpdate = [this] {
        header_.BeginLoading();
        header_.Columns().BeginUpdate();
    };
    columns.EndUpdate = [this] {
        header_.Columns().EndUpdate();
        header_.EndLoading();
    };
    list.push_back(CollectionProperty("Columns", std::move(columns)));

    // "Options": every option of the five sets in one set of the old names, as older forms keep
    // them. Only read: a value there replaces the five sets; no value leaves them.
    list.push_back(LegacySetProperty("Options", [this](const std::vector<std::string>& names) {
        ReadLegacyOptions(TreeOptions(), names);
    }));
}

}  // namespace rv
