#pragma once

#include <string>

// The user's folders as the XDG base directory rules give them.
namespace rv {

// $HOME when it is an absolute path, otherwise the home folder of the user's account; empty
// when there is neither.
std::string UserHomeFolder();

// $XDG_CONFIG_HOME when it is an absolute path, otherwise <home>/.config; empty when there is no
// home at all.
std::string UserConfigFolder();

// $XDG_DATA_HOME when it is an absolute path, otherwise <home>/.local/share; empty when there is
// no home at all.
std::string UserDataFolder();

}  // namespace rv
