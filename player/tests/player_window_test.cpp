// The player window on the null output with the virtual clock: its play list read from files
// made by real encoders, playing one row after the other, the position bar, the totals, the
// library and the main window, and its place kept in the registry.

#include "player/player_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/null_output.h"
#include "platform/audio/tests/test_tones.h"
#include "platform/audio/wave_volume.h"
#include "platform/registry/registry.h"
#include "platform/registry/tests/settings_sandbox.h"
#include "platform/windows/scripted_dialogs.h"
#include "platform/windows/tests/gui_app.h"
#include "platform/windows/window_host.h"
#include "platform/windows/window_image.h"
#include "player/tests/main_window_double.h"
#include "testsupport/process.h"
#include "testsupport/scoped_env.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv::test {
namespace {

using Texts = std::vector<std::string>;

// The files every test may add, made once: tagged tones of three, two and one seconds, a text
// file and an MP3 name on bytes that are no audio.
struct Media {
    TempDir dir;
    std::string mp3 = dir / "blue.mp3", wma = dir / "spain.wma", one = dir / "one.mp3",
                two = dir / "two.mp3", text = dir / "notes.txt", junk = dir / "junk.mp3";
    std::string why;

    Media() {
        const bool made =
            MakeTone(mp3, ToneFormat::Mp3, 3, why,
                     {"Blue in Green", "Davis, Miles", "Kind of Blue", "1959", "3"}) &&
            MakeTone(wma, ToneFormat::Wma, 2, why,
                     {"Spain", "Corea, Chick", "Light", "1972", "2"}) &&
            MakeTone(one, ToneFormat::Mp3, 1, why, {"One", "Tester", "Short", "", "1"}) &&
            MakeTone(two, ToneFormat::Mp3, 1, why, {"Two", "Tester", "Short", "", "2"});
        if (!made && why.empty()) why = "an encoder failed";
        if (made) why.clear();
        WriteFileBytes(text, "not audio\n");
        WriteFileBytes(junk, std::string(4000, '\x5A'));
    }
};

Media* g_media = nullptr;

class PlayerWindowTest : public SettingsSandbox {
protected:
    static void SetUpTestSuite() {
        if (HaveTool("sox") && HaveTool("lame") && HaveTool("ffmpeg")) g_media = new Media;
    }
    static void TearDownTestSuite() {
        delete g_media;
        g_media = nullptr;
    }

    PlayerWindowTest() {
        App();
        SetNullOutputVirtualClock(true);
        WaveOutSetVolume(0xFFFFFFFF);
    }
    ~PlayerWindowTest() override {
        main.reset();
        SetNullOutputVirtualClock(false);
        WaveOutSetVolume(0xFFFFFFFF);
        App().OnException = nullptr;
    }

    void SetUp() override {
        if (!g_media) GTEST_SKIP() << "sox, lame and ffmpeg make the test files";
        ASSERT_EQ(g_media->why, "");
        OpenWindows();
    }

    // The main window shown, and the player shown for it.
    void OpenWindows() {
        main = std::make_unique<MainWindowDouble>();
        main->Show();
        ShowPlayerWindow(main.get());
        w = PlayerWindow();
        ASSERT_NE(w, nullptr);
        Settle();
    }

    // The files chosen in the open dialog.
    void Add(const Texts& files) {
        dialogs.AnswerFiles(files);
        w->cmOpen(nullptr);
    }
    Texts Row(int index) const {
        const TListItem* row = w->List->Items(index);
        if (!row) return {};
        Texts texts{row->Caption()};
        for (int i = 0; i <= piChannelMode; ++i) texts.push_back(row->SubItem(i));
        return texts;
    }
    std::string Totals() const { return w->sb->Panels(0)->Text(); }
    int Selected() const { return w->List->ItemIndex(); }

