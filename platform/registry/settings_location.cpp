#include "platform/registry/settings_location.h"

namespace rv {

namespace {

const char* FileNameOf(HKEY root) {
    switch (root) {
        case HKEY_CURRENT_USER:
            return "hkcu.reg";
        case HKEY_LOCAL_MACHINE:
            return "hklm.reg";
        case HKEY_CLASSES_ROOT:
            return "hkcr.reg";
        case HKEY_USERS:
            return "hku.reg";
        case HKEY_CURRENT_CONFIG:
            return "hkcc.reg";
        case HKEY_DYN_DATA:
            return "hkdd.reg";
        default:
            return nullptr;
    }
}

}  // namespace

std::string_view RootKeyName(HKEY root) {
    switch (root) {
        case HKEY_CURRENT_USER:
            return "HKEY_CURRENT_USER";
        case HKEY_LOCAL_MACHINE:
            return "HKEY_LOCAL_MACHINE";
        case HKEY_CLASSES_ROOT:
            return "HKEY_CLASSES_ROOT";
        case HKEY_USERS:
            return "HKEY_USERS";
        case HKEY_CURRENT_CONFIG:
            return "HKEY_CURRENT_CONFIG";
        case HKEY_DYN_DATA:
            return "HKEY_DYN_DATA";
        default:
            return {};
    }
}

std::string SettingsFolder() {
    const std::string folder = UserConfigFolder();
    return folder.empty() ? folder : folder + "/lorvix-reelvault";
}

std::string SettingsFilePath(HKEY root) {
    const char* name = FileNameOf(root);
    const std::string folder = SettingsFolder();
    return name && !folder.empty() ? folder + "/" + name : std::string();
}

std::string IniFilePath(const std::string& name) {
    if (name.empty() || name.front() == '/') return name;
    const std::string folder = SettingsFolder();
    return folder.empty() ? folder : folder + "/" + name;
}

}  // namespace rv
