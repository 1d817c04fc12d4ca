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
//
// Where the file system allows, the temporary file has no name until Commit(), so a save cut
// short (the program killed, the machine stopped) leaves nothing behind; elsewhere the temporary
// files such saves left for the same target are removed before the next save of it. A symbolic
// link stays a link: the file it leads to is replaced. A replaced file keeps its mode (a new one
// gets the umask's). Writing past the process's file-size limit is an error, as a full disk is.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void Write(const void* data, std::size_t size);
    void Write(std::string_view text) { Write(text.data(), text.size()); }
    void Commit();

    // Whether saves make their temporary files without a name where the file system allows (the
    // default); tests turn it off to save as on file systems that do not.
    static void UseUnnamedFiles(bool use);

private:
    void Open();
    bool OpenNamed();
    void KeepOwnerAndMode();
    void LinkIn();
    void Flush();
    void WriteThrough(const char* data, std::size_t size);
    [[noreturn]] void Fail(const char* what, int error);
    void Discard() noexcept;

    std::string path_;        // as the caller named it
    std::string target_;      // the file replaced: the path, or where its links lead
    std::string tempPrefix_;  // of temporary files beside the target
    std::string tempPath_;    // the temporary file's name, once it has one
    int fd_ = -1;
    bool unnamed_ = false;  // made without a name, linked in by Commit()
    std::string buffer_;
    bool committed_ = false;
};

// Replaces (or creates) the file with `content` in one step.
void ReplaceFileAtomically(const std::string& path, std::string_view content);

}  // namespace rv