    static void Settle() {
        for (int i = 0; i < 3; ++i) App().ProcessMessages();
    }
    // Handles the window messages until `done` holds; false after five seconds without it.
    static bool PumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            App().ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }
    static void Advance(unsigned ms) { ASSERT_TRUE(AdvanceNullOutputClock(ms)); }
    // The player ends the file it plays and the window starts what follows.
    bool PlaysOut(unsigned ms) {
        const std::string playing = w->Player->FileName();
        const std::uint32_t before = w->Player->GetPositionMs();
        EXPECT_TRUE(AdvanceNullOutputClock(ms));
        const bool ended = PumpUntil([&] {
            return w->Player->FileName() != playing || w->Player->GetMode() != 2 ||
                   w->Player->GetPositionMs() < before;
        });
        // A device seen stopped has its notice queued already.
        Settle();
        return ended;
    }

    // The left button on the position bar at x (bar coordinates), through the panel it is on.
    void OnBar(UINT msg, int x) {
        w->TopPanel->Perform(msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                             MAKELPARAM(w->Trackbar->Left() + x, w->Trackbar->Top() + 7));
    }

    ScopedEnv audio{"REELVAULT_AUDIO", "null"};
    TScriptedDialogs dialogs;
    std::unique_ptr<MainWindowDouble> main;
    Twnd_mp3_Player* w = nullptr;
};

TEST_F(PlayerWindowTest, AddingFilesMakesARowForEachAudioFileAndShowsTheTotals) {
    const Media& m = *g_media;
    EXPECT_EQ(w->Caption(), "Lorvix MP3 Player");
    Add({m.mp3, m.wma, m.text, m.junk});
    ASSERT_EQ(w->List->ItemCount(), 2);
    EXPECT_EQ(Row(0), (Texts{"3", "Davis, Miles", "Kind of Blue", "Blue in Green", "00:03", "320",
                             m.mp3, "MPEG 1 Layer III", "Joint Stereo"}));
    EXPECT_EQ(Row(1), (Texts{"2", "Corea, Chick", "Light", "Spain", "00:02", "128", m.wma,
                             "Windows Media Audio", "Stereo"}));
    EXPECT_EQ(Totals(), "2 files (0 MB): 0h 00m 05s");
    // The dialog as the window sets it up, and the folder it starts in next time.
    const TDialogCall call = dialogs.CallsOf(TDialogKind::Open).at(0);
    EXPECT_EQ(call.Filter, kAudioFilesFilter);
    EXPECT_EQ(call.Type & (ofAllowMultiSelect | ofFileMustExist | ofPathMustExist),
              ofAllowMultiSelect | ofFileMustExist | ofPathMustExist);
    EXPECT_EQ(w->od->InitialDir, m.dir.Path());

    // A second choice adds to the list; the totals count every row.
    Add({m.one});
    EXPECT_EQ(w->List->ItemCount(), 3);
    EXPECT_EQ(Totals(), "3 files (0 MB): 0h 00m 06s");
}

TEST_F(PlayerWindowTest, PlayingMovesTheBarAndTheTimeAndMovingTheBarSeeks) {
    Add({g_media->mp3, g_media->wma});
    w->sbPlay->Click();
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(w->Player->FileName(), g_media->mp3);
    EXPECT_EQ(w->Player->GetMode(), 2);
    EXPECT_EQ(w->lFormat->Caption(), "MPEG 1 Layer III");
    EXPECT_EQ(w->lCM->Caption(), "Joint Stereo");
    EXPECT_EQ(w->Trackbar->Max(), 3);
    // The first tick comes at once, the next a second later.
    Settle();
    EXPECT_EQ(w->TimePanel->Caption(), "00:00");
    Advance(2000);
    ASSERT_TRUE(PumpUntil([&] { return w->TimePanel->Caption() == "00:02"; }));
    EXPECT_EQ(w->Trackbar->Position(), 2);
    EXPECT_EQ(w->Trackbar->Hint, "00:02");
    EXPECT_EQ(w->Player->GetMode(), 2);

    // Dragged back to the start: the file plays on from there.
    const int grab = w->Trackbar->PartRect(kScroller).Left + 2;
    OnBar(WM_LBUTTONDOWN, grab);
    OnBar(WM_MOUSEMOVE, 15 + 2);
    OnBar(WM_LBUTTONUP, 15 + 2);
    EXPECT_EQ(w->Trackbar->Position(), 0);
    EXPECT_EQ(w->Player->GetPositionMs(), 0u);
    EXPECT_EQ(w->Player->GetMode(), 2);
    EXPECT_EQ(w->Trackbar->Hint, "00:00");
    Advance(500);
    EXPECT_EQ(w->Player->GetPositionMs(), 500u);

    // Pause, and Play resumes where it stood; Stop goes back to the start.
    w->cmPause(nullptr);
    EXPECT_EQ(w->Player->GetMode(), 5);
    w->cmPlay(nullptr);
    EXPECT_EQ(w->Player->GetMode(), 2);
    EXPECT_EQ(w->Player->FileName(), g_media->mp3);
    EXPECT_EQ(w->Player->GetPositionMs(), 500u);
    w->sbStop->Click();
    EXPECT_EQ(w->Player->GetMode(), 1);
    EXPECT_EQ(w->Player->GetPositionMs(), 0u);
}

