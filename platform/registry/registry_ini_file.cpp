#include "platform/registry/registry_ini_file.h"

#include "platform/registry/key_path.h"

namespace rv {

TRegistryIniFile::TRegistryIniFile(const std::string& fileName, std::uint32_t access, HKEY root)
    : fileName_(fileName), root_(root), writable_((access & KEY_SET_VALUE) != 0), session_(root) {
    valid_ = !RootKeyName(root).empty() && ResolveKeyPath(fileName, {}, base_);
    if (valid_ && writable_) session_.CreateKey(base_);
}

TRegistryIniFile::~TRegistryIniFile() {
    session_.CommitQuietly();
}

const RegistryKey* TRegistryIniFile::Section(const std::string& section) {
    KeyPath path;
    if (!valid_ || !ResolveKeyPath(section, base_, path)) return nullptr;
    return session_.FindKey(path);
}

const RegistryValue* TRegistryIniFile::Value(const std::string& section, const std::string& ident) {
    const RegistryKey* key = Section(section);
    return key ? key->FindValue(ident) : nullptr;
}

std::string TRegistryIniFile::ReadString(const std::string& section, const std::string& ident,
                                         const std::string& defaultValue) {
    const RegistryValue* value = Value(section, ident);
    return value ? value->data : defaultValue;
}

std::vector<std::string> TRegistryIniFile::ReadSection(const std::string& section) {
    std::vector<std::string> names;
    if (const RegistryKey* key = Section(section))
        for (const auto& value : key->Values()) names.push_back(value.name);
    return names;
}

void TRegistryIniFile::WriteString(const std::string& section, const std::string& ident,
                                   const std::string& value) {
    KeyPath path;
    if (!writable_ || !valid_ || !ResolveKeyPath(section, base_, path) ||
        ident.size() > kMaxValueNameBytes || value.size() > kMaxValueBytes)
        throw ERegistryException("Failed to set data for " + QuoteName(ident));
    session_.SetValue(path, ident, value);
}

void TRegistryIniFile::EraseSection(const std::string& section) {
    KeyPath path;
    // An empty name would be the file's own key, which the adapter does not delete.
    if (writable_ && valid_ && !section.empty() && ResolveKeyPath(section, base_, path))
        session_.DeleteKey(path);
}

void TRegistryIniFile::UpdateFile() {
    session_.Commit();
}

}  // namespace rv
