#pragma once

#include <vector>

namespace rv {

// One block of a socket's send buffer: bytes stored by Write and taken away as they are sent.
class TBuffer {
public:
    // A capacity of 0 or less means 1514.
    explicit TBuffer(int size);

    // Copies as many bytes as fit; returns how many.
    int Write(const void* data, int len);
    // The bytes not sent yet and their count (0 when there are none).
    const char* Peek(int& count) const;
    // Marks up to `count` bytes as sent; once all are, the block is empty and reused from its
    // start.
    void Remove(int count);
    // Changes the capacity, keeping the stored bytes that fit.
    void SetBufSize(int size);

    int BufSize() const { return static_cast<int>(data_.size()); }
    int Count() const { return wrCount_ - rdCount_; }

private:
    std::vector<char> data_;
    int wrCount_ = 0;  // bytes stored
    int rdCount_ = 0;  // bytes of them already sent
};

}  // namespace rv
