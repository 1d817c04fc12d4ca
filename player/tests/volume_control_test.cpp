// The volume control on the wave output's gain, its linked track bars, and outputs the machine
// lacks.

#include "player/volume_control.h"

#include <gtest/gtest.h>

#include "platform/audio/wave_volume.h"
#include "platform/framework/tests/form_fixture.h"
#include "player/knob.h"

namespace rv::test {
namespace {

struct VolumeTest : ::testing::Test {
    VolumeTest() { WaveOutSetVolume(0xFFFFFFFF); }
    ~VolumeTest() override { WaveOutSetVolume(0xFFFFFFFF); }
    // One refresh, as the timer gives it.
    void Tick() { SendMessage(volume.TimerWindow(), WM_TIMER, 1, 0); }

    FormWith f;
    TVolumeControl volume{&f.form};
};

TEST_F(VolumeTest, TheKnobSetsTheWaveVolumeThroughTheByteScale) {
    ASSERT_EQ(volume.DeviceId(voWaveOut), 0);
    EXPECT_TRUE(volume.Refreshing());
    EXPECT_EQ(volume.GetVolume(voWaveOut), 255);

    auto* knob = f.Add<TKnob>(10, 10);
    knob->SetMax(255);
    knob->OnChange = [&](TObject*) { volume.SetVolume(voWaveOut, knob->Position()); };
    knob->SetPosition(128);
    EXPECT_EQ(WaveOutGetVolume(), 0x80008000u);
    knob->SetPosition(300);
    EXPECT_EQ(knob->Position(), 255);
    EXPECT_EQ(WaveOutGetVolume(), 0xFF00FF00u);
    EXPECT_EQ(volume.WaveVolume(), 255);

    // The low byte is what counts; the two channels are averaged.
    volume.SetVolume(voWaveOut, 300);
    EXPECT_EQ(WaveOutGetVolume(), 0x2C002C00u);
    WaveOutSetVolume(0x0000FFFF);
    EXPECT_EQ(volume.GetVolume(voWaveOut), 127);
}

TEST_F(VolumeTest, LinkedTrackBarsFollowTheVolumeAndSetIt) {
    auto* across = f.Add<TTrackBar>(10, 10);
    auto* upright = f.Add<TTrackBar>(10, 60);
    upright->SetOrientation(trVertical);
    volume.SetWaveTrackBar(across);
    WaveOutSetVolume(0x40004000);
    Tick();
    EXPECT_EQ(across->Min(), 0);
    EXPECT_EQ(across->Max(), 255);
    EXPECT_EQ(across->Position(), 64);
    across->SetPosition(200);
    EXPECT_EQ(WaveOutGetVolume(), 0xC800C800u);

    // Upright, the top is loud.
    volume.SetWaveTrackBar(upright);
    Tick();
    EXPECT_EQ(upright->Position(), 55);
    upright->Perform(WM_KEYDOWN, VK_HOME);
    EXPECT_EQ(WaveOutGetVolume(), 0xFF00FF00u);

    // A freed bar is let go.
    delete upright;
    EXPECT_EQ(volume.WaveTrackBar(), nullptr);
    Tick();
}

TEST_F(VolumeTest, ABarOutlivingTheControlIsDetached) {
    auto* bar = f.Add<TTrackBar>(10, 10);
    {
        TVolumeControl short_lived(nullptr);
        short_lived.SetWaveTrackBar(bar);
        SendMessage(short_lived.TimerWindow(), WM_TIMER, 1, 0);
        EXPECT_TRUE(bool(bar->OnChange));
    }
    EXPECT_FALSE(bool(bar->OnChange));
    bar->SetPosition(3);
}

TEST_F(VolumeTest, AnOutputWithoutADeviceReadsZeroAndTakesNothing) {
    if (volume.DeviceId(voAuxiliary) >= 0 && volume.DeviceId(voMidiOut) >= 0)
        GTEST_SKIP() << "this machine's mixer has CD and MIDI volumes";
    for (TVolumeOutput kind : {voAuxiliary, voMidiOut}) {
        if (volume.DeviceId(kind) >= 0) continue;  // this machine has one
        EXPECT_EQ(volume.GetVolume(kind), 0);
        volume.SetVolume(kind, 200);
        EXPECT_EQ(volume.GetVolume(kind), 0);
        auto* bar = f.Add<TTrackBar>(10, 10);
        bar->SetPosition(5);
        kind == voAuxiliary ? volume.SetCDTrackBar(bar) : volume.SetMidiTrackBar(bar);
        Tick();
        EXPECT_EQ(bar->Position(), 0);
    }
}

}  // namespace
}  // namespace rv::test
