#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dirs/date_time.h"
#include "platform/dirs/directory.h"
#include "platform/dirs/file_facts.h"

namespace rv {

// One entry found by the search: its name, and the facts of the file, read from the disk the
// first time one of them is asked for (most searches need none of them). Times are local.
// Not for sharing between threads while it is in use; it lives no longer than its folder's
// handle.
class TSearchRec {
public:
    TSearchRec(const std::string& folder, const DirEntry& entry, const FolderHandle& handle)
        : folder_(folder), entry_(entry), handle_(handle) {}
    // The same entry, kept beyond the walk's look at it: `other`'s facts as far as they were
    // read, and the folder, entry and handle given, which must live as long.
    TSearchRec(const TSearchRec& other, const std::string& folder, const DirEntry& entry,
               const FolderHandle& handle)
        : folder_(folder),
          entry_(entry),
          handle_(handle),
          facts_(other.facts_),
          reachable_(other.reachable_) {}
    TSearchRec(const TSearchRec&) = delete;
    TSearchRec& operator=(const TSearchRec&) = delete;

    const std::string& Name() const { return entry_.Name; }
    const DirEntry& Entry() const { return entry_; }
    std::string Path() const { return folder_ + entry_.Name; }
    // The open folder that holds the entry, which reaches it whatever the length of its path.
    const FolderHandle& Parent() const { return handle_; }

    // What the entry is, links followed; Other also when it cannot be reached.
    FileKind Kind() const;
    std::uint32_t Attr() const { return Facts().Attr; }
    std::uint64_t Size() const { return Facts().Size; }
    TDateTime CreationTime() const { return LocalDateTime(Facts().Created); }
    TDateTime LastWriteTime() const { return LocalDateTime(Facts().Modified); }
    TDateTime LastAccessTime() const { return LocalDateTime(Facts().Accessed); }
    TDateTime Time() const { return LastWriteTime(); }
    // Whether the facts could be read (a file may vanish or be a dangling link).
    bool Reachable() const {
        Facts();
        return reachable_;
    }

private:
    const FileFacts& Facts() const;

    const std::string& folder_;
    const DirEntry& entry_;
    const FolderHandle& handle_;
    mutable std::optional<FileFacts> facts_;
    mutable bool reachable_ = false;
};

}  // namespace rv
