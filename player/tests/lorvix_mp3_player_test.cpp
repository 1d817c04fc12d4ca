// The player component on the null output with the virtual clock, on files made by real encoders.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/null_output.h"
#include "platform/audio/tests/special_files.h"
#include "platform/audio/tests/test_tones.h"
#include "platform/audio/wave_volume.h"
#include "platform/messages/tests/loop_fixture.h"
#include "player/lorvix_mp3_player.h"
#include "testsupport/process.h"
#include "testsupport/scoped_env.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv::test {
namespace {

class PlayerTest : public LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        SetNullOutputVirtualClock(true);
        WaveOutSetVolume(0xFFFFFFFF);
        player = std::make_unique<Lorvix_MP3Player>(nullptr);
        player->OnPlayComplete = [this](TObject* sender) {
            EXPECT_EQ(sender, player.get());
            ++completions;
        };
    }

    void TearDown() override {
        player.reset();
        LoopTest::TearDown();
        SetNullOutputVirtualClock(false);
    }

    // A tone file of that format made for this test; the test is skipped without its encoders.
    std::string Tone(ToneFormat format, double seconds = 3, const std::string& name = {}) {
        const std::string path = dir / (name.empty() ? "tone" + std::to_string(++made) : name);
        std::string why;
        EXPECT_TRUE(MakeTone(path, format, seconds, why)) << why;
        return path;
    }

    void Advance(unsigned ms) { ASSERT_TRUE(AdvanceNullOutputClock(ms)); }
    // Plays the open file of a second to its end without running the loop. Once the device is
    // seen stopped its notice is queued, and it stays there until the loop runs.
    void PlayOutLeavingTheNotice() {
        player->PlayFile();
        Advance(1500);
        for (int i = 0; i < 500 && player->GetMode() != 1; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_EQ(player->GetMode(), 1);
    }

    // Lets posted notifications and ticks arrive.
    void Settle(int ms = 100) {
        RunUntil([] { return false; }, ms);
    }

    // The message of the eMciDeviceError that `action` raises; empty when none.
    template <typename F>
    static std::string Raised(F action) {
        try {
            action();
        } catch (const eMciDeviceError& e) {
            return e.what();
        }
        return {};
    }

    ScopedEnv audio{"REELVAULT_AUDIO", "null"};
    TempDir dir;
    int made = 0;
    std::unique_ptr<Lorvix_MP3Player> player;
    int completions = 0;
};

#define REQUIRE_ENCODERS()   \
    RV_REQUIRE_TOOL("sox");  \
    RV_REQUIRE_TOOL("lame"); \
    RV_REQUIRE_TOOL("ffmpeg")

TEST_F(PlayerTest, LengthOfEachFormatIsWithinAFrame) {
    REQUIRE_ENCODERS();
    // Samples per frame: 1152 for layers II and III, 2048 for Windows Media Audio; at 44.1 kHz.
    const struct {
        ToneFormat format;
        double frameMs;
    } cases[] = {{ToneFormat::Mp3, 26.2}, {ToneFormat::Mp2, 26.2}, {ToneFormat::Wma, 46.5}};
    for (const auto& c : cases) {
        player->SetFileName(Tone(c.format));
        EXPECT_NE(player->DeviceId(), 0);
        EXPECT_EQ(player->GetLengthSecs(), 3);
        EXPECT_NEAR(double(player->GetLength()), 3000.0, c.frameMs);
    }
}

TEST_F(PlayerTest, ModesFollowPlayPauseAndResume) {
    REQUIRE_ENCODERS();
    EXPECT_EQ(player->GetMode(), 7);  // no device
    player->SetFileName(Tone(ToneFormat::Mp3));
    EXPECT_EQ(player->GetMode(), 1);
    player->PlayFile();
    EXPECT_EQ(player->GetMode(), 2);
    player->PauseIfPlaying();
    EXPECT_EQ(player->GetMode(), 5);
    player->PauseIfPlaying();
    EXPECT_EQ(player->GetMode(), 5);
    player->ResumeIfPaused();
    EXPECT_EQ(player->GetMode(), 2);
    player->StopPlaying();
    EXPECT_EQ(player->GetMode(), 1);
    player->Close();
    EXPECT_EQ(player->GetMode(), 7);
}

