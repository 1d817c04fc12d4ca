#include "search/folder_chain.h"

#include <utility>

namespace rv {

FolderChain::Step FolderChain::Start(const std::string& path) {
    links_.clear();
    ids_.clear();
    firstOpen_ = 0;
    FolderHandle handle;
    handle.Open(path);
    return Push(path, std::move(handle));
}

FolderChain::Step FolderChain::Enter(const std::string& name) {
    FolderHandle handle;
    handle.OpenIn(Current(), name);
    return Push(name, std::move(handle));
}

FolderChain::Step FolderChain::Push(std::string name, FolderHandle handle) {
    const bool readable = handle.IsOpen();
    if (readable && !ids_.insert(handle.Id()).second) return Step::Loop;
    const FolderId id = handle.Id();
    links_.push_back({std::move(name), std::move(handle), id, readable});
    while (links_.size() - firstOpen_ > kOpenFolders) links_[firstOpen_++].Handle.Close();
    return readable ? Step::Entered : Step::Unreadable;
}

void FolderChain::Leave() {
    Link child = std::move(links_.back());
    links_.pop_back();
    if (child.Readable) ids_.erase(child.Id);
    if (links_.empty())
        firstOpen_ = 0;
    else if (firstOpen_ >= links_.size())
        ReopenLast(child.Handle);
}

void FolderChain::ReopenLast(const FolderHandle& child) {
    firstOpen_ = links_.size() - 1;
    Link& last = links_.back();
    // Up through "..", unless a link led down into the child.
    FolderHandle handle;
    if (handle.OpenIn(child, "..") && handle.Id() == last.Id) {
        last.Handle = std::move(handle);
        return;
    }
    // Else down again from the top. Should a folder on the way have changed, the last stays
    // closed and reaches nothing.
    for (std::size_t i = 0; i < links_.size(); ++i) {
        FolderHandle next;
        const bool opened =
            i == 0 ? next.Open(links_[i].Name) : next.OpenIn(handle, links_[i].Name);
        if (!opened || next.Id() != links_[i].Id) return;
        handle = std::move(next);
    }
    last.Handle = std::move(handle);
}

}  // namespace rv
