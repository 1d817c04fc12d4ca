#include "platform/registry/registry_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/files/atomic_file.h"
#include "platform/files/read_only_file.h"
#include "platform/registry/registry_error.h"
#include "platform/registry/registry_text.h"
#include "platform/registry/settings_location.h"

namespace rv {

namespace {

constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;
// A writer holds the lock for milliseconds; this long means the other side is stuck.
constexpr auto kLockPatience = std::chrono::seconds(10);

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
    throw ERegistryException(what + " " + path + " (" + std::strerror(error) + ")");
}

// What tells one content of the file from another without reading it: a replace makes a new
// file, an edit in place changes the size or the times.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified = 0;  // nanoseconds
    std::int64_t changed = 0;
    bool operator==(const FileStamp&) const = default;
};

std::int64_t Nanoseconds(const timespec& time) {
    return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

FileStamp StampOf(const struct stat& facts) {
    return {facts.st_dev, facts.st_ino, facts.st_size, Nanoseconds(facts.st_mtim),
            Nanoseconds(facts.st_ctim)};
}

// File systems keep times in ticks of the clock (milliseconds, or seconds), so two changes within
// one tick may leave the same stamp. A file changed this recently is read again every time.
constexpr std::int64_t kSettledAfterNs = 2'000'000'000;

bool Settled(const FileStamp& stamp) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return Nanoseconds(now) - stamp.modified >= kSettledAfterNs;
}

enum class FileState { Missing, Unreadable, Damaged, Parsed };

struct ReadResult {
    FileState state;
    int error = 0;  // why an unreadable file could not be read
    FileStamp stamp;
};

// Reads and parses the file as it is on disk now.
ReadResult ReadSettings(const std::string& path, const SettingsFormat& format, RegistryKey& root,
                        std::string& text) {
    struct stat facts;
    if (::stat(path.c_str(), &facts) != 0)
        return {errno == ENOENT ? FileState::Missing : FileState::Unreadable, errno, {}};
    // Not opened at all: opening a device may do something.
    if (!S_ISREG(facts.st_mode)) return {FileState::Damaged, 0, StampOf(facts)};
    if (std::uint64_t(facts.st_size) > kMaxSettingsFileBytes)
        return {FileState::Damaged, 0, StampOf(facts)};
    ReadOnlyFile file;
    if (!file.Open(path)) return {FileState::Unreadable, errno ? errno : EIO, {}};
    // The file opened may be newer than the one looked at. It is then kept under the older
    // stamp, which the next look does not find, so it is only read once more.
    text.resize(file.Size());
    if (text.size() > kMaxSettingsFileBytes) return {FileState::Damaged, 0, StampOf(facts)};
    if (!file.ReadExactAt(0, text.data(), text.size())) return {FileState::Unreadable, EIO, {}};
    std::string error;
    const bool parsed = format.Read(text, root, error);
    return {parsed ? FileState::Parsed : FileState::Damaged, 0, StampOf(facts)};
}

// The files as this process last parsed them, once they have settled. The program keeps a few.
class ParsedFile {
public:
    // The tree kept for this path and stamp (null for a damaged file); false when none is kept.
    bool Find(const std::string& path, const FileStamp& stamp,
              std::shared_ptr<const RegistryKey>& tree) {
        std::lock_guard lock(mutex_);
        const auto found = files_.find(path);
        if (found == files_.end() || !(stamp == found->second.stamp)) return false;
        tree = found->second.tree;
        return true;
    }

    void Keep(const std::string& path, const FileStamp& stamp,
              std::shared_ptr<const RegistryKey> tree) {
        std::lock_guard lock(mutex_);
        if (!Settled(stamp)) {
            files_.erase(path);
            return;
        }
        files_[path] = {stamp, std::move(tree)};
    }

private:
    struct Kept {
        FileStamp stamp;
        std::shared_ptr<const RegistryKey> tree;
    };
    std::mutex mutex_;
    std::map<std::string, Kept> files_;
};

ParsedFile& Parsed() {
    static ParsedFile parsed;
    return parsed;
}

std::shared_ptr<const RegistryKey> EmptyTree() {
    static const auto empty = std::make_shared<const RegistryKey>();
    return empty;
}

// The copies set aside and not yet taken.
struct SetAsideList {
    std::mutex mutex;
    std::vector<std::string> names;
};

SetAsideList& SetAsideNames() {
    static SetAsideList list;
    return list;
}

// Creates the folder with every missing parent, each with mode 0700 as the XDG rules ask.
void CreateFolders(const std::string& folder) {
    struct stat facts;
    if (::stat(folder.c_str(), &facts) == 0) return;
    const std::string parent = FolderOf(folder);
    if (parent != folder) CreateFolders(parent);
    if (::mkdir(folder.c_str(), kFolderMode) != 0 && errno != EEXIST)
        Fail("Cannot create the settings folder", folder, errno);
}

// The settings folder exists, and only its owner may enter the program's own.
void EnsureSettingsFolder(const std::string& folder, bool isPrivate) {
    CreateFolders(folder);
    struct stat facts;
    if (::stat(folder.c_str(), &facts) != 0)
        Fail("Cannot create the settings folder", folder, errno);
    if (!S_ISDIR(facts.st_mode)) Fail("Cannot create the settings folder", folder, ENOTDIR);
    if (isPrivate && (facts.st_mode & 077) != 0 && facts.st_uid == ::getuid())
        (void)::chmod(folder.c_str(), kFolderMode);
}

