#include "platform/registry/registry.h"

#include <charconv>

#include "platform/registry/key_path.h"

namespace rv {

bool ParseRegistryInteger(const std::string& text, int& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    while (first != last && *first == ' ') ++first;
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-') ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last;
}

TRegistry::~TRegistry() {
    open_ = false;
    session_.CommitQuietly();
}

void TRegistry::SetRootKey(HKEY root) {
    CloseKey();
    rootKey_ = root;
    session_.SetRoot(root);
}

bool TRegistry::Open(const std::string& key, bool canCreate, bool forWrite) {
    KeyPath path;
    if (!ResolveKeyPath(key, open_ ? current_ : KeyPath(), path)) return false;
    CloseKey();
    if (RootKeyName(rootKey_).empty()) return false;
    session_.Reload();
    if (!session_.FindKey(path)) {
        if (!canCreate || !forWrite) return false;
        session_.CreateKey(path);
    }
    open_ = true;
    writable_ = forWrite;
    current_ = std::move(path);
    return true;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    return Open(key, canCreate, (access_ & KEY_SET_VALUE) != 0);
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    return Open(key, false, false);
}

void TRegistry::CloseKey() {
    open_ = false;
    writable_ = false;
    current_.clear();
    session_.Commit();
}

const RegistryKey* TRegistry::Current() {
    return open_ ? session_.FindKey(current_) : nullptr;
}

bool TRegistry::ValueExists(const std::string& name) {
    const RegistryKey* key = Current();
    return key && key->FindValue(name);
}

std::vector<std::string> TRegistry::GetValueNames() {
    std::vector<std::string> names;
    if (const RegistryKey* key = Current())
        for (const auto& value : key->Values()) names.push_back(value.name);
    return names;
}

std::vector<std::string> TRegistry::GetKeyNames() {
    std::vector<std::string> names;
    if (const RegistryKey* key = Current())
        for (const auto& sub : key->SubKeys()) names.push_back(sub->Name());
    return names;
}

std::string TRegistry::ReadString(const std::string& name) {
    const RegistryKey* key = Current();
    const RegistryValue* value = key ? key->FindValue(name) : nullptr;
    return value ? value->data : std::string();
}

int TRegistry::ReadInteger(const std::string& name) {
    if (!ValueExists(name)) throw ERegistryException("Failed to get data for " + QuoteName(name));
    int number = 0;
    if (!ParseRegistryInteger(ReadString(name), number))
        throw ERegistryException("Invalid data type for " + QuoteName(name));
    return number;
}

bool TRegistry::ReadBool(const std::string& name) {
    return ReadInteger(name) != 0;
}

void TRegistry::RequireWritable(const std::string& name) const {
    if (!open_ || !writable_ || name.size() > kMaxValueNameBytes)
        throw ERegistryException("Failed to set data for " + QuoteName(name));
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    RequireWritable(name);
    if (value.size() > kMaxValueBytes)
        throw ERegistryException("Failed to set data for " + QuoteName(name) +
                                 ": the text is too long");
    session_.SetValue(current_, name, value);
}

void TRegistry::WriteInteger(const std::string& name, int value) {
    WriteString(name, std::to_string(value));
}

void TRegistry::WriteBool(const std::string& name, bool value) {
    WriteString(name, value ? "1" : "0");
}

bool TRegistry::DeleteValue(const std::string& name) {
    return open_ && writable_ && session_.DeleteValue(current_, name);
}

bool TRegistry::DeleteKey(const std::string& key) {
    KeyPath path;
    // An empty text would name the open key, which is not deleted by accident.
    if (key.empty() || RootKeyName(rootKey_).empty() || (access_ & KEY_SET_VALUE) == 0 ||
        !ResolveKeyPath(key, open_ ? current_ : KeyPath(), path) || path.empty())
        return false;
    if (!open_) session_.Reload();
    const bool deleted = session_.DeleteKey(path);
    if (deleted && !open_) session_.Commit();
    return deleted;
}

}  // namespace rv
