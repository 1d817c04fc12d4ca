#pragma once

#include <functional>

#include "platform/messages/messages.h"

namespace rv {

// Drives the slow fade-out of a button's hot colour: while running it calls the tick every
// 30 ms in the GUI thread; idle it costs nothing.
class TLbFadeTimer {
public:
    static constexpr unsigned kIntervalMs = 30;

    explicit TLbFadeTimer(std::function<void()> tick);
    ~TLbFadeTimer();
    TLbFadeTimer(const TLbFadeTimer&) = delete;
    TLbFadeTimer& operator=(const TLbFadeTimer&) = delete;

    void Start();
    void Stop();
    bool Running() const { return running_; }
    HWND Handle() const { return wnd_; }

private:
    std::function<void()> tick_;
    HWND wnd_ = 0;
    bool running_ = false;
};

}  // namespace rv