// The exclusive lock of writers, held for the life of the object. flock() belongs to the open
// file, so it also keeps two threads of one process apart, and it is dropped if we die.
class WriterLock {
public:
    // Waits for the lock up to `patience`; raises ERegistryException when it cannot be had.
    WriterLock(const std::string& path, std::chrono::milliseconds patience) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, kFileMode);
        if (fd_ < 0) Fail("Cannot open the lock file", path, errno);
        const auto giveUp = std::chrono::steady_clock::now() + patience;
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            if (error == EINTR) continue;
            if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= giveUp) {
                ::close(fd_);
                Fail("Cannot lock", path, error);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    ~WriterLock() { ::close(fd_); }
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;

private:
    int fd_ = -1;
};

std::string LockPathOf(const std::string& path) {
    return path + ".lock";
}

// Renames the damaged file to a name that no other file has; the lock is held.
void SetAside(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = path + ".damaged-" + stamp;
    auto kept = [](const std::string& target) {
        std::lock_guard lock(SetAsideNames().mutex);
        SetAsideNames().names.push_back(target);
    };
    int error = EEXIST;
    for (int n = 1; n < 1000; ++n) {
        const std::string target = n == 1 ? base : base + "-" + std::to_string(n);
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
            return kept(target);
        error = errno;
        if (error == EEXIST) continue;
        if (error != EINVAL) break;
        // This file system cannot refuse to replace; under our lock, looking first does as well.
        struct stat facts;
        if (::lstat(target.c_str(), &facts) == 0) continue;
        if (::rename(path.c_str(), target.c_str()) == 0) return kept(target);
        error = errno;
        break;
    }
    Fail("Cannot set aside the damaged settings file", path, error);
}

// The replace keeps the mode of the file it replaces, so a new settings file is first created
// empty with mode 0600, and an existing one of the program's own is made 0600. True when the
// file was created here.
bool PrepareMode(const std::string& path, bool isPrivate) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    struct stat facts;
    if (isPrivate && ::stat(path.c_str(), &facts) == 0 && (facts.st_mode & 07777) != kFileMode)
        (void)::chmod(path.c_str(), kFileMode);
    return false;
}

void RequireWithinLimits(const RegistryKey& root, const std::string& path) {
    std::size_t keys = 0, values = 0;
    root.Count(keys, values);
    if (keys > kMaxKeysPerFile || values > kMaxValuesPerFile)
        throw ERegistryException("The settings would not fit in " + path + ": too many entries");
}

}  // namespace

SettingsFormat RegistryFormat(HKEY root) {
    const std::string_view hive = RootKeyName(root);
    SettingsFormat format;
    format.Read = [hive](std::string_view text, RegistryKey& tree, std::string& error) {
        return ReadRegistryText(text, tree, error, hive);
    };
    format.Write = [hive](const RegistryKey& tree) { return WriteRegistryText(tree, hive); };
    return format;
}

std::shared_ptr<const RegistryKey> RegistryFile::Load() const {
    struct stat facts;
    if (::stat(path_.c_str(), &facts) != 0) return EmptyTree();
    std::shared_ptr<const RegistryKey> tree;
    if (!Parsed().Find(path_, StampOf(facts), tree)) {
        auto root = std::make_unique<RegistryKey>();
        std::string text;
        const ReadResult read = ReadSettings(path_, format_, *root, text);
        if (read.state == FileState::Parsed) tree = std::move(root);
        if (read.state == FileState::Parsed || read.state == FileState::Damaged)
            Parsed().Keep(path_, read.stamp, tree);
        if (read.state != FileState::Damaged) return tree ? tree : EmptyTree();
    }
    if (tree) return tree;
    TrySetAside();
    return EmptyTree();
}

// Only with the lock had at once: a reader never waits for a writer.
void RegistryFile::TrySetAside() const {
    try {
        const WriterLock lock(LockPathOf(path_), std::chrono::milliseconds(0));
        // A writer may have replaced it with a good one meanwhile.
        RegistryKey again;
        std::string text;
        if (ReadSettings(path_, format_, again, text).state == FileState::Damaged) SetAside(path_);
    } catch (const ERegistryException&) {
        // Reads give the callers' defaults all the same; the next read or write tries again.
    }
}

std::shared_ptr<const RegistryKey> RegistryFile::Update(
    const std::function<void(RegistryKey&)>& change) const {
    EnsureSettingsFolder(FolderOf(path_), format_.Private);
    const WriterLock lock(LockPathOf(path_), kLockPatience);
    // Always from the disk: what another copy wrote a moment ago must not be lost.
    auto root = std::make_unique<RegistryKey>();
    std::string oldText;
    const ReadResult read = ReadSettings(path_, format_, *root, oldText);
    if (read.state == FileState::Unreadable)
        Fail("Cannot read the settings file", path_, read.error);
    if (read.state != FileState::Parsed) {
        if (read.state == FileState::Damaged) SetAside(path_);
        *root = RegistryKey();
        oldText.clear();
    }
    change(*root);
    RequireWithinLimits(*root, path_);
    const std::string text = format_.Write(*root);
    if (text.size() > kMaxSettingsFileBytes)
        throw ERegistryException("The settings would not fit in " + path_ + ": too large");
    const bool created = PrepareMode(path_, format_.Private);
    std::shared_ptr<const RegistryKey> tree = std::move(root);
    if (read.state != FileState::Parsed || text != oldText) {
        try {
            ReplaceFileAtomically(path_, text);
        } catch (const EFileError& e) {
            if (created) ::unlink(path_.c_str());
            throw ERegistryException(e.Message());
        }
    }
    return tree;
}

std::vector<std::string> TakeSetAsideSettingsFiles() {
    std::lock_guard lock(SetAsideNames().mutex);
    return std::exchange(SetAsideNames().names, {});
}

}  // namespace rv
