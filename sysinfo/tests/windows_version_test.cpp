#include <gtest/gtest.h>

#include "sysinfo/windows_version.h"

namespace rv {
namespace {

// Version records as the Windows versions report them; on the 9x systems the build number's
// high word repeats the version.
TEST(WindowsVersionTest, ClassifiesRecordedVersionRecords) {
    const struct {
        TOSVersionInfo record;
        bool hotfix;
        std::uint8_t osClass;
        const char* shortName;
        const char* longName;
    } cases[] = {
        {{3, 51, 1057, 2, "Service Pack 5"},
         false,
         osNT3,
         "Windows NT",
         "Windows NT 3.x Service Pack 5"},
        {{4, 0, 0x040003B6, 1, " "}, false, osWin95, "Windows 95", "Windows 95"},
        {{4, 0, 0x040003B6, 1, " A "}, false, osWin95OSR1, "Windows 95", "Windows 95 OSR 1"},
        {{4, 0, 0x04000457, 1, " B "}, false, osWin95OSR2, "Windows 95", "Windows 95 OSR 2"},
        {{4, 0, 0x04000457, 1, " C "}, false, osWin95OSR25, "Windows 95", "Windows 95 OSR 2.5"},
        {{4, 0, 1381, 2, "Service Pack 6"},
         true,
         osNT4,
         "Windows NT",
         "Windows NT 4.x Service Pack 6a"},
        {{4, 0, 1381, 2, "Service Pack 6"},
         false,
         osNT4,
         "Windows NT",
         "Windows NT 4.x Service Pack 6"},
        {{4, 0, 1381, 2, "Service Pack 5"},
         true,
         osNT4,
         "Windows NT",
         "Windows NT 4.x Service Pack 5"},
        {{4, 10, 0x040A07CE, 1, " "}, false, osWin98, "Windows 98", "Windows 98"},
        {{4, 10, 0x040A08AE, 1, " A "},
         false,
         osWin98SE,
         "Windows 98",
         "Windows 98 Second Edition"},
        {{4, 90, 0x045A0BB8, 1, " "},
         false,
         osWinME,
         "Windows Millenium Edition",
         "Windows Millenium Edition"},
        {{5, 0, 2195, 2, "Service Pack 4"},
         false,
         osWin2000,
         "Windows 2000",
         "Windows 2000 Service Pack 4"},
        {{5, 1, 2600, 2, ""}, false, osWinXP, "Windows XP", "Windows XP "},
        {{5, 2, 3790, 2, "Service Pack 2"},
         false,
         osWin2003,
         "Windows 2003 Server",
         "Windows Server 2003 Service Pack 2"},
        {{6, 0, 6000, 2, ""}, false, osUnknown, "", ""},
        {{4, 20, 0x04140000, 1, " "}, false, osUnknown, "", ""},
        {{5, 0, 0, 1, ""}, false, osUnknown, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.longName);
        std::string servicePack;
        const std::uint8_t osClass = GetOS(c.record, c.hotfix, servicePack);
        EXPECT_EQ(osClass, c.osClass);
        EXPECT_EQ(OSShortNameOf(osClass), c.shortName);
        EXPECT_EQ(OSLongNameOf(osClass, servicePack), c.longName);
    }
}

TEST(WindowsVersionTest, ServicePackTextIsTheRecordsField) {
    std::string servicePack;
    TOSVersionInfo record{5, 1, 2600, 2, std::string("Service Pack 3\0garbage", 22)};
    GetOS(record, false, servicePack);
    EXPECT_EQ(servicePack, "Service Pack 3");
    record.szCSDVersion = std::string(200, 'x');
    GetOS(record, false, servicePack);
    EXPECT_EQ(servicePack.size(), 127u);
}

TEST(WindowsVersionTest, FlagsAndClassKey) {
    // Which flags each class raises, in the order of TOSFlags.
    const std::pair<std::uint8_t, const char*> cases[] = {
        {osUnknown, "00000000000"}, {osNT3, "10000000000"},       {osNT4, "11000000000"},
        {osWin95, "00010000000"},   {osWin95OSR1, "00000000000"}, {osWin95OSR2, "00000010000"},
        {osWin98, "00001000000"},   {osWin98SE, "00000001000"},   {osWinME, "00000000100"},
        {osWin2000, "10100100000"}, {osWinXP, "10100000010"},     {osWin2003, "10100000001"},
    };
    for (const auto& [osClass, expected] : cases) {
        const TOSFlags f = OSFlagsOf(osClass);
        std::string flags;
        for (bool flag : {f.IsNT, f.IsNT4, f.IsNT5, f.IsWin95, f.IsWin98, f.IsWin2000, f.IsOSR2,
                          f.IsWin98SE, f.IsWinME, f.IsWinXP, f.IsWin2003}) {
            flags += flag ? '1' : '0';
        }
        EXPECT_EQ(flags, expected) << int(osClass);
    }
    EXPECT_EQ(ClassKeyOf(true), "SYSTEM\\CurrentControlSet\\Control\\Class");
    EXPECT_EQ(ClassKeyOf(false), "SYSTEM\\CurrentControlSet\\Services\\Class");
}

}  // namespace
}  // namespace rv
