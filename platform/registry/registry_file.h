#pragma once

#include <functional>
#include <string>

#include "platform/registry/registry_key.h"

namespace rv {

// The settings file on disk (folder 0700, file 0600: it holds a coded password).
//
// Reading takes no lock. Every change runs under an exclusive lock on a lock file beside it:
// the file is read again, the change is applied to what it holds now and the result replaces it
// atomically, so two copies of the program never drop each other's values. A file that cannot
// be parsed is renamed aside with the suffix ".damaged-<date>-<time>" and never overwritten.
class RegistryFile {
public:
    explicit RegistryFile(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    // What the file holds now. Missing or unreadable, it reads as empty; damaged, it is set aside
    // first (when the lock can be had) and reads as empty.
    RegistryKey Load() const;

    // Applies `change` to what the file holds now and writes the result, when it differs, in one
    // atomic replace. Returns the tree as written. Raises ERegistryException, having written
    // nothing, when the file cannot be read, locked or written or the result would be too large.
    RegistryKey Update(const std::function<void(RegistryKey&)>& change) const;

private:
    std::string path_;
};

}  // namespace rv
