#include "widgets/lb_fade_timer.h"

namespace rv {

TLbFadeTimer::TLbFadeTimer(std::function<void()> tick) : tick_(std::move(tick)) {
    wnd_ = AllocateHWnd([this](TMessage& m) {
        if (m.Msg == WM_TIMER && running_) tick_();
    });
}

TLbFadeTimer::~TLbFadeTimer() {
    Stop();
    DeallocateHWnd(wnd_);
}

void TLbFadeTimer::Start() {
    if (running_) return;
    running_ = SetTimer(wnd_, 1, kIntervalMs) != 0;
}

void TLbFadeTimer::Stop() {
    if (!running_) return;
    KillTimer(wnd_, 1);
    running_ = false;
}

}  // namespace rv
