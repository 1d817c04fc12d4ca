#pragma once

#include <cstdint>
#include <string>

#include "platform/sockets/winsock.h"

namespace rv::detail {

// Blocking look-ups shared by gethostbyname and the resolver thread; each returns 0 or the
// socket error number.
int LookUpHostName(const std::string& name, THostEnt& entry);
int LookUpHostAddress(std::uint32_t addr, THostEnt& entry);

}  // namespace rv::detail
