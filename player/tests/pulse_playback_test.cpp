// The player playing for real through a PulseAudio server of the test's own, in real time.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/audio/tests/private_pulse_server.h"
#include "platform/audio/tests/test_tones.h"
#include "platform/audio/wave_volume.h"
#include "platform/messages/tests/loop_fixture.h"
#include "player/lorvix_mp3_player.h"
#include "testsupport/process.h"
#include "testsupport/scoped_env.h"
#include "testsupport/temp_dir.h"

namespace rv::test {
namespace {

class PulsePlaybackTest : public LoopTest {
protected:
    void SetUp() override {
        RV_REQUIRE_TOOL("sox");
        RV_REQUIRE_TOOL("lame");
        std::string why;
        ASSERT_TRUE(MakeTone(file, ToneFormat::Mp3, 2, why)) << why;
        server = std::make_unique<PrivatePulseServer>();
        RV_REQUIRE_STARTED("pulseaudio", server->Running(), server->Why());
        pulse = std::make_unique<ScopedEnv>("PULSE_SERVER", server->Address());
        LoopTest::SetUp();
    }

    // Plays the file to its end, checking the position along the way against the time that has
    // passed: the output keeps a fifth of a second queued, so what is played trails the time.
    void PlayThrough() {
        Lorvix_MP3Player player(nullptr);
        int completions = 0;
        player.OnPlayComplete = [&](TObject*) { ++completions; };
        player.SetFileName(file);
        ASSERT_NE(player.DeviceId(), 0);
        const auto start = std::chrono::steady_clock::now();
        const auto elapsedMs = [&] {
            return double(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - start)
                              .count());
        };
        player.PlayFile();
        std::uint32_t last = 0;
        for (int i = 0; i < 10; ++i) {
            RunUntil([] { return false; }, 100);
            const std::uint32_t position = player.GetPositionMs();
            EXPECT_GE(position, last);
            EXPECT_LE(position, elapsedMs());
            last = position;
        }
        EXPECT_EQ(player.GetMode(), 2);
        EXPECT_GT(double(last), elapsedMs() - 450);

        ASSERT_TRUE(RunUntil([&] { return completions > 0; }, 6000));
        EXPECT_GT(elapsedMs(), 1900);
        EXPECT_EQ(player.GetMode(), 1);
        EXPECT_EQ(player.GetPositionMs(), player.GetLength());
    }

    TempDir dir;
    const std::string file = dir / "tone.mp3";
    std::unique_ptr<PrivatePulseServer> server;
    std::unique_ptr<ScopedEnv> pulse;
    ScopedEnv audio{"REELVAULT_AUDIO", "auto"};
};

TEST_F(PulsePlaybackTest, PlaysTwoSecondsThroughPulseAudio) {
    audio.Set("pulse");
    PlayThrough();
}

// The wave volume is the stream's volume in the server's mixer, and follows it while playing.
TEST_F(PulsePlaybackTest, TheWaveVolumeIsTheStreamsVolumeInTheMixer) {
    RV_REQUIRE_TOOL("pactl");
    audio.Set("pulse");
    WaveOutSetVolume(0x40004000);
    Lorvix_MP3Player player(nullptr);
    player.SetFileName(file);
    player.PlayFile();
    // The level on both channels of the one stream, as the server's own tool reports it.
    std::string volumes;
    const auto shows = [&](const std::string& level) {
        return RunUntil(
            [&] {
                volumes = RunProcess({"pactl", "list", "sink-inputs"}).out;
                const std::size_t first = volumes.find(level);
                return first != std::string::npos &&
                       volumes.find(level, first + 1) != std::string::npos;
            },
            3000);
    };
    // A quarter of the level is 12 dB down.
    EXPECT_TRUE(shows("/ -12.04 dB")) << volumes;
    WaveOutSetVolume(0xFFFFFFFF);
    EXPECT_TRUE(shows("/ 0.00 dB")) << volumes;
    player.StopPlaying();
}

// ALSA's default device is PulseAudio's ALSA plugin when a server runs.
TEST_F(PulsePlaybackTest, PlaysTwoSecondsThroughAlsa) {
    audio.Set("alsa");
    PlayThrough();
}

}  // namespace
}  // namespace rv::test
