#include "platform/files/streams.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace rv {

namespace {

// The position a seek asks for, from 0 up; an offset that runs over the range stops at its end.
std::int64_t SeekTarget(std::int64_t offset, TSeekOrigin origin, std::int64_t current,
                        std::int64_t size) {
    const std::int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? current : size;
    std::int64_t target;
    if (__builtin_add_overflow(base, offset, &target))
        target = offset < 0 ? 0 : std::numeric_limits<std::int64_t>::max();
    return std::max<std::int64_t>(target, 0);
}

}  // namespace

std::int64_t TStream::Size() {
    const std::int64_t position = Seek(0, soCurrent);
    const std::int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(std::int64_t) {
    throw EStreamError("The stream's size cannot be changed.");
}

void TStream::ReadBuffer(void* buffer, std::size_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::size_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<char> buffer(std::size_t(std::min<std::int64_t>(count, 1 << 16)));
    std::int64_t left = count;
    while (left > 0) {
        const auto n = std::size_t(std::min<std::int64_t>(left, std::int64_t(buffer.size())));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= std::int64_t(n);
    }
    return count;
}

// ---- Memory ----------------------------------------------------------------------------------

std::size_t TCustomMemoryStream::Read(void* buffer, std::size_t count) {
    if (position_ >= size_) return 0;
    const std::size_t n = std::min(count, size_ - position_);
    std::memcpy(buffer, memory_ + position_, n);
    position_ += n;
    return n;
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    const std::int64_t target = SeekTarget(offset, origin, std::int64_t(position_), Size());
    position_ = std::size_t(
        std::min<std::int64_t>(target, std::int64_t(std::numeric_limits<std::size_t>::max() / 2)));
    return std::int64_t(position_);
}

TMemoryStream::~TMemoryStream() {
    Reallocate(0);
}

namespace {

// From this size on a block has pages of its own from the system, huge ones where it offers
// them: filling a block of many megabytes then costs a page fault per 2 MiB instead of one per
// 4 KiB, which is most of the time a big save spends. Growing moves the pages, not the bytes.
constexpr std::size_t kMappedBlock = std::size_t(4) << 20;
constexpr std::size_t kHugePage = std::size_t(2) << 20;

void* MapBlock(void* old, std::size_t oldSize, std::size_t size) {
    void* block =
        old ? mremap(old, oldSize, size, MREMAP_MAYMOVE)
            : mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) throw std::bad_alloc();
    madvise(block, size, MADV_HUGEPAGE);  // a hint: without huge pages the block works alike
    return block;
}

}  // namespace

void TMemoryStream::Reallocate(std::size_t capacity) {
    if (capacity == 0) {
        if (mapped_)
            munmap(block_, capacity_);
        else
            std::free(block_);
        block_ = nullptr;
        capacity_ = 0;
        mapped_ = false;
        return;
    }
    if (capacity >= kMappedBlock) {
        capacity = (capacity + kHugePage - 1) / kHugePage * kHugePage;
        void* block = MapBlock(mapped_ ? block_ : nullptr, capacity_, capacity);
        if (!mapped_) {
            std::memcpy(block, block_, Length());
            std::free(block_);
        }
        block_ = static_cast<std::uint8_t*>(block);
        mapped_ = true;
    } else {
        void* grown = std::realloc(block_, capacity);
        if (!grown) throw std::bad_alloc();
        block_ = static_cast<std::uint8_t*>(grown);
    }
    capacity_ = capacity;
}

void TMemoryStream::Lengthen(std::size_t end) {
    const std::size_t size = Length();
    if (end > capacity_) {
        // Doubling keeps a long run of small writes linear.
        Reallocate(std::max({end, capacity_ * 2, std::size_t(4096)}));
    }
    // Bytes between the old end and the position read as zero.
    if (position_ > size) std::memset(block_ + size, 0, position_ - size);
    SetPointer(block_, std::max(size, end));
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
    if (count == 0) return 0;
    std::memcpy(Extend(count), buffer, count);
    return count;
}

void TMemoryStream::RefuseOverwrite() {
    throw EWriteError("Stream write error");
}

void TMemoryStream::SetSize(std::int64_t size) {
    if (size < 0) throw EStreamError("A stream's size cannot be negative.");
    const auto bytes = std::size_t(size);
    const std::size_t old = Length();
    if (bytes > capacity_) Reallocate(bytes);
    if (bytes > old) std::memset(block_ + old, 0, bytes - old);
    SetPointer(block_, bytes);
}

void TMemoryStream::Clear() {
    Reallocate(0);
    SetPointer(nullptr, 0);
    position_ = 0;
}

std::string TMemoryStream::Bytes() const {
    return std::string(reinterpret_cast<const char*>(Memory()), Length());
}

std::size_t TReadOnlyMemoryStream::Write(const void*, std::size_t) {
    throw EStreamError("Can't write to a read-only resource stream");
}

// ---- Files -----------------------------------------------------------------------------------

TFileReadStream::TFileReadStream(const std::string& fileName) {
    if (!file_.Open(fileName)) throw EFOpenError("Cannot open file \"" + fileName + "\".");
}

std::size_t TFileReadStream::Read(void* buffer, std::size_t count) {
    const std::size_t n = file_.ReadAt(std::uint64_t(position_), buffer, count);
    position_ += std::int64_t(n);
    return n;
}

std::size_t TFileReadStream::Write(const void*, std::size_t) {
    throw EStreamError("The file is open for reading only.");
}

std::int64_t TFileReadStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    position_ = SeekTarget(offset, origin, position_, Size());
    return position_;
}

}  // namespace rv
