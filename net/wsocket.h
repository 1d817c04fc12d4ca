#pragma once

#include "net/sync_wsocket.h"

namespace rv {

// The socket component the network clients own: the plain socket with SOCKS, line mode and
// the wait of the layers below.
class TWSocket : public TCustomSyncWSocket {
public:
    using TCustomSyncWSocket::TCustomSyncWSocket;
    std::string ClassName() const override { return "TWSocket"; }
};

}  // namespace rv
