#include "player/volume_control.h"

#include <algorithm>

namespace rv {

namespace {

constexpr UINT_PTR kRefreshTimer = 1;
constexpr TVolumeOutput kKinds[] = {voAuxiliary, voWaveOut, voMidiOut};

}  // namespace

TVolumeControl::TVolumeControl(TComponent* owner) : TComponent(owner) {
    for (TVolumeOutput kind : kKinds) devices_[Index(kind)] = FindVolumeDevice(kind);
    timerWindow_ = AllocateHWnd([this](TMessage& m) {
        if (m.Msg == WM_TIMER && m.WParam == kRefreshTimer) Refresh();
    });
    for (int device : devices_)
        if (device >= 0) refreshing_ = true;
    if (refreshing_) SetTimer(timerWindow_, kRefreshTimer, UINT(interval_));
}

TVolumeControl::~TVolumeControl() {
    DeallocateHWnd(timerWindow_);
    for (TTrackBar*& bar : bars_) {
        if (!bar) continue;
        bar->OnChange = nullptr;
        SetLink(bar, static_cast<TTrackBar*>(nullptr));
    }
}

int TVolumeControl::GetVolume(TVolumeOutput kind) const {
    std::uint32_t word = 0;
    if (!GetDeviceVolume(kind, devices_[Index(kind)], word)) return 0;
    return int(((word & 0xFFFF) + (word >> 16)) >> 9);
}

void TVolumeControl::SetVolume(TVolumeOutput kind, int value) {
    const std::uint32_t level = std::uint32_t(value & 255) << 8;
    SetDeviceVolume(kind, devices_[Index(kind)], level | level << 16);
}

void TVolumeControl::SetInterval(int ms) {
    interval_ = ms;
    if (refreshing_) SetTimer(timerWindow_, kRefreshTimer, UINT(std::max(ms, 1)));
}

void TVolumeControl::Refresh() {
    for (TVolumeOutput kind : kKinds) {
        TTrackBar* bar = bars_[Index(kind)];
        if (!bar) continue;
        const int volume = GetVolume(kind);
        bringingInStep_ = true;
        bar->SetMin(0);
        bar->SetMax(255);
        bar->SetPosition(bar->Orientation() == trVertical ? 255 - volume : volume);
        bringingInStep_ = false;
        bar->OnChange = [this](TObject* sender) { BarMoved(sender); };
    }
}

void TVolumeControl::BarMoved(TObject* sender) {
    if (bringingInStep_) return;
    for (TVolumeOutput kind : kKinds) {
        TTrackBar* bar = bars_[Index(kind)];
        if (bar != sender) continue;
        const int position = bar->Position();
        SetVolume(kind, bar->Orientation() == trVertical ? 255 - position : position);
    }
}

void TVolumeControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    for (TTrackBar*& bar : bars_)
        if (bar == component) bar = nullptr;
}

}  // namespace rv
