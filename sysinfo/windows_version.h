#pragma once

#include <cstdint>
#include <string>

// The Windows versions the program knows, told apart by the version record Windows reports.
// Linux has no such record: these tables serve recorded records, and the program itself names
// the Linux system it runs on (system_information.h).
namespace rv {

inline constexpr std::uint32_t VER_PLATFORM_WIN32s = 0;
inline constexpr std::uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr std::uint32_t VER_PLATFORM_WIN32_NT = 2;

// The version record (OSVERSIONINFO); szCSDVersion is the service pack text.
struct TOSVersionInfo {
    std::uint32_t dwMajorVersion = 0;
    std::uint32_t dwMinorVersion = 0;
    std::uint32_t dwBuildNumber = 0;
    std::uint32_t dwPlatformId = 0;
    std::string szCSDVersion;
};

// The version classes.
inline constexpr std::uint8_t osUnknown = 0;  // also NT 6 and later
inline constexpr std::uint8_t osNT3 = 1;
inline constexpr std::uint8_t osWin95 = 2;
inline constexpr std::uint8_t osNT4 = 3;
inline constexpr std::uint8_t osWin95OSR1 = 4;
inline constexpr std::uint8_t osWin95OSR2 = 5;
inline constexpr std::uint8_t osWin95OSR25 = 6;
inline constexpr std::uint8_t osWin98 = 7;
inline constexpr std::uint8_t osWin98SE = 8;
inline constexpr std::uint8_t osWinME = 9;
inline constexpr std::uint8_t osWin2000 = 10;
inline constexpr std::uint8_t osWinXP = 11;
inline constexpr std::uint8_t osWin2003 = 12;

// The class of the record. `servicePack` receives the service pack text (at most 127
// characters, as the record holds it); NT's "Service Pack 6" becomes "Service Pack 6a" when
// the hotfix Q246009 is installed, which the caller has looked up.
std::uint8_t GetOS(const TOSVersionInfo& record, bool hotfixQ246009Installed,
                   std::string& servicePack);

// "Windows XP"; empty for osUnknown.
std::string OSShortNameOf(std::uint8_t osClass);
// "Windows XP " + the service pack text on NT systems; empty for osUnknown.
std::string OSLongNameOf(std::uint8_t osClass, const std::string& servicePack);

// The class tests the program's code asks by name.
struct TOSFlags {
    bool IsNT = false;
    bool IsNT4 = false;
    bool IsNT5 = false;
    bool IsWin95 = false;
    bool IsWin98 = false;
    bool IsWin2000 = false;
    bool IsOSR2 = false;
    bool IsWin98SE = false;
    bool IsWinME = false;
    bool IsWinXP = false;
    bool IsWin2003 = false;
};
TOSFlags OSFlagsOf(std::uint8_t osClass);

// Where the device classes lie in the machine's registry on NT and on the other systems.
std::string ClassKeyOf(bool isNT);

}  // namespace rv
