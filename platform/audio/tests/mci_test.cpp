// The audio devices through their command entry, on the null output with the virtual clock.

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/audio/mci.h"
#include "platform/audio/null_output.h"
#include "platform/audio/tests/special_files.h"
#include "platform/audio/tests/test_tones.h"
#include "platform/messages/tests/loop_fixture.h"
#include "testsupport/process.h"
#include "testsupport/scoped_env.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv::test {
namespace {

struct Notification {
    HWND window;
    WPARAM code;
    MCIDEVICEID device;
    std::uint32_t play;  // the number MciPlay gave
    bool operator==(const Notification&) const = default;
};

class MciTest : public LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        SetNullOutputVirtualClock(true);
    }
    void TearDown() override {
        LoopTest::TearDown();
        SetNullOutputVirtualClock(false);
    }

    std::string Tone(ToneFormat format, double seconds = 3) {
        const std::string path = dir / ("tone" + std::to_string(++made));
        std::string why;
        EXPECT_TRUE(MakeTone(path, format, seconds, why)) << why;
        return path;
    }

    // A window that records the notifications it is sent.
    HWND Listener() {
        HWND* self = new HWND(0);
        owned.emplace_back(self);
        *self = AllocateHWnd([this, self](TMessage& m) {
            if (m.Msg == MM_MCINOTIFY)
                received.push_back(
                    {*self, m.WParam, MciNotifyDevice(m.LParam), MciNotifyPlay(m.LParam)});
        });
        return *self;
    }

    // Lets posted notifications arrive.
    void Settle() {
        RunUntil([] { return false; }, 100);
    }

    ScopedEnv audio{"REELVAULT_AUDIO", "null"};
    TempDir dir;
    int made = 0;
    std::vector<Notification> received;
    std::vector<std::unique_ptr<HWND>> owned;
};

#define REQUIRE_ENCODERS()   \
    RV_REQUIRE_TOOL("sox");  \
    RV_REQUIRE_TOOL("lame"); \
    RV_REQUIRE_TOOL("ffmpeg")

std::uint32_t Status(MCIDEVICEID id, std::uint32_t item) {
    std::uint32_t value = 0;
    EXPECT_EQ(MciStatus(id, item, value), 0u);
    return value;
}

