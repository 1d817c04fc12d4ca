#pragma once

#include "net/custom_wsocket.h"

namespace rv {

// The socket component the network clients own.
class TWSocket : public TCustomWSocket {
public:
    using TCustomWSocket::TCustomWSocket;
    std::string ClassName() const override { return "TWSocket"; }
};

}  // namespace rv
