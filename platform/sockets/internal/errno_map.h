#pragma once

namespace rv::detail {

// The socket error number (WSAE…) for a Linux errno value; a value with no counterpart is
// returned unchanged.
int WsaErrorFromErrno(int error);

// The socket error number for a getaddrinfo / getnameinfo result (EAI_…); `savedErrno` is errno
// as it was after the call, for EAI_SYSTEM.
int WsaErrorFromLookup(int result, int savedErrno);

}  // namespace rv::detail