TEST_F(MciTest, NotificationsTellHowEachPlayEnded) {
    REQUIRE_ENCODERS();
    MCIDEVICEID id = 0;
    ASSERT_EQ(MciOpen(Tone(ToneFormat::Mp3), id), 0u);
    const HWND first = Listener(), second = Listener();
    std::uint32_t plays[5] = {};

    // A newer play takes the notification over.
    ASSERT_EQ(MciPlay(id, first, plays[0]), 0u);
    ASSERT_TRUE(AdvanceNullOutputClock(300));
    ASSERT_EQ(MciPlay(id, second, plays[1]), 0u);
    Settle();
    EXPECT_EQ(received, (std::vector<Notification>{{first, MCI_NOTIFY_SUPERSEDED, id, plays[0]}}));
    EXPECT_EQ(Status(id, MCI_STATUS_MODE), MCI_MODE_PLAY);

    // A seek stops the play it interrupts and tells of nothing else.
    ASSERT_EQ(MciSeek(id, 2000), 0u);
    ASSERT_TRUE(AdvanceNullOutputClock(2000));
    Settle();
    EXPECT_EQ(received.back(), (Notification{second, MCI_NOTIFY_ABORTED, id, plays[1]}));
    EXPECT_EQ(received.size(), 2u);
    EXPECT_EQ(Status(id, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(Status(id, MCI_STATUS_POSITION), 2000u);

    // Played to the end: successful, once, and the device stands at its length.
    ASSERT_EQ(MciPlay(id, first, plays[2]), 0u);
    ASSERT_TRUE(AdvanceNullOutputClock(1500));
    EXPECT_TRUE(RunUntil([&] { return received.size() == 3; }));
    Settle();
    EXPECT_EQ(received.back(), (Notification{first, MCI_NOTIFY_SUCCESSFUL, id, plays[2]}));
    EXPECT_EQ(received.size(), 3u);
    EXPECT_EQ(Status(id, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(Status(id, MCI_STATUS_POSITION), Status(id, MCI_STATUS_LENGTH));

    // Stopped, or closed, before the end: aborted.
    ASSERT_EQ(MciSeek(id, 0), 0u);
    ASSERT_EQ(MciPlay(id, second, plays[3]), 0u);
    ASSERT_EQ(MciStop(id), 0u);
    ASSERT_EQ(MciPlay(id, first, plays[4]), 0u);
    ASSERT_EQ(MciClose(id), 0u);
    Settle();
    ASSERT_EQ(received.size(), 5u);
    EXPECT_EQ(received[3], (Notification{second, MCI_NOTIFY_ABORTED, id, plays[3]}));
    EXPECT_EQ(received[4], (Notification{first, MCI_NOTIFY_ABORTED, id, plays[4]}));

    std::set<std::uint32_t> distinct(std::begin(plays), std::end(plays));
    EXPECT_EQ(distinct.size(), 5u);
    for (HWND window : {first, second}) DeallocateHWnd(window);
}

TEST_F(MciTest, PausedDeviceHoldsItsPositionAndKeepsItsNotification) {
    REQUIRE_ENCODERS();
    MCIDEVICEID id = 0;
    ASSERT_EQ(MciOpen(Tone(ToneFormat::Mp2), id), 0u);
    const HWND window = Listener();
    ASSERT_EQ(MciPlay(id, window), 0u);
    ASSERT_TRUE(AdvanceNullOutputClock(1000));
    ASSERT_EQ(MciPause(id), 0u);
    EXPECT_EQ(Status(id, MCI_STATUS_MODE), MCI_MODE_PAUSE);
    ASSERT_TRUE(AdvanceNullOutputClock(5000));
    EXPECT_EQ(Status(id, MCI_STATUS_POSITION), 1000u);
    // Playing a paused device goes on where it was.
    ASSERT_EQ(MciPlay(id, window), 0u);
    ASSERT_TRUE(AdvanceNullOutputClock(500));
    EXPECT_EQ(Status(id, MCI_STATUS_POSITION), 1500u);
    ASSERT_EQ(MciPause(id), 0u);
    ASSERT_EQ(MciResume(id), 0u);
    ASSERT_TRUE(AdvanceNullOutputClock(2000));
    // The second Play superseded the first one's notification, to the same window.
    EXPECT_TRUE(RunUntil([&] { return received.size() == 2; }));
    Settle();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].code, MCI_NOTIFY_SUPERSEDED);
    EXPECT_EQ(received[1].code, MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(MciClose(id), 0u);
    DeallocateHWnd(window);
}

TEST_F(MciTest, ErrorsOfFilesAndRequests) {
    RV_REQUIRE_TOOL("sox");
    MCIDEVICEID id = 99;
    EXPECT_EQ(MciOpen(dir / "missing.mp3", id), MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(MciOpen("", id), MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(MciOpen(dir.Path(), id), MCIERR_FILE_READ);

    WriteFileBytes(dir / "damaged.mp3", std::string(4000, '\x5A'));
    EXPECT_EQ(MciOpen(dir / "damaged.mp3", id), MCIERR_INVALID_FILE);
    WriteFileBytes(dir / "empty.wma", "");
    EXPECT_EQ(MciOpen(dir / "empty.wma", id), MCIERR_INVALID_FILE);
    // A sound file, but not one of the formats played.
    const std::string wave = dir / "tone.wav";
    ASSERT_EQ(RunProcess({"sox", "-n", "-r", "8000", wave, "synth", "1", "sine", "440"}).exitCode,
              0);
    EXPECT_EQ(MciOpen(wave, id), MCIERR_CANNOT_LOAD_DRIVER);

    std::uint32_t value = 7;
    EXPECT_EQ(MciStatus(4321, MCI_STATUS_MODE, value), MCIERR_INVALID_DEVICE_ID);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(MciPlay(4321, 0), MCIERR_INVALID_DEVICE_ID);
    EXPECT_EQ(MciClose(4321), MCIERR_INVALID_DEVICE_ID);

    RV_REQUIRE_TOOL("lame");
    ASSERT_EQ(MciOpen(Tone(ToneFormat::Mp3, 1), id), 0u);
    EXPECT_EQ(MciSetTimeFormat(id, 9), MCIERR_BAD_TIME_FORMAT);
    EXPECT_EQ(MciSetTimeFormat(id, MCI_FORMAT_MILLISECONDS), 0u);
    EXPECT_EQ(MciSeek(id, 60000), MCIERR_OUTOFRANGE);
    EXPECT_EQ(MciStatus(id, 99, value), MCIERR_UNSUPPORTED_FUNCTION);
    EXPECT_EQ(MciClose(id), 0u);
    EXPECT_EQ(MciClose(id), MCIERR_INVALID_DEVICE_ID);

    std::string text;
    for (MCIERROR error :
         {MCIERR_FILE_NOT_FOUND, MCIERR_INVALID_FILE, MCIERR_FILE_READ, MCIERR_CANNOT_LOAD_DRIVER,
          MCIERR_DEVICE_NOT_INSTALLED, MCIERR_WAVE_OUTPUTSINUSE, MCIERR_INVALID_DEVICE_NAME}) {
        EXPECT_TRUE(MciGetErrorString(error, text));
        EXPECT_FALSE(text.empty());
    }
    EXPECT_FALSE(MciGetErrorString(12345, text));
}

TEST_F(MciTest, DamagedStretchesArePassedOverAndTheFileStillEnds) {
    REQUIRE_ENCODERS();
    std::string scrambled = ReadFileBytes(Tone(ToneFormat::Mp3));
    for (std::size_t i = 20000; i < 24000; ++i) scrambled[i] = char(i * 7919 % 251);
    std::string truncated = ReadFileBytes(Tone(ToneFormat::Wma));
    truncated.resize(truncated.size() * 6 / 10);
    const HWND window = Listener();
    for (const std::string& bytes : {scrambled, truncated}) {
        const std::string path = dir / "damaged";
        WriteFileBytes(path, bytes);
        MCIDEVICEID id = 0;
        ASSERT_EQ(MciOpen(path, id), 0u);
        ResetNullOutputMeter();
        received.clear();
        ASSERT_EQ(MciPlay(id, window), 0u);
        ASSERT_TRUE(AdvanceNullOutputClock(4000));
        EXPECT_TRUE(RunUntil([&] { return !received.empty(); }));
        EXPECT_EQ(received.back().code, MCI_NOTIFY_SUCCESSFUL);
        EXPECT_GT(ReadNullOutputMeter().Frames, 44100u);
        EXPECT_EQ(MciClose(id), 0u);
    }
    DeallocateHWnd(window);
}

// The clock moved on a millisecond at a time, as a real one runs: the decoder keeps the output fed
// but waits on it only once per period of a real output (a quarter of what it keeps queued), not
// each time room for a few frames has opened.
TEST_F(MciTest, TheDecoderWaitsOncePerPeriodOfTheOutput) {
    REQUIRE_ENCODERS();
    MCIDEVICEID id = 0;
    ASSERT_EQ(MciOpen(Tone(ToneFormat::Mp3, 5), id), 0u);
    ASSERT_EQ(MciPlay(id, 0), 0u);
    ASSERT_TRUE(AdvanceNullOutputClock(100));
    ResetNullOutputMeter();
    constexpr unsigned kPlayedMs = 3000, kPeriodMs = 50;
    for (unsigned ms = 0; ms < kPlayedMs; ++ms) ASSERT_TRUE(AdvanceNullOutputClock(1));
    const NullOutputMeter meter = ReadNullOutputMeter();
    EXPECT_LE(meter.Waits, kPlayedMs / kPeriodMs + 2);
    EXPECT_GE(meter.Waits, kPlayedMs / kPeriodMs - 2);
    // Nothing went short meanwhile: the output was given all that played.
    EXPECT_GE(meter.Frames, (kPlayedMs - 200) * 44100u / 1000);
    EXPECT_EQ(Status(id, MCI_STATUS_POSITION), 100 + kPlayedMs);
    EXPECT_EQ(Status(id, MCI_STATUS_MODE), MCI_MODE_PLAY);

    // Paused, and played out: one wait each, however long they last.
    ASSERT_EQ(MciPause(id), 0u);
    ResetNullOutputMeter();
    for (unsigned ms = 0; ms < 500; ++ms) ASSERT_TRUE(AdvanceNullOutputClock(1));
    EXPECT_LE(ReadNullOutputMeter().Waits, 1u);
    EXPECT_EQ(Status(id, MCI_STATUS_POSITION), 100 + kPlayedMs);
    EXPECT_EQ(MciClose(id), 0u);
}

TEST_F(MciTest, NamesOfWhatIsNoRegularFileAreRefusedAtOnce) {
    const SpecialFiles special(dir);
    for (const auto& [kind, name] : special.All()) {
        MCIDEVICEID id = 99;
        MCIERROR error = 0;
        EXPECT_TRUE(
            special.ReturnsWithin([&] { error = MciOpen(name, id); }, std::chrono::seconds(1)))
            << kind;
        EXPECT_EQ(error, MCIERR_FILE_NOT_FOUND) << kind;
        EXPECT_EQ(id, 0) << kind;
    }
}

// ALSA reads its configuration from here: a default device that cannot exist.

TEST_F(MciTest, OutputIsChosenByTheEnvironment) {
    REQUIRE_ENCODERS();
    const std::string file = Tone(ToneFormat::Wma, 1);
    // ALSA's default device is a card that is not there, and no PulseAudio server runs.
    const std::string config = dir / "asound.conf";
    WriteFileBytes(config, "pcm.!default { type hw card 31 device 0 }\n");
    const ScopedEnv alsa("ALSA_CONFIG_PATH", config);
    const ScopedEnv pulse("PULSE_SERVER", "unix:" + dir / "no-server");
    MCIDEVICEID id = 0;
    for (const char* choice : {"auto", "pulse", "alsa"}) {
        audio.Set(choice);
        EXPECT_EQ(MciOpen(file, id), MCIERR_DEVICE_NOT_INSTALLED) << choice;
        EXPECT_EQ(id, 0);
    }
    audio.Set("speakers");
    EXPECT_EQ(MciOpen(file, id), MCIERR_INVALID_DEVICE_NAME);
    audio.Set("null");
    ASSERT_EQ(MciOpen(file, id), 0u);
    EXPECT_EQ(MciClose(id), 0u);
}

}  // namespace
}  // namespace rv::test
