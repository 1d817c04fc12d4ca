// The folder scan end to end on the offscreen platform: the folder dialog, the worker's walk,
// the import, the progress window with its Stop, and the views afterwards.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/name_dialogs.h"
#include "app/splash.h"
#include "app/tests/app_fixture.h"
#include "app/tests/tiny_mp3.h"
#include "platform/framework/modal_script.h"
#include "platform/windows/top_level_window.h"
#include "platform/windows/window_constants.h"
#include "platform/windows/window_host.h"
#include "search/find_file.h"

namespace rv {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class Scan : public test::AppTest {
protected:
    // New, naming the library.
    void NewLibrary(const std::string& name) {
        TModalScript script;
        script.Then([&](TCustomForm& form) {
            dynamic_cast<TNameDialog&>(form).eName->SetText(name);
            form.ModalResult = mrOk;
        });
        W().mmNew->Click();
    }
    // Scan..., choosing `folder`, until the scan has ended.
    void ScanFolder(const fs::path& folder) {
        dialogs.AnswerFolder(folder);
        W().mmScan->Click();
        ASSERT_TRUE(test::PumpUntil([&] { return !W().Scanning(); }));
    }
    // Selects the album of that title in the tree; its tracks' titles, sorted.
    Names TracksOf(const std::string& album) {
        for (PVirtualNode n = W().Tree->GetFirst(); n; n = W().Tree->GetNext(n))
            if (W().Tree->GetNodeLevel(n) == 1 && W().Tree->GetText(n, 0) == album)
                W().SelectNode(W().Tree, n);
        Names titles = test::ColumnTexts(W().TrackList, 1);
        std::sort(titles.begin(), titles.end());
        return titles;
    }
    // `count` files of one album in `folder`, and a handler that runs `each` after every
    // imported file with the number of files so far.
    void ManyFiles(const fs::path& folder, int count) {
        fs::create_directories(folder);
        for (int i = 0; i < count; ++i)
            test::WriteTinyMp3(folder / ("t" + std::to_string(i) + ".mp3"), "Band", "Album",
                               "Song " + std::to_string(i));
    }
    void AfterEachFile(std::function<void(int files)> each) {
        W().Import().OnStatus = [this, each, files = 0](const std::string& text) mutable {
            W().sb->Panels(0)->SetText(text);
            each(++files);
        };
    }
};

TEST_F(Scan, ImportsTheAudioFilesOfTheWholeTreeAndShowsThem) {
    const fs::path root = dir_ / "music";
    fs::create_directories(root / "Queen/live.v2");
    fs::create_directories(root / "Muse/nested/deeper");
    fs::create_directories(root / ".hidden");
    test::WriteTinyMp3(root / "Queen/a.MP3", "Queen", "A Night at the Opera", "Bohemian Rhapsody");
    test::WriteTinyMp3(root / "Queen/b.mp3", "Queen", "A Night at the Opera", "Love of My Life");
    test::WriteTinyMp3(root / "Muse/nested/deeper/c.mp3", "Muse", "Origin of Symmetry", "Bliss");
    test::WriteTinyMp3(root / ".hidden/d.Mp3", "Muse", "Absolution", "Hysteria");
    test::WriteTinyMp3(root / "Queen/live.v2/e.mp3", "", "", "");
    // Audio under names the scan does not take, and files no reader takes.
    for (const char* name : {"Queen/notes.txt", "Queen/song.mp3.bak", "Queen/live.v2/untitled"})
        test::WriteTinyMp3(root / name, "Wrong", "Wrong", "Wrong");
    std::ofstream(root / "Muse/noise.flac") << std::string(3000, 'Z');
    std::ofstream(root / "unreadable.mp3") << std::string(3000, 'Z');
    fs::permissions(root / "unreadable.mp3", fs::perms::none);
    fs::create_symlink(root / "nowhere.mp3", root / "gone.mp3");

    NewLibrary("Rock");
    ScanFolder(root);

    const std::vector<TDialogCall> folders = dialogs.CallsOf(TDialogKind::Folder);
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].Title, "Select directory");
    EXPECT_EQ(folders[0].Text, "");  // no root
    EXPECT_EQ(W().Splash(), nullptr);
    EXPECT_TRUE(W().Panel->Visible());
    W().UpdateCommands();
    EXPECT_EQ(W().Caption(), "Lorvix Reelvault - [Rock]");
    EXPECT_EQ(W().sb->Panels(0)->Text(), "Artists: 3   Albums: 4   Tracks: 5");
    EXPECT_EQ(test::Outline(W().Tree),
              (Names{"<unknown>", "<unknown> / <unknown>", "Muse", "Muse / Absolution",
                     "Muse / Origin of Symmetry", "Queen", "Queen / A Night at the Opera"}));
    EXPECT_EQ(W().Tree->FocusedNode(), nullptr);
    EXPECT_EQ(TracksOf("A Night at the Opera"), (Names{"Bohemian Rhapsody", "Love of My Life"}));
    EXPECT_EQ(TracksOf("<unknown>"), (Names{"e"}));
    EXPECT_EQ(test::ColumnTexts(W().TrackList, 5), (Names{"MPEG 1 Layer III"}));
    EXPECT_TRUE(W().Library().Modified());
    EXPECT_TRUE(dialogs.Errors().empty());
}

TEST_F(Scan, AFolderWhoseNameHoldsASemicolonIsScannedWhole) {
    // ";" separates the folders of a search; here it is part of one name.
    fs::create_directories(dir_ / "Rock;Pop/sub");
    fs::create_directories(dir_ / "Rock");
    test::WriteTinyMp3(dir_ / "Rock;Pop/sub/a.mp3", "Blur", "Parklife", "Girls & Boys");
    test::WriteTinyMp3(dir_ / "Rock/b.mp3", "Wrong", "Wrong", "Wrong");
    NewLibrary("Mixed");
    ScanFolder(dir_ / "Rock;Pop");
    EXPECT_EQ(test::Outline(W().Tree), (Names{"Blur", "Blur / Parklife"}));
}

