#include "platform/registry/registry_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <thread>

#include "platform/files/atomic_file.h"
#include "platform/files/read_only_file.h"
#include "platform/registry/registry_error.h"
#include "platform/registry/registry_text.h"

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

enum class FileState { Missing, Unreadable, Damaged, Parsed };

struct ReadResult {
    FileState state;
    int error = 0;  // why an unreadable file could not be read
};

ReadResult ReadSettings(const std::string& path, RegistryKey& root, std::string& text) {
    struct stat facts;
    if (::stat(path.c_str(), &facts) != 0)
        return {errno == ENOENT ? FileState::Missing : FileState::Unreadable, errno};
    if (!S_ISREG(facts.st_mode)) return {FileState::Damaged};
    ReadOnlyFile file;
    if (!file.Open(path)) return {FileState::Unreadable, errno ? errno : EIO};
    if (file.Size() > kMaxSettingsFileBytes) return {FileState::Damaged};
    text.resize(file.Size());
    if (!file.ReadExactAt(0, text.data(), text.size())) return {FileState::Unreadable, EIO};
    std::string error;
    return {ReadRegistryText(text, root, error) ? FileState::Parsed : FileState::Damaged};
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

// The settings folder exists and only its owner may enter it.
void EnsureSettingsFolder(const std::string& folder) {
    CreateFolders(folder);
    struct stat facts;
    if (::stat(folder.c_str(), &facts) != 0)
        Fail("Cannot create the settings folder", folder, errno);
    if (!S_ISDIR(facts.st_mode)) Fail("Cannot create the settings folder", folder, ENOTDIR);
    if ((facts.st_mode & 077) != 0 && facts.st_uid == ::getuid())
        (void)::chmod(folder.c_str(), kFolderMode);
}

// The exclusive lock of writers, held for the life of the object. flock() belongs to the open
// file, so it also keeps two threads of one process apart, and it is dropped if we die.
class WriterLock {
public:
    explicit WriterLock(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, kFileMode);
        if (fd_ < 0) Fail("Cannot open the lock file", path, errno);
        const auto giveUp = std::chrono::steady_clock::now() + kLockPatience;
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            if (error == EINTR) continue;
            if (error != EWOULDBLOCK || std::chrono::steady_clock::now() > giveUp) {
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
    int error = EEXIST;
    for (int n = 1; n < 1000; ++n) {
        const std::string target = n == 1 ? base : base + "-" + std::to_string(n);
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
            return;
        error = errno;
        if (error == EEXIST) continue;
        if (error != EINVAL) break;
        // This file system cannot refuse to replace; under our lock, looking first does as well.
        struct stat facts;
        if (::lstat(target.c_str(), &facts) == 0) continue;
        if (::rename(path.c_str(), target.c_str()) == 0) return;
        error = errno;
        break;
    }
    Fail("Cannot set aside the damaged settings file", path, error);
}

// The replace keeps the mode of the file it replaces, so a new settings file is first created
// empty with mode 0600, and an existing one is made 0600. True when the file was created here.
bool PrepareMode(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    struct stat facts;
    if (::stat(path.c_str(), &facts) == 0 && (facts.st_mode & 07777) != kFileMode)
        (void)::chmod(path.c_str(), kFileMode);
    return false;
}

}  // namespace

RegistryKey RegistryFile::Load() const {
    RegistryKey root;
    std::string text;
    const FileState state = ReadSettings(path_, root, text).state;
    if (state == FileState::Parsed) return root;
    if (state == FileState::Damaged) {
        try {
            const WriterLock lock(LockPathOf(path_));
            // A writer may have replaced it with a good one meanwhile.
            RegistryKey again;
            const FileState now = ReadSettings(path_, again, text).state;
            if (now == FileState::Parsed) return again;
            if (now == FileState::Damaged) SetAside(path_);
        } catch (const ERegistryException&) {
            // Reads give the callers' defaults all the same; the next write tries again.
        }
    }
    return RegistryKey();
}

RegistryKey RegistryFile::Update(const std::function<void(RegistryKey&)>& change) const {
    EnsureSettingsFolder(FolderOf(path_));
    const WriterLock lock(LockPathOf(path_));
    RegistryKey root;
    std::string oldText;
    const auto [state, readError] = ReadSettings(path_, root, oldText);
    if (state == FileState::Unreadable) Fail("Cannot read the settings file", path_, readError);
    if (state != FileState::Parsed) {
        if (state == FileState::Damaged) SetAside(path_);
        root = RegistryKey();
        oldText.clear();
    }
    change(root);
    const std::string text = WriteRegistryText(root);
    if (text.size() > kMaxSettingsFileBytes)
        throw ERegistryException("The settings would not fit in " + path_ + ": too large");
    const bool created = PrepareMode(path_);
    if (state == FileState::Parsed && text == oldText) return root;
    try {
        ReplaceFileAtomically(path_, text);
    } catch (const EFileError& e) {
        if (created) ::unlink(path_.c_str());
        throw ERegistryException(e.Message());
    }
    return root;
}

}  // namespace rv
