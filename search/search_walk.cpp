#include "search/search_walk.h"

#include <unordered_set>
#include <vector>

#include "platform/dirs/directory.h"
#include "platform/dirs/file_facts.h"

namespace rv {

namespace {

class SearchWalk {
public:
    SearchWalk(const TTargetSearch& plan, const SearchHooks& hooks) : plan_(plan), hooks_(hooks) {}

    void Run() {
        const TTargetFolderList& folders = plan_.Folders();
        for (int i = folders.Count() - 1; i >= 0 && !hooks_.Stop(); --i) {
            target_ = &folders[i];
            level_ = 0;
            visited_.clear();
            Walk(target_->Folder);
        }
    }

private:
    void Walk(const std::string& folder) {
        DirectoryListing listing;
        const bool readable = ReadDirectory(folder, listing);
        if (readable && !visited_.insert(listing.Id).second) return;
        if (!hooks_.FolderChange(folder)) return;
        ++level_;
        if (level_ >= target_->MinLevel) ReportMatches(folder, listing);
        if (target_->Recursive) {
            if (target_->MaxLevel != 0 && level_ >= target_->MaxLevel) {
                --level_;
                return;
            }
            if (!hooks_.Stop()) {
                for (const DirEntry& entry : listing.Entries) {
                    if (IsFolder(folder, entry)) Walk(folder + entry.Name + "/");
                    if (hooks_.Stop()) break;
                }
            }
        }
        --level_;
    }

    void ReportMatches(const std::string& folder, const DirectoryListing& listing) {
        std::vector<NameParts> names;
        names.reserve(listing.Entries.size());
        for (const DirEntry& entry : listing.Entries) names.push_back(SplitName(entry.Name));
        const auto& masks = target_->Masks;
        for (auto mask = masks.rbegin(); mask != masks.rend() && !hooks_.Stop(); ++mask) {
            // An empty mask names no file.
            if (mask->Text().empty()) continue;
            for (std::size_t i = 0; i < names.size(); ++i) {
                if (!mask->Matches(names[i])) continue;
                const TSearchRec rec(folder, listing.Entries[i]);
                if (plan_.Matches(folder, rec)) hooks_.FileMatch(folder, rec);
                if (hooks_.Stop()) break;
            }
        }
    }

    static bool IsFolder(const std::string& folder, const DirEntry& entry) {
        switch (entry.Kind) {
            case EntryKind::Directory:
                return true;
            case EntryKind::Regular:
            case EntryKind::Other:
                return false;
            case EntryKind::Symlink:
            case EntryKind::Unknown:
                break;
        }
        FileFacts facts;
        return GetFileFacts(folder + entry.Name, facts) && facts.Kind == FileKind::Directory;
    }

    const TTargetSearch& plan_;
    const SearchHooks& hooks_;
    const TTargetFolder* target_ = nullptr;
    int level_ = 0;
    std::unordered_set<FolderId, FolderIdHash> visited_;
};

}  // namespace

void WalkTargets(const TTargetSearch& plan, const SearchHooks& hooks) {
    SearchWalk(plan, hooks).Run();
}

}  // namespace rv
