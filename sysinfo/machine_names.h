#pragma once

#include <string>

// The names of the machine and of the user the program runs for.
namespace rv {

// The machine's host name as the system holds it; empty when it cannot be read.
std::string GetMachineName();
// The login name of the user the program runs as; empty when it cannot be found.
std::string GetUserNameText();
// The user's own folder ("/home/anna"): the home folder of the user's account; empty when
// the account has none.
std::string GetProfilePath();

}  // namespace rv
