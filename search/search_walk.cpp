#include "search/search_walk.h"

#include <vector>

#include "platform/dirs/directory.h"
#include "platform/dirs/file_facts.h"
#include "search/folder_chain.h"

namespace rv {

namespace {

class SearchWalk {
public:
    SearchWalk(const TTargetSearch& plan, const SearchHooks& hooks) : plan_(plan), hooks_(hooks) {}

    void Run() {
        const TTargetFolderList& folders = plan_.Folders();
        for (int i = folders.Count() - 1; i >= 0 && !hooks_.Stop(); --i) {
            target_ = &folders[i];
            WalkTarget();
        }
    }

private:
    // A folder being walked, with the subfolders still to walk.
    struct Frame {
        std::string Folder;
        std::vector<std::string> Subfolders;
        std::size_t Next = 0;
    };

    // Depth first without recursion, so that no tree is too deep for the stack.
    void WalkTarget() {
        level_ = 0;
        frames_.clear();
        chain_.Start(target_->Folder);
        Visit(target_->Folder);
        while (!frames_.empty()) {
            Frame& frame = frames_.back();
            if (frame.Next == frame.Subfolders.size() || hooks_.Stop()) {
                frames_.pop_back();
                --level_;
                chain_.Leave();
                continue;
            }
            const std::string& name = frame.Subfolders[frame.Next++];
            if (chain_.Enter(name) == FolderChain::Step::Loop) continue;
            if (!Visit(frame.Folder + name + "/")) chain_.Leave();
        }
    }

    // Steps 1 to 3 of a folder: the folder change, the reports, and its subfolders noted for the
    // walk to go into; false when the folder is to be ignored.
    bool Visit(std::string folder) {
        // Read first, so that the folder's first match follows the folder change at once.
        std::vector<DirEntry> entries;
        chain_.Current().Read(entries);
        if (!hooks_.FolderChange(folder, level_ + 1)) return false;
        ++level_;
        if (level_ >= target_->MinLevel) ReportMatches(folder, entries);
        Frame frame;
        const bool descend =
            target_->Recursive && (target_->MaxLevel == 0 || level_ < target_->MaxLevel);
        if (descend && !hooks_.Stop())
            for (const DirEntry& entry : entries)
                if (IsFolder(entry)) frame.Subfolders.push_back(entry.Name);
        frame.Folder = std::move(folder);
        frames_.push_back(std::move(frame));
        return true;
    }

    // Each entry is tested and reported once, with the first mask (from the last) it matches.
    void ReportMatches(const std::string& folder, const std::vector<DirEntry>& entries) {
        std::vector<NameParts> names;
        names.reserve(entries.size());
        for (const DirEntry& entry : entries) names.push_back(SplitName(entry.Name));
        std::vector<bool> tested(entries.size());
        const auto& masks = target_->Masks;
        for (auto mask = masks.rbegin(); mask != masks.rend() && !hooks_.Stop(); ++mask) {
            // An empty mask names no file.
            if (mask->Text().empty()) continue;
            for (std::size_t i = 0; i < names.size(); ++i) {
                if (tested[i] || !mask->Matches(names[i])) continue;
                tested[i] = true;
                const TSearchRec rec(folder, entries[i], chain_.Current());
                if (plan_.Matches(folder, rec, hooks_.Stop)) hooks_.FileMatch(folder, rec);
                if (hooks_.Stop()) break;
            }
        }
    }

    bool IsFolder(const DirEntry& entry) const {
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
        return GetFileFacts(chain_.Current(), entry.Name, facts) &&
               facts.Kind == FileKind::Directory;
    }

    const TTargetSearch& plan_;
    const SearchHooks& hooks_;
    const TTargetFolder* target_ = nullptr;
    int level_ = 0;
    FolderChain chain_;
    std::vector<Frame> frames_;
};

}  // namespace

void WalkTargets(const TTargetSearch& plan, const SearchHooks& hooks) {
    SearchWalk(plan, hooks).Run();
}

}  // namespace rv
