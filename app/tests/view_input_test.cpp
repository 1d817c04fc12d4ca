// The library views as the user drives them with the toolkit's mouse and keys: typed letters
// search, double clicks and right clicks open what they name.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/album_dialog.h"
#include "app/tests/app_fixture.h"
#include "app/tests/view_input.h"
#include "app/track_dialog.h"
#include "platform/framework/modal_script.h"

namespace rv {
namespace {

using Names = std::vector<std::string>;

// FillLibrary's library shown, nothing selected: Abba (Arrival), Coltrane, John (Giant Steps),
// Davis, Miles (Bitches Brew, Kind of Blue).
class ViewInput : public test::AppTest {
protected:
    ViewInput() { ShowLibrary(); }

    std::string Focused(TVirtualStringTree* view, int column = 0) {
        PVirtualNode node = view->FocusedNode();
        return node ? view->GetText(node, column) : "<none>";
    }
    PVirtualNode Row(TVirtualStringTree* view, const std::string& text, int column = 0) {
        for (PVirtualNode n = view->GetFirst(); n; n = view->GetNext(n))
            if (view->GetText(n, column) == text) return n;
        ADD_FAILURE() << text;
        return nullptr;
    }
    // Longer than the search's 500 ms: the next letter starts a new search.
    void Pause() {
        std::this_thread::sleep_for(std::chrono::milliseconds(650));
        Settle();
    }
};

TEST_F(ViewInput, TypedLettersFindTheFirstNodeAndAPauseStartsOver) {
    TVirtualStringTree* tree = W().Tree;
    test::Type(tree, "ar");  // quickly: "ar", an album of a closed artist
    EXPECT_EQ(Focused(tree), "Arrival");
    EXPECT_TRUE(tree->Expanded(tree->FocusedNode()->Parent));
    EXPECT_EQ(test::ColumnTexts(W().TrackList, 1), (Names{"Dancing Queen", "abacus"}));
    test::Type(tree, "x");  // "arx" finds nothing: the focus stays
    EXPECT_EQ(Focused(tree), "Arrival");
    Pause();
    test::Type(tree, "G");
    EXPECT_EQ(Focused(tree), "Giant Steps");
    Pause();
    test::Type(tree, "dav");
    EXPECT_EQ(Focused(tree), "Davis, Miles");
    EXPECT_TRUE(W().AlbumList->Visible());

    // The lists search their titles.
    test::Type(W().AlbumList, "bi");
    EXPECT_EQ(Focused(W().AlbumList), "Bitches Brew");
    W().RefreshTree(2, 0);  // Abba / Arrival
    test::Type(W().TrackList, "AB");
    EXPECT_EQ(Focused(W().TrackList, 1), "abacus");
}

// Keys of other scripts and accented letters, as a keyboard layout or an input method delivers
// them, search as the Latin ones do: an accented letter is no other letter's twin.
TEST_F(ViewInput, LettersOfOtherScriptsAndAccentedOnesSearchTheViews) {
    TMediaLib& library = W().Library();
    library.AddTrack(test::MakeTrack("Sigur Ros", "Tribute", 1, "Cover", 200));
    library.AddTrack(test::MakeTrack("Sigur R\u00f3s", "Takk...", 1, "Gl\u00f3s\u00f3li", 370));
    library.AddTrack(test::MakeTrack("Sigur R\u00f3s", "Takk...", 2, "Hopp\u00edpolla", 270));
    library.AddTrack(test::MakeTrack("\u0418\u0432\u0430\u043d\u043e\u0432",
                                     "\u0417\u0438\u043c\u0430", 1,
                                     "\u041f\u0435\u0441\u043d\u044f", 180));
    library.AddTrack(test::MakeTrack("\u039c\u03ac\u03bd\u03bf\u03c2",
                                     "\u0398\u03ac\u03bb\u03b1\u03c3\u03c3\u03b1", 1,
                                     "\u03a9\u03b4\u03ae", 150));
    library.AddTrack(test::MakeTrack("\u039c\u03ac\u03bd\u03bf\u03c2", "Mare", 1, "Onda", 150));
    W().RefreshTree(-1, -1);
    TVirtualStringTree* tree = W().Tree;

    test::SendToolkitCharacters(tree->Handle(), "\u0418\u0432");
    EXPECT_EQ(Focused(tree), "\u0418\u0432\u0430\u043d\u043e\u0432");
    Pause();
    test::SendToolkitCharacters(tree->Handle(), "\u039c\u03ac");
    EXPECT_EQ(Focused(tree), "\u039c\u03ac\u03bd\u03bf\u03c2");
    Pause();
    test::Type(tree, "Sigur R");
    test::SendToolkitCharacters(tree->Handle(), "\u00f3");
    EXPECT_EQ(Focused(tree), "Sigur R\u00f3s");
    Pause();
    // An input method's text searches too.
    test::SendToolkitInputMethodText(tree->Handle(), "\u0417\u0438");
    EXPECT_EQ(Focused(tree), "\u0417\u0438\u043c\u0430");

    // The album list of the artist found, and an album's track list.
    Pause();
    test::SendToolkitCharacters(tree->Handle(), "\u039c\u03ac");
    ASSERT_TRUE(W().AlbumList->Visible());
    test::SendToolkitCharacters(W().AlbumList->Handle(), "\u0398");
    EXPECT_EQ(Focused(W().AlbumList), "\u0398\u03ac\u03bb\u03b1\u03c3\u03c3\u03b1");
    Pause();
    const TFindIndex takk = Twnd_rv_Main::NodeIndex(tree, Row(tree, "Takk..."));
    W().RefreshTree(takk.Artist, takk.Album);
    ASSERT_TRUE(W().TrackList->Visible());
    test::SendToolkitInputMethodText(W().TrackList->Handle(), "Hopp\u00ed");
    EXPECT_EQ(Focused(W().TrackList, 1), "Hopp\u00edpolla");
}

TEST_F(ViewInput, DoubleClicksOpenTheAlbumOrTheTrackAndShowAListedAlbumInTheTree) {
    // An album of the album list: selected in the tree, its artist opened, its tracks shown.
    W().RefreshTree(0, -1);
    test::DoubleClick(W().AlbumList,
                      test::OnText(W().AlbumList, Row(W().AlbumList, "Bitches Brew")));
    EXPECT_EQ(Focused(W().Tree), "Bitches Brew");
    EXPECT_TRUE(W().Tree->Selected(W().Tree->FocusedNode()));
    EXPECT_EQ(W().Tree->SelectionCount(), 1u);
    EXPECT_TRUE(W().Tree->Expanded(W().Tree->FocusedNode()->Parent));
    EXPECT_EQ(test::ColumnTexts(W().TrackList, 1), (Names{"Pharaoh's Dance"}));

    // A track: its properties; an album of the tree: its properties.
    TModalScript script;
    std::string track;
    script.Then(
        [&](TCustomForm& form) { track = dynamic_cast<Tdlg_rv_Track&>(form).eTitle->Text(); });
    test::DoubleClick(W().TrackList, test::OnText(W().TrackList, W().TrackList->GetFirst(), 1));
    EXPECT_EQ(track, "Pharaoh's Dance");
    std::string album;
    script.Then(
        [&](TCustomForm& form) { album = dynamic_cast<Tdlg_rv_Album&>(form).eAlbum->Text(); });
    test::DoubleClick(W().Tree, test::OnText(W().Tree, Row(W().Tree, "Kind of Blue")));
    EXPECT_EQ(album, "Kind of Blue");
    EXPECT_EQ(script.Shown, (Names{"Track Properties", "Album Properties"}));

    // An artist of the tree: opened or closed, and no dialog.
    PVirtualNode abba = Row(W().Tree, "Abba");
    test::DoubleClick(W().Tree, test::OnText(W().Tree, abba));
    EXPECT_TRUE(W().Tree->Expanded(abba));
    test::DoubleClick(W().Tree, test::OnText(W().Tree, abba));
    EXPECT_FALSE(W().Tree->Expanded(abba));
    EXPECT_EQ(script.Shown.size(), 2u);
}

TEST_F(ViewInput, ARightClickSelectsTheNodeAndPopsUpItsCommands) {
    struct Case {
        const char* node;
        bool album;
    } cases[] = {{"Coltrane, John", false}, {"Kind of Blue", true}};
    W().RefreshTree(0, 1);  // Davis open, Bitches Brew selected
    for (const Case& c : cases) {
        const TPoint at = test::OnText(W().Tree, Row(W().Tree, c.node));
        const int popups = W().PopupMenu->PopupCount;
        test::SendToolkitMouse(W().Tree->Handle(), test::ToolkitMouse::Press, at,
                               test::ToolkitButton::Right);
        W().UpdateCommands();  // the idle pass while the button is down
        test::SendToolkitMouse(W().Tree->Handle(), test::ToolkitMouse::Release, at,
                               test::ToolkitButton::Right);
        EXPECT_EQ(Focused(W().Tree), c.node);
        EXPECT_TRUE(W().Tree->Selected(W().Tree->FocusedNode())) << c.node;
        EXPECT_EQ(W().PopupMenu->PopupCount, popups + 1) << c.node;
        EXPECT_EQ(W().pmAlbumProps->Enabled(), c.album) << c.node;
        EXPECT_EQ(W().pmDeleteAlbum->Enabled(), c.album) << c.node;
        EXPECT_TRUE(W().pmArtistProps->Enabled()) << c.node;
        EXPECT_TRUE(W().pmDeleteArtist->Enabled()) << c.node;
        EXPECT_TRUE(W().pmAddTrack->Enabled()) << c.node;
        // The right-hand side shows what was clicked.
        EXPECT_EQ(W().TrackList->Visible(), c.album) << c.node;
        EXPECT_EQ(W().AlbumList->Visible(), !c.album) << c.node;
    }
    // The menu's Album Properties opens the album clicked.
    const TPoint at = test::OnText(W().Tree, Row(W().Tree, "Kind of Blue"));
    test::Click(W().Tree, at, test::ToolkitButton::Right);
    W().UpdateCommands();
    std::string album;
    TModalScript script;
    script.Then(
        [&](TCustomForm& form) { album = dynamic_cast<Tdlg_rv_Album&>(form).eAlbum->Text(); });
    W().pmAlbumProps->Click();
    Settle();
    EXPECT_EQ(album, "Kind of Blue");
}

TEST_F(ViewInput, TheMenuShortcutsReachTheCommandsFromAFocusedView) {
    W().RefreshTree(0, 0);  // Kind of Blue
    test::Click(W().TrackList, test::OnText(W().TrackList, W().TrackList->GetFirst(), 1));
    ASSERT_TRUE(W().TrackList->Focused());
    W().UpdateCommands();
    TModalScript script;
    test::SendToolkitKey(W().TrackList->Handle(), VK_RETURN, "", test::kToolkitCtrl);
    W().UpdateCommands();
    dialogs.AnswerButton(IDYES);
    test::SendToolkitKey(W().TrackList->Handle(), VK_DELETE, "", test::kToolkitCtrl);
    EXPECT_EQ(test::ColumnTexts(W().TrackList, 1), (Names{"Freddie Freeloader", "Blue in Green"}));
    test::Click(W().Tree, test::OnText(W().Tree, W().Tree->FocusedNode()));
    ASSERT_TRUE(W().Tree->Focused());
    test::SendToolkitKey(W().Tree->Handle(), 'A', "a", test::kToolkitCtrl);
    EXPECT_EQ(script.Shown, (Names{"Track Properties", "New Track"}));
}

}  // namespace
}  // namespace rv
