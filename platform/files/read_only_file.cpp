#include "platform/files/read_only_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace rv {

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(std::exchange(other.size_, 0)) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

bool ReadOnlyFile::Open(const std::string& path) {
    return OpenAt(AT_FDCWD, path);
}

bool ReadOnlyFile::OpenAt(int folderDescriptor, const std::string& name) {
    Close();
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused just below.
    const int fd =
        ::openat(folderDescriptor, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
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

void ReadOnlyFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

std::size_t ReadOnlyFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const {
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

std::uint64_t ReadOnlyFile::NextData(std::uint64_t offset) const {
    if (fd_ < 0 || offset >= size_) return size_;
    const off_t data = ::lseek(fd_, static_cast<off_t>(offset), SEEK_DATA);
    if (data >= 0) return static_cast<std::uint64_t>(data);
    // No data after `offset`: the rest is one hole. Any other failure: read it all.
    return errno == ENXIO ? size_ : offset;
}

bool ReadWholeFile(const std::string& path, std::string& content) {
    ReadOnlyFile file;
    if (!file.Open(path)) return false;
    std::string data;
    data.resize(file.Size());
    const std::size_t n = file.ReadAt(0, data.data(), data.size());
    if (n != data.size()) return false;
    content = std::move(data);
    return true;
}

}  // namespace rv
