#include "platform/dirs/file_facts.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace rv {

namespace {

FileTime FromStatx(const struct statx_timestamp& t) {
    return {t.tv_sec, t.tv_nsec};
}

FileKind KindOfMode(std::uint32_t mode) {
    if (S_ISREG(mode)) return FileKind::Regular;
    if (S_ISDIR(mode)) return FileKind::Directory;
    return FileKind::Other;
}

std::string_view LastComponent(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool FactsAt(int dirFd, const std::string& path, FileFacts& facts) {
    struct statx sx;
    const unsigned mask =
        STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_ATIME | STATX_MTIME | STATX_BTIME;
    if (statx(dirFd, path.c_str(), AT_STATX_SYNC_AS_STAT, mask, &sx) != 0) return false;
    facts.Kind = KindOfMode(sx.stx_mode);
    facts.Attr = AttributesOf(facts.Kind, sx.stx_mode, LastComponent(path));
    facts.Size = facts.Kind == FileKind::Directory ? 0 : sx.stx_size;
    facts.Modified = FromStatx(sx.stx_mtime);
    facts.Accessed = FromStatx(sx.stx_atime);
    facts.Created = (sx.stx_mask & STATX_BTIME) ? FromStatx(sx.stx_btime) : facts.Modified;
    return true;
}

}  // namespace

std::uint32_t AttributesOf(FileKind kind, std::uint32_t mode, std::string_view name) {
    std::uint32_t attr = 0;
    if (kind == FileKind::Directory) attr |= faDirectory;
    if (!(mode & S_IWUSR)) attr |= faReadOnly;
    if (!name.empty() && name[0] == '.') attr |= faHidden;
    return attr;
}

bool GetFileFacts(const std::string& path, FileFacts& facts) {
    return FactsAt(AT_FDCWD, path, facts);
}

bool GetFileFacts(const FolderHandle& folder, const std::string& name, FileFacts& facts) {
    // A closed folder reaches nothing (a relative name must not fall back to the current folder).
    return folder.IsOpen() && FactsAt(folder.fd_, name, facts);
}

}  // namespace rv
