#pragma once

#include <string>

#include "platform/system/version_resource.h"

namespace rv {

// A file's version data.
struct TVersionInfo {
    std::string FileName;
    std::string Version;  // "major.minor.release.build"
    std::string ProductName;
    std::string CompanyName;
    std::string FileDescription;
    std::string Comments;
    std::string LegalCopyright;
    int Major = 0;
    int Minor = 0;
    int Release = 0;
    int Build = 0;
};

// Fills `info` from the file's version resource: true when the file has one. Otherwise only
// FileName is set. On Linux the running program's own file (ProgramFileName()) is the one
// that has version data.
bool GetFileVerInfo(const std::string& fileName, TVersionInfo& info);

// The numbers and texts of a version resource, for the first translation it lists. Without
// the fixed file information nothing is filled.
void FillVersionInfo(const VersionResource& resource, TVersionInfo& info);

}  // namespace rv
