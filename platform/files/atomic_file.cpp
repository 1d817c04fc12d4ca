#include "platform/files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

namespace rv {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path) : path_(path) {
    std::random_device entropy;
    const std::string base = FolderOf(path) + "/." + NameOf(path) + ".tmp-";
    // A new file gets the usual permissions (0666 less the umask); a replaced one keeps its own.
    struct stat old;
    const bool replacing = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        tempPath_ = base + std::to_string(entropy() % 1000000000u);
        fd_ = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        const int error = errno;
        tempPath_.clear();  // not ours: nothing to remove
        Fail("cannot create", error);
    }
    if (replacing) (void)::fchmod(fd_, old.st_mode & 07777);
    buffer_.reserve(kBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!committed_) Discard();
}

void AtomicFileWriter::Write(const void* data, std::size_t size) {
    if (fd_ < 0) throw EFileError("Cannot write file " + path_);
    if (buffer_.size() + size > kBufferSize) Flush();
    // Large pieces go to the file as they are, without a copy.
    if (size >= kBufferSize)
        WriteThrough(static_cast<const char*>(data), size);
    else
        buffer_.append(static_cast<const char*>(data), size);
}

void AtomicFileWriter::Flush() {
    WriteThrough(buffer_.data(), buffer_.size());
    buffer_.clear();
}

void AtomicFileWriter::WriteThrough(const char* p, std::size_t left) {
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("cannot write", n < 0 ? errno : ENOSPC);
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

void AtomicFileWriter::Commit() {
    if (fd_ < 0) throw EFileError("Cannot write file " + path_);
    Flush();
    if (::fsync(fd_) != 0) Fail("cannot flush", errno);
    if (::close(fd_) != 0) {
        fd_ = -1;
        Fail("cannot close", errno);
    }
    fd_ = -1;
    if (::rename(tempPath_.c_str(), path_.c_str()) != 0) Fail("cannot replace", errno);
    committed_ = true;
    // The rename is durable once the folder itself is on disk.
    const int dir = ::open(FolderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
}

void AtomicFileWriter::Fail(const char* what, int error) {
    Discard();
    throw EFileError(std::string("Cannot write file ") + path_ + " (" + what + ": " +
                     std::strerror(error) + ")");
}

void AtomicFileWriter::Discard() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
    tempPath_.clear();
    buffer_.clear();
}

void ReplaceFileAtomically(const std::string& path, std::string_view content) {
    AtomicFileWriter writer(path);
    writer.Write(content);
    writer.Commit();
}

}  // namespace rv
