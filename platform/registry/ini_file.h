#pragma once

#include <string>
#include <vector>

#include "platform/registry/custom_ini_file.h"
#include "platform/registry/registry_error.h"
#include "platform/registry/registry_session.h"

namespace rv {

// An INI file of named text values in sections, read and written as the system's profile
// functions do, kept in a file of its own (IniFilePath: a name without a folder lies in the
// program's settings folder).
//
// A stored value is read without the blanks around it and without one pair of quotes (double or
// single) that encloses it whole, so "'x'" reads x. A value written with blanks at either end is
// written enclosed in double quotes, so that it reads back as it was; a value that is itself
// enclosed in quotes loses them when read back, as with the system's functions (callers that
// keep such values wrap them in a further pair).
//
// Sections and names compare without regard to letter case. Every change made through one
// object is written in one atomic replace of the file, by UpdateFile() or at the latest when the
// object is destroyed; the rest of the file - other sections, comments - stays as it was.
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const std::string& fileName);
    // Writes what is waiting; a failure is dropped here (UpdateFile() reports it).
    ~TIniFile() override;
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    // The full name of the file.
    const std::string& FileName() const { return path_; }

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) override;
    std::vector<std::string> ReadSection(const std::string& section) override;

    // Creates the section when missing. ERegistryException for what an INI file cannot hold: an
    // empty section or name, blanks at either end of one, a "]" in a section's name, a "=" in a
    // value's name or a name starting with "[" or ";", control characters in either, a line
    // break in the value, bytes that are not UTF-8 in any of them; and when the name or text is
    // longer than a settings file holds.
    void WriteString(const std::string& section, const std::string& ident,
                     const std::string& value) override;
    void EraseSection(const std::string& section) override;

    // Writes the changes made so far; ERegistryException when they cannot be written.
    void UpdateFile() override;

private:
    const RegistryKey* Section(const std::string& section);

    std::string path_;
    RegistrySession session_;
};

// How TIniFile keeps its text (ini_text.h).
SettingsFormat IniFormat();

}  // namespace rv
