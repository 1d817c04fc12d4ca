#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/registry/settings_location.h"
#include "testsupport/temp_dir.h"

namespace rv::test {

// Points HOME and XDG_CONFIG_HOME into a fresh temporary folder for the life of the test, so
// that no test reads or writes the real settings.
class SettingsSandbox : public testing::Test {
protected:
    SettingsSandbox() : savedHome_(Get("HOME")), savedConfig_(Get("XDG_CONFIG_HOME")) {
        setenv("HOME", (dir_ / "home").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    }
    ~SettingsSandbox() override {
        Restore("HOME", savedHome_);
        Restore("XDG_CONFIG_HOME", savedConfig_);
    }

    static std::string File() { return SettingsFilePath(); }

    TempDir dir_;

private:
    static std::optional<std::string> Get(const char* name) {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }
    static void Restore(const char* name, const std::optional<std::string>& value) {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }

    std::optional<std::string> savedHome_, savedConfig_;
};

}  // namespace rv::test
