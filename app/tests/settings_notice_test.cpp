#include "app/settings_notice.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/tests/app_fixture.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

using SettingsNotice = test::SettingsSandbox;

TEST_F(SettingsNotice, ADamagedSettingsFileIsToldOnceByTheNameItWasKeptUnder) {
    test::App();
    TScriptedDialogs dialogs;
    std::filesystem::create_directories(std::filesystem::path(File()).parent_path());
    test::WriteFileBytes(File(), "[HKEY_CURRENT_USER\\SOFTWARE]\n\"unterminated\n");
    {
        Twnd_rv_Main window(nullptr);
        window.Show();
        ReportSetAsideSettings();
        ReportSetAsideSettings();
    }
    ASSERT_EQ(dialogs.Calls.size(), 1u);
    const TDialogCall& notice = dialogs.Calls[0];
    EXPECT_EQ(notice.Title, "Warning");
    EXPECT_EQ(notice.Type, unsigned(MB_OK | MB_ICONWARNING));
    const std::string prefix = "The settings file could not be read; it was kept as ";
    ASSERT_TRUE(notice.Text.starts_with(prefix)) << notice.Text;
    const std::string kept =
        notice.Text.substr(prefix.size(), notice.Text.find(" and the") - prefix.size());
    EXPECT_EQ(test::ReadFileBytes(kept), "[HKEY_CURRENT_USER\\SOFTWARE]\n\"unterminated\n");

    // A sound file tells nothing.
    Twnd_rv_Main again(nullptr);
    again.Show();
    ReportSetAsideSettings();
    EXPECT_EQ(dialogs.Calls.size(), 1u);
}

}  // namespace
}  // namespace rv
