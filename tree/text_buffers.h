#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace rv {

// A growable text block for writing long exports piece by piece: a start, a write position and
// an end. When a piece does not fit, the block at least doubles (and is never below 4096
// units), so that writing a big tree costs a number of copies that grows with the logarithm of
// its size, not with the size itself.
template <class Char>
class TGrowingTextBuffer {
public:
    using String = std::basic_string<Char>;
    static constexpr std::size_t kMinimumCapacity = 4096;

    void Add(std::basic_string_view<Char> text) {
        if (text.empty()) return;
        Reserve(text.size());
        data_.append(text);
    }
    // CR LF.
    void AddNewLine() {
        const Char crlf[2] = {Char('\r'), Char('\n')};
        Add(std::basic_string_view<Char>(crlf, 2));
    }
    String AsString() const { return data_; }
    // The contents, handed over without a copy; the buffer is left empty.
    String TakeString() { return std::exchange(data_, String()); }
    std::basic_string_view<Char> View() const { return data_; }
    std::size_t Size() const { return data_.size(); }
    std::size_t Capacity() const { return data_.capacity(); }

private:
    void Reserve(std::size_t more) {
        // The string's small inline room counts as none: the first piece takes a whole block.
        const std::size_t capacity = data_.capacity();
        if (capacity >= kMinimumCapacity && capacity - data_.size() >= more) return;
        data_.reserve(std::max({data_.size() + more, 2 * capacity, kMinimumCapacity}));
    }

    String data_;
};

// 8-bit text (UTF-8 here) and UTF-16 text.
using TBufferedString = TGrowingTextBuffer<char>;
using TWideBufferedString = TGrowingTextBuffer<char16_t>;

}  // namespace rv
