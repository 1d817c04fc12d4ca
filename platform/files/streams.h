#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/base/exception.h"
#include "platform/files/read_only_file.h"

namespace rv {

// Errors of streams: a read or write that cannot be done whole, a write to a stream that takes
// none.
class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };
using enum TSeekOrigin;

class TMemoryStream;

// A sequence of bytes with a position, read and written in pieces. Read and Write move as far as
// they can and say how far; ReadBuffer and WriteBuffer do all or raise.
class TStream {
public:
    virtual ~TStream() = default;
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
    // The new position; positions before 0 are taken as 0, positions past the end are allowed.
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual std::int64_t Size();
    // Cuts or lengthens the stream (zero bytes); EStreamError where a stream cannot.
    virtual void SetSize(std::int64_t size);
    // The stream as a growing block of memory, for writers that place many small pieces by
    // pointer; nil for every other kind.
    virtual TMemoryStream* AsMemoryStream() { return nullptr; }

    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, soBeginning); }
    // EReadError "Stream read error" when fewer than `count` bytes are there.
    void ReadBuffer(void* buffer, std::size_t count);
    // EWriteError "Stream write error" when not all could be written.
    void WriteBuffer(const void* buffer, std::size_t count);
    // Copies `count` bytes (0: all from the start of `source`) from `source`; answers how many.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

// Bytes in memory: a block the stream owns (TMemoryStream) or one it only reads.
class TCustomMemoryStream : public TStream {
public:
    std::size_t Read(void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return std::int64_t(size_); }
    const std::uint8_t* Memory() const { return memory_; }
    // Position and Size without a call through the stream's table.
    std::size_t Cursor() const { return position_; }
    std::size_t Length() const { return size_; }

protected:
    void SetPointer(const std::uint8_t* memory, std::size_t size) {
        memory_ = memory;
        size_ = size;
    }
    std::size_t position_ = 0;

private:
    const std::uint8_t* memory_ = nullptr;
    std::size_t size_ = 0;
};

// A growing block of memory; writes past the end lengthen it.
class TMemoryStream : public TCustomMemoryStream {
public:
    TMemoryStream() = default;
    ~TMemoryStream() override;

    std::size_t Write(const void* buffer, std::size_t count) override;
    void SetSize(std::int64_t size) override;
    TMemoryStream* AsMemoryStream() override { return this; }
    void Clear();
    // The bytes written (the first Size() of the block).
    std::string Bytes() const;

    // Room for `count` bytes at the position, which moves past them: the stream grows where
    // they reach beyond its end (a gap before them is zero). The caller fills them before
    // anything else touches the stream; the pointer holds until the next write.
    std::uint8_t* Extend(std::size_t count) {
        const std::size_t end = position_ + count;
        if (end > Length()) {
            if (end <= capacity_ && position_ <= Length())
                SetPointer(block_, end);
            else
                Lengthen(end);
        }
        std::uint8_t* at = block_ + position_;
        position_ = end;
        return at;
    }
    // Overwrites bytes inside the stream; the position stays.
    void Overwrite(std::size_t at, const void* bytes, std::size_t count) {
        if (at > Length() || count > Length() - at) RefuseOverwrite();
        std::memcpy(block_ + at, bytes, count);
    }

private:
    // Makes the stream at least `end` bytes long, zeroing from the old end to the position.
    void Lengthen(std::size_t end);
    [[noreturn]] static void RefuseOverwrite();
    void Reallocate(std::size_t capacity);

    std::uint8_t* block_ = nullptr;
    std::size_t capacity_ = 0;
    bool mapped_ = false;  // the block's pages come from the system directly
};

// Reads bytes that someone else keeps, without copying them; they must outlive the stream.
// Writing raises EStreamError "Can't write to a read-only resource stream".
class TReadOnlyMemoryStream : public TCustomMemoryStream {
public:
    TReadOnlyMemoryStream(const void* memory, std::size_t size) {
        SetPointer(static_cast<const std::uint8_t*>(memory), size);
    }
    std::size_t Write(const void* buffer, std::size_t count) override;
};

// A regular file read by position. Opening fails with EFOpenError naming the file; writing
// raises EStreamError.
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class TFileReadStream : public TStream {
public:
    explicit TFileReadStream(const std::string& fileName);
    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return std::int64_t(file_.Size()); }

private:
    ReadOnlyFile file_;
    std::int64_t position_ = 0;
};

}  // namespace rv
