#include "platform/dirs/directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

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

}  // namespace

bool ReadDirectory(const std::string& path, DirectoryListing& listing) {
    listing.Entries.clear();
    listing.Id = {};
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    struct stat st;
    if (fstat(fd, &st) != 0) {
        ::close(fd);
        return false;
    }
    listing.Id = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    DIR* dir = fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    bool ok = true;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir);
        if (!entry) {
            ok = errno == 0;
            break;
        }
        if (IsDotOrDotDot(entry->d_name)) continue;
        listing.Entries.push_back({entry->d_name, KindOf(entry->d_type)});
    }
    closedir(dir);
    if (!ok) {
        listing.Entries.clear();
        return false;
    }
    std::sort(listing.Entries.begin(), listing.Entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.Name < b.Name; });
    return true;
}

}  // namespace rv
