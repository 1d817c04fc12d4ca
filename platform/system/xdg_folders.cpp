#include "platform/system/xdg_folders.h"

#include <cstdlib>

#include "platform/system/user_names.h"

namespace rv {

namespace {

// Relative values are to be ignored, as if unset.
std::string AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

std::string BelowHome(const char* variable, const char* fallback) {
    const std::string folder = AbsoluteVariable(variable);
    if (!folder.empty()) return folder;
    const std::string home = UserHomeFolder();
    return home.empty() ? home : home + fallback;
}

}  // namespace

std::string UserHomeFolder() {
    const std::string home = AbsoluteVariable("HOME");
    if (!home.empty()) return home;
    const std::string account = HomeFolder();
    return !account.empty() && account.front() == '/' ? account : std::string();
}

std::string UserConfigFolder() {
    return BelowHome("XDG_CONFIG_HOME", "/.config");
}

std::string UserDataFolder() {
    return BelowHome("XDG_DATA_HOME", "/.local/share");
}

}  // namespace rv
