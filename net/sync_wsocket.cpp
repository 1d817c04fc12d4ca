#include "net/sync_wsocket.h"

#include <chrono>
#include <thread>

#include "platform/messages/application.h"

namespace rv {

int TCustomSyncWSocket::Synchronize(const std::function<void()>& method, bool& flag) {
    flag = false;
    if (method) method();
    return WaitUntilReady(flag);
}

int TCustomSyncWSocket::WaitUntilReady(bool& flag) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(Timeout);
    while (!flag) {
        if (Timeout > 0 && std::chrono::steady_clock::now() > deadline) return kWaitTimedOut;
        if (!Application || Application->Terminated()) return kWaitTimedOut;
        MessagePump();
        std::this_thread::yield();
    }
    return 0;
}

}  // namespace rv
