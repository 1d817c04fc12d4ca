#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/registry/registry_key.h"

namespace rv {

// A settings file larger than this is not read (nor written).
inline constexpr std::size_t kMaxSettingsFileBytes = 1024 * 1024;

// The settings tree as UTF-8 text in the manner of a registry export:
//
//   [HKEY_CURRENT_USER\SOFTWARE\Lorvix\Reelvault\1.x]
//   "NormPos(1024x768)"="10,20,600,400"
//
// one header per key, in creation order, each followed by its values. Inside quotes a backslash
// starts an escape: \\ \" \n \r \t, and \xNN for any other control character and for every byte
// that is not part of valid UTF-8. Lines starting with ";" are comments. Every header starts
// with the name of the root key the file holds (`hive`).
std::string WriteRegistryText(const RegistryKey& root, std::string_view hive = "HKEY_CURRENT_USER");

// Reads text written as above into `root` (an empty key), with what a hand edit leaves that does
// no harm: a byte-order mark, CRLF line ends, blanks (spaces, tabs) before and after a line and
// around "=", empty lines, repeated headers, names in other letter case. Anything else, or
// anything past the limits of registry_key.h, fails with the line number and the reason in
// `error`; `root` is then unspecified.
bool ReadRegistryText(std::string_view text, RegistryKey& root, std::string& error,
                      std::string_view hive = "HKEY_CURRENT_USER");

}  // namespace rv
