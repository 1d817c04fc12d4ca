#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry/custom_ini_file.h"
#include "platform/registry/registry.h"

namespace rv {

// The registry seen as an INI file: `fileName` is a key path under the root key `root` and each
// section a sub-key of it ("" is the key itself; a section may hold "\" to reach deeper keys).
// All values are text: integers in decimal, Booleans "1" and "0".
//
// Opened with write access (KEY_SET_VALUE, as in the default KEY_ALL_ACCESS) the key is created;
// opened with KEY_READ nothing is ever created and writes raise ERegistryException. Every change
// made through one object is written in one atomic replace of the root's settings file, by
// UpdateFile() or at the latest when the object is destroyed.
class TRegistryIniFile : public TCustomIniFile {
public:
    explicit TRegistryIniFile(const std::string& fileName, std::uint32_t access = KEY_ALL_ACCESS,
                              HKEY root = HKEY_CURRENT_USER);
    // Writes what is waiting; a failure is dropped here (UpdateFile() reports it).
    ~TRegistryIniFile() override;
    TRegistryIniFile(const TRegistryIniFile&) = delete;
    TRegistryIniFile& operator=(const TRegistryIniFile&) = delete;

    const std::string& FileName() const { return fileName_; }
    HKEY RootKey() const { return root_; }

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) override;
    std::vector<std::string> ReadSection(const std::string& section) override;

    // Creates the section when missing. ERegistryException without write access, for an invalid
    // section or when the name or text is longer than the registry holds.
    void WriteString(const std::string& section, const std::string& ident,
                     const std::string& value) override;
    // Deletes the section with its values and sub-keys; nothing for a missing or empty section
    // name or without write access.
    void EraseSection(const std::string& section) override;

    // Writes the changes made so far; ERegistryException when they cannot be written.
    void UpdateFile() override;

private:
    const RegistryKey* Section(const std::string& section);
    const RegistryValue* Value(const std::string& section, const std::string& ident);

    std::string fileName_;
    HKEY root_;
    bool writable_;
    bool valid_ = false;
    KeyPath base_;
    RegistrySession session_;
};

}  // namespace rv
