#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/registry_key.h"
#include "platform/registry/registry_roots.h"

namespace rv {

// How a settings file's text holds the tree, and how its folder and file are kept.
struct SettingsFormat {
    // Reads the text into an empty tree; false, with the reason in `error`, for a text that
    // cannot be taken whole (the file is then damaged).
    std::function<bool(std::string_view text, RegistryKey& root, std::string& error)> Read;
    std::function<std::string(const RegistryKey& root)> Write;
    // The program's own settings: the folder is kept at mode 0700 and the file at 0600.
    // Otherwise missing folders are made 0700 and a new file 0600, and existing ones keep their
    // modes.
    bool Private = true;
};

// The registry's text (registry_text.h) of a root key.
SettingsFormat RegistryFormat(HKEY root = HKEY_CURRENT_USER);

// A settings file on disk (folder 0700, file 0600: it holds a coded password).
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
    explicit RegistryFile(std::string path, SettingsFormat format = RegistryFormat())
        : path_(std::move(path)), format_(std::move(format)) {}

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
    SettingsFormat format_;
};

// The full names of the copies of damaged settings files that this process has set aside since
// the last call, each given once, so that the program can tell the user where the old settings
// went (e.g. "The settings file could not be read; it was kept as <name> and the defaults are
// used.").
std::vector<std::string> TakeSetAsideSettingsFiles();

}  // namespace rv
