#pragma once

#include <string>

#include "platform/registry/registry_roots.h"
#include "platform/system/xdg_folders.h"

namespace rv {

// The folder of this program's settings files: <config folder>/lorvix-reelvault; empty when
// there is no config folder (UserConfigFolder).
std::string SettingsFolder();

// The file that holds this program's part of a root of the registry, in the settings folder:
// hkcu.reg for the current user (the one the program uses), and beside it hklm.reg, hkcr.reg,
// hku.reg, hkcc.reg and hkdd.reg. Empty when there is no settings folder or `root` names no
// root.
std::string SettingsFilePath(HKEY root = HKEY_CURRENT_USER);

// Where an INI file of that name is kept: an absolute name as it stands, any other in the
// settings folder (as the system's folder holds such files elsewhere). Empty for an empty name,
// or a relative one without a settings folder.
std::string IniFilePath(const std::string& name);

}  // namespace rv
