#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rv {

// The bytes of a server's reply not handled yet, cut into lines. A line ends at CR LF, at LF or
// at a CR alone; a CR that ends the bytes held waits for the next byte, which may be its LF. It
// holds at most `capacity` bytes: a line that does not end within them cannot be taken.
class TReplyBuffer {
public:
    explicit TReplyBuffer(std::size_t capacity) : capacity_(capacity) {}

    std::size_t Capacity() const { return capacity_; }
    std::size_t Room() const { return capacity_ - (data_.size() - start_); }
    // Adds at most Room() bytes.
    void Append(std::string_view bytes);
    // The next line without its end, and the end (empty for a last line without one). False
    // when no whole line is held; with `atEnd` (no more bytes will come) whatever is held is.
    bool NextLine(std::string& line, std::string_view& lineEnd, bool atEnd = false);
    // Everything held, emptying the buffer.
    std::string TakeAll();
    bool Empty() const { return start_ == data_.size(); }
    void Clear();

private:
    std::size_t capacity_;
    std::string data_;
    std::size_t start_ = 0;  // bytes of data_ already taken
};

}  // namespace rv