TEST_F(PlayerTest, PositionFollowsTheClockAndStandsWhilePaused) {
    REQUIRE_ENCODERS();
    player->SetFileName(Tone(ToneFormat::Wma));
    player->PlayFile();
    EXPECT_EQ(player->GetPositionMs(), 0u);
    Advance(400);
    EXPECT_EQ(player->GetPositionMs(), 400u);
    Advance(750);
    EXPECT_EQ(player->GetPositionMs(), 1150u);
    player->PauseIfPlaying();
    Advance(1000);
    EXPECT_EQ(player->GetPositionMs(), 1150u);
    player->ResumeIfPaused();
    Advance(250);
    EXPECT_EQ(player->GetPositionMs(), 1400u);
    player->StopPlaying();
    Advance(500);
    EXPECT_EQ(player->GetPositionMs(), 1400u);
    Settle();
    EXPECT_EQ(completions, 0);
}

TEST_F(PlayerTest, SeekMovesThePositionAndNeverCompletes) {
    REQUIRE_ENCODERS();
    player->SetFileName(Tone(ToneFormat::Mp3));
    player->PlayFile();
    Advance(500);
    player->SeekSecs(2);
    EXPECT_EQ(player->GetPositionMs(), 2000u);
    EXPECT_EQ(player->GetMode(), 1);
    Advance(2000);
    Settle();
    EXPECT_EQ(completions, 0);
    EXPECT_EQ(player->GetPositionMs(), 2000u);
    // Playing goes on from there.
    player->PlayFile();
    Advance(300);
    EXPECT_EQ(player->GetPositionMs(), 2300u);
    player->Seek(100);
    EXPECT_EQ(player->GetPositionMs(), 100u);
    Settle();
    EXPECT_EQ(completions, 0);
}

TEST_F(PlayerTest, CompletionComesOnceAtTheEnd) {
    REQUIRE_ENCODERS();
    player->SetFileName(Tone(ToneFormat::Mp2));
    const std::uint32_t length = player->GetLength();
    player->PlayFile();
    Advance(length - 100);
    Settle();
    EXPECT_EQ(completions, 0);
    Advance(200);
    EXPECT_TRUE(RunUntil([&] { return completions > 0; }));
    EXPECT_EQ(player->GetPositionMs(), length);
    EXPECT_EQ(player->GetMode(), 1);
    Advance(3000);
    Settle();
    EXPECT_EQ(completions, 1);
}

TEST_F(PlayerTest, StopAbortsAndIsIgnored) {
    REQUIRE_ENCODERS();
    player->SetFileName(Tone(ToneFormat::Mp3));
    player->PlayFile();
    Advance(1000);
    player->StopPlaying();
    Advance(5000);
    Settle();
    EXPECT_EQ(completions, 0);
    EXPECT_EQ(player->GetMode(), 1);
}

TEST_F(PlayerTest, WholeFileIsDecodedAndScaledByTheWaveVolume) {
    REQUIRE_ENCODERS();
    const struct {
        ToneFormat format;
        double frame;  // samples per frame
    } cases[] = {{ToneFormat::Mp3, 1152}, {ToneFormat::Wma, 2048}};
    for (const auto& c : cases) {
        player->SetFileName(Tone(c.format));
        double rms[2] = {};
        for (const std::uint32_t volume : {0xFFFFFFFFu, 0x40004000u}) {
            WaveOutSetVolume(volume);
            ResetNullOutputMeter();
            completions = 0;
            player->PlayFile();
            Advance(3500);
            ASSERT_TRUE(RunUntil([&] { return completions == 1; }));
            const NullOutputMeter meter = ReadNullOutputMeter();
            EXPECT_NEAR(double(meter.Frames), 44100 * 3.0, c.frame);
            EXPECT_EQ(meter.Samples, meter.Frames * 2);
            rms[volume == 0xFFFFFFFFu ? 0 : 1] = std::sqrt(meter.SumOfSquares / meter.Samples);
        }
        // The lossy codecs keep the sine's level within a few per cent.
        EXPECT_NEAR(rms[0], kToneRms, kToneRms * 0.03);
        EXPECT_NEAR(rms[1] / rms[0], 16384.0 / 65535.0, 0.005);
    }
}

