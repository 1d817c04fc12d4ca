#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/dirs/directory.h"

namespace rv {

// A regular file opened by its name inside an open folder, read by position. Nothing here
// throws: a failed open leaves the object closed, a read past the end returns fewer bytes.
class FolderFile {
public:
    FolderFile() = default;
    ~FolderFile() { Close(); }
    FolderFile(const FolderFile&) = delete;
    FolderFile& operator=(const FolderFile&) = delete;

    // Opens the regular file `name` of `folder`, a link followed; folders, devices, FIFOs and
    // sockets are refused.
    bool Open(const FolderHandle& folder, const std::string& name);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    std::uint64_t Size() const { return size_; }

    // Reads up to `count` bytes at `offset`; returns how many were read (0 at or past the end,
    // or on an error).
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const;

    // Where the first byte at or after `offset` lies that is not in a hole of a sparse file
    // (holes read as zeros); Size() when only holes follow. Where the file system keeps no
    // record of holes, `offset` itself.
    std::uint64_t NextData(std::uint64_t offset) const;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

}  // namespace rv
