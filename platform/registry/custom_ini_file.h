#pragma once

#include <string>
#include <vector>

namespace rv {

// A store of named text values in sections: the registry seen as an INI file
// (TRegistryIniFile) or an INI file itself (TIniFile). Integers are kept in decimal, Booleans as
// "1" and "0".
class TCustomIniFile {
public:
    virtual ~TCustomIniFile() = default;

    // The stored text, or `defaultValue` when the value (or its section) is missing.
    virtual std::string ReadString(const std::string& section, const std::string& ident,
                                   const std::string& defaultValue) = 0;
    // `defaultValue` also when the stored text is not a decimal integer.
    int ReadInteger(const std::string& section, const std::string& ident, int defaultValue);
    // ReadInteger(section, ident, defaultValue ? 1 : 0) != 0.
    bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue);
    // Names of the section's values, in the order they were created.
    virtual std::vector<std::string> ReadSection(const std::string& section) = 0;

    virtual void WriteString(const std::string& section, const std::string& ident,
                             const std::string& value) = 0;
    void WriteInteger(const std::string& section, const std::string& ident, int value);
    void WriteBool(const std::string& section, const std::string& ident, bool value);
    // Deletes the section with its values; nothing for a missing or empty section name.
    virtual void EraseSection(const std::string& section) = 0;

    // Writes the changes made so far.
    virtual void UpdateFile() = 0;
};

}  // namespace rv
