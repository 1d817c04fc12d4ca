#include "platform/dirs/directory.h"
#include "platform/dirs/folder_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace rv {

namespace {

EntryKind KindOf(unsigned char type) {
    switch (type) {
        case DT_REG:
            return EntryKind::Regular;
        case DT_DIR:
            return EntryKind::Directory;
        case DT_LNK:
            return EntryKind::Symlink;
        case DT_UNKNOWN:
            return EntryKind::Unknown;
        default:
            return EntryKind::Other;
    }
}

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

int OpenFolderAt(int dirFd, const char* name) {
    int fd;
    do {
        fd = ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), id_(std::exchange(other.id_, {})) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        id_ = std::exchange(other.id_, {});
    }
    return *this;
}

bool FolderHandle::Open(const std::string& path) {
    Close();
    return Adopt(OpenFolderAt(AT_FDCWD, path.c_str()));
}

bool FolderHandle::OpenIn(const FolderHandle& parent, const std::string& name) {
    const int fd = parent.IsOpen() ? OpenFolderAt(parent.fd_, name.c_str()) : -1;
    Close();
    return Adopt(fd);
}

bool FolderHandle::Duplicate(const FolderHandle& other) {
    const int fd = other.IsOpen() ? fcntl(other.fd_, F_DUPFD_CLOEXEC, 0) : -1;
    Close();
    if (fd < 0) return false;
    fd_ = fd;
    id_ = other.id_;
    return true;
}

bool FolderHandle::Adopt(int fd) {
    if (fd < 0) return false;
    struct stat st;
    if (fstat(fd, &st) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    id_ = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    return true;
}

void FolderHandle::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    id_ = {};
}

bool FolderHandle::Read(std::vector<DirEntry>& entries) const {
    entries.clear();
    if (!IsOpen()) return false;
    // The listing gets a descriptor of its own, as closing it must leave the handle open; the
    // two share the reading position, so it starts from the beginning.
    const int fd = fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (fd < 0) return false;
    DIR* dir = fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    rewinddir(dir);
    bool ok = true;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir);
        if (!entry) {
            ok = errno == 0;
            break;
        }
        if (IsDotOrDotDot(entry->d_name)) continue;
        entries.push_back({entry->d_name, KindOf(entry->d_type)});
    }
    closedir(dir);
    if (!ok) {
        entries.clear();
        return false;
    }
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.Name < b.Name; });
    return true;
}

bool OpenInFolder(ReadOnlyFile& file, const FolderHandle& folder, const std::string& name) {
    file.Close();
    return folder.IsOpen() && file.OpenAt(folder.fd_, name);
}

}  // namespace rv
