#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/name_dialogs.h"
#include "app/tests/app_fixture.h"
#include "platform/framework/modal_script.h"
#include "platform/registry/registry.h"
#include "platform/windows/window_constants.h"
#include "search/find_file.h"

namespace rv {
namespace {

using MainWindow = test::AppTest;

// The enabled state of every item the idle rules keep, in the order of the rules' table.
std::vector<bool> RuleStates(Twnd_rv_Main& w) {
    w.UpdateCommands();
    std::vector<bool> out;
    for (TMenuItem* i :
         {w.mmSave,         w.mmSaveAs,       w.mmSavePresentation, w.mmScan,
          w.mmAppend,       w.mmAddFileTrack, w.mmAddTrack,         w.pmAddTrack,
          w.mmTrackProps,   w.mmAlbumProps,   w.mmArtistProps,      w.mmLibProps,
          w.pmAlbumProps,   w.pmArtistProps,  w.mmDeleteTrack,      w.mmDeleteAlbum,
          w.mmDeleteArtist, w.mmClearLibrary, w.pmDeleteAlbum,      w.pmDeleteArtist})
        out.push_back(i->Enabled());
    out.push_back(w.sbSave->Enabled());
    out.push_back(w.sbScan->Enabled());
    return out;
}

//                       Save   As     Pres   Scan   Appnd  AddF   AddT   pmAdd  TrkP
//                       AlbP   ArtP   LibP   pmAlb  pmArt  DelT   DelAl  DelAr  Clear
//                       pmDAl  pmDAr  sbSave sbScan
const std::vector<bool> kFreshStart = {false, false, false, false, false, false, false, false,
                                       false, false, false, false, false, false, false, false,
                                       false, false, false, false, false, false};

TEST_F(MainWindow, AFreshStartShowsNoLibraryAndOnlyTheAlwaysCommands) {
    EXPECT_FALSE(W().Panel->Visible());
    EXPECT_EQ(RuleStates(W()), kFreshStart);
    for (TMenuItem* i :
         {W().mmNew, W().mmOpen, W().mmPrefs, W().mmExit, W().mmMP3Player, W().mmAbout})
        EXPECT_TRUE(i->Enabled());
    EXPECT_EQ(W().Caption(), "Lorvix Reelvault - []");
    EXPECT_EQ(W().sb->Panels(1)->Text(), "");
    // The design's width for the counts, widened as far as six-digit counts need.
    EXPECT_GE(W().sb->Panels(0)->Width(), 225);
    EXPECT_LE(W().sb->Panels(0)->Width(), 300);
}

TEST_F(MainWindow, TheRulesFollowTheLibraryAndTheFocusedNodes) {
    ShowLibrary();
    TMediaLib& lib = W().Library();
    lib.SetLibraryName("Jazz");
    // Shown, modified (filled), nothing focused.
    const std::vector<bool> shown = {true,  true,  true,  true,  true,  true,  true,  true,
                                     false, false, false, true,  false, false, false, false,
                                     false, true,  false, false, true,  true};
    EXPECT_EQ(RuleStates(W()), shown);
    EXPECT_EQ(W().Caption(), "Lorvix Reelvault - [Jazz]");

    // An artist: artist commands, not the album's.
    W().RefreshTree(0, -1);
    std::vector<bool> artist = shown;
    for (int i : {10, 13, 16, 19}) artist[i] = true;
    EXPECT_EQ(RuleStates(W()), artist);
    // An album: all four, and with its tracks shown, a focused track.
    W().RefreshTree(0, 0);
    std::vector<bool> album = artist;
    for (int i : {9, 12, 15, 18}) album[i] = true;
    EXPECT_EQ(RuleStates(W()), album);
    W().TrackList->SetFocusedNode(W().TrackList->GetFirst());
    std::vector<bool> track = album;
    for (int i : {8, 14}) track[i] = true;
    EXPECT_EQ(RuleStates(W()), track);

    // Saved: Save off; the file name in the status bar.
    test::TempDir dir;
    lib.SaveToFile(dir / "jazz.rvl");
    track[0] = track[20] = false;
    EXPECT_EQ(RuleStates(W()), track);
    EXPECT_EQ(W().sb->Panels(1)->Text(), dir / "jazz.rvl");

    // Emptied: Clear Library off.
    lib.Clear();
    W().RefreshTree(-1, -1);
    EXPECT_FALSE((RuleStates(W())[17]));
}

TEST_F(MainWindow, AHiddenTrackListIsEmptyAndHasNoFocusedTrack) {
    ShowLibrary();
    W().RefreshTree(0, 0);
    ASSERT_TRUE(W().TrackList->Visible());
    W().TrackList->SetFocusedNode(W().TrackList->GetFirst());
    W().UpdateCommands();
    ASSERT_TRUE(W().mmDeleteTrack->Enabled());
    // The artist's albums replace the tracks: nothing of the old list stays to act on.
    W().ShowSelection(0, -1);
    EXPECT_FALSE(W().TrackList->Visible());
    EXPECT_EQ(W().TrackList->TotalCount(), 0u);
    EXPECT_EQ(W().FocusedIn(W().TrackList), nullptr);
    W().UpdateCommands();
    EXPECT_FALSE(W().mmDeleteTrack->Enabled());
    EXPECT_FALSE(W().mmTrackProps->Enabled());
    // And the other way round.
    W().AlbumList->SetFocusedNode(W().AlbumList->GetFirst());
    W().ShowSelection(0, 0);
    EXPECT_EQ(W().AlbumList->TotalCount(), 0u);
    EXPECT_EQ(W().FocusedIn(W().AlbumList), nullptr);
    // An address that names nothing any more hides the right-hand side.
    W().ShowSelection(0, 5);
    EXPECT_FALSE(W().TrackList->Visible());
    EXPECT_FALSE(W().AlbumPanel->Visible());
    EXPECT_EQ(W().TrackList->TotalCount(), 0u);
}

TEST_F(MainWindow, ShortcutsReachTheirItemsWhileTheyAreEnabled) {
    std::vector<std::string> keys;
    for (TMenuItem* i :
         {W().mmNew, W().mmOpen, W().mmSave, W().mmAddTrack, W().mmTrackProps, W().mmDeleteTrack})
        keys.push_back(ShortCutToText(i->ShortCut()));
    EXPECT_EQ(keys, (std::vector<std::string>{"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+A", "Ctrl+Enter",
                                              "Ctrl+Del"}));
    // A shortcut reaches its item while the item is enabled.
    EXPECT_EQ(W().MainMenu->FindShortCut(ShortCut('N', ssCtrl)), W().mmNew);
    EXPECT_EQ(W().MainMenu->FindShortCut(ShortCut('A', ssCtrl)), nullptr);
    ShowLibrary();
    W().UpdateCommands();
    EXPECT_EQ(W().MainMenu->FindShortCut(ShortCut('A', ssCtrl)), W().mmAddTrack);
}

TEST_F(MainWindow, NewAsksForTheNameAndShowsAnEmptyLibrary) {
    TModalScript script;
    script.Then([](TCustomForm& form) {
        auto& d = dynamic_cast<TNameDialog&>(form);
        d.eName->SetText("Jazz");
        d.bOK->Click();
    });
    W().mmNew->Click();
    EXPECT_TRUE(W().Panel->Visible());
    EXPECT_EQ(W().Library().LibraryName(), "Jazz");
    EXPECT_EQ(W().sb->Panels(0)->Text(), "Artists: 0   Albums: 0   Tracks: 0");
    W().UpdateCommands();
    EXPECT_TRUE(W().mmScan->Enabled());
    EXPECT_EQ(W().Caption(), "Lorvix Reelvault - [Jazz]");
    EXPECT_TRUE(dialogs.Calls.empty());  // nothing to save: no question
}

// Each answer to "Save changes?" before New replaces the library.
struct AskSaveCase : MainWindow {
    // A modified library named "Old"; `named` gives it a file.
    void Modified(bool named) {
        W().Library().AddTrack(test::MakeTrack("A", "B", 1, "C", 60));
        W().Library().SetLibraryName("Old");
        if (named) {
            W().Library().SaveToFile(dir / "old.rvl");
            W().Library().AddTrack(test::MakeTrack("A", "B", 2, "D", 60));
        }
    }
    // New, with the name dialog cancelled.
    bool RunNew() {
        TModalScript script;
        script.Then([](TCustomForm&) {});
        try {
            W().cmNew(nullptr);
        } catch (const EAbort&) {
            return false;
        }
        return true;
    }
    test::TempDir dir;
};

TEST_F(AskSaveCase, YesSavesToTheLibrarysFileThenGoesOn) {
    Modified(true);
    dialogs.AnswerButton(IDYES);
    EXPECT_TRUE(RunNew());
    EXPECT_EQ(W().Library().TrackCount(), 0u);
    TMediaLib saved;
    saved.LoadFromFile(dir / "old.rvl");
    EXPECT_EQ(saved.TrackCount(), 2u);
    ASSERT_EQ(dialogs.CallsOf(TDialogKind::Message).size(), 1u);
    EXPECT_EQ(dialogs.Calls[0].Text, "Save changes?");
    EXPECT_EQ(dialogs.Calls[0].Type, unsigned(MB_YESNOCANCEL | MB_ICONQUESTION));
}

TEST_F(AskSaveCase, YesWithoutAFileAsksForOne) {
    Modified(false);
    dialogs.AnswerButton(IDYES);
    dialogs.AnswerFiles({dir / "new"});
    EXPECT_TRUE(RunNew());
    EXPECT_TRUE(std::filesystem::exists(dir / "new.rvl"));
    std::vector<TDialogCall> saves = dialogs.CallsOf(TDialogKind::Save);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].Filter, "Lorvix MediaLib files|*.rvl|All files|*.*");
    EXPECT_EQ(saves[0].DefaultExt, "rvl");
    EXPECT_TRUE(saves[0].Type & ofOverwritePrompt);
}

