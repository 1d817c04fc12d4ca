// The volumes of the outputs: the wave output's gain, and an ALSA mixer control checked against
// the PulseAudio server that the ALSA control plugin "pulse" drives.

#include <gtest/gtest.h>

#include <string>

#include "platform/audio/internal/alsa_mixer.h"
#include "platform/audio/tests/private_pulse_server.h"
#include "platform/audio/volume_devices.h"
#include "platform/audio/wave_volume.h"
#include "testsupport/process.h"
#include "testsupport/scoped_env.h"

namespace rv::test {
namespace {

using audio_internal::ReadMixerVolume;
using audio_internal::WriteMixerVolume;

TEST(VolumeDevices, TheWaveOutputIsTheDecodersGain) {
    ASSERT_EQ(FindVolumeDevice(voWaveOut), 0);
    ASSERT_TRUE(SetDeviceVolume(voWaveOut, 0, 0x12345678));
    EXPECT_EQ(WaveOutGetVolume(), 0x12345678u);
    std::uint32_t volume = 0;
    ASSERT_TRUE(GetDeviceVolume(voWaveOut, 0, volume));
    EXPECT_EQ(volume, 0x12345678u);
    // There is no second wave device.
    EXPECT_FALSE(GetDeviceVolume(voWaveOut, 1, volume));
    EXPECT_FALSE(SetDeviceVolume(voWaveOut, 1, 0));
    EXPECT_EQ(WaveOutGetVolume(), 0x12345678u);
    WaveOutSetVolume(0xFFFFFFFF);
}

TEST(VolumeDevices, CardsWithoutTheControlsHaveNoCdOrMidiDevice) {
    if (!audio_internal::SoundCards().empty()) GTEST_SKIP() << "this machine has sound cards";
    EXPECT_EQ(FindVolumeDevice(voAuxiliary), -1);
    EXPECT_EQ(FindVolumeDevice(voMidiOut), -1);
    std::uint32_t volume = 7;
    EXPECT_FALSE(GetDeviceVolume(voAuxiliary, 0, volume));
    EXPECT_FALSE(SetDeviceVolume(voMidiOut, 0, 0));
    EXPECT_FALSE(GetDeviceVolume(voMidiOut, -1, volume));
    EXPECT_EQ(volume, 7u);
}

TEST(AlsaMixer, ReadsAndSetsAControlsChannelsAsAVolumeWord) {
    PrivatePulseServer server;
    RV_REQUIRE_STARTED("pulseaudio", server.Running(), server.Why());
    RV_REQUIRE_TOOL("pactl");
    const ScopedEnv pulse("PULSE_SERVER", server.Address());

    // The server's sink starts at full volume.
    std::uint32_t volume = 0;
    ASSERT_TRUE(ReadMixerVolume("pulse", "Master", volume));
    EXPECT_EQ(volume, 0xFFFFFFFFu);

    // Half on the left, a quarter on the right, as the server itself reports it: its full
    // volume is 65536, of which 0x8000 / 0xFFFF is 32768.5000076.
    ASSERT_TRUE(WriteMixerVolume("pulse", "Master", 0x40008000));
    const ProcessResult pactl = RunProcess({"pactl", "get-sink-volume", "reelvault_test"});
    ASSERT_EQ(pactl.exitCode, 0) << pactl.err;
    EXPECT_NE(pactl.out.find("front-left: 32769 /  50%"), std::string::npos) << pactl.out;
    EXPECT_NE(pactl.out.find("front-right: 16384 /  25%"), std::string::npos) << pactl.out;
    ASSERT_TRUE(ReadMixerVolume("pulse", "Master", volume));
    EXPECT_EQ(volume, 0x40008000u);

    // Set by the server's own tool, read here.
    ASSERT_EQ(RunProcess({"pactl", "set-sink-volume", "reelvault_test", "0"}).exitCode, 0);
    ASSERT_TRUE(ReadMixerVolume("pulse", "Master", volume));
    EXPECT_EQ(volume, 0u);

    // A control, or a device, that is not there.
    EXPECT_FALSE(ReadMixerVolume("pulse", "CD", volume));
    EXPECT_FALSE(WriteMixerVolume("pulse", "Synth", 0));
    EXPECT_FALSE(ReadMixerVolume("hw:99", "CD", volume));
    EXPECT_EQ(volume, 0u);
}

}  // namespace
}  // namespace rv::test
