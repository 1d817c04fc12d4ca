#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace rv {

// A growable text block for writing long exports piece by piece: a start, a write position and
// an end. When a piece does not fit, the block at least doubles (and is never below 4096
// units), so that writing a big tree costs a number of copies that grows with the logarithm of
// its size, not with the size itself.
template <class Char>
class TGrowingTextBuffer {
public:
    using String = std::basic_string<Char>;
    static constexpr std::size_t kMinimumGrowth = 4096;

    void Add(std::basic_string_view<Char> text) {
        if (text.empty()) return;
        Reserve(text.size());
        std::memcpy(data_.get() + size_, text.data(), text.size() * sizeof(Char));
        size_ += text.size();
    }
    // CR LF.
    void AddNewLine() {
        const Char crlf[2] = {Char('\r'), Char('\n')};
        Add(std::basic_string_view<Char>(crlf, 2));
    }
    String AsString() const { return String(data_.get(), size_); }
    std::basic_string_view<Char> View() const { return {data_.get(), size_}; }
    std::size_t Size() const { return size_; }
    std::size_t Capacity() const { return capacity_; }

private:
    void Reserve(std::size_t more) {
        if (capacity_ - size_ >= more) return;
        const std::size_t wanted =
            std::max({size_ + more, 2 * capacity_, capacity_ + kMinimumGrowth});
        auto grown = std::make_unique<Char[]>(wanted);
        if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_ * sizeof(Char));
        data_ = std::move(grown);
        capacity_ = wanted;
    }

    std::unique_ptr<Char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// 8-bit text (UTF-8 here) and UTF-16 text.
using TBufferedString = TGrowingTextBuffer<char>;
using TWideBufferedString = TGrowingTextBuffer<char16_t>;

}  // namespace rv