TEST_F(PlayerWindowTest, AShorterFileAfterALongerOneStartsAtItsBeginning) {
    Add({g_media->mp3, g_media->one});
    w->cmPlay(nullptr);
    Advance(2000);
    ASSERT_TRUE(PumpUntil([&] { return w->Trackbar->Position() == 2; }));
    // The bar's end comes down to 1 and takes its position along: no seek of the user's.
    w->cmNext(nullptr);
    EXPECT_EQ(w->Trackbar->Max(), 1);
    EXPECT_EQ(w->Player->FileName(), g_media->one);
    EXPECT_EQ(w->Player->GetPositionMs(), 0u);
    EXPECT_EQ(w->Player->GetMode(), 2);
    w->cmStop(nullptr);
}

TEST_F(PlayerWindowTest, EachRowPlaysAfterTheOneBeforeAndAfterTheLastPlayingStops) {
    const Media& m = *g_media;
    Add({m.one, m.two});
    w->cmPlay(nullptr);
    ASSERT_TRUE(PlaysOut(1500));
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(w->Player->FileName(), m.two);
    EXPECT_EQ(w->Player->GetMode(), 2);
    ASSERT_TRUE(PlaysOut(1500));
    EXPECT_EQ(w->Player->GetMode(), 1);
    EXPECT_EQ(Selected(), -1);
    Advance(1000);
    Settle();
    EXPECT_EQ(w->Player->GetMode(), 1);

    // Another row chosen while one plays is the one that follows it.
    w->List->SetItemIndex(1);
    w->cmPlay(nullptr);
    w->List->SetItemIndex(0);
    ASSERT_TRUE(PlaysOut(1500));
    EXPECT_EQ(w->Player->FileName(), m.one);
    EXPECT_EQ(Selected(), 0);
    w->cmStop(nullptr);
}

TEST_F(PlayerWindowTest, PreviousAndNextGoRoundTheEndsAndStartTheFirstRowWithNoneSelected) {
    const Media& m = *g_media;
    Add({m.one, m.two, m.mp3});
    struct Step {
        const char* what;
        std::function<void()> command;
        int selected;
    } steps[] = {
        {"Next, none selected", [&] { w->cmNext(nullptr); }, 0},
        {"Next", [&] { w->sbNext->Click(); }, 1},
        {"Next", [&] { w->cmNext(nullptr); }, 2},
        {"Next on the last row", [&] { w->cmNext(nullptr); }, 0},
        {"Previous on the first row", [&] { w->sbPrior->Click(); }, 0},
        {"Previous, none selected", [&] { w->List->SetItemIndex(-1), w->cmPrior(nullptr); }, 0},
        {"Previous", [&] { w->List->SetItemIndex(2), w->cmPrior(nullptr); }, 1},
        // While paused the row moved to plays, not the paused one.
        {"Next while paused", [&] { w->cmPause(nullptr), w->cmNext(nullptr); }, 2},
        {"Double click on a row while paused",
         [&] {
             w->cmPause(nullptr);
             w->List->SetItemIndex(1);
             w->List->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 30));
         },
         1},
    };
    const std::string files[] = {m.one, m.two, m.mp3};
    for (const Step& s : steps) {
        s.command();
        EXPECT_EQ(Selected(), s.selected) << s.what;
        EXPECT_EQ(w->Player->FileName(), files[s.selected]) << s.what;
        EXPECT_EQ(w->Player->GetMode(), 2) << s.what;
    }
    w->cmStop(nullptr);
}

