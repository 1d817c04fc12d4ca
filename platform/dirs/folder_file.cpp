#include "platform/dirs/folder_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace rv {

bool FolderFile::Open(const FolderHandle& folder, const std::string& name) {
    Close();
    if (!folder.IsOpen()) return false;
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused just below.
    const int fd = ::openat(folder.fd_, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = static_cast<std::uint64_t>(st.st_size);
    return true;
}

void FolderFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

std::size_t FolderFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const {
    if (fd_ < 0 || offset >= size_) return 0;
    auto* dst = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd_, dst + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::uint64_t FolderFile::NextData(std::uint64_t offset) const {
    if (fd_ < 0 || offset >= size_) return size_;
    const off_t data = ::lseek(fd_, static_cast<off_t>(offset), SEEK_DATA);
    if (data >= 0) return static_cast<std::uint64_t>(data);
    // No data after `offset`: the rest is one hole. Any other failure: read it all.
    return errno == ENXIO ? size_ : offset;
}

}  // namespace rv
