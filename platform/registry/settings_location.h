#pragma once

#include <string>

namespace rv {

// The user's configuration folder as the XDG rules give it: $XDG_CONFIG_HOME when it is an
// absolute path, otherwise $HOME/.config (HOME from the password database when the variable is
// unset or relative). Empty when there is no home at all.
std::string UserConfigFolder();

// The file that holds this program's part of the current user's registry:
// <config folder>/lorvix-reelvault/hkcu.reg; empty when there is no config folder.
std::string SettingsFilePath();

}  // namespace rv
