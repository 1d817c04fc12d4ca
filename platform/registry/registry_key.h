#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rv {

// Limits that keep one settings file, and anything read from it, small: a file past any of them
// is damaged, and a change that would pass one is not written.
inline constexpr std::size_t kMaxKeyNameChars = 255;
inline constexpr std::size_t kMaxKeyDepth = 512;
inline constexpr std::size_t kMaxValueNameBytes = 16383;
inline constexpr std::size_t kMaxValueBytes = 64 * 1024;
inline constexpr std::size_t kMaxKeysPerFile = 16384;
inline constexpr std::size_t kMaxValuesPerFile = 65536;

struct RegistryValue {
    std::string name;
    std::string data;
};

// A key path from the root, one name per level.
using KeyPath = std::vector<std::string>;

// One key of the settings tree: named text values and sub-keys, each kept in the order it was
// first created. Names compare without regard to letter case, in any script (Unicode case
// folding), and keep the spelling they were first written with.
class RegistryKey {
public:
    explicit RegistryKey(std::string name = {}) : name_(std::move(name)) {}
    RegistryKey(RegistryKey&&) = default;
    RegistryKey& operator=(RegistryKey&&) = default;

    // A deep copy, for a writer to change while readers keep the original.
    RegistryKey Clone() const;

    const std::string& Name() const { return name_; }

    const std::vector<RegistryValue>& Values() const { return values_; }
    const RegistryValue* FindValue(std::string_view name) const;
    // Sets a value, adding it at the end when it is new; true when it was added.
    bool SetValue(std::string_view name, std::string data);
    bool DeleteValue(std::string_view name);

    const std::vector<std::unique_ptr<RegistryKey>>& SubKeys() const { return subKeys_; }
    bool DeleteSubKey(std::string_view name);

    // The key at `path` below this one; null when a key on the way is missing.
    const RegistryKey* Find(const KeyPath& path) const;
    RegistryKey* Find(const KeyPath& path);
    // The key at `path`, created with every missing key on the way; `created` counts them.
    RegistryKey& Create(const KeyPath& path, std::size_t* created = nullptr);

    // The keys below this one (all levels) and the values of this key and all below it.
    void Count(std::size_t& keys, std::size_t& values) const;

private:
    RegistryKey* FindSubKey(std::string_view name) const;
    RegistryKey& SubKey(std::string_view name, std::size_t* created);

    std::string name_;
    std::vector<RegistryValue> values_;
    std::vector<std::unique_ptr<RegistryKey>> subKeys_;
    // Folded name -> position, so that a key with many entries stays quick to fill.
    std::unordered_map<std::string, std::size_t> valueIndex_;
    std::unordered_map<std::string, std::size_t> subKeyIndex_;
};

}  // namespace rv
