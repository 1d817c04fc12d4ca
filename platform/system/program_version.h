#pragma once

// The version data of this program, written by the build from the project's version
// (program_version.cpp.in).
namespace rv {

struct ProgramVersion {
    unsigned Major;
    unsigned Minor;
    unsigned Release;
    unsigned Build;
    const char* ProductName;
    const char* CompanyName;
    const char* FileDescription;
    const char* Comments;
    const char* LegalCopyright;
};

extern const ProgramVersion kProgramVersion;

}  // namespace rv
