#include "platform/registry/ini_file.h"

#include <algorithm>

#include "platform/registry/ini_text.h"
#include "platform/registry/settings_lines.h"
#include "platform/registry/settings_location.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

bool HasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// A section's or a name's text that reads back as it was written.
bool IsPlainName(std::string_view name) {
    return !name.empty() && !IsLineBlank(name.front()) && !IsLineBlank(name.back()) &&
           !HasControl(name);
}

[[noreturn]] void Refuse(const std::string& ident, const char* why) {
    std::string message = "Failed to set data for ";
    message += QuoteName(ident);
    message += ": ";
    message += why;
    throw ERegistryException(message);
}

}  // namespace

SettingsFormat IniFormat() {
    SettingsFormat format;
    format.Read = ReadIniText;
    format.Write = WriteIniText;
    format.Private = false;
    return format;
}

TIniFile::TIniFile(const std::string& fileName)
    : path_(IniFilePath(fileName)), session_(path_, IniFormat()) {}

TIniFile::~TIniFile() {
    session_.CommitQuietly();
}

const RegistryKey* TIniFile::Section(const std::string& section) {
    return section.empty() ? nullptr : session_.FindKey({section});
}

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue) {
    const RegistryKey* key = Section(section);
    const RegistryValue* value = key && !IsKeptIniLine(ident) ? key->FindValue(ident) : nullptr;
    if (!value) return defaultValue;
    const std::string& text = value->data;
    const bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                        text.back() == text.front();
    return quoted ? text.substr(1, text.size() - 2) : text;
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) {
    std::vector<std::string> names;
    if (const RegistryKey* key = Section(section))
        for (const auto& value : key->Values())
            if (!IsKeptIniLine(value.name)) names.push_back(value.name);
    return names;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident,
                           const std::string& value) {
    if (!IsPlainName(section) || section.find(']') != std::string::npos)
        Refuse(ident, "an INI file cannot hold the section's name");
    if (!IsPlainName(ident) || ident.find('=') != std::string::npos || ident.starts_with('[') ||
        ident.starts_with(';'))
        Refuse(ident, "an INI file cannot hold the name");
    if (value.find_first_of("\r\n") != std::string::npos)
        Refuse(ident, "an INI file cannot hold a line break in a value");
    // The whole file would be refused when read.
    if (!IsValidUtf8(section) || !IsValidUtf8(ident) || !IsValidUtf8(value))
        Refuse(ident, "an INI file holds only UTF-8 text");
    if (section.size() > kMaxValueNameBytes || ident.size() > kMaxValueNameBytes ||
        value.size() + 2 > kMaxValueBytes)
        Refuse(ident, "the text is too long");
    // Blanks at either end would be lost when read; within quotes they stay.
    const bool guard = !value.empty() && (IsLineBlank(value.front()) || IsLineBlank(value.back()));
    std::string text;
    if (guard) text += '"';
    text += value;
    if (guard) text += '"';
    session_.SetValue({section}, ident, std::move(text));
}

void TIniFile::EraseSection(const std::string& section) {
    if (Section(section)) session_.DeleteKey({section});
}

void TIniFile::UpdateFile() {
    session_.Commit();
}

}  // namespace rv
