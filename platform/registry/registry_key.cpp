#include "platform/registry/registry_key.h"

#include "platform/registry/name_fold.h"

namespace rv {

namespace {

template <class Items, class NameOf>
void Reindex(const Items& items, std::unordered_map<std::string, std::size_t>& index,
             NameOf nameOf) {
    index.clear();
    for (std::size_t i = 0; i < items.size(); ++i) index.emplace(FoldName(nameOf(items[i])), i);
}

}  // namespace

RegistryKey RegistryKey::Clone() const {
    RegistryKey copy(name_);
    copy.values_ = values_;
    copy.valueIndex_ = valueIndex_;
    copy.subKeyIndex_ = subKeyIndex_;
    copy.subKeys_.reserve(subKeys_.size());
    for (const auto& sub : subKeys_)
        copy.subKeys_.push_back(std::make_unique<RegistryKey>(sub->Clone()));
    return copy;
}

const RegistryValue* RegistryKey::FindValue(std::string_view name) const {
    const auto it = valueIndex_.find(FoldName(name));
    return it == valueIndex_.end() ? nullptr : &values_[it->second];
}

bool RegistryKey::SetValue(std::string_view name, std::string data) {
    const auto [it, added] = valueIndex_.emplace(FoldName(name), values_.size());
    if (added)
        values_.push_back({std::string(name), std::move(data)});
    else
        values_[it->second].data = std::move(data);
    return added;
}

bool RegistryKey::DeleteValue(std::string_view name) {
    const auto it = valueIndex_.find(FoldName(name));
    if (it == valueIndex_.end()) return false;
    values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(it->second));
    Reindex(values_, valueIndex_, [](const RegistryValue& v) { return v.name; });
    return true;
}

RegistryKey* RegistryKey::FindSubKey(std::string_view name) const {
    const auto it = subKeyIndex_.find(FoldName(name));
    return it == subKeyIndex_.end() ? nullptr : subKeys_[it->second].get();
}

RegistryKey& RegistryKey::SubKey(std::string_view name, std::size_t* created) {
    const auto [it, added] = subKeyIndex_.emplace(FoldName(name), subKeys_.size());
    if (added) {
        subKeys_.push_back(std::make_unique<RegistryKey>(std::string(name)));
        if (created) ++*created;
    }
    return *subKeys_[it->second];
}

bool RegistryKey::DeleteSubKey(std::string_view name) {
    const auto it = subKeyIndex_.find(FoldName(name));
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

RegistryKey& RegistryKey::Create(const KeyPath& path, std::size_t* created) {
    RegistryKey* key = this;
    for (const auto& name : path) key = &key->SubKey(name, created);
    return *key;
}

void RegistryKey::Count(std::size_t& keys, std::size_t& values) const {
    values += values_.size();
    keys += subKeys_.size();
    for (const auto& sub : subKeys_) sub->Count(keys, values);
}

}  // namespace rv
