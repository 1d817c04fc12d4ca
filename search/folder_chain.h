#pragma once

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/dirs/directory.h"

namespace rv {

// The folders from the top of a walk down to the folder being walked, each entered by name from
// the one above it, so that how deep a walk goes is bound by memory alone and not by the length
// of paths. Only the deepest few folders stay open; one closed meanwhile is opened again on the
// way back up.
class FolderChain {
public:
    // How many folders of the chain are open at most.
    static constexpr std::size_t kOpenFolders = 16;

    enum class Step { Entered, Unreadable, Loop };

    // Starts the chain afresh at the folder `path`.
    Step Start(const std::string& path);
    // Goes into the subfolder `name` of the current folder. Loop when that is the current folder
    // or one above it (a link pointing up the tree): the chain stays as it was. Unreadable: the
    // chain holds it closed, and nothing can be entered from it.
    Step Enter(const std::string& name);
    // Back to the folder above the current one.
    void Leave();

    // The current folder; closed when it could not be opened.
    const FolderHandle& Current() const { return links_.back().Handle; }
    std::size_t Depth() const { return links_.size(); }

private:
    struct Link {
        std::string Name;  // the top folder's path
        FolderHandle Handle;
        FolderId Id;
        bool Readable = false;
    };
    struct IdHash {
        std::size_t operator()(const FolderId& id) const {
            return std::hash<std::uint64_t>()(id.Inode * 0x9E3779B97F4A7C15ull ^ id.Device);
        }
    };

    Step Push(std::string name, FolderHandle handle);
    void ReopenLast(const FolderHandle& child);

    std::vector<Link> links_;
    std::unordered_set<FolderId, IdHash> ids_;  // of the readable links
    std::size_t firstOpen_ = 0;                 // the links above it are closed
};

}  // namespace rv
