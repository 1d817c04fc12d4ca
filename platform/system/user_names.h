#pragma once

#include <string>

// Who and where the program runs: the machine's host name and the user account it runs
// under, from the user database (so a changed $HOME or $USER does not pretend otherwise).
namespace rv {

// The host name, as the kernel holds it; empty when it cannot be read.
std::string HostName();
// The login name of the effective user; empty when the user database has no entry for it.
std::string LoginName();
// The home folder of the effective user in the user database; empty when it has no entry.
std::string HomeFolder();

}  // namespace rv
