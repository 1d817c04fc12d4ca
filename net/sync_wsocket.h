#pragma once

#include <cstdint>
#include <functional>

#include "net/line_wsocket.h"

namespace rv {

// What WaitUntilReady answers when its time ran out or the program is ending.
inline constexpr int kWaitTimedOut = 12001;

// A socket that can wait, handling messages meanwhile, until its own event handlers set a flag.
class TCustomSyncWSocket : public TCustomLineWSocket {
public:
    using TCustomLineWSocket::TCustomLineWSocket;

    std::string ClassName() const override { return "TCustomSyncWSocket"; }

    // Milliseconds a wait lasts at most; 0: no limit.
    std::int32_t Timeout = 0;

    // Clears the flag, runs `method` (when given) and waits until the flag is set.
    virtual int Synchronize(const std::function<void()>& method, bool& flag);
    // 0 once the flag is set; kWaitTimedOut when Timeout passed or the program is ending first.
    virtual int WaitUntilReady(bool& flag);
};

}  // namespace rv
