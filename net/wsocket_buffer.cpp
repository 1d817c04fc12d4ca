#include "net/wsocket_buffer.h"

#include <algorithm>
#include <cstring>

namespace rv {

namespace {

constexpr int kDefaultSize = 1514;

}  // namespace

TBuffer::TBuffer(int size) {
    SetBufSize(size);
}

int TBuffer::Write(const void* data, int len) {
    const int count = std::clamp(BufSize() - wrCount_, 0, std::max(len, 0));
    if (count > 0) std::memcpy(data_.data() + wrCount_, data, static_cast<std::size_t>(count));
    wrCount_ += count;
    return count;
}

const char* TBuffer::Peek(int& count) const {
    count = Count();
    return count > 0 ? data_.data() + rdCount_ : nullptr;
}

void TBuffer::Remove(int count) {
    rdCount_ += std::clamp(count, 0, Count());
    if (rdCount_ >= wrCount_) rdCount_ = wrCount_ = 0;
}

void TBuffer::SetBufSize(int size) {
    data_.resize(static_cast<std::size_t>(size > 0 ? size : kDefaultSize));
    wrCount_ = std::min(wrCount_, BufSize());
    rdCount_ = std::min(rdCount_, wrCount_);
}

}  // namespace rv
