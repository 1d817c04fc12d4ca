#include "platform/registry/settings_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace rv {

namespace {

std::string AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

std::string HomeFolder() {
    std::string home = AbsoluteVariable("HOME");
    if (!home.empty()) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && found->pw_dir[0] == '/')
        home = found->pw_dir;
    return home;
}

}  // namespace

std::string UserConfigFolder() {
    // Relative values are to be ignored, as if unset.
    const std::string config = AbsoluteVariable("XDG_CONFIG_HOME");
    if (!config.empty()) return config;
    const std::string home = HomeFolder();
    return home.empty() ? home : home + "/.config";
}

std::string SettingsFilePath() {
    const std::string folder = UserConfigFolder();
    return folder.empty() ? folder : folder + "/lorvix-reelvault/hkcu.reg";
}

}  // namespace rv
