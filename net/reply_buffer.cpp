#include "net/reply_buffer.h"

#include <algorithm>

namespace rv {

void TReplyBuffer::Append(std::string_view bytes) {
    if (start_ > 0) {
        data_.erase(0, start_);
        start_ = 0;
    }
    data_.append(bytes.substr(0, Room()));
}

bool TReplyBuffer::NextLine(std::string& line, std::string_view& lineEnd, bool atEnd) {
    if (Empty()) return false;
    const std::size_t end = data_.find_first_of("\r\n", start_);
    std::size_t next;
    if (end == std::string::npos) {
        if (!atEnd) return false;
        lineEnd = {};
        next = data_.size();
    } else if (data_[end] == '\n') {
        lineEnd = "\n";
        next = end + 1;
    } else if (end + 1 < data_.size()) {
        lineEnd = data_[end + 1] == '\n' ? "\r\n" : "\r";
        next = end + lineEnd.size();
    } else {
        if (!atEnd) return false;
        lineEnd = "\r";
        next = end + 1;
    }
    line.assign(data_, start_, std::min(end, data_.size()) - start_);
    start_ = next;
    return true;
}

std::string TReplyBuffer::TakeAll() {
    std::string rest = data_.substr(start_);
    Clear();
    return rest;
}

void TReplyBuffer::Clear() {
    data_.clear();
    start_ = 0;
}

}  // namespace rv
