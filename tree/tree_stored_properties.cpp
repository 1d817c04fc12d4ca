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
    columns.Reset = [this](int count) {
        TVirtualTreeColumns& c = header_.Columns();
        c.Clear();
        for (int i = 0; i < count; ++i) c.Add();
    };
    columns.Item = [this](int index) {
        TPropList item;
        PublishColumnProperties(header_.Columns()[index], item);
        return item;
    };
    columns.BeginLoad = [this] {
        header_.BeginLoading();
        header_.Columns().BeginUpdate();
    };
    columns.EndLoad = [this] {
        header_.Columns().EndUpdate();
        header_.EndLoading();
    };
    list.push_back(CollectionProperty("Columns", std::move(columns)));

    // "Options": every option of every set in one set of the old names, as older forms keep
    // them. Only read: a value there replaces all the sets; no value leaves them.
    TPropInfo options = StringProperty(
        "Options", [] { return std::string(); },
        [this](const std::string& text) {
            if (!text.empty()) ReadLegacyOptions(TreeOptions(), TextToSetWords(text));
        });
    options.Stored = [] { return false; };
    list.push_back(std::move(options));
}

}  // namespace rv