TEST_F(Scan, AnEmptyFolderShowsAndClosesTheProgressWindowAndCancellingDoesNothing) {
    NewLibrary("Empty");
    bool shown = false;
    W().FindFile->OnFolderChange = [&](TFindFile&, const std::string&, bool&) {
        shown = W().Splash() && IsWindowVisible(W().Splash()->Handle());
    };
    fs::create_directories(dir_ / "empty");
    ScanFolder(dir_ / "empty");
    EXPECT_TRUE(shown);
    EXPECT_EQ(W().Splash(), nullptr);
    EXPECT_EQ(W().sb->Panels(0)->Text(), "Artists: 0   Albums: 0   Tracks: 0");

    shown = false;
    dialogs.AnswerCancel();
    W().mmScan->Click();
    EXPECT_FALSE(W().Scanning());
    EXPECT_FALSE(shown);
}

TEST_F(Scan, WhileItRunsTheProgressWindowIsModalAndNoOtherCommandRuns) {
    ManyFiles(dir_ / "many", 300);
    W().Library().AddTrack(test::MakeTrack("Old", "Old", 1, "Old", 60));
    W().RefreshTree(-1, -1);
    bool modal = false, stopShown = false, stillScanning = false;
    std::size_t dialogsMeanwhile = 0;
    AfterEachFile([&](int files) {
        if (files != 5) return;
        HWND splash = W().Splash()->Handle();
        modal = IsWindowModal(splash) && IsWindowVisible(splash);
        stopShown = W().Splash()->bStop->Visible();
        EXPECT_EQ(W().Splash()->lText->Caption(), "Scanning...");
        // Commands of the menus and the tool bar, the recent files and a close: none runs.
        W().mmOpen->Click();
        W().sbNew->Click();
        W().mmClearLibrary->Click();
        W().Close();
        W().ScanFolder(dir_.Path());  // a second scan does not start
        dialogsMeanwhile = dialogs.Calls.size();
        stillScanning = W().Scanning();
        W().Splash()->bStop->Click();
    });
    dialogs.AnswerFolder(dir_ / "many");
    W().Show();
    W().UpdateCommands();
    W().sbScan->Click();
    ASSERT_TRUE(test::PumpUntil([&] { return !W().Scanning(); }));
    EXPECT_TRUE(modal);
    EXPECT_TRUE(stopShown);
    EXPECT_TRUE(stillScanning);
    EXPECT_EQ(dialogsMeanwhile, 1u);  // the folder dialog alone
    EXPECT_TRUE(W().Visible());
    EXPECT_EQ(W().Library().GetArtistCount(), 2);
    EXPECT_EQ(W().Splash(), nullptr);
}

TEST_F(Scan, EscapeInTheProgressWindowStopsAScanOfThousandsOfFilesHalfway) {
    ManyFiles(dir_ / "many", 3000);
    AfterEachFile([&](int files) {
        if (files == 20) SendMessage(W().Splash()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    W().Show();
    NewLibrary("Many");
    ScanFolder(dir_ / "many");
    EXPECT_TRUE(W().FindFile->Aborted());
    // What was imported until then stays and shows.
    const unsigned tracks = W().Library().TrackCount();
    EXPECT_GE(tracks, 20u);
    EXPECT_LT(tracks, 3000u);
    EXPECT_EQ(W().Splash(), nullptr);
    EXPECT_EQ(test::Outline(W().Tree), (Names{"Band", "Band / Album"}));
    EXPECT_EQ(TracksOf("Album").size(), tracks);
    EXPECT_EQ(W().sb->Panels(0)->Text(),
              "Artists: 1   Albums: 1   Tracks: " + std::to_string(tracks));
}

TEST_F(Scan, ANewProgressWindowReplacesTheOpenOneAndHidingNoneDoesNothing) {
    W().Show();
    W().HideSplash();
    EXPECT_EQ(W().Splash(), nullptr);
    const int components = W().ComponentCount();
    W().ShowSplash("Loading...", false);
    Twnd_rv_Splash* first = W().Splash();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->bStop->Visible());
    EXPECT_EQ(first->Caption(), "Lorvix Reelvault");
    EXPECT_EQ(first->ClientWidth(), 301);
    EXPECT_EQ(first->ClientHeight(), 54);
    EXPECT_EQ(first->Owner(), &W());
    W().ShowSplash("Appending...", false);
    EXPECT_EQ(W().Splash()->lText->Caption(), "Appending...");
    EXPECT_EQ(W().ComponentCount(), components + 1);  // the first one went
    W().HideSplash();
    EXPECT_EQ(W().Splash(), nullptr);
    EXPECT_EQ(W().ComponentCount(), components);
    // Stop, pressed with no scan running, asks for nothing that could harm.
    W().ShowSplash("Scanning...", true);
    W().Splash()->bStop->Click();
    Settle();
    W().HideSplash();
}

TEST_F(Scan, TheProgressWindowComesBackToTheFrontWhenTheMainWindowIsActivated) {
    W().Show();
    for (const bool stop : {false, true}) {
        W().ShowSplash(stop ? "Scanning..." : "Loading...", stop);
        const HWND splash = W().Splash()->Handle();
        Settle();
        // The user clicks into the main window.
        SetFocus(W().Handle());
        Settle();
        EXPECT_EQ(GetTopWindow(), splash) << stop;
        W().HideSplash();
    }
    EXPECT_EQ(GetTopWindow(), W().Handle());
}

}  // namespace
}  // namespace rv
