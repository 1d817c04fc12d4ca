#include "sysinfo/special_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "sysinfo/native_names.h"
#include "testsupport/scoped_env.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

TEST(SpecialFolders, TheDesktopsFoldersComeFromTheXdgUserDirectories) {
    test::TempDir dir;
    test::ScopedEnv home("HOME", dir / "home");
    test::ScopedEnv config("XDG_CONFIG_HOME", dir / "config");
    test::ScopedEnv data("XDG_DATA_HOME", dir / "data");
    std::filesystem::create_directories(dir / "config");
    test::WriteFileBytes(dir / "config/user-dirs.dirs",
                         "XDG_MUSIC_DIR=\"$HOME/Musik\"\nXDG_DESKTOP_DIR=\"/srv/Desk\"\n");
    auto folder = [](int id) {
        std::string path = "not cleared";
        GetSpecialFolder(0, id, path);
        return path;
    };
    EXPECT_EQ(folder(CSIDL_DESKTOP), "/srv/Desk");
    EXPECT_EQ(folder(CSIDL_DESKTOPDIRECTORY), "/srv/Desk");
    EXPECT_EQ(folder(CSIDL_MYMUSIC), dir / "home/Musik");
    EXPECT_EQ(folder(CSIDL_PERSONAL), dir / "home/Documents");
    EXPECT_EQ(folder(CSIDL_MYPICTURES), dir / "home/Pictures");
    EXPECT_EQ(folder(CSIDL_MYVIDEO), dir / "home/Videos");
    EXPECT_EQ(folder(CSIDL_TEMPLATES), dir / "home/Templates");
    EXPECT_EQ(folder(CSIDL_COMMON_DOCUMENTS), dir / "home/Public");
    EXPECT_EQ(folder(CSIDL_PROFILE), dir / "home");
    EXPECT_EQ(folder(CSIDL_APPDATA), dir / "config");
    EXPECT_EQ(folder(CSIDL_LOCAL_APPDATA), dir / "data");
    // The control panel, the printers, the drives, the network, the system's folder: no path.
    for (int virtualFolder : {0x0003, 0x0004, 0x0011, 0x0012, 0x0025, -1, 0x7FFF})
        EXPECT_EQ(folder(virtualFolder), "") << virtualFolder;
}

TEST(NativeNames, EachNameStandsAtItsNumber) {
    EXPECT_EQ(ObjectTypeNames.front(), "Unknown");
    EXPECT_EQ(ObjectTypeNames[7], "Unknown 7");
    EXPECT_EQ(ObjectTypeNames[11], "Unknown 11");
    for (int n = 21; n <= 24; ++n)
        EXPECT_EQ(ObjectTypeNames[std::size_t(n)], "Unknown " + std::to_string(n));
    EXPECT_EQ(ObjectTypeNames[19], "Port");
    EXPECT_EQ(ObjectTypeNames[25], "I/O Completion");
    EXPECT_EQ(ObjectTypeNames.back(), "File");
    EXPECT_EQ(ThreadStateNames[5], "Wait");
    EXPECT_EQ(ThreadStateNames.back(), "Unknown");
    EXPECT_EQ(WaitReasonNames.front(), "Executive");
    EXPECT_EQ(WaitReasonNames[7], "WrExecutive");
    EXPECT_EQ(WaitReasonNames[20], "WrRendezvous");
    EXPECT_EQ(WaitReasonNames[26], "WrKernel");
    EXPECT_EQ(WaitReasonNames.back(), "MaximumWaitReason");
}

}  // namespace
}  // namespace rv
