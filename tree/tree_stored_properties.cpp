// The tree's properties as a form keeps them by name.

#include <string>
#include <vector>

#include "tree/base_tree.h"
#include "tree/legacy_options.h"

namespace rv {

namespace {

// A set as stored text: its names between brackets, parted by commas ("[]" when empty).
std::string SetText(const std::vector<std::string>& names) {
    std::string text = "[";
    for (std::size_t i = 0; i < names.size(); ++i) text += (i ? "," : "") + names[i];
    return text + "]";
}

// The names in a stored set: the words between spaces, commas and brackets.
std::vector<std::string> SetNames(const std::string& text) {
    std::vector<std::string> names;
    std::string word;
    for (char c : text + " ") {
        if (c == ' ' || c == ',' || c == '[' || c == ']') {
            if (!word.empty()) names.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return names;
}

}  // namespace

void TBaseVirtualTree::PublishProperties(TPropList& list) {
    TCustomControl::PublishProperties(list);
    // "Options": every option of every set in one set of the old names; reading it replaces all
    // the sets, as reading an older form does.
    list.push_back(StringProperty(
        "Options", [this] { return SetText(LegacyOptionNames(TreeOptions())); },
        [this](const std::string& text) { ReadLegacyOptions(TreeOptions(), SetNames(text)); }));
}

}  // namespace rv