TEST_F(AskSaveCase, YesWithTheSaveAsDialogCancelledKeepsTheLibrary) {
    Modified(false);
    dialogs.AnswerButton(IDYES);
    dialogs.AnswerCancel();
    EXPECT_FALSE(RunNew());
    EXPECT_EQ(W().Library().TrackCount(), 1u);
    EXPECT_EQ(W().Library().LibraryName(), "Old");
    EXPECT_TRUE(W().Library().Modified());
    EXPECT_FALSE(W().Panel->Visible());
}

TEST_F(AskSaveCase, YesWithASaveThatFailsShowsTheErrorAndKeepsTheLibrary) {
    Modified(true);
    std::filesystem::remove_all(dir.Path());  // the folder of the file is gone
    dialogs.AnswerButton(IDYES);
    EXPECT_FALSE(RunNew());
    EXPECT_EQ(W().Library().TrackCount(), 2u);
    EXPECT_EQ(dialogs.Errors().size(), 1u);
}

TEST_F(AskSaveCase, NoDropsTheChangesAndCancelStopsSilently) {
    Modified(false);
    dialogs.AnswerButton(IDCANCEL);
    EXPECT_FALSE(RunNew());
    EXPECT_EQ(W().Library().TrackCount(), 1u);
    EXPECT_TRUE(dialogs.Errors().empty());
    dialogs.AnswerButton(IDNO);
    EXPECT_TRUE(RunNew());
    EXPECT_EQ(W().Library().TrackCount(), 0u);
    EXPECT_TRUE(dialogs.CallsOf(TDialogKind::Save).empty());
}

