#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/registry_file.h"
#include "platform/registry/registry_key.h"

namespace rv {

// What one registry object sees: the settings as last read with its own changes on top. The
// settings read are shared with every other object that read the same file; the first change
// makes a copy of its own. The changes are also kept as a list, which Commit() replays onto the
// file's newest content in one atomic replace, so that values another copy of the program wrote
// meanwhile stay.
class RegistrySession {
public:
    // The session reads and writes SettingsFilePath(root), as found now.
    explicit RegistrySession(HKEY root = HKEY_CURRENT_USER);
    // The session reads and writes the file at `path` (none when empty) in `format`.
    RegistrySession(std::string path, SettingsFormat format);
    RegistrySession(const RegistrySession&) = delete;
    RegistrySession& operator=(const RegistrySession&) = delete;

    // Reads the file again, unless changes are waiting to be written.
    void Reload();
    // From now on the file of another root; changes still waiting are dropped.
    void SetRoot(HKEY root);
    // Whether there is a file to read and write.
    bool HasFile() const { return !path_.empty(); }

    const RegistryKey* FindKey(const KeyPath& path);
    void CreateKey(const KeyPath& path);
    void SetValue(const KeyPath& key, std::string_view name, std::string data);
    bool DeleteValue(const KeyPath& key, std::string_view name);
    bool DeleteKey(const KeyPath& path);

    // Writes the waiting changes; ERegistryException when they cannot be written (they are then
    // dropped, and the next read shows the file as it is).
    void Commit();
    // The same for destructors: a failure is dropped.
    void CommitQuietly() noexcept;

private:
    enum class Kind { CreateKey, SetValue, DeleteValue, DeleteKey };
    struct Change {
        Kind kind;
        KeyPath key;
        std::string name;
        std::string data;
    };

    static bool Apply(RegistryKey& root, const Change& change);
    const RegistryKey& View();
    bool Record(Change change);

    std::string path_;
    SettingsFormat format_;
    std::shared_ptr<const RegistryKey> read_;  // the file as read; null until it is
    std::unique_ptr<RegistryKey> own_;         // read_ with the changes, once there are any
    std::vector<Change> changes_;
};

}  // namespace rv
