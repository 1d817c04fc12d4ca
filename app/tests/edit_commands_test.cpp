// Adding, editing and deleting tracks, albums and artists through the main window's commands,
// with the dialogs played by scripts.

#include <gtest/gtest.h>

#include <functional>

#include "app/album_dialog.h"
#include "app/filed_track.h"
#include "app/name_dialogs.h"
#include "app/tests/app_fixture.h"
#include "app/tests/tiny_mp3.h"
#include "app/track_dialog.h"
#include "platform/framework/modal_script.h"

namespace rv {
namespace {

using Names = std::vector<std::string>;

// FillLibrary's addresses: Davis 0 (Kind of Blue 0, Bitches Brew 1), Coltrane 1, Abba 2.
class EditCommands : public test::AppTest {
protected:
    EditCommands() { ShowLibrary(); }

    // Runs `command` with the next modal dialog of type D handled by `step` (OK when it
    // returns true).
    template <class D>
    void WithDialog(const std::function<bool(D&)>& step, const std::function<void()>& command) {
        TModalScript script;
        script.Then([&](TCustomForm& form) {
            form.ModalResult = step(dynamic_cast<D&>(form)) ? mrOk : mrCancel;
        });
        command();
        shown = script.Shown;
    }
    void FocusTrack(int artist, int album, int track) {
        W().RefreshTree(artist, album);
        W().SelectNode(W().TrackList, W().FindNode(W().TrackList, {artist, album, track}));
    }
    std::string FocusedTrackTitle() {
        PVirtualNode node = W().FocusedIn(W().TrackList);
        return node ? W().TrackList->GetText(node, 1) : "";
    }
    std::string FocusedTreeText() {
        PVirtualNode node = W().FocusedIn(W().Tree);
        return node ? W().Tree->GetText(node, 0) : "";
    }

