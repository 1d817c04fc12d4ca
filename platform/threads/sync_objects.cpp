#include "platform/threads/sync_objects.h"

#include <chrono>

namespace rv {

void TEvent::SetEvent() {
    {
        std::lock_guard lock(mutex_);
        signaled_ = true;
    }
    if (manualReset_)
        cv_.notify_all();
    else
        cv_.notify_one();
}

void TEvent::ResetEvent() {
    std::lock_guard lock(mutex_);
    signaled_ = false;
}

TWaitResult TEvent::WaitFor(std::uint32_t timeoutMs) {
    std::unique_lock lock(mutex_);
    if (timeoutMs == INFINITE) {
        cv_.wait(lock, [this] { return signaled_; });
    } else if (!cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this] { return signaled_; })) {
        return wrTimeout;
    }
    if (!manualReset_) signaled_ = false;
    return wrSignaled;
}

}  // namespace rv
