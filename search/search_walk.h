#pragma once

#include <functional>
#include <string>

#include "search/search_rec.h"
#include "search/target_search.h"

namespace rv {

// What the walk asks of whoever drives it.
struct SearchHooks {
    // A folder is about to be searched; false skips it and its subfolders. `level` is 1 for a
    // target folder and one more for each level below it.
    std::function<bool(const std::string& folder, int level)> FolderChange;
    // An entry passed every test; `folder` ends with "/".
    std::function<void(const std::string& folder, const TSearchRec& rec)> FileMatch;
    // Asked between masks, after each entry and before and between subfolders.
    std::function<bool()> Stop;
};

// Walks every target folder of the plan in the order they were added (included entries first,
// then the locations), reporting through the hooks in the caller's thread. A folder's entries
// come in byte order of their names, mask by mask from the last mask to the first, each entry
// once; then its subfolders in the same order. Links are followed; a link back to the folder
// itself or to one above it is skipped, while a folder reached by two different ways is walked
// each time. Folders are reached relative to their parents, so paths may grow past the system's
// limit.
void WalkTargets(const TTargetSearch& plan, const SearchHooks& hooks);

}  // namespace rv
