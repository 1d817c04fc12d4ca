#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/components/properties.h"
#include "tree/tree_options.h"

namespace rv {

// The five option sets and the text tree's sixth, as one value.
struct TVTOptionSets {
    TVTPaintOptions Paint;
    TVTAnimationOptions Animation;
    TVTAutoOptions Auto;
    TVTSelectionOptions Selection;
    TVTMiscOptions Misc;
    TVTStringOptions String;
    friend bool operator==(const TVTOptionSets&, const TVTOptionSets&) = default;
};

// Older stored forms keep the five sets' options in one set of names starting with "vo", and the
// text tree's in a set of its own whose names start with "so" and which knew only
// soSaveCaptions and soShowStaticText. Each becomes the option of the same name after its
// prefix, with "to" in front, in whichever set holds it ("voMultiSelect" → toMultiSelect among
// the selection options); every set starts empty. Names that name no option are listed in
// `unknown` and add nothing.
TVTOptionSets MapLegacyOptions(const std::vector<std::string>& names,
                               std::vector<std::string>* unknown = nullptr);

// The names a tree's options of the five sets have in the old set, in bit order of each set:
// MapLegacyOptions makes the same options of them again.
std::vector<std::string> LegacyOptionNames(const TCustomVirtualTreeOptions& options);

// Stores what MapLegacyOptions made of `names` in the five sets, all through their setters. The
// string options stay: the old set never held them.
void ReadLegacyOptions(TCustomVirtualTreeOptions& options, const std::vector<std::string>& names,
                       std::vector<std::string>* unknown = nullptr);

// toSaveCaptions and toShowStaticText become what the old string set `names` says of them;
// toAutoAcceptEditChange, which it did not know, stays. Other names are unknown here.
void ReadLegacyStringOptions(TStringTreeOptions& options, const std::vector<std::string>& names,
                             std::vector<std::string>* unknown = nullptr);

// A property of a form's old sets, only read: a stored set's names ("[voShowRoot, voMultiSelect]",
// the words between spaces, commas and brackets) go to `read`; no value, or an empty one, leaves
// the options as they are.
TPropInfo LegacySetProperty(std::string name,
                            std::function<void(const std::vector<std::string>& names)> read);

}  // namespace rv
