#include "platform/registry/registry_ini_file.h"

#include "platform/registry/key_path.h"

namespace rv {

TRegistryIniFile::TRegistryIniFile(const std::string& fileName, std::uint32_t access)
    : fileName_(fileName), writable_((access & KEY_SET_VALUE) != 0) {
    valid_ = ResolveKeyPath(fileName, {}, base_);
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

int TRegistryIniFile::ReadInteger(const std::string& section, const std::string& ident,
                                  int defaultValue) {
    const RegistryValue* value = Value(section, ident);
    int number = 0;
    return value && ParseRegistryInteger(value->data, number) ? number : defaultValue;
}

bool TRegistryIniFile::ReadBool(const std::string& section, const std::string& ident,
                                bool defaultValue) {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
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

void TRegistryIniFile::WriteInteger(const std::string& section, const std::string& ident,
                                    int value) {
    WriteString(section, ident, std::to_string(value));
}

void TRegistryIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
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