TEST_F(PlayerWindowTest, RemovingRowsSelectsANeighbourAndCountsTheTotalsAgain) {
    const Media& m = *g_media;
    Add({m.mp3, m.wma, m.one});
    EXPECT_EQ(Totals(), "3 files (0 MB): 0h 00m 06s");
    w->cmDel(nullptr);  // none selected: nothing goes
    EXPECT_EQ(w->List->ItemCount(), 3);

    w->List->SetItemIndex(1);
    w->sbDel->Click();
    EXPECT_EQ(Row(0).at(1 + piFileName), m.mp3);
    EXPECT_EQ(Row(1).at(1 + piFileName), m.one);
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(Totals(), "2 files (0 MB): 0h 00m 04s");

    // The Delete key let go in the list removes the last row and selects the one above.
    w->List->Perform(WM_KEYUP, VK_DELETE);
    EXPECT_EQ(w->List->ItemCount(), 1);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(Totals(), "1 files (0 MB): 0h 00m 03s");

    w->pmClear->Click();
    EXPECT_EQ(w->List->ItemCount(), 0);
    EXPECT_EQ(Totals(), "0 files (0 MB): 0h 00m 00s");
    // Play, Next and Remove on an empty list do nothing.
    w->cmPlay(nullptr);
    w->cmNext(nullptr);
    w->cmDel(nullptr);
    EXPECT_EQ(w->Player->GetMode(), 7);
}

TEST_F(PlayerWindowTest, AddToMediaLibraryFilesTheSelectedRowAndShowsTheMainWindow) {
    Add({g_media->mp3, g_media->wma});
    w->cmAddToML(nullptr);  // no row selected
    main->libraryShown = false;
    w->List->SetItemIndex(1);
    w->cmAddToML(nullptr);  // no library showing
    EXPECT_TRUE(main->added.empty());

    main->libraryShown = true;
    w->cmShowRV(nullptr);
    ASSERT_FALSE(main->Visible());
    w->sbAddToML->Click();
    EXPECT_EQ(main->added, Texts{g_media->wma});
    ASSERT_EQ(main->library.TrackCount(), 1u);
    EXPECT_EQ(main->library.GetArtistAt(0).Name, "Corea, Chick");
    EXPECT_TRUE(main->Visible());
    EXPECT_EQ(App().Title, "Lorvix Reelvault");

    // A main window without a library link adds nothing.
    TForm plain(nullptr);
    Twnd_mp3_Player* other = new Twnd_mp3_Player(&plain);
    other->PlayList().AddFile(g_media->mp3);
    other->List->SetItemIndex(0);
    other->cmAddToML(nullptr);
    EXPECT_EQ(main->added.size(), 1u);
}

TEST_F(PlayerWindowTest, HidingTheMainWindowTitlesTheProgramAfterWhatPlays) {
    w->cmShowRV(nullptr);
    EXPECT_FALSE(main->Visible());
    EXPECT_EQ(App().Title, "Lorvix MP3 Player");  // no row selected
    w->sbShowRV->Click();
    EXPECT_TRUE(main->Visible());
    EXPECT_EQ(App().Title, "Lorvix Reelvault");

    Add({g_media->mp3});
    w->cmPlay(nullptr);
    w->cmShowRV(nullptr);
    EXPECT_EQ(App().Title, "Davis, Miles - Blue in Green");
    // A row started while the main window is hidden titles the program at once.
    Add({g_media->wma});
    w->cmNext(nullptr);
    EXPECT_EQ(App().Title, "Corea, Chick - Spain");
    w->cmStop(nullptr);
    w->cmShowRV(nullptr);
}

