// The tree's properties as a form keeps them by name.

#include <string>
#include <vector>

#include "tree/base_tree.h"
#include "tree/column_properties.h"
#include "tree/legacy_options.h"

namespace rv {

namespace {

// The names in a stored set: the words between spaces, commas and brackets.
std::vector<std::string> SetWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text + " ") {
        if (c == ' ' || c == ',' || c == '[' || c == ']') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return words;
}

}  // namespace

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

    // "Options": every option of every set in one set of the old names, as older forms keep
    // them. Only read: a value there replaces all the sets; no value leaves them.
    TPropInfo options = StringProperty(
        "Options", [] { return std::string(); },
        [this](const std::string& text) {
            if (!text.empty()) ReadLegacyOptions(TreeOptions(), SetWords(text));
        });
    options.Stored = [] { return false; };
    list.push_back(std::move(options));
}

}  // namespace rv
