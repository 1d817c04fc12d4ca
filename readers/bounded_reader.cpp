#include "readers/bounded_reader.h"

#include <algorithm>

#include "readers/byte_order.h"

namespace rv {

BoundedReader::BoundedReader(CachedFile& file, std::uint64_t begin, std::uint64_t end)
    : file_(file), end_(std::min(end, file.Size())) {
    pos_ = std::min(begin, end_);
}

bool BoundedReader::Read(void* buffer, std::size_t count) {
    if (!ok_ || count > Remaining() || !file_.ReadExactAt(pos_, buffer, count)) return Fail();
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

template <std::size_t N, typename Load>
auto BoundedReader::ReadWith(Load load) -> decltype(load(nullptr)) {
    unsigned char bytes[N];
    return Read(bytes, N) ? load(bytes) : 0;
}

std::uint8_t BoundedReader::U8() {
    return ReadWith<1>([](const unsigned char* b) { return b[0]; });
}
std::uint16_t BoundedReader::LE16() {
    return ReadWith<2>(LoadLE16);
}
std::uint32_t BoundedReader::LE32() {
    return ReadWith<4>(LoadLE32);
}
std::uint64_t BoundedReader::LE64() {
    return ReadWith<8>(LoadLE64);
}
std::uint16_t BoundedReader::BE16() {
    return ReadWith<2>(LoadBE16);
}
std::uint32_t BoundedReader::BE24() {
    return ReadWith<3>(LoadBE24);
}
std::uint32_t BoundedReader::BE32() {
    return ReadWith<4>(LoadBE32);
}

}  // namespace rv
