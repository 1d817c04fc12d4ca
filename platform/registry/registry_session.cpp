#include "platform/registry/registry_session.h"

#include "platform/registry/registry_error.h"
#include "platform/registry/registry_file.h"
#include "platform/registry/settings_location.h"

namespace rv {

RegistrySession::RegistrySession(HKEY root)
    : path_(SettingsFilePath(root)), format_(RegistryFormat(root)) {}

RegistrySession::RegistrySession(std::string path, SettingsFormat format)
    : path_(std::move(path)), format_(std::move(format)) {}

void RegistrySession::SetRoot(HKEY root) {
    changes_.clear();
    read_.reset();
    own_.reset();
    path_ = SettingsFilePath(root);
    format_ = RegistryFormat(root);
}

const RegistryKey& RegistrySession::View() {
    if (own_) return *own_;
    if (!read_) {
        read_ = path_.empty() ? std::make_shared<const RegistryKey>()
                              : RegistryFile(path_, format_).Load();
    }
    return *read_;
}

void RegistrySession::Reload() {
    if (!changes_.empty()) return;
    read_.reset();
    own_.reset();
}

const RegistryKey* RegistrySession::FindKey(const KeyPath& path) {
    return View().Find(path);
}

bool RegistrySession::Apply(RegistryKey& root, const Change& change) {
    switch (change.kind) {
        case Kind::CreateKey:
            root.Create(change.key);
            return true;
        case Kind::SetValue:
            root.Create(change.key).SetValue(change.name, change.data);
            return true;
        case Kind::DeleteValue: {
            RegistryKey* key = root.Find(change.key);
            return key && key->DeleteValue(change.name);
        }
        case Kind::DeleteKey: {
            if (change.key.empty()) return false;
            RegistryKey* parent = root.Find(KeyPath(change.key.begin(), change.key.end() - 1));
            return parent && parent->DeleteSubKey(change.key.back());
        }
    }
    return false;
}

// Applies a change to what this session sees; only a change that did something is replayed, so
// that deleting what was never seen here cannot remove what another writer just added.
bool RegistrySession::Record(Change change) {
    if (!own_) own_ = std::make_unique<RegistryKey>(View().Clone());
    if (!Apply(*own_, change)) return false;
    changes_.push_back(std::move(change));
    return true;
}

void RegistrySession::CreateKey(const KeyPath& path) {
    if (!FindKey(path)) Record({Kind::CreateKey, path, {}, {}});
}

void RegistrySession::SetValue(const KeyPath& key, std::string_view name, std::string data) {
    Record({Kind::SetValue, key, std::string(name), std::move(data)});
}

bool RegistrySession::DeleteValue(const KeyPath& key, std::string_view name) {
    return Record({Kind::DeleteValue, key, std::string(name), {}});
}

bool RegistrySession::DeleteKey(const KeyPath& path) {
    return Record({Kind::DeleteKey, path, {}, {}});
}

void RegistrySession::Commit() {
    if (changes_.empty()) return;
    std::vector<Change> changes;
    changes.swap(changes_);
    read_.reset();
    own_.reset();
    if (path_.empty())
        throw ERegistryException(
            "Cannot save the settings: neither XDG_CONFIG_HOME nor HOME names a folder");
    read_ = RegistryFile(path_, format_).Update([&](RegistryKey& root) {
        for (const auto& change : changes) Apply(root, change);
    });
}

void RegistrySession::CommitQuietly() noexcept {
    try {
        Commit();
    } catch (...) {
        // Nobody left to tell.
    }
}

}  // namespace rv
