#include "readers/ogg_packet.h"

#include <algorithm>
#include <string_view>

#include "readers/byte_order.h"

namespace rv {

namespace {

constexpr std::size_t kPageHeaderSize = 27;  // up to and including the segment count

}  // namespace

OggPacketReader::OggPacketReader(CachedFile& file, std::uint64_t pageStart) : file_(file) {
    if (!LoadPage(pageStart)) Fail();
}

bool OggPacketReader::LoadPage(std::uint64_t offset) {
    unsigned char header[kPageHeaderSize];
    if (!file_.ReadExactAt(offset, header, kPageHeaderSize) ||
        std::string_view(reinterpret_cast<const char*>(header), 4) != "OggS")
        return false;
    const std::size_t segments = header[26];
    unsigned char lacing[255];
    if (!file_.ReadExactAt(offset + kPageHeaderSize, lacing, segments)) return false;

    std::uint64_t part = 0;
    std::uint64_t total = 0;
    continues_ = true;
    for (std::size_t i = 0; i < segments; ++i) {
        if (continues_) part += lacing[i];
        if (continues_ && lacing[i] < 255) continues_ = false;
        total += lacing[i];
    }
    position_ = offset + kPageHeaderSize + segments;
    partLeft_ = part;
    pageEnd_ = position_ + total;
    return true;
}

bool OggPacketReader::Available() {
    // A page may carry no byte of the packet (no segments); every next page lies further on,
    // so the walk ends at the end of the file.
    while (ok_ && partLeft_ == 0) {
        if (!continues_ || !LoadPage(pageEnd_)) return Fail();
    }
    return ok_;
}

bool OggPacketReader::Read(void* buffer, std::size_t count) {
    auto* out = static_cast<unsigned char*>(buffer);
    while (count > 0) {
        if (!Available()) return false;
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, partLeft_));
        if (!file_.ReadExactAt(position_, out, n)) return Fail();
        out += n;
        count -= n;
        position_ += n;
        partLeft_ -= n;
    }
    return ok_;
}

bool OggPacketReader::Skip(std::uint64_t count) {
    while (count > 0) {
        if (!Available()) return false;
        const std::uint64_t n = std::min(count, partLeft_);
        count -= n;
        position_ += n;
        partLeft_ -= n;
    }
    return ok_;
}

std::uint32_t OggPacketReader::LE32() {
    unsigned char bytes[4];
    return Read(bytes, 4) ? LoadLE32(bytes) : 0;
}

}  // namespace rv
