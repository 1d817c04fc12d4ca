#include "platform/files/save_target.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace rv::save_target {

namespace {

constexpr int kMostLinks = 40;  // as many as the system follows in one path

// The text of the symbolic link at `path`, or false when it is none.
bool ReadLink(const std::string& path, std::string& text) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return false;
    text.resize(static_cast<size_t>(st.st_size) + 1);
    for (;;) {
        const ssize_t n = ::readlink(path.c_str(), text.data(), text.size());
        if (n < 0) return false;
        if (static_cast<size_t>(n) < text.size()) {
            text.resize(static_cast<size_t>(n));
            return true;
        }
        text.resize(text.size() * 2);  // the link changed since: longer now
    }
}

bool IsTemporaryName(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix) || name.size() == prefix.size()) return false;
    for (const char c : name.substr(prefix.size()))
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

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

bool Resolve(const std::string& path, std::string& target) {
    target = path;
    std::string link;
    for (int hops = 0; hops <= kMostLinks; ++hops) {
        if (!ReadLink(target, link)) return true;
        target = link.starts_with('/') ? link : FolderOf(target) + "/" + link;
    }
    errno = ELOOP;
    return false;
}

std::string TemporaryPrefix(const std::string& target) {
    std::string prefix = ".";
    prefix += NameOf(target);
    prefix += ".tmp-";
    return prefix;
}

void RemoveStaleTemporaries(const std::string& target) {
    const std::string folder = FolderOf(target), prefix = TemporaryPrefix(target);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name, prefix)) continue;
        const std::string path = folder + "/" + entry->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace rv::save_target
