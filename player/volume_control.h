#pragma once

#include <array>
#include <cstdint>

#include "platform/audio/volume_devices.h"
#include "platform/components/component.h"
#include "platform/messages/messages.h"
#include "player/track_bar.h"

namespace rv {

// The volumes of the CD audio (auxiliary), wave and MIDI outputs, 0 to 255, each on the first
// device of its output that has a volume; an output without one reads 0 and ignores what it is
// given. Linked track bars are brought in step with the volumes every Interval ms, and a linked
// bar that is moved sets the volume of its output (a vertical bar upside down: its top is loud).
class TVolumeControl : public TComponent {
public:
    explicit TVolumeControl(TComponent* owner);
    ~TVolumeControl() override;
    std::string ClassName() const override { return "TVolumeControl"; }

    int GetVolume(TVolumeOutput kind) const;
    // Takes the low byte of `value` for both channels.
    void SetVolume(TVolumeOutput kind, int value);

    std::uint8_t CDVolume() const { return std::uint8_t(GetVolume(voAuxiliary)); }
    void SetCDVolume(std::uint8_t value) { SetVolume(voAuxiliary, value); }
    std::uint8_t WaveVolume() const { return std::uint8_t(GetVolume(voWaveOut)); }
    void SetWaveVolume(std::uint8_t value) { SetVolume(voWaveOut, value); }
    std::uint8_t MidiVolume() const { return std::uint8_t(GetVolume(voMidiOut)); }
    void SetMidiVolume(std::uint8_t value) { SetVolume(voMidiOut, value); }

    TTrackBar* CDTrackBar() const { return bars_[0]; }
    void SetCDTrackBar(TTrackBar* bar) { SetLink(bars_[0], bar); }
    TTrackBar* WaveTrackBar() const { return bars_[1]; }
    void SetWaveTrackBar(TTrackBar* bar) { SetLink(bars_[1], bar); }
    TTrackBar* MidiTrackBar() const { return bars_[2]; }
    void SetMidiTrackBar(TTrackBar* bar) { SetLink(bars_[2], bar); }

    // The refresh timer's interval in milliseconds.
    int Interval() const { return interval_; }
    void SetInterval(int ms);

    // The device of the output; -1 when it has none.
    int DeviceId(TVolumeOutput kind) const { return devices_[Index(kind)]; }
    // The window whose timer brings the bars in step; it runs when any output has a device.
    HWND TimerWindow() const { return timerWindow_; }
    bool Refreshing() const { return refreshing_; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    static int Index(TVolumeOutput kind) { return int(kind); }
    void Refresh();
    void BarMoved(TObject* sender);

    std::array<int, 3> devices_{-1, -1, -1};
    std::array<TTrackBar*, 3> bars_{};
    int interval_ = 500;
    HWND timerWindow_ = 0;
    bool refreshing_ = false;
    // Set while the timer moves the bars, whose change then sets nothing.
    bool bringingInStep_ = false;
};

}  // namespace rv