TEST_F(PlayerTest, DamagedAndMissingFilesGiveTheDeviceErrors) {
    RV_REQUIRE_TOOL("sox");
    RV_REQUIRE_TOOL("lame");
    const std::string damaged = dir / "damaged.mp3";
    WriteFileBytes(damaged, std::string(4000, '\x5A'));
    EXPECT_EQ(Raised([&] { player->SetFileName(damaged); }),
              "The file is damaged or holds no audio that can be played. (Error code: 296)");
    EXPECT_EQ(player->DeviceId(), 0);
    EXPECT_EQ(player->GetMode(), 7);

    // A name that does not exist is dropped without a word, and with it the file open before,
    // which a play that follows must not take for it.
    player->SetFileName(Tone(ToneFormat::Mp3, 1));
    ASSERT_NE(player->DeviceId(), 0);
    player->SetFileName(dir / "missing.mp3");
    EXPECT_EQ(player->FileName(), "");
    EXPECT_EQ(player->DeviceId(), 0);

    // A file that goes away between being chosen and being played.
    const std::string file = Tone(ToneFormat::Mp3, 1);
    player->SetFileName(file);
    player->Close();
    std::remove(file.c_str());
    EXPECT_EQ(Raised([&] { player->PlayFile(); }),
              "The file could not be found. (Error code: 275)");
    EXPECT_EQ(player->DeviceId(), 0);
}

TEST_F(PlayerTest, FileNamesAreComparedExactly) {
    REQUIRE_ENCODERS();
    const std::string upper = Tone(ToneFormat::Mp3, 3, "Song.mp3");
    const std::string lower = Tone(ToneFormat::Mp3, 1, "song.mp3");
    player->SetFileName(upper);
    const MCIDEVICEID first = player->DeviceId();
    EXPECT_EQ(player->GetLengthSecs(), 3);
    player->SetFileName(upper);
    EXPECT_EQ(player->DeviceId(), first);  // the same name does not reopen
    player->SetFileName(lower);
    EXPECT_NE(player->DeviceId(), first);
    EXPECT_EQ(player->FileName(), lower);
    EXPECT_EQ(player->GetLengthSecs(), 1);
}

TEST_F(PlayerTest, PlayAtTheEndStartsFromTheBeginning) {
    REQUIRE_ENCODERS();
    player->SetFileName(Tone(ToneFormat::Mp3, 2));
    player->PlayFile();
    Advance(2500);
    ASSERT_TRUE(RunUntil([&] { return completions == 1; }));
    ASSERT_EQ(player->GetPositionMs(), player->GetLength());
    player->PlayFile();
    EXPECT_EQ(player->GetMode(), 2);
    Advance(500);
    EXPECT_EQ(player->GetPositionMs(), 500u);
    Settle();
    EXPECT_EQ(completions, 1);
}

TEST_F(PlayerTest, CompletionOfAClosedFileDoesNotEndTheNextOne) {
    REQUIRE_ENCODERS();
    const std::string second = Tone(ToneFormat::Mp3);
    player->SetFileName(Tone(ToneFormat::Mp2, 1));
    // Its notification is on its way, not yet delivered, when the next file starts.
    PlayOutLeavingTheNotice();
    player->SetFileName(second);
    player->PlayFile();
    Settle();
    EXPECT_EQ(completions, 0);
    EXPECT_EQ(player->GetMode(), 2);
}

TEST_F(PlayerTest, NoticeOfAnEarlierPlayDoesNotEndTheNextOne) {
    REQUIRE_ENCODERS();
    player->SetFileName(Tone(ToneFormat::Mp3, 1));
    // The GUI thread does not take the notice before the same file is played again.
    PlayOutLeavingTheNotice();
    player->PlayFile();
    ASSERT_EQ(player->GetMode(), 2);
    Settle();
    EXPECT_EQ(completions, 0);
    EXPECT_EQ(player->GetMode(), 2);
    // The new play's own notice counts.
    Advance(1500);
    EXPECT_TRUE(RunUntil([&] { return completions == 1; }));
    EXPECT_EQ(player->GetMode(), 1);
}

