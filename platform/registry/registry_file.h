#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry/registry_key.h"

namespace rv {

// The settings file on disk (folder 0700, file 0600: it holds a coded password).
//
// Reading takes no lock: the file is only ever replaced whole, so a reader sees the last whole
// file. What was parsed is kept, for this process, while the file's identity, size and times stay
// the same (once the file is two seconds old: changes within one tick of the file system's clock
// leave the same times). Every change runs under an exclusive lock on a lock file beside it: the
// file is read again, the change is applied to what it holds now and the result replaces it
// atomically, so two copies of the program never drop each other's values. A file that cannot be
// parsed is renamed aside with the suffix ".damaged-<date>-<time>" and never overwritten.
class RegistryFile {
public:
    explicit RegistryFile(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    // What the file holds now. Missing or unreadable, it reads as empty; damaged, it reads as
    // empty and is set aside at once unless a writer holds the lock just then (the next read or
    // write tries again).
    std::shared_ptr<const RegistryKey> Load() const;

    // Applies `change` to what the file holds now and writes the result, when it differs, in one
    // atomic replace. Returns the tree as written. Raises ERegistryException, having written
    // nothing, when the file cannot be read, locked or written or the result would pass the
    // limits of a file.
    std::shared_ptr<const RegistryKey> Update(
        const std::function<void(RegistryKey&)>& change) const;

private:
    void TrySetAside() const;

    std::string path_;
};

// The full names of the copies of damaged settings files that this process has set aside since
// the last call, each given once, so that the program can tell the user where the old settings
// went (e.g. "The settings file could not be read; it was kept as <name> and the defaults are
// used.").
std::vector<std::string> TakeSetAsideSettingsFiles();

}  // namespace rv
