#include "readers/bounded_reader.h"

#include <algorithm>
#include <cstring>

#include "readers/byte_order.h"

namespace rv {

BoundedReader::BoundedReader(const ReadOnlyFile& file, std::uint64_t begin, std::uint64_t end)
    : file_(file), end_(std::min(end, file.Size())) {
    pos_ = std::min(begin, end_);
}

bool BoundedReader::Fill(std::size_t count) {
    if (pos_ >= bufferStart_ && pos_ + count <= bufferStart_ + bufferLength_) return true;
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize, end_ - pos_));
    bufferStart_ = pos_;
    bufferLength_ = file_.ReadAt(pos_, buffer_, want);
    return bufferLength_ >= count;
}

bool BoundedReader::Read(void* buffer, std::size_t count) {
    if (!ok_ || count > Remaining()) return Fail();
    if (count <= kBufferSize) {
        if (!Fill(count)) return Fail();
        std::memcpy(buffer, buffer_ + (pos_ - bufferStart_), count);
    } else if (!file_.ReadExactAt(pos_, buffer, count)) {
        return Fail();
    }
    pos_ += count;
    return true;
}

std::size_t BoundedReader::ReadSome(void* buffer, std::size_t count) {
    if (!ok_) return 0;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, Remaining()));
    return Read(buffer, count) ? count : 0;
}

std::string BoundedReader::ReadString(std::size_t count) {
    if (!ok_ || count > Remaining()) {
        Fail();
        return {};
    }
    std::string text(count, '\0');
    if (!Read(text.data(), count)) return {};
    return text;
}

bool BoundedReader::Skip(std::uint64_t count) {
    if (!ok_ || count > Remaining()) return Fail();
    pos_ += count;
    return true;
}

bool BoundedReader::SeekForward(std::uint64_t position) {
    if (!ok_ || position < pos_ || position > end_) return Fail();
    pos_ = position;
    return true;
}

std::uint8_t BoundedReader::U8() {
    unsigned char b[1];
    return Read(b, 1) ? b[0] : 0;
}

std::uint16_t BoundedReader::LE16() {
    unsigned char b[2];
    return Read(b, 2) ? LoadLE16(b) : 0;
}

std::uint32_t BoundedReader::LE32() {
    unsigned char b[4];
    return Read(b, 4) ? LoadLE32(b) : 0;
}

std::uint64_t BoundedReader::LE64() {
    unsigned char b[8];
    return Read(b, 8) ? LoadLE64(b) : 0;
}

std::uint16_t BoundedReader::BE16() {
    unsigned char b[2];
    return Read(b, 2) ? LoadBE16(b) : 0;
}

std::uint32_t BoundedReader::BE24() {
    unsigned char b[3];
    return Read(b, 3) ? LoadBE24(b) : 0;
}

std::uint32_t BoundedReader::BE32() {
    unsigned char b[4];
    return Read(b, 4) ? LoadBE32(b) : 0;
}

}  // namespace rv
