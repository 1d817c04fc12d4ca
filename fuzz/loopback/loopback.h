#pragma once

#include <cstdint>

#include "platform/sockets/winsock.h"

// What the fuzz targets that feed a network client through a server of their own share: the
// server runs in the target's thread, so one message loop serves both ends.
namespace rv::fuzz {

// Ends the run when `condition` fails, so that libFuzzer keeps the input as a crash.
void Check(bool condition);

// Runs the message loop over what is waiting.
void Pump();

// A socket listening on 127.0.0.1 at a port the system picked. The application, whose message
// loop serves the server and the client, is made by the first call of this or Pump.
struct LoopbackListener {
    TSocket socket = INVALID_SOCKET;
    std::uint16_t port = 0;
};
LoopbackListener ListenOnLoopback();

}  // namespace rv::fuzz
