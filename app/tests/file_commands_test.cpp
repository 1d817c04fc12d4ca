// New, Open, Save As, Append, the recent files and the close, through the menus with the dialogs
// answered from a script and the settings in a temporary folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/tests/app_fixture.h"
#include "platform/framework/modal_script.h"
#include "platform/messages/application.h"

namespace rv {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class FileCommands : public test::AppTest {
protected:
    // A saved library of one track under `artist`.
    fs::path SavedLibrary(const std::string& name, const char* artist, const char* album) {
        TMediaLib library;
        library.SetLibraryName(name);
        library.AddTrack(test::MakeTrack(artist, album, 1, "Track", 60));
        const fs::path file = dir_ / (name + ".rvl");
        library.SaveToFile(file);
        return file;
    }
    void Open(const fs::path& file) {
        dialogs.AnswerFiles({file});
        RunReported([&] { W().mmOpen->Click(); });
    }
    // The recent-files entries at the end of the File menu.
    Names RecentEntries() {
        Names out;
        for (int i = 0; i < W().mmFile->Count(); ++i)
            if (W().mmFile->Items(i)->Caption().starts_with("&"))
                out.push_back(W().mmFile->Items(i)->Caption());
        return out;
    }
    TMenuItem* RecentEntry(int index) {
        for (int i = 0; i < W().mmFile->Count(); ++i)
            if (W().mmFile->Items(i)->Caption().starts_with("&") &&
                W().mmFile->Items(i)->Tag == index)
                return W().mmFile->Items(i);
        return nullptr;
    }
};

TEST_F(FileCommands, SaveAsThenCloseWithChangesThenARestartReopensTheRecentLibrary) {
    ShowLibrary();
    W().Library().SetLibraryName("Jazz");
    dialogs.AnswerFiles({dir_ / "jazz"});
    W().mmSaveAs->Click();
    ASSERT_TRUE(fs::exists(dir_ / "jazz.rvl"));
    EXPECT_FALSE(W().Library().Modified());
    Open(dir_ / "jazz.rvl");
    const Names tree = test::Outline(W().Tree);
    EXPECT_EQ(tree.size(), 7u);
    EXPECT_EQ(RecentEntries(), (Names{"&0 " + (dir_ / "jazz.rvl")}));

    // A change, then the close: Cancel keeps the window, No closes it without saving.
    W().Library().AddTrack(test::MakeTrack("Evans, Bill", "Portrait", 1, "Blue", 60));
    dialogs.AnswerButton(IDCANCEL);
    W().mmExit->Click();
    EXPECT_TRUE(W().Visible());
    dialogs.AnswerButton(IDNO);
    W().Close();
    EXPECT_FALSE(W().Visible());

    // The next start lists the file in the File menu; choosing it opens the library as saved.
    window.reset();
    window = std::make_unique<Twnd_rv_Main>(nullptr);
    W().Show();
    ASSERT_EQ(RecentEntries().size(), 1u);
    RecentEntry(0)->Click();
    EXPECT_EQ(test::Outline(W().Tree), tree);
    EXPECT_EQ(W().Library().FileName(), dir_ / "jazz.rvl");
    W().UpdateCommands();
    EXPECT_EQ(W().Caption(), "Lorvix Reelvault - [Jazz]");
    EXPECT_EQ(W().Splash(), nullptr);
    EXPECT_EQ(dialogs.CallsOf(TDialogKind::Message).size(), 2u);  // the two at the close
}

TEST_F(FileCommands, OpenAsksToSaveAfterTheFileDialogAndARecentFileMovesToTheTop) {
    const fs::path a = SavedLibrary("A", "Artist A", "Album A");
    const fs::path b = SavedLibrary("B", "Artist B", "Album B");
    Open(a);
    Open(b);
    EXPECT_EQ(RecentEntries(), (Names{"&0 " + b.string(), "&1 " + a.string()}));

    W().Library().AddTrack(test::MakeTrack("New", "New", 1, "New", 60));
    dialogs.AnswerFiles({a});
    dialogs.AnswerButton(IDCANCEL);
    RunReported([&] { W().mmOpen->Click(); });
    EXPECT_EQ(W().Library().FileName(), b);
    EXPECT_EQ(W().Library().TrackCount(), 2u);
    EXPECT_EQ(dialogs.Calls.back().Text, "Save changes?");

    dialogs.AnswerButton(IDNO);
    RecentEntry(1)->Click();
    EXPECT_EQ(W().Library().FileName(), a);
    EXPECT_EQ(test::Outline(W().Tree), (Names{"Artist A", "Artist A / Album A"}));
    EXPECT_EQ(RecentEntries(), (Names{"&0 " + a.string(), "&1 " + b.string()}));
    EXPECT_EQ(dialogs.CallsOf(TDialogKind::Message).size(), 2u);
    EXPECT_TRUE(dialogs.Errors().empty());
}

TEST_F(FileCommands, AFileThatIsNoLibraryIsReportedAndChangesNothing) {
    const fs::path good = SavedLibrary("Good", "Artist", "Album");
    Open(good);
    W().RefreshTree(0, 0);
    ASSERT_TRUE(W().TrackList->Visible());
    std::ofstream(dir_ / "notes.rvl") << "these are notes";
    std::ofstream(dir_ / "other.rvl") << "<?xml version=\"1.0\"?><html/>";
    for (const std::string& bad : {dir_ / "notes.rvl", dir_ / "other.rvl", dir_ / "gone.rvl"}) {
        Open(bad);
        ASSERT_EQ(dialogs.Errors().size(), 1u) << bad;
        EXPECT_NE(dialogs.Errors()[0].find(bad + " is not a library file"), std::string::npos)
            << dialogs.Errors()[0];
        dialogs.Calls.clear();
        EXPECT_EQ(W().Library().FileName(), good);
        EXPECT_EQ(W().Library().LibraryName(), "Good");
        EXPECT_EQ(W().Library().TrackCount(), 1u);
        EXPECT_EQ(RecentEntries(), (Names{"&0 " + good.string()}));
        EXPECT_EQ(W().Splash(), nullptr);
        EXPECT_FALSE(W().TrackList->Visible());
    }
    // Appending one merges nothing.
    dialogs.AnswerFiles({dir_ / "notes.rvl"});
    RunReported([&] { W().mmAppend->Click(); });
    EXPECT_EQ(dialogs.Errors().size(), 1u);
    EXPECT_EQ(W().Library().TrackCount(), 1u);
    EXPECT_FALSE(W().Library().Modified());
    EXPECT_EQ(W().Splash(), nullptr);
}

TEST_F(FileCommands, AppendUnitesAlbumsOfTheSameName) {
    TMediaLib other;
    other.AddTrack(test::MakeTrack("DAVIS, MILES", "kind of blue", 4, "All Blues", 693));
    other.AddTrack(test::MakeTrack("Evans, Bill", "Portrait in Jazz", 1, "Autumn Leaves", 360));
    other.SaveToFile(dir_ / "more.rvl");
    ShowLibrary();
    dialogs.AnswerButton(IDNO);  // the filled library is modified
    dialogs.AnswerFiles({dir_ / "more.rvl"});
    W().mmAppend->Click();
    EXPECT_EQ(test::Outline(W().Tree),
              (Names{"Abba", "Abba / Arrival", "Coltrane, John", "Coltrane, John / Giant Steps",
                     "DAVIS, MILES", "DAVIS, MILES / Bitches Brew", "DAVIS, MILES / kind of blue",
                     "Evans, Bill", "Evans, Bill / Portrait in Jazz"}));
    EXPECT_EQ(W().Library().ArtistRef(0).Albums[0].Tracks.size(), 4u);
    EXPECT_EQ(W().sb->Panels(0)->Text(), "Artists: 4   Albums: 5   Tracks: 9");
    EXPECT_EQ(W().Splash(), nullptr);
    EXPECT_EQ(W().Library().FileName(), "");  // the appended file is not the library's
}

TEST_F(FileCommands, NewEmptiesTheRightHandSide) {
    ShowLibrary();
    W().RefreshTree(0, 0);
    ASSERT_TRUE(W().TrackList->Visible());
    dialogs.AnswerButton(IDNO);
    TModalScript script;  // the name dialog cancelled
    W().mmNew->Click();
    EXPECT_FALSE(W().TrackList->Visible());
    EXPECT_FALSE(W().AlbumPanel->Visible());
    EXPECT_EQ(W().TrackList->TotalCount(), 0u);
    EXPECT_EQ(W().Tree->TotalCount(), 0u);
    EXPECT_FALSE(W().Library().Modified());
}

}  // namespace
}  // namespace rv
