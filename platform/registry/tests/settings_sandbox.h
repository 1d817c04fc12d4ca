#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/registry/settings_location.h"
#include "testsupport/scoped_env.h"
#include "testsupport/temp_dir.h"

namespace rv::test {

// Points HOME and XDG_CONFIG_HOME into a fresh temporary folder for the life of the test, so
// that no test reads or writes the real settings.
class SettingsSandbox : public testing::Test {
protected:
    static std::string File() { return SettingsFilePath(); }

    TempDir dir_;

private:
    ScopedEnv home_{"HOME", dir_ / "home"};
    ScopedEnv config_{"XDG_CONFIG_HOME", dir_ / "config"};
};

}  // namespace rv::test
