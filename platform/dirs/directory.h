#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rv {

struct FileFacts;
class ReadOnlyFile;

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

// An open folder. What it holds is reached by name relative to it, so a walk that goes from
// handle to handle is not bound by the length limit of paths. A closed handle reaches nothing.
class FolderHandle {
public:
    FolderHandle() = default;
    ~FolderHandle() { Close(); }
    FolderHandle(FolderHandle&& other) noexcept;
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    // The folder at `path`, a link followed; false (and closed) when it cannot be opened.
    bool Open(const std::string& path);
    // The folder `name` inside `parent`, a link followed ("..": the parent on the disk).
    bool OpenIn(const FolderHandle& parent, const std::string& name);
    // A handle of its own on the folder `other` holds open; false (and closed) when there is
    // none.
    bool Duplicate(const FolderHandle& other);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    FolderId Id() const { return id_; }

    // Every entry but "." and "..", sorted by the bytes of the name. False (and no entries) when
    // the folder cannot be read.
    bool Read(std::vector<DirEntry>& entries) const;

private:
    friend bool OpenInFolder(ReadOnlyFile& file, const FolderHandle& folder,
                             const std::string& name);
    friend bool GetFileFacts(const FolderHandle& folder, const std::string& name, FileFacts& facts);

    bool Adopt(int fd);

    int fd_ = -1;
    FolderId id_;
};

}  // namespace rv
