#pragma once

#include <string>
#include <vector>

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

// Older stored forms keep every option in one set of names starting with "vo" (the text tree's
// in a set of names starting with "so"). Each becomes the option of the same name after its
// prefix, with "to" in front, in whichever set holds it ("voMultiSelect" → toMultiSelect among
// the selection options); every set starts empty. Names that name no option are listed in
// `unknown` and add nothing.
TVTOptionSets MapLegacyOptions(const std::vector<std::string>& names,
                               std::vector<std::string>* unknown = nullptr);

// The names a tree's options have in that old set, the options of every set in bit order (a text
// tree's string options last): MapLegacyOptions makes the same options of them again.
std::vector<std::string> LegacyOptionNames(const TCustomVirtualTreeOptions& options);

// Stores what MapLegacyOptions made of `names` in a tree's options, all sets through their
// setters (the string options only for a text tree's options).
void ReadLegacyOptions(TCustomVirtualTreeOptions& options, const std::vector<std::string>& names,
                       std::vector<std::string>* unknown = nullptr);

}  // namespace rv
