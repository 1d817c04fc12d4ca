#include "platform/system/xdg_user_dirs.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/system/xdg_folders.h"
#include "testsupport/scoped_env.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

TEST(XdgUserDirs, LinesOfTheFileRelativeToHomeOrAbsolute) {
    const std::string text =
        "# This file is written by xdg-user-dirs-update\n"
        "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
        "  XDG_MUSIC_DIR = \"/data/Music \\\"live\\\"\"  \n"
        "XDG_MUSIC_DIR=\"$HOME/Musik\"\n"  // the later line wins
        "XDG_PICTURES_DIR=\"$HOME/\"\n"    // the home folder itself
        "XDG_VIDEOS_DIR=\"$HOME\"\n"
        "XDG_DOCUMENTS_DIR=\"Documents\"\n"  // neither form
        "XDG_TEMPLATES_DIR=\"$HOMEWORK/t\"\n"
        "XDG_DOWNLOAD_DIR=\"/unterminated\n"
        "XDG_PUBLICSHARE_DIR='$HOME/Public'\n";
    const std::string home = "/home/anna";
    EXPECT_EQ(UserDirFromText(text, udDesktop, home), "/home/anna/Schreibtisch");
    EXPECT_EQ(UserDirFromText(text, udMusic, home), "/home/anna/Musik");
    EXPECT_EQ(UserDirFromText("XDG_MUSIC_DIR=\"/data/Music \\\"live\\\"\"", udMusic, home),
              "/data/Music \"live\"");
    EXPECT_EQ(UserDirFromText(text, udPictures, home), home);
    EXPECT_EQ(UserDirFromText(text, udVideos, home), home);
    for (TUserDir dir : {udDocuments, udTemplates, udDownload, udPublicShare})
        EXPECT_EQ(UserDirFromText(text, dir, home), "") << int(dir);
    // Without a home folder "$HOME" names nothing.
    EXPECT_EQ(UserDirFromText(text, udDesktop, ""), "");
}

TEST(XdgUserDirs, TheUsersFileOrTheDefaultsBelowHome) {
    test::TempDir dir;
    test::ScopedEnv home("HOME", dir / "home");
    test::ScopedEnv config("XDG_CONFIG_HOME", dir / "config");
    EXPECT_EQ(UserConfigFolder(), dir / "config");
    EXPECT_EQ(UserDirectory(udDesktop), dir / "home/Desktop");
    EXPECT_EQ(UserDirectory(udDownload), dir / "home/Downloads");
    EXPECT_EQ(UserDirectory(udTemplates), dir / "home/Templates");
    EXPECT_EQ(UserDirectory(udPublicShare), dir / "home/Public");
    EXPECT_EQ(UserDirectory(udDocuments), dir / "home/Documents");
    EXPECT_EQ(UserDirectory(udMusic), dir / "home/Music");
    EXPECT_EQ(UserDirectory(udPictures), dir / "home/Pictures");
    EXPECT_EQ(UserDirectory(udVideos), dir / "home/Videos");

    std::filesystem::create_directories(dir / "config");
    test::WriteFileBytes(dir / "config/user-dirs.dirs",
                         "XDG_MUSIC_DIR=\"$HOME/Musik\"\nXDG_DESKTOP_DIR=\"/srv/desk\"\n");
    EXPECT_EQ(UserDirectory(udMusic), dir / "home/Musik");
    EXPECT_EQ(UserDirectory(udDesktop), "/srv/desk");
    EXPECT_EQ(UserDirectory(udVideos), dir / "home/Videos");

    // Relative settings count as unset; the config folder then lies below home.
    config.Set("relative/config");
    EXPECT_EQ(UserConfigFolder(), dir / "home/.config");
    EXPECT_EQ(UserDirectory(udMusic), dir / "home/Music");
    test::ScopedEnv data("XDG_DATA_HOME", "");
    EXPECT_EQ(UserDataFolder(), dir / "home/.local/share");
    data.Set(dir / "data");
    EXPECT_EQ(UserDataFolder(), dir / "data");
}

}  // namespace
}  // namespace rv
