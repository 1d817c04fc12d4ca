#include <gtest/gtest.h>

#include "app/album_dialog.h"
#include "app/match_dialog.h"
#include "app/name_dialogs.h"
#include "app/question_boxes.h"
#include "app/track_dialog.h"
#include "platform/framework/modal_script.h"
#include "platform/windows/scripted_dialogs.h"
#include "platform/windows/tests/gui_app.h"
#include "platform/windows/tests/toolkit_input.h"

namespace rv {
namespace {

struct Dialogs : testing::Test {
    Dialogs() { test::App(); }
    TModalScript script;

    // The next dialog shown: `fill` runs on it, then OK (or Cancel) is pressed.
    template <class Form>
    void Next(std::function<void(Form&)> fill, bool ok = true) {
        script.Then([fill, ok](TCustomForm& form) {
            auto* dialog = dynamic_cast<Form*>(&form);
            ASSERT_NE(dialog, nullptr);
            fill(*dialog);
            (ok ? dialog->bOK : dialog->bCancel)->Click();
        });
    }
};

TTrack StoredTrack() {
    TTrack t;
    t.ID = 7;
    t.Title = "Blue in Green";
    t.Artist = "Davis, Miles";
    t.Album = "Kind of Blue";
    t.Genre = "Jazz";
    t.Release = 1959;
    t.Duration = 245.4;
    t.Bitrate = 256;
    t.ChannelMode = "Joint Stereo";
    t.Format = "MPEG 1 Layer III";
    t.MediaType = 1;
    return t;
}

TEST_F(Dialogs, TrackDialogShowsTheTrackAndCopiesBackOnlyOnOk) {
    TTrack track = StoredTrack();
    Next<Tdlg_rv_Track>([](Tdlg_rv_Track& d) {
        EXPECT_EQ(d.Caption(), "Track Properties");
        EXPECT_EQ(d.eTitle->Text(), "Blue in Green");
        EXPECT_EQ(d.eTrack->Text(), "7");
        EXPECT_EQ(d.eMin->Text(), "04");
        EXPECT_EQ(d.eSec->Text(), "05");
        EXPECT_EQ(d.eBR->Text(), "256");
        EXPECT_EQ(d.eCM->Text(), "Joint Stereo");
        EXPECT_EQ(d.eCM->Items().size(), 4u);
        EXPECT_EQ(d.eFormat->Text(), "MPEG 1 Layer III");
        EXPECT_EQ(d.eArtist->Text(), "Davis, Miles");
        EXPECT_EQ(d.eAlbum->Text(), "Kind of Blue");
        d.eTitle->SetText("  Blue in Green (take 2)\t");
        d.eArtist->SetText("Evans, Bill");
    });
    ASSERT_TRUE(ExecuteTrackDlg("Track Properties", track));
    TTrack expected = StoredTrack();
    expected.Title = "Blue in Green (take 2)";
    expected.Artist = "Evans, Bill";
    // The time fields were left as they were: the duration keeps its fraction.
    EXPECT_EQ(track, expected);

    Next<Tdlg_rv_Track>([](Tdlg_rv_Track& d) { d.eTitle->SetText("Lost"); }, false);
    EXPECT_FALSE(ExecuteTrackDlg("Track Properties", track));
    EXPECT_EQ(track, expected);
}

TEST_F(Dialogs, TrackDialogNumbersFollowTheirLimits) {
    TTrack track = StoredTrack();
    track.Duration = 59.5;  // 60 s shown as 01:00
    Next<Tdlg_rv_Track>([](Tdlg_rv_Track& d) {
        EXPECT_EQ(d.eMin->Text(), "01");
        EXPECT_EQ(d.eSec->Text(), "00");
        d.eMin->SetText("3");
        d.eSec->SetText("75");
        d.eBR->SetText("fast");
        d.eTrack->SetText("x1");
    });
    ASSERT_TRUE(ExecuteTrackDlg("New Track", track));
    EXPECT_EQ(track.Duration, 255);
    EXPECT_EQ(track.Bitrate, 0);
    EXPECT_EQ(track.ID, 0);
    EXPECT_EQ(track.Genre, "Jazz");  // not in the dialog: passes through
    EXPECT_EQ(track.Release, 1959);

    Next<Tdlg_rv_Track>([](Tdlg_rv_Track& d) {
        d.eMin->SetText("-2");
        d.eSec->SetText("30");
    });
    ASSERT_TRUE(ExecuteTrackDlg("New Track", track));
    EXPECT_EQ(track.Duration, 30);
    Next<Tdlg_rv_Track>([](Tdlg_rv_Track& d) { d.eSec->SetText("-30"); });
    ASSERT_TRUE(ExecuteTrackDlg("New Track", track));
    EXPECT_EQ(track.Duration, 0);
    EXPECT_EQ(script.Shown, (std::vector<std::string>{"New Track", "New Track", "New Track"}));
}

// Tab into a filled field selects its text: what is typed then replaces it.
TEST_F(Dialogs, TabIntoAFilledFieldSelectsItsTextSoTypingReplacesIt) {
    TTrack track = StoredTrack();
    track.ID = 0;
    Next<Tdlg_rv_Track>([](Tdlg_rv_Track& d) {
        ASSERT_TRUE(d.eTitle->Focused());
        const std::pair<TEdit*, const char*> typed[] = {
            {d.eTrack, "3"}, {d.eMin, "4"}, {d.eSec, "5"}};
        for (const auto& [field, text] : typed) {
            test::SendToolkitKey(GetFocus(), VK_TAB, "\t");
            ASSERT_TRUE(field->Focused()) << text;
            test::SendToolkitKey(field->Handle(), text[0], text);
        }
        EXPECT_EQ(d.eTrack->Text(), "3");
        EXPECT_EQ(d.eMin->Text(), "4");
        EXPECT_EQ(d.eSec->Text(), "5");
    });
    ASSERT_TRUE(ExecuteTrackDlg("Track Properties", track));
    EXPECT_EQ(track.ID, 3);
    EXPECT_EQ(track.Duration, 245);
}

// Each entry dialog opens with its first field's text selected: a new name typed, in any script,
// replaces the old one instead of going before it.
TEST_F(Dialogs, EachEntryDialogOpensWithItsFirstFieldSelectedSoANameTypedReplacesIt) {
    auto retype = [](TEdit* field, const std::string& old, const std::string& typed) {
        ASSERT_TRUE(field->Focused()) << old;
        EXPECT_EQ(field->SelText(), old);
        test::SendToolkitCharacters(field->Handle(), typed);
    };
    TTrack track = StoredTrack();
    Next<Tdlg_rv_Track>([&](Tdlg_rv_Track& d) { retype(d.eTitle, "Blue in Green", "Nardis"); });
    ASSERT_TRUE(ExecuteTrackDlg("Track Properties", track));
    EXPECT_EQ(track.Title, "Nardis");
    TAlbum album;
    album.Artist = "Davis, Miles";
    album.Title = "Kind of Blue";
    Next<Tdlg_rv_Album>([&](Tdlg_rv_Album& d) {
        retype(d.eArtist, "Davis, Miles",
               "\u0414\u044d\u0432\u0438\u0441, \u041c\u0430\u0439\u043b\u0437");
    });
    ASSERT_TRUE(ExecuteAlbumDlg(album));
    EXPECT_EQ(album.Artist, "\u0414\u044d\u0432\u0438\u0441, \u041c\u0430\u0439\u043b\u0437");
    TArtist artist;
    artist.Name = "Davis, Miles";
    Next<TNameDialog>(
        [&](TNameDialog& d) { retype(d.eName, "Davis, Miles", "\u0395\u03b2\u03ac\u03bd\u03c2"); });
    ASSERT_TRUE(ExecuteArtistDlg(artist));
    EXPECT_EQ(artist.Name, "\u0395\u03b2\u03ac\u03bd\u03c2");
}

TEST_F(Dialogs, AlbumDialogEditsTheAlbumAndItsMediaType) {
    TAlbum album;
    album.Artist = "Davis, Miles";
    album.Title = "Kind of Blue";
    album.Release = 1959;
    album.Genre = "Jazz";
    album.MediaType = 1;
    album.Time = 1485.9;
    Next<Tdlg_rv_Album>([](Tdlg_rv_Album& d) {
        EXPECT_EQ(d.Caption(), "Album Properties");
        EXPECT_EQ(d.eArtist->Text(), "Davis, Miles");
        EXPECT_EQ(d.eAlbum->Text(), "Kind of Blue");
        EXPECT_EQ(d.eRelease->Text(), "1959");
        EXPECT_EQ(d.eGenre->Text(), "Jazz");
        EXPECT_EQ(d.eMT->Items(), (std::vector<std::string>{"AudioCD", "AudioFile"}));
        EXPECT_EQ(d.eMT->ItemIndex(), 1);
        d.eRelease->SetText("2OO1");  // letters O for zeros
        d.eMT->SetItemIndex(0);
        d.eGenre->SetText(std::string(300, 'g'));
    });
    ASSERT_TRUE(ExecuteAlbumDlg(album));
    EXPECT_EQ(album.Release, 0);
    EXPECT_EQ(album.MediaType, 0);
    EXPECT_EQ(album.Genre, std::string(255, 'g'));
    EXPECT_EQ(album.Time, 1485.9);

    Next<Tdlg_rv_Album>(
        [](Tdlg_rv_Album& d) {
            EXPECT_EQ(d.eRelease->Text(), "0");
            d.eAlbum->SetText("Other");
        },
        false);
    EXPECT_FALSE(ExecuteAlbumDlg(album));
    EXPECT_EQ(album.Title, "Kind of Blue");
}

TEST_F(Dialogs, ArtistAndLibraryNames) {
    TArtist artist;
    artist.Name = "Davis";
    Next<TNameDialog>([](TNameDialog& d) {
        EXPECT_EQ(d.Caption(), "Artist Properties");
        EXPECT_EQ(d.eName->Text(), "Davis");
        EXPECT_TRUE(d.eName->Focused());  // typing goes into the name at once
        d.eName->SetText(" Davis, Miles ");
    });
    ASSERT_TRUE(ExecuteArtistDlg(artist));
    EXPECT_EQ(artist.Name, "Davis, Miles");
    Next<TNameDialog>([](TNameDialog& d) { d.eName->SetText("x"); }, false);
    EXPECT_FALSE(ExecuteArtistDlg(artist));
    EXPECT_EQ(artist.Name, "Davis, Miles");

    std::string name = "Jazz";
    Next<TNameDialog>([](TNameDialog& d) {
        EXPECT_EQ(d.Caption(), "Library Properties");
        EXPECT_EQ(d.eName->Text(), "Jazz");
        d.eName->SetText("Jazzothèque");
    });
    ASSERT_TRUE(ExecutePropsDlg(name, 8));
    EXPECT_EQ(name, "Jazzothè");  // eight characters, the last one two bytes
    Next<TNameDialog>([](TNameDialog& d) { d.eName->SetText("Rock"); }, false);
    EXPECT_FALSE(ExecutePropsDlg(name, 255));
    EXPECT_EQ(name, "Jazzothè");
}

// Keys as the toolkit delivers them to a field: Enter (the dialog's default button takes it) and
// letters typed into the field.
void PressEnter(TWinControl* field) {
    test::SendToolkitKey(field->Handle(), VK_RETURN, "\r");
}
void TypeInto(TWinControl* field, const std::string& letters) {
    for (char c : letters) test::SendToolkitKey(field->Handle(), c >= 'a' ? c - 'a' + 'A' : c, {c});
}
// The field the warning named has the keys: `typed` goes into it, `other` is set to `left`, and
// Enter is pressed there.
void Refill(TEdit* named, const std::string& typed, TEdit* other, const std::string& left) {
    EXPECT_TRUE(named->Focused());
    named->SetText("");
    TypeInto(named, typed);
    other->SetText(left);
    PressEnter(named);
}

TEST_F(Dialogs, AnEmptyArtistOrAlbumIsRefusedWithAWarningAndTheKeysGoThere) {
    TScriptedDialogs boxes;
    TTrack track = StoredTrack();
    script.Then([](TCustomForm& form) {
        auto& d = dynamic_cast<Tdlg_rv_Track&>(form);
        d.eArtist->SetText("  \t");
        PressEnter(d.eTitle);
    });
    script.Then([](TCustomForm& form) {
        auto& d = dynamic_cast<Tdlg_rv_Track&>(form);
        EXPECT_TRUE(d.Visible());
        Refill(d.eArtist, "Evans", d.eAlbum, "");
    });
    script.Then([](TCustomForm& form) {
        auto& d = dynamic_cast<Tdlg_rv_Track&>(form);
        EXPECT_TRUE(d.eAlbum->Focused());
        EXPECT_EQ(d.eArtist->Text(), "Evans");
        d.bCancel->Click();
    });
    EXPECT_FALSE(ExecuteTrackDlg("Track Properties", track));
    EXPECT_EQ(track, StoredTrack());
    std::vector<std::string> told;
    for (const TDialogCall& box : boxes.CallsOf(TDialogKind::Message)) {
        told.push_back(box.Text);
        EXPECT_EQ(box.Title, "Warning");
    }
    EXPECT_EQ(told, (std::vector<std::string>{"Enter the name of the track's artist.",
                                              "Enter the title of the track's album."}));

    // The album's title, then its artist; filled, OK takes them.
    TAlbum album;
    album.Artist = "Davis, Miles";
    script.Then([](TCustomForm& form) { PressEnter(dynamic_cast<Tdlg_rv_Album&>(form).eArtist); });
    script.Then([](TCustomForm& form) {
        auto& d = dynamic_cast<Tdlg_rv_Album&>(form);
        Refill(d.eAlbum, "Milestones", d.eArtist, " ");
    });
    script.Then([](TCustomForm& form) {
        auto& d = dynamic_cast<Tdlg_rv_Album&>(form);
        EXPECT_TRUE(d.eArtist->Focused());
        TypeInto(d.eArtist, "Davis");
        PressEnter(d.eArtist);
    });
    ASSERT_TRUE(ExecuteAlbumDlg(album));
    EXPECT_EQ(album.Title, "Milestones");
    EXPECT_EQ(album.Artist, "Davis");

    // An artist's name; the library's may stay empty.
    TArtist artist;
    artist.Name = "Davis";
    script.Then([](TCustomForm& form) {
        auto& d = dynamic_cast<TNameDialog&>(form);
        d.eName->SetText("");
        PressEnter(d.eName);
    });
    EXPECT_FALSE(ExecuteArtistDlg(artist));
    EXPECT_EQ(artist.Name, "Davis");
    EXPECT_EQ(boxes.CallsOf(TDialogKind::Message).back().Text, "Enter the artist's name.");
    std::string name = "Jazz";
    script.Then([](TCustomForm& form) {
        auto& d = dynamic_cast<TNameDialog&>(form);
        d.eName->SetText("");
        PressEnter(d.eName);
    });
    ASSERT_TRUE(ExecutePropsDlg(name, 255));
    EXPECT_EQ(name, "");
    EXPECT_EQ(boxes.CallsOf(TDialogKind::Message).size(), 5u);
}

TEST(MatchLine, SplitsAtTheFirstTwoBlanksAndKeepsTheTitleAsItIs) {
    TMatchLine line = ParseMatchLine("rock 8a0b7c0d Artist / Album");
    EXPECT_EQ(line.Category, "rock");
    EXPECT_EQ(line.DiscId, "8a0b7c0d");
    EXPECT_EQ(line.Title, "Artist / Album");
    line = ParseMatchLine("jazz 0a0b0c0d Davis, Miles / \"Kind\"  of Blue");
    EXPECT_EQ(line.Title, "Davis, Miles / \"Kind\"  of Blue");
    line = ParseMatchLine("misc 12345678");
    EXPECT_EQ(line.DiscId, "12345678");
    EXPECT_EQ(line.Title, "");
    line = ParseMatchLine("misc");
    EXPECT_EQ(line.Category, "misc");
    EXPECT_EQ(line.DiscId, "");
    line = ParseMatchLine("data 1 " + std::string(300, 'x'));
    EXPECT_EQ(line.Title.size(), 255u);
}

TEST_F(Dialogs, MatchDialogListsTheLinesUpToTheFirstEmptyOne) {
    TMatchArray matches{};
    for (int i = 0; i < 100; ++i) matches[i] = "rock " + std::to_string(10000000 + i) + " A / B";
    script.Then([](TCustomForm& form) {
        auto& d = dynamic_cast<Tdlg_rv_Match&>(form);
        EXPECT_EQ(d.Caption(), "Dudida Client");
        EXPECT_EQ(d.bCancel->Caption(), "Zrušit");
        ASSERT_EQ(d.List->ItemCount(), 100);
        EXPECT_EQ(d.List->ItemIndex(), 0);
        EXPECT_EQ(d.List->Items(99)->Caption(), "10000099");
        EXPECT_EQ(d.List->Items(0)->SubItems(), (std::vector<std::string>{"A / B", "rock"}));
        d.List->SetItemIndex(41);
        d.bOK->Click();
    });
    EXPECT_EQ(ExecuteMatchDlg(matches), 41);

    matches[2] = "";
    script.Then([](TCustomForm& form) {
        auto& d = dynamic_cast<Tdlg_rv_Match&>(form);
        EXPECT_EQ(d.List->ItemCount(), 2);
        d.List->SetItemIndex(-1);
        d.bOK->Click();
    });
    EXPECT_EQ(ExecuteMatchDlg(matches), -1);  // OK with nothing chosen
    script.Then([](TCustomForm& form) { dynamic_cast<Tdlg_rv_Match&>(form).bCancel->Click(); });
    EXPECT_EQ(ExecuteMatchDlg(matches), -1);
}

TEST(QuestionBoxes, AskWithTheirButtonsUnderOneCaption) {
    test::App();
    TScriptedDialogs dialogs;
    dialogs.AnswerButton(IDYES);
    dialogs.AnswerButton(IDNO);
    dialogs.AnswerButton(IDNO);
    EXPECT_TRUE(Confirm("Delete selected track?"));
    EXPECT_FALSE(Confirm("Delete selected track?"));
    EXPECT_EQ(ConfirmCancel("Save changes?"), IDNO);
    EXPECT_EQ(ConfirmCancel("Save changes?"), IDCANCEL);  // closed without an answer
    ASSERT_EQ(dialogs.Calls.size(), 4u);
    EXPECT_EQ(dialogs.Calls[0].Type, 36u);
    EXPECT_EQ(dialogs.Calls[3].Type, 35u);
    for (const TDialogCall& call : dialogs.Calls) {
        EXPECT_EQ(call.Title, "Confirmation");
        EXPECT_EQ(call.Owner, 0u);
    }
}

}  // namespace
}  // namespace rv