    TMediaLib& Lib() { return W().Library(); }
    std::vector<std::string> shown;
};

TEST_F(EditCommands, AddTrackPresetsTheFocusedAlbumAndShowsTheNewTrack) {
    W().RefreshTree(0, 0);
    Names preset;
    WithDialog<Tdlg_rv_Track>(
        [&](Tdlg_rv_Track& d) {
            preset = {d.Caption(), d.eArtist->Text(), d.eAlbum->Text()};
            d.eTitle->SetText("Flamenco Sketches");
            return true;
        },
        [&] { W().mmAddTrack->Click(); });
    EXPECT_EQ(preset, (Names{"New Track", "Davis, Miles", "Kind of Blue"}));
    EXPECT_EQ(Lib().TrackCount(), 8u);
    EXPECT_EQ(FocusedTreeText(), "Kind of Blue");
    EXPECT_EQ(FocusedTrackTitle(), "Flamenco Sketches");
    // The album keeps what the dialog does not show.
    const TAlbum album = Lib().GetAlbumAt(0, 0);
    EXPECT_EQ(std::tuple(album.MediaType, album.Genre, album.Release), std::tuple(1, "Jazz", 1959));

    // An artist focused presets nothing; Cancel adds nothing.
    W().RefreshTree(1, -1);
    WithDialog<Tdlg_rv_Track>(
        [&](Tdlg_rv_Track& d) {
            preset = {d.eArtist->Text(), d.eAlbum->Text()};
            return false;
        },
        [&] { W().pmAddTrack->Click(); });
    EXPECT_EQ(preset, (Names{"", ""}));
    EXPECT_EQ(Lib().TrackCount(), 8u);
}

TEST_F(EditCommands, TrackPropertiesMovesTheTrackAndItsEmptiedAlbumGoes) {
    FocusTrack(1, 0, 0);  // Giant Steps, Coltrane's only track
    WithDialog<Tdlg_rv_Track>(
        [](Tdlg_rv_Track& d) {
            d.eArtist->SetText("Coltrane, Alice");
            return true;
        },
        [&] { W().mmTrackProps->Click(); });
    EXPECT_EQ(shown, (Names{"Track Properties"}));
    EXPECT_EQ(
        test::Outline(W().Tree),
        (Names{"Abba", "Abba / Arrival", "Coltrane, Alice", "Coltrane, Alice / Giant Steps",
               "Davis, Miles", "Davis, Miles / Bitches Brew", "Davis, Miles / Kind of Blue"}));
    EXPECT_EQ(FocusedTreeText(), "Giant Steps");
    EXPECT_EQ(W().lArtist->Caption(), "Coltrane, Alice");
    EXPECT_EQ(FocusedTrackTitle(), "Giant Steps");
    EXPECT_EQ(Lib().TrackCount(), 7u);
}

TEST_F(EditCommands, TrackPropertiesAsksBeforeATrackOfTheSameTitleIsReplaced) {
    auto retitle = [&](const char* title) {
        FocusTrack(2, 0, 1);  // "abacus", beside "Dancing Queen"
        WithDialog<Tdlg_rv_Track>(
            [&](Tdlg_rv_Track& d) {
                d.eTitle->SetText(title);
                return true;
            },
            [&] { W().mmTrackProps->Click(); });
    };
    dialogs.AnswerButton(IDNO);
    retitle("DANCING QUEEN");
    ASSERT_EQ(dialogs.Calls.size(), 1u);
    EXPECT_EQ(dialogs.Calls[0].Text,
              "The album already has a track titled \"Dancing Queen\". Replace it?");
    EXPECT_EQ(dialogs.Calls[0].Type, unsigned(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(Names({Lib().TrackRef(2, 0, 0).Title, Lib().TrackRef(2, 0, 1).Title}),
              (Names{"Dancing Queen", "abacus"}));

    // The track's own title, unchanged, asks nothing.
    retitle("abacus");
    EXPECT_EQ(dialogs.Calls.size(), 1u);

    dialogs.AnswerButton(IDYES);
    retitle("DANCING QUEEN");
    EXPECT_EQ(dialogs.Calls.size(), 2u);
    EXPECT_EQ(Lib().AlbumRef(2, 0).Tracks.size(), 1u);
    EXPECT_EQ(FocusedTrackTitle(), "DANCING QUEEN");
    EXPECT_EQ(Lib().TrackCount(), 6u);
}

TEST_F(EditCommands, AlbumAndArtistPropertiesMoveAndMergeAndSelectTheResult) {
    // An artist focused: Album Properties does nothing.
    W().RefreshTree(0, -1);
    WithDialog<Tdlg_rv_Album>([](Tdlg_rv_Album&) { return true; },
                              [&] { W().mmAlbumProps->Click(); });
    EXPECT_TRUE(shown.empty());

    W().RefreshTree(0, 1);  // Bitches Brew
    WithDialog<Tdlg_rv_Album>(
        [](Tdlg_rv_Album& d) {
            d.eArtist->SetText("Coltrane, John");
            d.eRelease->SetText("1969");
            return true;
        },
        [&] { W().bAlbumProps->Click(); });
    EXPECT_EQ(shown, (Names{"Album Properties"}));
    EXPECT_EQ(FocusedTreeText(), "Bitches Brew");
    EXPECT_EQ(W().lArtist->Caption(), "Coltrane, John");
    EXPECT_EQ(W().lRelease->Caption(), "Release: 1969");
    EXPECT_EQ(Lib().GetArtistAt(1).Albums.size(), 2u);

    // Abba renamed to Davis's name joins Davis's albums.
    W().RefreshTree(2, 0);
    WithDialog<TNameDialog>(
        [](TNameDialog& d) {
            d.eName->SetText("davis, miles");
            return true;
        },
        [&] { W().pmArtistProps->Click(); });
    EXPECT_EQ(
        test::Outline(W().Tree),
        (Names{"Coltrane, John", "Coltrane, John / Bitches Brew", "Coltrane, John / Giant Steps",
               "Davis, Miles", "Davis, Miles / Arrival", "Davis, Miles / Kind of Blue"}));
    EXPECT_EQ(FocusedTreeText(), "Arrival");
    EXPECT_EQ(W().lArtist->Caption(), "Davis, Miles");
}

// A control character pasted into a dialog reaches the library, the views and the file as a
// blank.
TEST_F(EditCommands, ControlCharactersPastedIntoADialogAreFiledAsBlanks) {
    W().RefreshTree(2, 0);  // Abba / Arrival
    WithDialog<TNameDialog>(
        [](TNameDialog& d) {
            d.eName->SetText(
                "AB\x01"
                "BA");
            return true;
        },
        [&] { W().pmArtistProps->Click(); });
    EXPECT_EQ(Lib().GetArtistAt(2).Name, "AB BA");
    EXPECT_EQ(W().lArtist->Caption(), "AB BA");
    FocusTrack(2, 0, 0);
    WithDialog<Tdlg_rv_Track>(
        [](Tdlg_rv_Track& d) {
            d.eTitle->SetText("Dancing\x1BQueen");
            return true;
        },
        [&] { W().mmTrackProps->Click(); });
    EXPECT_EQ(FocusedTrackTitle(), "Dancing Queen");
    EXPECT_EQ(Lib().GetTrack(W().NodeIndex(W().TrackList, W().FocusedIn(W().TrackList))).Title,
              "Dancing Queen");
}

// Each deletion: nothing without its focus or after No; after Yes the entry goes and the tree
// selects what is left at the address.
TEST_F(EditCommands, DeletionsAskAndRemove) {
    struct Case {
        const char* name;
        std::function<void()> focus;
        TMenuItem* Twnd_rv_Main::*item;
        const char* question;
        unsigned tracks, artists;
        const char* selected;
    };
    const Case cases[] = {
        {"track", [&] { FocusTrack(0, 0, 0); }, &Twnd_rv_Main::mmDeleteTrack,
         "Delete selected track?", 6, 3, "Kind of Blue"},
        {"last album", [&] { W().RefreshTree(1, 0); }, &Twnd_rv_Main::mmDeleteAlbum,
         "Delete selected album?", 6, 2, "Abba"},
        {"album", [&] { W().RefreshTree(0, 0); }, &Twnd_rv_Main::mmDeleteAlbum,
         "Delete selected album?", 4, 3, "Davis, Miles"},
        {"artist", [&] { W().RefreshTree(0, 1); }, &Twnd_rv_Main::pmDeleteArtist,
         "Delete selected artist?", 3, 2, ""},
        {"library", [&] {}, &Twnd_rv_Main::mmClearLibrary, "Clear library?", 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lib().Clear();
        test::FillLibrary(Lib());
        c.focus();
        dialogs.Calls.clear();
        dialogs.AnswerButton(IDNO);
        (W().*c.item)->Click();
        EXPECT_EQ(Lib().TrackCount(), 7u);
        dialogs.AnswerButton(IDYES);
        (W().*c.item)->Click();
        ASSERT_EQ(dialogs.Calls.size(), 2u);
        EXPECT_EQ(dialogs.Calls[1].Text, c.question);
        EXPECT_EQ(Lib().TrackCount(), c.tracks);
        EXPECT_EQ(Lib().GetArtistCount(), static_cast<int>(c.artists));
        EXPECT_EQ(FocusedTreeText(), c.selected);
        EXPECT_TRUE(W().Panel->Visible());
    }
    // Clearing an empty library still asks.
    dialogs.AnswerButton(IDYES);
    W().mmClearLibrary->Click();
    EXPECT_EQ(dialogs.Calls.size(), 3u);
    // Nothing focused: the deletions ask nothing.
    W().RefreshTree(-1, -1);
    W().mmDeleteAlbum->Click();
    W().mmDeleteArtist->Click();
    W().mmDeleteTrack->Click();
    EXPECT_EQ(dialogs.Calls.size(), 3u);
}

TEST_F(EditCommands, AddTrackFromFileAddsTheFirstChosenFileAndSelectsItsAlbum) {
    test::WriteTinyMp3(dir_ / "a.mp3", "Evans, Bill", "Portrait in Jazz", "Autumn Leaves");
    test::WriteTinyMp3(dir_ / "b.mp3", "Evans, Bill", "Portrait in Jazz", "Blue in Green");
    dialogs.AnswerFiles({dir_ / "a.mp3", dir_ / "b.mp3"});
    W().mmAddFileTrack->Click();
    const std::vector<TDialogCall> opens = dialogs.CallsOf(TDialogKind::Open);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].Filter, kAudioFilter);
    EXPECT_TRUE(opens[0].Type & ofAllowMultiSelect);
    EXPECT_EQ(Lib().TrackCount(), 8u);
    EXPECT_EQ(FocusedTreeText(), "Portrait in Jazz");
    EXPECT_EQ(test::ColumnTexts(W().TrackList, 1), (Names{"Autumn Leaves"}));
    // The player window's road: a file that gives no track selects nothing.
    TMediaLibraryLink& player = W();
    player.AddFileTrack(dir_ / "missing.mp3");
    EXPECT_EQ(FocusedTreeText(), "");
    EXPECT_EQ(Lib().TrackCount(), 8u);
}

TEST(FiledTrack, NamesTheTrackThatFilingWouldOverwrite) {
    TMediaLib library;
    test::FillLibrary(library);
    library.AddTrack(test::MakeTrack("Abba", "Arrival ", 1, "Dancing Queen", 1));  // another album
    struct Case {
        const char *artist, *album, *title;
        TFindIndex over;
    };
    const Case cases[] = {
        {"Abba", "Arrival", "Dancing Queen", {2, 0, 0}},
        {"ABBA", "arrival", "ABACUS", {2, 0, 1}},
        {"Abba", "Arrival ", "Dancing Queen", {2, 1, 0}},
        {"Abba", "Arrival", "Money", {}},
        {"Abba", "Voulez-Vous", "Dancing Queen", {}},
        {"Queen", "Arrival", "Dancing Queen", {}},
        {"", "", "", {}},
    };
    for (const Case& c : cases) {
        TTrack track = test::MakeTrack(c.artist, c.album, 1, c.title, 1);
        EXPECT_EQ(TrackFiledOver(library, track), c.over) << c.artist << c.album << c.title;
        // As filing finds it: an overwrite keeps the count.
        const unsigned before = library.TrackCount();
        const TFindIndex filed = library.AddTrack(track);
        if (c.over.Track >= 0) {
            EXPECT_EQ(filed, c.over);
            EXPECT_EQ(library.TrackCount(), before);
        } else {
            EXPECT_EQ(library.TrackCount(), before + 1);
        }
    }
}

}  // namespace
}  // namespace rv
