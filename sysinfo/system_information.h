#pragma once

#include <cstdint>
#include <string>

#include "platform/system/os_release.h"
#include "sysinfo/version_info.h"
#include "sysinfo/windows_version.h"

// Facts about the running system, gathered once and read by the rest of the program (the
// About box shows OSLongName and TotalMemory).
//
// On Linux the system names itself: OSShortName and OSLongName come from os-release, OSMajor,
// OSMinor and OSBuild are the kernel's version numbers. No Windows class is claimed:
// OSVersion is osUnknown, OSCSDVersion is empty and every Is... flag is false.
namespace rv {

struct TSystemInformation : TOSFlags {
    std::uint8_t OSVersion = osUnknown;
    std::string OSCSDVersion;
    std::uint32_t OSMajor = 0;
    std::uint32_t OSMinor = 0;
    std::uint32_t OSBuild = 0;
    std::string OSShortName;
    std::string OSLongName;
    std::string UserName;
    std::string MachineName;  // upper case
    std::string ProfilePath;
    std::string ClassKey;
    std::int64_t TotalMemory = 0;  // bytes of physical memory
    TVersionInfo AppVersionInfo;   // of the running program's file
};

// What the Linux system reports, as gathered by SystemInformation().
struct TLinuxFacts {
    OsReleaseFields OsRelease;
    std::string KernelRelease;  // "6.1.0-18-amd64"
    std::string UserName;
    std::string MachineName;
    std::string ProfilePath;
    std::uint64_t PhysicalMemory = 0;  // bytes
    TVersionInfo AppVersionInfo;
};

TSystemInformation DescribeLinuxSystem(const TLinuxFacts& facts);

// The facts of this machine, gathered on the first call.
const TSystemInformation& SystemInformation();

}  // namespace rv