TEST_F(PlayerTest, LengthOfAWmaFileTaggedAfterEncodingIsWhatPlays) {
    REQUIRE_ENCODERS();
    const std::string plain = Tone(ToneFormat::Wma, 1.5);
    const std::string tagged = dir / "tagged.wma";
    WriteFileBytes(tagged, ReadFileBytes(plain));
    std::string why;
    RV_REQUIRE_STARTED("python3-mutagen", RetagWma(tagged, why), why);
    ASSERT_GT(ReadFileBytes(tagged).size(), ReadFileBytes(plain).size() + 2000);
    // One packet of Windows Media Audio: 2048 samples.
    const double packetMs = 2048 * 1000.0 / 44100;
    std::uint32_t lengths[2] = {};
    for (const std::string& file : {plain, tagged}) {
        player->SetFileName(file);
        const std::uint32_t length = player->GetLength();
        lengths[file == tagged] = length;
        ResetNullOutputMeter();
        completions = 0;
        player->PlayFile();
        Advance(length + 500);
        ASSERT_TRUE(RunUntil([&] { return completions == 1; })) << file;
        const double decodedMs = double(ReadNullOutputMeter().Frames) * 1000 / 44100;
        EXPECT_NEAR(double(length), decodedMs, packetMs) << file;
        EXPECT_EQ(player->GetPositionMs(), length) << file;
    }
    EXPECT_EQ(lengths[0], lengths[1]);
}

TEST_F(PlayerTest, NamesOfWhatIsNoRegularFileAreDroppedAtOnce) {
    const SpecialFiles special(dir);
    for (const auto& [kind, name] : special.All()) {
        EXPECT_TRUE(
            special.ReturnsWithin([&] { player->SetFileName(name); }, std::chrono::seconds(1)))
            << kind;
        EXPECT_EQ(player->FileName(), "") << kind;
        EXPECT_EQ(player->DeviceId(), 0) << kind;
    }
}

// The progress ticker runs on the loop's timers: these tests wait for its ticks.
class TickerTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        player->OnPlayProgress = [this](TObject*, int secs) { ticks.push_back(secs); };
    }
    std::vector<int> ticks;
};

TEST_F(TickerTest, OneTickerWhateverStartedItAgain) {
    REQUIRE_ENCODERS();
    const std::string first = Tone(ToneFormat::Mp3, 5);
    const std::string second = Tone(ToneFormat::Wma, 5);
    player->SetFileName(first);
    player->PlayFile();
    Advance(1000);
    // What the player window does when the bar is dragged, and on Next.
    for (int i = 0; i < 8; ++i) {
        player->SeekSecs(i % 3);
        player->PlayFile();
    }
    for (int i = 0; i < 4; ++i) {
        player->SetFileName(i % 2 ? first : second);
        player->GetLengthSecs();
        player->PlayFile();
    }
    // The first tick comes at once, then one a second. A timer of the same second, started right
    // after the ticker's, falls due after each of its ticks and before the next, however late
    // the loop runs; each time it moves the virtual clock on by a second, so that every tick
    // tells the period it came in.
    int periods = 0;
    const HWND fence = AllocateHWnd([&](TMessage& m) {
        if (m.Msg != WM_TIMER) return;
        if (++periods < 3)
            EXPECT_TRUE(AdvanceNullOutputClock(1000));
        else
            player->StopPlaying();
    });
    SetTimer(fence, 1, 1000);
    Advance(1000);
    EXPECT_TRUE(RunUntil([&] { return periods == 3; }, 30000));
    DeallocateHWnd(fence);
    EXPECT_EQ(ticks, (std::vector<int>{1, 1, 2, 3}));
}

TEST_F(TickerTest, TickerEndsWithStopCloseOpenPauseAndThePlayer) {
    REQUIRE_ENCODERS();
    const std::string file = Tone(ToneFormat::Mp2);
    player->SetFileName(file);
    const auto ticksAfter = [&](const std::function<void()>& action) {
        player->PlayFile();
        Settle(50);
        action();
        ticks.clear();
        Settle(1200);
        return ticks.size();
    };
    EXPECT_EQ(ticksAfter([&] { player->StopPlaying(); }), 0u);
    EXPECT_EQ(ticksAfter([&] { player->Close(); }), 0u);
    EXPECT_EQ(ticksAfter([&] { player->Open(); }), 0u);
    EXPECT_EQ(ticksAfter([&] { player->PauseIfPlaying(); }), 0u);
    player->ResumeIfPaused();
    ticks.clear();
    Settle(1200);
    EXPECT_GE(ticks.size(), 1u);
    // Without a handler there is no ticker at all.
    player->OnPlayProgress = nullptr;
    EXPECT_EQ(ticksAfter([] {}), 0u);
    // The player's end ends its ticker.
    player->OnPlayProgress = [this](TObject*, int secs) { ticks.push_back(secs); };
    EXPECT_EQ(ticksAfter([&] { player.reset(); }), 0u);
}

}  // namespace
}  // namespace rv::test
