#pragma once

#include <cstddef>
#include <cstdint>

#include "readers/cached_file.h"

namespace rv {

// The bytes of one Ogg packet, read in order across as many pages as it spans: the packet that
// begins with the first segment of the page at `pageStart`. Page headers between its parts are
// stepped over, so a packet larger than a page (a comment header holding cover art) reads as
// one run. Nothing beyond the packet is ever returned, nothing is read before it is asked for,
// and the first failure is remembered.
class OggPacketReader {
public:
    OggPacketReader(CachedFile& file, std::uint64_t pageStart);
    OggPacketReader(const OggPacketReader&) = delete;
    OggPacketReader& operator=(const OggPacketReader&) = delete;

    bool Ok() const { return ok_; }
    // Exactly `count` bytes, or false (and the reader fails).
    bool Read(void* buffer, std::size_t count);
    bool Skip(std::uint64_t count);
    // 0 once the reader has failed.
    std::uint32_t LE32();

private:
    // Reads the page header at `offset` and takes the packet's part on it: the segments up to
    // the first lacing value below 255, or all of them when the packet goes on.
    bool LoadPage(std::uint64_t offset);
    // Makes at least one byte of the packet available on the current page.
    bool Available();
    bool Fail() {
        ok_ = false;
        return false;
    }

    CachedFile& file_;
    bool ok_ = true;
    std::uint64_t position_ = 0;  // file offset of the packet's next byte
    std::uint64_t partLeft_ = 0;  // bytes of the packet left on the current page
    std::uint64_t pageEnd_ = 0;   // file offset just after the current page
    bool continues_ = false;      // the packet goes on on the next page
};

}  // namespace rv
