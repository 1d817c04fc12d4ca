#pragma once

#include <map>
#include <string>
#include <string_view>

// The distribution's own description of itself: /etc/os-release, or /usr/lib/os-release when
// the first is missing. Lines are KEY=value, the value bare or in single or double quotes;
// inside double quotes a backslash makes the next of $ " \ ` literal. Comments and lines that
// are not assignments are skipped.
namespace rv {

using OsReleaseFields = std::map<std::string, std::string>;

// The fields of the installed file; empty when neither file can be read.
OsReleaseFields ReadOsRelease();

OsReleaseFields ParseOsRelease(std::string_view text);

}  // namespace rv
