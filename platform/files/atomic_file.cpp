#include "platform/files/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "platform/files/save_target.h"

namespace rv {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr int kNameAttempts = 100;

bool useUnnamedFiles = true;

// Writing past the file-size limit sends a signal that ends the process unless it is ignored;
// ignored, the write fails as it would on a full disk. A handler someone set stays.
void IgnoreFileSizeSignal() {
    static const bool ignored = [] {
        struct sigaction current {};
        if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            ::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)ignored;
}

// An unnamed file is linked in through its descriptor's name under /proc (doing so through the
// descriptor itself may need a privilege): without /proc, temporary files have names.
bool CanLinkUnnamedFiles() {
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

bool SameFile(int fd, const std::string& path) {
    struct stat byPath, byFd;
    return ::stat(path.c_str(), &byPath) == 0 && ::fstat(fd, &byFd) == 0 &&
           byPath.st_dev == byFd.st_dev && byPath.st_ino == byFd.st_ino;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path) : path_(path) {
    IgnoreFileSizeSignal();
    if (!save_target::Resolve(path, target_)) Fail("cannot follow the link", errno);
    tempPrefix_ = save_target::FolderOf(target_) + "/" + save_target::TemporaryPrefix(target_);
    save_target::RemoveStaleTemporaries(target_);
    Open();
    KeepOwnerAndMode();
    buffer_.reserve(kBufferSize);
}

// A replaced file keeps its owner and permissions; a new one gets the umask's.
void AtomicFileWriter::KeepOwnerAndMode() {
    struct stat old;
    if (::stat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        (void)::fchown(fd_, old.st_uid, old.st_gid);
        (void)::fchmod(fd_, old.st_mode & 07777);
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!committed_) Discard();
}

// The temporary file is locked while it is written: that tells a later save that its writer
// still runs.
void AtomicFileWriter::Open() {
    if (useUnnamedFiles && CanLinkUnnamedFiles())
        fd_ =
            ::open(save_target::FolderOf(target_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
        unnamed_ = true;
        (void)::flock(fd_, LOCK_EX);
        return;
    }
    if (OpenNamed()) return;
    const int error = errno;
    tempPath_.clear();  // not ours: nothing to remove
    Fail("cannot create", error);
}

bool AtomicFileWriter::OpenNamed() {
    std::random_device entropy;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        tempPath_ = tempPrefix_ + std::to_string(entropy() % 1000000000u);
        fd_ = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        // Another save may have taken the file for a stale one before it was locked. (Where
        // there are no locks, no save takes any file for stale.)
        if (::flock(fd_, LOCK_EX) != 0 || SameFile(fd_, tempPath_)) return true;
        ::close(fd_);
        fd_ = -1;
    }
    errno = EEXIST;
    return false;
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

// Gives the unnamed file a temporary name beside the target, for the rename to replace it.
void AtomicFileWriter::LinkIn() {
    std::random_device entropy;
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        tempPath_ = tempPrefix_ + std::to_string(entropy() % 1000000000u);
        // Linking the descriptor itself may need a privilege; its name under /proc does not.
        if (::linkat(fd_, "", AT_FDCWD, tempPath_.c_str(), AT_EMPTY_PATH) == 0 ||
            (errno != EEXIST &&
             ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, tempPath_.c_str(), AT_SYMLINK_FOLLOW) == 0))
            return;
        if (errno != EEXIST) break;
    }
    const int error = errno;
    tempPath_.clear();
    Fail("cannot link", error);
}

void AtomicFileWriter::Commit() {
    if (fd_ < 0) throw EFileError("Cannot write file " + path_);
    Flush();
    if (::fsync(fd_) != 0) Fail("cannot flush", errno);
    if (unnamed_) LinkIn();
    // Renamed while still open, and so locked: no other save takes it for a stale one.
    if (::rename(tempPath_.c_str(), target_.c_str()) != 0) Fail("cannot replace", errno);
    committed_ = true;
    ::close(fd_);  // the data are on disk already
    fd_ = -1;
    // The rename is durable once the folder itself is on disk.
    const int dir =
        ::open(save_target::FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
    tempPath_.clear();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    buffer_.clear();
}

void AtomicFileWriter::UseUnnamedFiles(bool use) {
    useUnnamedFiles = use;
}

void ReplaceFileAtomically(const std::string& path, std::string_view content) {
    AtomicFileWriter writer(path);
    writer.Write(content);
    writer.Commit();
}

}  // namespace rv
