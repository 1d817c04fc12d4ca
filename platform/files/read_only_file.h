#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace rv {

// A file opened for reading only, read by position. Nothing here throws: a failed open leaves
// the object closed, a read past the end returns fewer bytes than asked.
class ReadOnlyFile {
public:
    ReadOnlyFile() = default;
    explicit ReadOnlyFile(const std::string& path) { Open(path); }
    ~ReadOnlyFile() { Close(); }
    ReadOnlyFile(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Opens a regular file; folders, devices, FIFOs and sockets are refused.
    bool Open(const std::string& path);
    // The same for the file `name` inside the folder open as `folderDescriptor`, a link followed.
    bool OpenAt(int folderDescriptor, const std::string& name);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    std::uint64_t Size() const { return size_; }

    // Reads up to `count` bytes at `offset`; returns how many were read (0 at or past the end,
    // or on an error).
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const;
    // Reads exactly `count` bytes at `offset`, or reports false.
    bool ReadExactAt(std::uint64_t offset, void* buffer, std::size_t count) const {
        return ReadAt(offset, buffer, count) == count;
    }

    // Where the first byte at or after `offset` lies that is not in a hole of a sparse file
    // (holes read as zeros); Size() when only holes follow. Where the file system keeps no
    // record of holes, `offset` itself.
    std::uint64_t NextData(std::uint64_t offset) const;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// The whole content of a regular file, or false.
bool ReadWholeFile(const std::string& path, std::string& content);

}  // namespace rv
