#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry/registry_error.h"
#include "platform/registry/registry_key.h"
#include "platform/registry/registry_roots.h"
#include "platform/registry/registry_session.h"

namespace rv {

// Access rights: with KEY_SET_VALUE a key may be written and created, without it only read.
inline constexpr std::uint32_t KEY_SET_VALUE = 0x0002;
inline constexpr std::uint32_t KEY_READ = 0x20019;
inline constexpr std::uint32_t KEY_WRITE = 0x20006;
inline constexpr std::uint32_t KEY_ALL_ACCESS = 0xF003F;

// The registry, one key at a time: the current user's root, or another root set by SetRootKey
// (each root is a settings file of its own, settings_location.h; a value that names no root
// opens nothing).
//
// Key paths separate names with "\"; a path starting with "\" starts at the root key, any other
// path is taken relative to the open key (or the root when none is open). Key and value names
// compare without regard to letter case, in any script, and keep the spelling first written. Values
// are text; integers are kept in decimal and Booleans as "1" and "0".
//
// Changes are written when the key is closed: CloseKey(), opening another key, changing the root
// key or destroying the object writes all changes made since the key was opened in one atomic
// replace of the settings file. A DeleteKey() made while no key is open is written at once.
class TRegistry {
public:
    TRegistry() : TRegistry(KEY_ALL_ACCESS) {}
    explicit TRegistry(std::uint32_t access) : access_(access) {}
    // Writes what is waiting; a failure is dropped here (CloseKey() reports it).
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return rootKey_; }
    // Closes the open key first (see CloseKey).
    void SetRootKey(HKEY root);

    // Closes the open key (see CloseKey) and opens this one; with `canCreate` a missing key is
    // created, with every key on its way (only with write access). False when it is missing and
    // not created, or the path is invalid.
    bool OpenKey(const std::string& key, bool canCreate);
    // Opens an existing key for reading; never creates anything.
    bool OpenKeyReadOnly(const std::string& key);
    // Writes the changes made since the key was opened and closes it. ERegistryException when
    // they cannot be written (they are then lost).
    void CloseKey();

    // Reads on the open key; with no key open there is nothing to read.
    bool ValueExists(const std::string& name);
    // Value and sub-key names of the open key, in the order they were created.
    std::vector<std::string> GetValueNames();
    std::vector<std::string> GetKeyNames();
    // The value's text; empty when it is missing.
    std::string ReadString(const std::string& name);
    // ERegistryException when the value is missing or is not a decimal integer.
    int ReadInteger(const std::string& name);
    // ReadInteger() != 0.
    bool ReadBool(const std::string& name);

    // Writes on the open key: ERegistryException when no key is open for writing or the name or
    // text is longer than the registry holds.
    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int value);
    void WriteBool(const std::string& name, bool value);
    // False when the value is missing or the key is not open for writing.
    bool DeleteValue(const std::string& name);
    // Deletes the key with all its sub-keys and values; false when it is missing, the text is
    // empty (it would name the open key), the path is invalid or there is no write access.
    bool DeleteKey(const std::string& key);

private:
    bool Open(const std::string& key, bool canCreate, bool forWrite);
    const RegistryKey* Current();
    void RequireWritable(const std::string& name) const;

    RegistrySession session_;
    HKEY rootKey_ = HKEY_CURRENT_USER;
    std::uint32_t access_;
    bool open_ = false;
    bool writable_ = false;
    KeyPath current_;
};

// Decimal text as an int: optional blanks, an optional sign, digits, nothing after. False when
// the text is no such number or does not fit.
bool ParseRegistryInteger(const std::string& text, int& value);

}  // namespace rv