TEST_F(AskSaveCase, ClosingAsksAndCancelOrAnUnsavedYesKeepsTheWindowOpen) {
    W().Show();
    Modified(false);
    dialogs.AnswerButton(IDCANCEL);
    W().Close();
    EXPECT_TRUE(W().Visible());
    dialogs.AnswerButton(IDYES);
    dialogs.AnswerCancel();
    W().mmExit->Click();
    EXPECT_TRUE(W().Visible());
    EXPECT_EQ(W().Library().TrackCount(), 1u);
    dialogs.AnswerButton(IDNO);
    W().Close();
    EXPECT_FALSE(W().Visible());
    EXPECT_EQ(dialogs.CallsOf(TDialogKind::Message).size(), 3u);
    // The close wrote the window's settings, the tree's width among them.
    TRegistry reg(KEY_READ);
    ASSERT_TRUE(reg.OpenKeyReadOnly("SOFTWARE\\Lorvix\\Reelvault\\1.x"));
    EXPECT_EQ(reg.ReadString("TreePanel_Width"), "231");
}

TEST_F(MainWindow, TheStopMessageAbortsTheFolderSearch) {
    for (int i = 0; i < 50; ++i) std::ofstream(dir_ / ("t" + std::to_string(i) + ".mp3"));
    TFindFile& find = *W().FindFile;
    find.Criteria().Files.FileName = "*.mp3";
    find.Criteria().Files.Location = dir_.Path();
    int matches = 0;
    find.OnFileMatch = [&](TFindFile&, const std::string&, const TSearchRec&) {
        if (++matches == 1) SendMessage(W().Handle(), WM_STOPSCAN, 0, 0);
    };
    find.Execute();
    ASSERT_TRUE(test::PumpUntil([&] { return !find.Busy(); }));
    EXPECT_TRUE(find.Aborted());
    EXPECT_LT(matches, 50);
    // The CD look-up's messages arrive without harm before that part exists.
    for (UINT m : {WM_CDDBREAD, WM_CDDBADD, WM_CDDBEND}) W().Perform(m);
}

}  // namespace
}  // namespace rv
