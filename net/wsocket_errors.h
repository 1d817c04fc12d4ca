#pragma once

#include <string>

namespace rv {

// The text of a socket error number, as the socket, HTTP and SMTP clients report it; "Not a
// WinSock error" for a number that is none.
std::string WSocketErrorDesc(int errorCode);

}  // namespace rv
