#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A file's version resource, as the Windows version services present it: the fixed file
// information of the root block "\", the translations of "\VarFileInfo\Translation", and the
// texts of the string tables by their full path ("\StringFileInfo\040904B0\ProductName").
//
// Linux programs carry no such resource. The one file that has one is the running program,
// whose version data the build writes (program_version.cpp.in).
namespace rv {

struct FixedFileInfo {
    std::uint32_t FileVersionMS = 0;  // major << 16 | minor
    std::uint32_t FileVersionLS = 0;  // release << 16 | build
};

struct VersionResource {
    std::optional<FixedFileInfo> Fixed;
    // Each translation is one double word: the language in the low word, the code page in
    // the high word.
    std::vector<std::uint32_t> Translations;
    std::map<std::string, std::string> Strings;
};

// The version resource of the file, when it has one.
std::optional<VersionResource> ReadVersionResource(const std::string& fileName);

// The path of the running program's file; empty when it cannot be found.
std::string ProgramFileName();

}  // namespace rv