TEST_F(PlayerWindowTest, ClosingWhileTheMainWindowIsHiddenClosesItShownFirst) {
    // With the main window on the screen, closing only hides the player.
    w->sbExit->Click();
    EXPECT_FALSE(w->Visible());
    EXPECT_EQ(main->closeQueries, 0);
    ShowPlayerWindow(main.get());
    EXPECT_EQ(PlayerWindow(), w);
    EXPECT_TRUE(w->Visible());

    // The main window refuses to close: it stays, shown.
    w->cmShowRV(nullptr);
    main->mayClose = false;
    w->Close();
    EXPECT_EQ(main->closeQueries, 1);
    EXPECT_TRUE(main->Visible());
    EXPECT_FALSE(w->Visible());
    EXPECT_EQ(main->closes, 0);

    // It lets itself be closed.
    ShowPlayerWindow(main.get());
    w->cmShowRV(nullptr);
    main->mayClose = true;
    w->Close();
    EXPECT_EQ(main->closeQueries, 2);
    EXPECT_EQ(main->closes, 1);
}

TEST_F(PlayerWindowTest, MinimisingThePlayerMinimisesTheMainWindowToo) {
    SendMessage(w->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Settle();
    EXPECT_EQ(w->WindowState(), wsMinimized);
    EXPECT_EQ(main->WindowState(), wsMinimized);
    // Minimised by the desktop, which sends no command.
    w->SetWindowState(wsNormal);
    main->SetWindowState(wsNormal);
    Settle();
    w->SetWindowState(wsMinimized);
    Settle();
    EXPECT_EQ(main->WindowState(), wsMinimized);
}

TEST_F(PlayerWindowTest, TheKnobStartsAtTheWaveVolumeAndSetsIt) {
    main.reset();
    WaveOutSetVolume(0x80008000);
    OpenWindows();
    EXPECT_EQ(w->Knob->Position(), 128);
    EXPECT_EQ(w->Knob->Max(), 255);
    w->Knob->Perform(WM_KEYDOWN, VK_PRIOR);
    EXPECT_EQ(WaveOutGetVolume(), 0x8A008A00u);
    EXPECT_EQ(w->Knob->Hint, "Volume: 138");
}

TEST_F(PlayerWindowTest, AFileGoneBeforeItPlaysIsReportedAndNothingElsePlays) {
    const std::string gone = g_media->dir / "gone.mp3";
    WriteFileBytes(gone, ReadFileBytes(g_media->one));
    Add({g_media->mp3, gone});
    w->cmPlay(nullptr);
    std::remove(gone.c_str());
    try {
        w->cmNext(nullptr);
        ADD_FAILURE() << "no error";
    } catch (const eMciDeviceError& e) {
        EXPECT_STREQ(e.what(), "The file could not be found. (Error code: 275)");
    }
    EXPECT_EQ(w->Player->GetMode(), 7);
    // The bar was not moved by the failed start, and moving it now plays nothing.
    w->Trackbar->SetPosition(1);
    EXPECT_EQ(w->Player->GetMode(), 7);
}

TEST_F(PlayerWindowTest, AFileThatCannotPlayLeavesNothingOfTheOneBeforeOnShow) {
    const std::string gone = g_media->dir / "vanishing.mp3";
    WriteFileBytes(gone, ReadFileBytes(g_media->one));
    Add({g_media->mp3, gone});
    w->cmPlay(nullptr);
    Advance(2000);
    ASSERT_TRUE(PumpUntil([&] { return w->TimePanel->Caption() == "00:02"; }));
    ASSERT_EQ(w->Trackbar->Position(), 2);
    ASSERT_EQ(w->lFormat->Caption(), "MPEG 1 Layer III");
    std::remove(gone.c_str());
    EXPECT_THROW(w->cmNext(nullptr), eMciDeviceError);
    EXPECT_EQ(w->TimePanel->Caption(), "0:00");
    EXPECT_EQ(w->Trackbar->Position(), 0);
    EXPECT_EQ(w->Trackbar->Hint, "");
    EXPECT_EQ(w->lFormat->Caption(), "");
    EXPECT_EQ(w->lCM->Caption(), "");
    // Nothing of the file before ticks on.
    Advance(1000);
    Settle();
    EXPECT_EQ(w->TimePanel->Caption(), "0:00");
    EXPECT_EQ(w->Trackbar->Position(), 0);
}

TEST_F(PlayerWindowTest, AnUntaggedFileIsListedUnderItsNameWithNoArtistOrAlbumMadeUp) {
    const std::string untagged = g_media->dir / "Take Five (demo).mp3";
    WriteFileBytes(untagged, ReadFileBytes(TestDataPath("audio/mpeg/mpeg25_mono_vbr.mp3")));
    Add({untagged});
    ASSERT_EQ(w->List->ItemCount(), 1);
    const Texts row = Row(0);
    EXPECT_EQ(Texts(row.begin(), row.begin() + 4), (Texts{"0", "", "", "Take Five (demo)"}));
    EXPECT_EQ(row[piFormat + 1], "MPEG 2.5 Layer III");
}

TEST_F(PlayerWindowTest, ThePlaceAndTheDialogsFolderAreKeptAcrossRuns) {
    w->SetBounds(150, 130, 520, 340);
    w->od->InitialDir = g_media->dir.Path();
    w->Close();
    const std::string key = "SOFTWARE\\Lorvix\\Reelvault\\1.x\\MP3 Player";
    TRegistry reg(KEY_READ);
    ASSERT_TRUE(reg.OpenKeyReadOnly(key));
    EXPECT_EQ(reg.ReadString("od_InitialDir"), g_media->dir.Path());
    EXPECT_EQ(reg.ReadString("FormVersion"), "0");
    EXPECT_EQ(reg.ReadString("NormPos"), "150,130,670,470");
    reg.CloseKey();

    main.reset();
    OpenWindows();
    EXPECT_EQ(w->od->InitialDir, g_media->dir.Path());
    EXPECT_EQ(w->BoundsRect(), (TRect{150, 130, 670, 470}));
}

// Pictures of the window playing its second row, at 100 % and 200 %, for a person to look at.
TEST_F(PlayerWindowTest, PicturesOfTheWindowPlaying) {
    Add({g_media->mp3, g_media->wma, g_media->one});
    w->List->SetItemIndex(1);
    w->cmPlay(nullptr);
    Advance(1000);
    ASSERT_TRUE(PumpUntil([&] { return w->TimePanel->Caption() == "00:01"; }));
    Settle();
    for (double ratio : {1.0, 2.0}) {
        const TBitmap picture = WindowImage(w->Handle(), ratio);
        ASSERT_FALSE(picture.Empty());
        const std::string path =
            std::string(RV_ARTIFACT_DIR) + "/player_window" + (ratio == 1 ? ".png" : "@2x.png");
        ASSERT_TRUE(picture.SaveToFile(path));
        EXPECT_GT(std::filesystem::file_size(path), 2000u);
    }
    // The time panel's black face and the bar's green track, where the window shows them.
    const TBitmap picture = WindowImage(w->Handle(), 1);
    const TRect window = GetWindowBounds(w->Handle());
    auto at = [&](TControl* control, TPoint p) {
        const TPoint screen = control->ClientToScreen(p);
        return picture.Pixel(screen.X - window.Left, screen.Y - window.Top);
    };
    EXPECT_EQ(at(w->TimePanel, {4, 4}), clBlack);
    const TRect track = w->Trackbar->PartRect(kTrackAfter);
    EXPECT_EQ(at(w->Trackbar, {track.Left + 3, 7}), clGreen);
    w->cmStop(nullptr);
}

}  // namespace
}  // namespace rv::test
