#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/base/exception.h"

namespace rv {

class EFileError : public Exception {
public:
    using Exception::Exception;
};

// Writes a file so that readers see either the old content or the complete new one: the data go
// to a temporary file in the same folder, which is flushed to disk and renamed over the target.
// Until Commit() succeeds the target is untouched; a writer destroyed without a successful
// Commit() removes its temporary file. Errors raise EFileError naming the file.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void Write(const void* data, std::size_t size);
    void Write(std::string_view text) { Write(text.data(), text.size()); }
    void Commit();

private:
    void Flush();
    void WriteThrough(const char* data, std::size_t size);
    [[noreturn]] void Fail(const char* what, int error);
    void Discard() noexcept;

    std::string path_;
    std::string tempPath_;
    int fd_ = -1;
    std::string buffer_;
    bool committed_ = false;
};

// Replaces (or creates) the file with `content` in one step.
void ReplaceFileAtomically(const std::string& path, std::string_view content);

}  // namespace rv
