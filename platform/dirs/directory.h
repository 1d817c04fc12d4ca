#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rv {

// What the directory itself says an entry is, without asking the entry: a symbolic link is
// reported as such (whatever it points at), and some file systems answer Unknown.
enum class EntryKind : std::uint8_t { Unknown, Regular, Directory, Symlink, Other };

struct DirEntry {
    std::string Name;
    EntryKind Kind = EntryKind::Unknown;
};

// Identity of a folder, the same whatever path reaches it.
struct FolderId {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    bool operator==(const FolderId&) const = default;
};

struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const {
        return std::hash<std::uint64_t>()(id.Inode * 0x9E3779B97F4A7C15ull ^ id.Device);
    }
};

struct DirectoryListing {
    FolderId Id;
    // Every entry but "." and "..", sorted by the bytes of the name.
    std::vector<DirEntry> Entries;
};

// Reads a folder completely and closes it again before returning, so that a deep walk holds no
// open directories. False (and an empty listing) when it cannot be opened or read.
bool ReadDirectory(const std::string& path, DirectoryListing& listing);

}  // namespace rv
