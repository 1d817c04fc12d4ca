#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/files/read_only_file.h"

namespace rv {

// An open file as the readers see it while they take its tags and headers. The formats keep
// what the readers look at near the start and near the end of a file, so reads are served from
// two windows of the file held in memory: a read that neither window holds refills the one used
// less recently with a single read of the file, placed to hold the bytes from the read onwards,
// or near the end the file's last bytes. A file is thus read once at each end, and a file no
// larger than a window once in all. Reads larger than a window go to the file directly.
class CachedFile {
public:
    static constexpr std::size_t kWindowSize = 16 * 1024;

    explicit CachedFile(const ReadOnlyFile& file) : file_(file) {}
    CachedFile(const CachedFile&) = delete;
    CachedFile& operator=(const CachedFile&) = delete;

    std::uint64_t Size() const { return file_.Size(); }
    // How many times the file itself was read so far.
    unsigned FileReads() const { return fileReads_; }

    // Up to `count` bytes at `offset`; fewer at the end of the file or on an I/O error.
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) {
        const Window& recent = windows_[recent_];
        if (!recent.Holds(offset, count)) return ReadElsewhere(offset, buffer, count);
        std::memcpy(buffer, recent.bytes + (offset - recent.start), count);
        return count;
    }
    // Exactly `count` bytes at `offset`, or false.
    bool ReadExactAt(std::uint64_t offset, void* buffer, std::size_t count) {
        return ReadAt(offset, buffer, count) == count;
    }
    // Up to `count` bytes at `offset` (count at most kWindowSize) without copying them; fewer
    // at the end of the file or on an I/O error. The view holds until the next read.
    std::string_view View(std::uint64_t offset, std::size_t count);

private:
    struct Window {
        std::uint64_t start = 0;
        std::size_t length = 0;
        unsigned char bytes[kWindowSize];  // left uninitialised: only [0, length) is ever read

        bool Holds(std::uint64_t offset, std::size_t count) const {
            return offset >= start && offset - start <= length &&
                   count <= length - (offset - start);
        }
    };

    // The window holding [offset, offset + count), filled if need be; count <= kWindowSize.
    const Window& WindowFor(std::uint64_t offset, std::size_t count);
    // ReadAt for bytes that the window used last does not hold.
    std::size_t ReadElsewhere(std::uint64_t offset, void* buffer, std::size_t count);

    // Every read of the file goes through here.
    std::size_t ReadFile(std::uint64_t offset, void* buffer, std::size_t count) {
        ++fileReads_;
        return file_.ReadAt(offset, buffer, count);
    }

    const ReadOnlyFile& file_;
    std::array<Window, 2> windows_;
    std::size_t recent_ = 0;  // the window used last
    unsigned fileReads_ = 0;
};

}  // namespace rv
