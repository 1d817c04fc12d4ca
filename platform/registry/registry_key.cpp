#include "platform/registry/registry_key.h"

#include "platform/text/ascii_case.h"

namespace rv {

namespace {

template <class Items, class NameOf>
void Reindex(const Items& items, std::unordered_map<std::string, std::size_t>& index,
             NameOf nameOf) {
    index.clear();
    for (std::size_t i = 0; i < items.size(); ++i) index.emplace(UpperCase(nameOf(items[i])), i);
}

}  // namespace

const RegistryValue* RegistryKey::FindValue(std::string_view name) const {
    const auto it = valueIndex_.find(UpperCase(name));
    return it == valueIndex_.end() ? nullptr : &values_[it->second];
}

void RegistryKey::SetValue(std::string_view name, std::string data) {
    const auto [it, added] = valueIndex_.emplace(UpperCase(name), values_.size());
    if (added)
        values_.push_back({std::string(name), std::move(data)});
    else
        values_[it->second].data = std::move(data);
}

bool RegistryKey::DeleteValue(std::string_view name) {
    const auto it = valueIndex_.find(UpperCase(name));
    if (it == valueIndex_.end()) return false;
    values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(it->second));
    Reindex(values_, valueIndex_, [](const RegistryValue& v) { return v.name; });
    return true;
}

RegistryKey* RegistryKey::FindSubKey(std::string_view name) const {
    const auto it = subKeyIndex_.find(UpperCase(name));
    return it == subKeyIndex_.end() ? nullptr : subKeys_[it->second].get();
}

RegistryKey& RegistryKey::SubKey(std::string_view name) {
    const auto [it, added] = subKeyIndex_.emplace(UpperCase(name), subKeys_.size());
    if (added) subKeys_.push_back(std::make_unique<RegistryKey>(std::string(name)));
    return *subKeys_[it->second];
}

bool RegistryKey::DeleteSubKey(std::string_view name) {
    const auto it = subKeyIndex_.find(UpperCase(name));
    if (it == subKeyIndex_.end()) return false;
    subKeys_.erase(subKeys_.begin() + static_cast<std::ptrdiff_t>(it->second));
    Reindex(subKeys_, subKeyIndex_, [](const auto& k) { return k->Name(); });
    return true;
}

const RegistryKey* RegistryKey::Find(const KeyPath& path) const {
    const RegistryKey* key = this;
    for (const auto& name : path) {
        key = key->FindSubKey(name);
        if (!key) return nullptr;
    }
    return key;
}

RegistryKey* RegistryKey::Find(const KeyPath& path) {
    return const_cast<RegistryKey*>(static_cast<const RegistryKey*>(this)->Find(path));
}

RegistryKey& RegistryKey::Create(const KeyPath& path) {
    RegistryKey* key = this;
    for (const auto& name : path) key = &key->SubKey(name);
    return *key;
}

}  // namespace rv
