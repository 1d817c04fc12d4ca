#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "readers/cached_file.h"

namespace rv {

// A forward-only reader over one region [begin, end) of an open file. It never reads outside
// the region, never moves backwards, and remembers its first failure: after a read past the end
// or an I/O error every later read fails too, so a walk over hostile data always ends.
class BoundedReader {
public:
    // `end` is clipped to the file's size; a `begin` past `end` gives an empty region.
    BoundedReader(CachedFile& file, std::uint64_t begin, std::uint64_t end);
    BoundedReader(const BoundedReader&) = delete;
    BoundedReader& operator=(const BoundedReader&) = delete;

    bool Ok() const { return ok_; }
    std::uint64_t Position() const { return pos_; }
    std::uint64_t End() const { return end_; }
    std::uint64_t Remaining() const { return end_ - pos_; }

    // Exactly `count` bytes, or false (and the reader fails).
    bool Read(void* buffer, std::size_t count);
    // Up to `count` bytes, fewer at the end of the region; fails only on an I/O error.
    std::size_t ReadSome(void* buffer, std::size_t count);
    // `count` bytes as a string; empty and failed when fewer remain (so nothing larger than the
    // region is ever allocated).
    std::string ReadString(std::size_t count);
    bool Skip(std::uint64_t count);
    // Moves forward to an absolute position inside the region; a position behind the current
    // one fails.
    bool SeekForward(std::uint64_t position);

    // Integers; 0 once the reader has failed.
    std::uint8_t U8();
    std::uint16_t LE16();
    std::uint32_t LE32();
    std::uint64_t LE64();
    std::uint16_t BE16();
    std::uint32_t BE24();
    std::uint32_t BE32();

private:
    // An integer loaded from the next N bytes, or 0.
    template <std::size_t N, typename Load>
    auto ReadWith(Load load) -> decltype(load(nullptr));
    bool Fail() {
        ok_ = false;
        return false;
    }

    CachedFile& file_;
    std::uint64_t pos_;
    std::uint64_t end_;
    bool ok_ = true;
};

}  // namespace rv
