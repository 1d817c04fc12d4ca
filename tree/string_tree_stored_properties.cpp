// The text tree's own properties as a form keeps them by name.

#include "tree/legacy_options.h"
#include "tree/string_tree.h"

namespace rv {

void TCustomVirtualStringTree::PublishProperties(TPropList& list) {
    TBaseVirtualTree::PublishProperties(list);
    // "WideDefaultText": DefaultText, written only when it is not the default. Any text reads
    // back whole, of whatever characters it is made.
    TPropInfo defaultText = StringProperty(
        "WideDefaultText", [this] { return DefaultText(); },
        [this](const std::string& text) { SetDefaultText(text); });
    defaultText.Stored = [this] { return DefaultText() != kDefaultNodeText; };
    list.push_back(std::move(defaultText));

    // "StringOptions": the old string set, as older forms keep it. Only read: a value there sets
    // toSaveCaptions and toShowStaticText; no value leaves them.
    list.push_back(
        LegacySetProperty("StringOptions", [this](const std::vector<std::string>& names) {
            ReadLegacyStringOptions(TreeOptions(), names);
        }));
}

}  // namespace rv
