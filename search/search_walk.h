#pragma once

#include <functional>
#include <string>

#include "search/search_rec.h"
#include "search/target_search.h"

namespace rv {

// What the walk asks of whoever drives it.
struct SearchHooks {
    // A folder is about to be searched; false skips it and its subfolders.
    std::function<bool(const std::string& folder)> FolderChange;
    // An entry passed every test; `folder` ends with "/".
    std::function<void(const std::string& folder, const TSearchRec& rec)> FileMatch;
    // Asked between masks, after each entry and before and between subfolders.
    std::function<bool()> Stop;
};

// Walks every target folder of the plan in the order they were added (included entries first,
// then the locations), reporting through the hooks in the caller's thread. Each folder is read
// once and closed before its subfolders are walked; its entries come in byte order of their
// names, mask by mask from the last mask to the first. A folder reached a second time while
// one target is walked (a link pointing up the tree) is skipped.
void WalkTargets(const TTargetSearch& plan, const SearchHooks& hooks);

}  // namespace rv
