#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace rv {

inline constexpr std::uint32_t INFINITE = 0xFFFFFFFF;

// A lock one thread may enter again while it holds it (as often as it leaves).
class TCriticalSection {
public:
    void Enter() { mutex_.lock(); }
    void Leave() { mutex_.unlock(); }
    bool TryEnter() { return mutex_.try_lock(); }
    void Acquire() { Enter(); }
    void Release() { Leave(); }

private:
    std::recursive_mutex mutex_;
};

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

// An event object. A manual-reset event stays signalled until ResetEvent and releases every
// waiter; an auto-reset event releases one waiter and falls back to unsignalled.
class TEvent {
public:
    TEvent(bool manualReset, bool initialState)
        : manualReset_(manualReset), signaled_(initialState) {}

    void SetEvent();
    void ResetEvent();
    // Waits at most `timeoutMs` milliseconds (INFINITE: no limit).
    TWaitResult WaitFor(std::uint32_t timeoutMs = INFINITE);

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    const bool manualReset_;
    bool signaled_;
};

}  // namespace rv
