#include "sysinfo/windows_version.h"

#include <array>

#include "sysinfo/blank_trim.h"

namespace rv {
namespace {

// The record's service pack field holds 128 characters with the terminating zero.
constexpr std::size_t kServicePackLength = 127;

struct TOSNames {
    const char* Short;
    const char* Long;
    bool WithServicePack;
};

constexpr std::array<TOSNames, 13> kNames = {{
    {"", "", false},
    {"Windows NT", "Windows NT 3.x ", true},
    {"Windows 95", "Windows 95", false},
    {"Windows NT", "Windows NT 4.x ", true},
    {"Windows 95", "Windows 95 OSR 1", false},
    {"Windows 95", "Windows 95 OSR 2", false},
    {"Windows 95", "Windows 95 OSR 2.5", false},
    {"Windows 98", "Windows 98", false},
    {"Windows 98", "Windows 98 Second Edition", false},
    {"Windows Millenium Edition", "Windows Millenium Edition", false},
    {"Windows 2000", "Windows 2000 ", true},
    {"Windows XP", "Windows XP ", true},
    {"Windows 2003 Server", "Windows Server 2003 ", true},
}};

std::uint8_t ClassOfNT(const TOSVersionInfo& record) {
    switch (record.dwMajorVersion) {
        case 3:
            return osNT3;
        case 4:
            return osNT4;
        case 5:
            if (record.dwMinorVersion == 1) return osWinXP;
            if (record.dwMinorVersion == 2) return osWin2003;
            return osWin2000;
        default:
            return osUnknown;
    }
}

std::uint8_t ClassOf9x(const TOSVersionInfo& record, const std::string& servicePack) {
    if (record.dwMajorVersion != 4) return osUnknown;
    switch (record.dwMinorVersion) {
        case 0: {
            const std::string release = TrimBlanksAndControls(servicePack);
            if (release == "A") return osWin95OSR1;
            if (release == "B") return osWin95OSR2;
            if (release == "C") return osWin95OSR25;
            return osWin95;
        }
        case 10:
            return (record.dwBuildNumber & 0xFFFF) == 2222 ? osWin98SE : osWin98;
        case 90:
            return osWinME;
        default:
            return osUnknown;
    }
}

}  // namespace

std::uint8_t GetOS(const TOSVersionInfo& record, bool hotfixQ246009Installed,
                   std::string& servicePack) {
    servicePack = record.szCSDVersion.substr(0, record.szCSDVersion.find('\0'));
    if (servicePack.size() > kServicePackLength) servicePack.resize(kServicePackLength);
    if (record.dwPlatformId != VER_PLATFORM_WIN32_NT) return ClassOf9x(record, servicePack);
    if (servicePack == "Service Pack 6" && hotfixQ246009Installed) servicePack = "Service Pack 6a";
    return ClassOfNT(record);
}

std::string OSShortNameOf(std::uint8_t osClass) {
    return osClass < kNames.size() ? kNames[osClass].Short : "";
}

std::string OSLongNameOf(std::uint8_t osClass, const std::string& servicePack) {
    if (osClass >= kNames.size()) return {};
    const TOSNames& names = kNames[osClass];
    return names.WithServicePack ? names.Long + servicePack : names.Long;
}

TOSFlags OSFlagsOf(std::uint8_t osClass) {
    TOSFlags flags;
    flags.IsNT = osClass == osNT3 || osClass == osNT4 || osClass == osWin2000 ||
                 osClass == osWinXP || osClass == osWin2003;
    flags.IsNT4 = osClass == osNT4;
    flags.IsNT5 = osClass == osWin2000 || osClass == osWinXP || osClass == osWin2003;
    flags.IsWin95 = osClass == osWin95;
    flags.IsWin98 = osClass == osWin98;
    flags.IsWin2000 = osClass == osWin2000;
    flags.IsOSR2 = osClass == osWin95OSR2;
    flags.IsWin98SE = osClass == osWin98SE;
    flags.IsWinME = osClass == osWinME;
    flags.IsWinXP = osClass == osWinXP;
    flags.IsWin2003 = osClass == osWin2003;
    return flags;
}

std::string ClassKeyOf(bool isNT) {
    return isNT ? "SYSTEM\\CurrentControlSet\\Control\\Class"
                : "SYSTEM\\CurrentControlSet\\Services\\Class";
}

}  // namespace rv
