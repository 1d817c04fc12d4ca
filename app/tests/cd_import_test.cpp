#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/cd_import.h"
#include "app/match_dialog.h"
#include "app/splash.h"
#include "app/tests/app_fixture.h"
#include "app/tests/cddb_server.h"
#include "app/tests/tiny_mp3.h"
#include "cd/cddb.h"
#include "platform/cdrom/tests/fake_drives_file.h"
#include "platform/framework/modal_script.h"
#include "platform/windows/scripted_dialogs.h"
#include "platform/windows/top_level_window.h"

namespace rv {
namespace {

TCDTOCEntry At(int minute, int second, bool audio = true) {
    return {static_cast<std::uint8_t>(minute), static_cast<std::uint8_t>(second), 0, audio};
}

// The disc of 00:02 / 04:10 / 08:30 with the lead-out at 12:00.
TCDInfo ThreeTrackDisc() {
    TCDInfo disc;
    disc.Artist = "The Artist";
    disc.Title = "The Album";
    disc.Year = "1959";
    disc.Genre = "Jazz";
    disc.TrackTitles[0] = "One";
    disc.TrackTitles[1] = "Two";
    disc.TrackTitles[2] = "Three";
    disc.TOC.Count = 3;
    disc.TOC.Tracks[0] = At(0, 2);
    disc.TOC.Tracks[1] = At(4, 10);
    disc.TOC.Tracks[2] = At(8, 30);
    disc.TOC.LeadOut = At(12, 0, false);
    return disc;
}

struct Filed {
    int id;
    std::string title;
    double seconds;
    bool operator==(const Filed&) const = default;
};

std::vector<Filed> AlbumTracks(const TMediaLib& lib, const std::string& artist,
                               const std::string& album) {
    std::vector<Filed> out;
    for (const TArtist& a : lib.Artists()) {
        if (a.Name != artist) continue;
        for (const TAlbum& b : a.Albums)
            if (b.Title == album)
                for (const TTrack& t : b.Tracks) out.push_back({t.ID, t.Title, t.Duration});
    }
    return out;
}

TEST(DiscTracks, EachAudioTrackRunsToTheNextEntryAndTakesTheDiscsTexts) {
    TMediaLib lib;
    AddDiscTracks(ThreeTrackDisc(), lib);
    EXPECT_EQ(AlbumTracks(lib, "The Artist", "The Album"),
              (std::vector<Filed>{{1, "One", 248}, {2, "Two", 260}, {3, "Three", 210}}));
    const TTrack t = lib.GetTrack({0, 0, 1});
    EXPECT_EQ(t.Release, 1959);
    EXPECT_EQ(t.Genre, "Jazz");
    EXPECT_EQ(t.Format, "CD Audio");
    EXPECT_EQ(t.ChannelMode, "Stereo");
    EXPECT_EQ(t.Bitrate, 0);
    EXPECT_EQ(t.MediaType, 0);
}

TEST(DiscTracks, DataTracksUntitledTracksAndOddYears) {
    const struct {
        const char* what;
        std::function<void(TCDInfo&)> change;
        std::vector<Filed> filed;
        int release;
    } cases[] = {
        {"an enhanced CD: the data track is not filed, the audio before it runs to its start",
         [](TCDInfo& d) {
             d.TOC.Tracks[2].Audio = false;
             d.Year = "no year";
         },
         {{1, "One", 248}, {2, "Two", 260}},
         0},
        {"untitled tracks are numbered, not merged into one",
         [](TCDInfo& d) {
             d.TrackTitles[0].clear();
             d.TrackTitles[2].clear();
             d.Year = " 1984 ";
         },
         {{1, "Track 01", 248}, {2, "Two", 260}, {3, "Track 03", 210}},
         1984},
        {"a table out of order gives no negative length; a year beyond the field is 0",
         [](TCDInfo& d) {
             d.TOC.Tracks[1] = At(9, 0);
             d.Year = "70000";
         },
         {{1, "One", 538}, {2, "Two", 0}, {3, "Three", 210}},
         0},
        {"control characters of the entry are filed as blanks",
         [](TCDInfo& d) {
             d.TrackTitles[1] = "Tw\x01o";
             d.Artist =
                 "The\x02"
                 "Artist";
             d.Title =
                 "The\x1F"
                 "Album";
         },
         {{1, "One", 248}, {2, "Tw o", 260}, {3, "Three", 210}},
         1959},
        {"a disc without audio files nothing",
         [](TCDInfo& d) {
             for (auto& t : d.TOC.Tracks) t.Audio = false;
         },
         {},
         0},
    };
    for (const auto& c : cases) {
        TCDInfo disc = ThreeTrackDisc();
        c.change(disc);
        TMediaLib lib;
        const TFindIndex last = AddDiscTracks(disc, lib);
        EXPECT_EQ(AlbumTracks(lib, "The Artist", "The Album"), c.filed) << c.what;
        if (c.filed.empty()) {
            EXPECT_EQ(last, (TFindIndex{-1, -1, -1})) << c.what;
        } else {
            EXPECT_EQ(lib.GetTrack(last).Release, c.release) << c.what;
        }
    }
}

// The window over the library of FillLibrary, a fake drive holding the three-track disc, and
// the fake CDDB server as the settings' site.
class CdImport : public test::AppTest {
protected:
    static constexpr const char* kDisc =
        "drive /dev/sr0\n"
        "track 1 00:02:00 audio\ntrack 2 04:10:00 audio\ntrack 3 08:30:00 audio\n"
        "leadout 12:00:00\n";

    CdImport() : drives_(kDisc) {}
    void SetUp() override {
        RV_REQUIRE_SERVER(server_);
        test::App().OnException = [](const std::exception& e) { ADD_FAILURE() << e.what(); };
        ShowLibrary();
        W().CddbClient->SetIdleTimeout(5000);
    }

    // Scans the drive's device (as the folder dialog offers it) with the site answering as
    // `mode` says, and waits until the look-up has ended and its progress window is gone.
    void ScanDisc(const std::string& mode) { ScanDisc(server_.Prefs(mode)); }
    void ScanDisc(const TPreferences& prefs) {
        W().Prefs = prefs;
        dialogs.AnswerFolder("/dev/sr0");
        W().mmScan->Click();
        EXPECT_TRUE(test::PumpUntil([&] {
            return W().CdLookup() == Twnd_rv_Main::TCdLookup::Idle && !W().Splash() &&
                   !W().Scanning();
        })) << SiteToStr(prefs.Site);
        Settle();
    }
    // The message boxes shown from the `from`th on, as "caption: text".
    std::vector<std::string> Told(std::size_t from = 0) const {
        std::vector<std::string> told;
        const auto boxes = dialogs.CallsOf(TDialogKind::Message);
        for (std::size_t i = from; i < boxes.size(); ++i)
            told.push_back(boxes[i].Title + ": " + boxes[i].Text);
        return told;
    }
    // The drive holding the three-track disc, with the given failures of its operations.
    static std::string DiscWith(const std::string& errors) {
        return "drive /dev/sr0\n" + errors + (kDisc + std::string_view("drive /dev/sr0\n").size());
    }
    // The next match dialog: its rows are counted, then `row` is chosen (-1: Cancel).
    void ChooseMatch(int row, int rows) {
        script.Then([this, row, rows](TCustomForm& form) {
            auto* dialog = dynamic_cast<Tdlg_rv_Match*>(&form);
            ASSERT_NE(dialog, nullptr);
            // The progress window closed before the choice opened.
            EXPECT_EQ(W().Splash(), nullptr);
            EXPECT_EQ(dialog->List->ItemCount(), rows);
            if (row < 0) return dialog->bCancel->Click();
            dialog->List->SetItemIndex(row);
            dialog->bOK->Click();
        });
    }
    // Calls `step` after each event of the client while the library holds `tracks` tracks: at
    // every step of a look-up, up to the filing of its disc.
    void AfterEachEventUntilFiled(std::uint32_t tracks, std::function<void()> step) {
        for (auto* event : {&W().CddbClient->OnStatusMessage, &W().CddbClient->OnDataExchange}) {
            *event = [this, tracks, step, told = *event](TObject* sender, const std::string& text) {
                told(sender, text);
                if (W().Library().TrackCount() == tracks) step();
            };
        }
    }
    std::vector<std::string> ArtistNames() const {
        std::vector<std::string> names;
        for (const TArtist& a : window->Library().Artists()) names.push_back(a.Name);
        return names;
    }

    test::FakeDrivesFile drives_;
    test::AppCddbServer server_;
    test::TempDir tempRoot_;
    TModalScript script;
};

TEST_F(CdImport, TheSecondMatchChosenFilesTheDiscsTracksUnderItsEntry) {
    ChooseMatch(1, 2);
    W().Prefs = server_.Prefs("two");
    dialogs.AnswerFolder("/dev/sr0");
    W().mmScan->Click();
    ASSERT_NE(W().Splash(), nullptr);
    EXPECT_EQ(W().Splash()->lText->Caption(), "Querying CDDB...");
    EXPECT_FALSE(W().Splash()->bStop->Visible());
    // Nothing to stop, so nothing held up.
    EXPECT_FALSE(IsWindowModal(W().Splash()->Handle()));
    ASSERT_TRUE(test::PumpUntil([&] { return W().Library().GetArtistCount() == 4; }));
    ASSERT_TRUE(test::PumpUntil([&] { return !W().Splash(); }));
    EXPECT_EQ(script.Shown, std::vector<std::string>{"Dudida Client"});
    EXPECT_EQ(AlbumTracks(W().Library(), "The Artist", "The Album"),
              (std::vector<Filed>{{1, "One", 248}, {2, "Two", 260}, {3, "Three", 210}}));
    const TAlbum album = W().Library().GetAlbum(W().Library().Find("The Artist", "", "")[0]);
    EXPECT_EQ(album.Release, 1959);
    EXPECT_EQ(album.MediaType, 0);
    // The tree shows the new artist.
    EXPECT_NE(W().FindNode(W().Tree, {3, -1, -1}), nullptr);
    EXPECT_EQ(W().CdLookup(), Twnd_rv_Main::TCdLookup::Idle);

    // The client's finished read seen again, out of a look-up, files nothing.
    ASSERT_EQ(W().CddbClient->State(), cddbEntryRead);
    const std::uint32_t tracks = W().Library().TrackCount();
    W().CddbClientDataExchange(W().CddbClient, "Entry read");
    Settle();
    EXPECT_EQ(W().Library().TrackCount(), tracks);

    // The next scan finds no match: nothing is added (least of all the last disc's titles)
    // and the progress window closes.
    ScanDisc("nomatch");
    EXPECT_EQ(W().Library().TrackCount(), tracks);
    EXPECT_EQ(W().CddbClient->State(), cddbNoMatch);
    EXPECT_EQ(script.Shown.size(), 1u);
}

TEST_F(CdImport, AnEmptyArtistIsAnArtistOfItsOwnAndUntitledTracksAreKept) {
    const std::vector<std::string> before = ArtistNames();
    ChooseMatch(0, 1);  // an exact match is offered too
    ScanDisc("exact");
    std::vector<std::string> expected = before;
    expected.push_back("");
    EXPECT_EQ(ArtistNames(), expected);
    EXPECT_EQ(AlbumTracks(W().Library(), "", "Nameless"),
              (std::vector<Filed>{{1, "Track 01", 248}, {2, "Track 02", 260}, {3, "Last", 210}}));
    const TFindIndexArray found = W().Library().Find("", "Nameless", "");
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(W().Library().GetAlbum(found[0]).Release, 0);
}

TEST_F(CdImport, EveryEarlyEndClosesTheProgressWindowAndFilesNothing) {
    const std::uint32_t tracks = W().Library().TrackCount();
    enum Choice { kNoDialog, kOk, kCancel };
    const struct {
        const char* mode;
        Choice choice;
        std::int32_t state;
    } cases[] = {
        {"nomatch", kNoDialog, cddbNoMatch},
        {"readfail", kOk, cddbReadFailed},  // the chosen entry is not there
        {"two", kCancel, cddbNoMatch},
        {"silent", kNoDialog, cddbHttpFailed},  // the client's time-out
    };
    W().CddbClient->SetIdleTimeout(300);
    for (const auto& c : cases) {
        if (c.choice != kNoDialog) {
            script.Then([&](TCustomForm& form) {
                auto* dialog = dynamic_cast<Tdlg_rv_Match*>(&form);
                ASSERT_NE(dialog, nullptr);
                (c.choice == kCancel ? dialog->bCancel : dialog->bOK)->Click();
            });
        }
        ScanDisc(c.mode);
        EXPECT_EQ(W().CddbClient->State(), c.state) << c.mode;
        EXPECT_EQ(W().Library().TrackCount(), tracks) << c.mode;
        EXPECT_EQ(script.Pending(), 0u) << c.mode;
    }
}

// A look-up that ends without a disc says why in one message box, and the library stays as it
// was. The disc is 0f02ce03.
TEST_F(CdImport, EveryFailureOfTheLookUpTellsWhyOnceAndFilesNothing) {
    W().CddbClient->SetIdleTimeout(300);
    const std::vector<TArtist> before = W().Library().Artists();
    const std::string noMatch =
        "Information: No match found: the CDDB site knows no entry for the disc in the drive.";
    const std::string readFailed = "Error: The disc's entry could not be read from CDDB: ";
    const std::string notCddb =
        "Error: The CDDB query failed: The server's answer is not a CDDB answer.";
    const struct {
        const char* mode;
        bool chosen;  // a match is offered and chosen
        std::string told;
    } cases[] = {
        {"nomatch", false, noMatch},
        {"emptylist", false, noMatch},
        {"corrupt", true, readFailed + "Database entry is corrupt."},
        {"readfail", true,
         readFailed + "Specified CDDB entry not found.\n\nThe server answered: 401 blues 0f02ce03 "
                      "No such CD entry in database."},
        {"noend", true, readFailed + "The CDDB server's answer ended before it was complete."},
        {"garbage", false, notCddb},
        {"html", false, notCddb},
        {"silent", false, "Error: The CDDB query failed: Connection timed out (Error #10060)."},
    };
    for (const auto& c : cases) {
        if (c.chosen) ChooseMatch(0, 1);
        const std::size_t shown = Told().size();
        ScanDisc(c.mode);
        EXPECT_EQ(Told(shown), std::vector<std::string>{c.told}) << c.mode;
        EXPECT_EQ(W().Library().Artists(), before) << c.mode;
        EXPECT_EQ(script.Pending(), 0u) << c.mode;
    }
    // Cancelling the choice is the user's own end: nothing to tell.
    script.Then([](TCustomForm& form) { dynamic_cast<Tdlg_rv_Match&>(form).bCancel->Click(); });
    const std::size_t shown = Told().size();
    ScanDisc("two");
    EXPECT_EQ(Told(shown), std::vector<std::string>{});
}

TEST_F(CdImport, AProxyThatRefusesThePasswordIsToldAndOneThatTakesItPassesTheLookUpOn) {
    TPreferences prefs = server_.Prefs("two");
    prefs.Proxy = true;
    prefs.ProxyAddr = "127.0.0.1";
    prefs.ProxyPort = server_.PortText();
    prefs.ProxyUser = "alice";
    prefs.ProxyPwd = "wrong";
    const std::uint32_t tracks = W().Library().TrackCount();
    ScanDisc(prefs);
    EXPECT_EQ(Told(), std::vector<std::string>{
                          "Error: The CDDB query failed: The proxy server refused the user name "
                          "and password of the settings (407 Proxy Authentication Required)."});
    EXPECT_EQ(W().Library().TrackCount(), tracks);

    prefs.ProxyPwd = "secret";
    ChooseMatch(1, 2);
    ScanDisc(prefs);
    EXPECT_EQ(Told().size(), 1u);
    EXPECT_EQ(W().Library().TrackCount(), tracks + 3);
}

TEST_F(CdImport, ADriveErrorIsShownOnceAndThenTheLookUpGoesOnOrTheFolderIsScanned) {
    const std::string noMatch =
        "Information: No match found: the CDDB site knows no entry for the disc in the drive.";
    // The pass-through fails and the driver's table stands in: the drive is read for the scan
    // and again for the query, and its error is told once.
    drives_.Rewrite(DiscWith("error toc 31\n"));
    ScanDisc("nomatch");
    EXPECT_EQ(Told(), (std::vector<std::string>{"Error: IO Error: 31", noMatch}));

    drives_.Rewrite(DiscWith("error toc 5\n"));
    ScanDisc("nomatch");
    ASSERT_EQ(Told(2).size(), 2u);
    EXPECT_TRUE(
        Told(2)[0].starts_with("Warning: You must have permission to send SCSI commands "
                               "to /dev/sr0; falling back to IOCTL."))
        << Told(2)[0];
    EXPECT_EQ(Told(2)[1], noMatch);

    // Neither way reads the disc: no look-up, the folder is scanned as files.
    drives_.Rewrite(DiscWith("error toc 31\nerror ioctl 31\n"));
    const std::int32_t state = W().CddbClient->State();
    ScanDisc("two");
    EXPECT_EQ(Told(4), std::vector<std::string>{"Error: IO Error: 31"});
    EXPECT_EQ(W().CddbClient->State(), state);
    EXPECT_TRUE(script.Shown.empty());
}

TEST_F(CdImport, ASecondScanOfTheDriveWhileALookUpIsUnderWayIsRefused) {
    W().CddbClient->SetIdleTimeout(1000);
    W().Prefs = server_.Prefs("silent");
    dialogs.AnswerFolder("/dev/sr0");
    W().mmScan->Click();
    ASSERT_EQ(W().CdLookup(), Twnd_rv_Main::TCdLookup::Querying);
    dialogs.AnswerFolder("/dev/sr0");
    W().mmScan->Click();
    EXPECT_EQ(Told(), std::vector<std::string>{
                          "Information: A CD is being looked up at the CDDB site already. Scan "
                          "the drive again once that look-up has ended."});
    // The first goes on as it was, to its own end.
    EXPECT_EQ(W().CdLookup(), Twnd_rv_Main::TCdLookup::Querying);
    EXPECT_EQ(W().CddbClient->State(), cddbQuerySent);
    ASSERT_NE(W().Splash(), nullptr);
    EXPECT_EQ(W().Splash()->lText->Caption(), "Querying CDDB...");
    ASSERT_TRUE(test::PumpUntil(
        [&] { return W().CdLookup() == Twnd_rv_Main::TCdLookup::Idle && !W().Splash(); }));
    Settle();
    EXPECT_EQ(Told(1), std::vector<std::string>{
                           "Error: The CDDB query failed: Connection timed out (Error #10060)."});
}

// A folder scan would share the look-up's progress window, each closing the other's: it is
// refused at every step of a look-up, up to the filing of the disc read, and the look-up goes on
// to its end. Then the folder scans.
TEST_F(CdImport, AFolderScanIsRefusedAtEveryStepOfALookUpAndScansOnceItHasEnded) {
    const std::string folder = tempRoot_ / "music";
    std::filesystem::create_directories(folder);
    test::WriteTinyMp3(folder + "/a.mp3", "Scanned", "Folder", "Song");
    const std::uint32_t tracks = W().Library().TrackCount();
    std::vector<std::string> progress;  // the progress window's text at each try
    std::int32_t lastState = -1;
    auto tryScan = [&] {
        dialogs.AnswerFolder(folder);
        W().mmScan->Click();
        EXPECT_FALSE(W().Scanning());
        progress.push_back(W().Splash() ? W().Splash()->lText->Caption() : "none");
        lastState = W().CddbClient->State();
    };
    // After each event of the client, until the disc is filed.
    AfterEachEventUntilFiled(tracks, tryScan);
    script.Then([&](TCustomForm& form) {
        tryScan();
        auto& dialog = dynamic_cast<Tdlg_rv_Match&>(form);
        dialog.List->SetItemIndex(1);
        dialog.bOK->Click();
    });
    W().Prefs = server_.Prefs("two");
    dialogs.AnswerFolder("/dev/sr0");
    W().mmScan->Click();
    tryScan();
    // Kept in front of the main window, where the user goes on working.
    auto splashActive = [&] { return W().Splash() && GetActiveWindow() == W().Splash()->Handle(); };
    ASSERT_TRUE(test::PumpUntil(splashActive));
    SetFocus(W().Handle());
    ASSERT_TRUE(test::PumpUntil([&] { return GetActiveWindow() == W().Handle(); }));
    ASSERT_NE(W().Splash(), nullptr);
    EXPECT_EQ(GetTopWindow(), W().Splash()->Handle());
    EXPECT_EQ(GetWindowOwner(W().Splash()->Handle()), W().Handle());
    ASSERT_TRUE(test::PumpUntil(
        [&] { return W().CdLookup() == Twnd_rv_Main::TCdLookup::Idle && !W().Splash(); }));
    Settle();

    EXPECT_EQ(Told(), std::vector<std::string>(
                          progress.size(),
                          "Information: A CD is being looked up at the CDDB site already. Scan "
                          "the folder again once that look-up has ended."));
    ASSERT_GE(progress.size(), 4u);
    EXPECT_EQ(progress.front(), "Querying CDDB...");
    EXPECT_EQ(std::count(progress.begin(), progress.end(), "none"), 1);  // the choice
    // The entry has arrived and its tracks are not filed yet: still the look-up's.
    EXPECT_EQ(progress.back(), "Reading from CDDB...");
    EXPECT_EQ(lastState, cddbEntryRead);
    EXPECT_EQ(std::count(progress.begin(), progress.end(), "Scanning..."), 0);
    EXPECT_EQ(AlbumTracks(W().Library(), "The Artist", "The Album"),
              (std::vector<Filed>{{1, "One", 248}, {2, "Two", 260}, {3, "Three", 210}}));
    EXPECT_EQ(W().Library().TrackCount(), tracks + 3);

    const std::size_t told = Told().size();
    dialogs.AnswerFolder(folder);
    W().mmScan->Click();
    ASSERT_TRUE(test::PumpUntil([&] { return !W().Scanning() && !W().Splash(); }));
    const std::vector<Filed> scanned = AlbumTracks(W().Library(), "Scanned", "Folder");
    ASSERT_EQ(scanned.size(), 1u);
    EXPECT_EQ(scanned[0].title, "Song");
    EXPECT_EQ(Told().size(), told);
}

// New, Open, Append and a recent file would take the library away from under the look-up, and
// loading or appending would close its progress window: each is refused with a word at every
// step of a look-up, up to the filing of the disc read, which goes into the library open when
// the look-up began. Then the recent file opens.
TEST_F(CdImport, NewOpenAppendAndARecentFileAreRefusedAtEveryStepOfALookUpThenOpen) {
    TMediaLib other;
    other.AddTrack(test::MakeTrack("Other", "Elsewhere", 1, "Away", 60));
    const std::string otherFile = tempRoot_ / "other.rvl";
    other.SaveToFile(otherFile);
    W().MRUList->AddFile(otherFile);
    W().Library().SaveToFile(tempRoot_ / "mine.rvl");
    const std::string mine = W().Library().FileName();
    const std::uint32_t tracks = W().Library().TrackCount();
    TMenuItem* recent = nullptr;
    for (int i = 0; i < W().mmFile->Count(); ++i)
        if (W().mmFile->Items(i)->Caption().ends_with(otherFile)) recent = W().mmFile->Items(i);
    ASSERT_NE(recent, nullptr);

    std::vector<std::string> progress;  // the progress window's text at each try
    std::int32_t lastState = -1;
    auto tryAll = [&] {
        for (TMenuItem* item : {W().mmNew, W().mmOpen, W().mmAppend, recent}) {
            item->Click();
            EXPECT_EQ(W().Library().FileName(), mine);
            EXPECT_FALSE(W().Library().Modified());
        }
        W().sbNew->Click();
        W().sbOpen->Click();
        progress.push_back(W().Splash() ? W().Splash()->lText->Caption() : "none");
        lastState = W().CddbClient->State();
    };
    AfterEachEventUntilFiled(tracks, tryAll);
    script.Then([&](TCustomForm& form) {
        tryAll();
        auto* dialog = dynamic_cast<Tdlg_rv_Match*>(&form);
        ASSERT_NE(dialog, nullptr);
        dialog->List->SetItemIndex(1);
        dialog->bOK->Click();
    });
    W().Prefs = server_.Prefs("two");
    dialogs.AnswerFolder("/dev/sr0");
    W().mmScan->Click();
    tryAll();
    ASSERT_TRUE(test::PumpUntil(
        [&] { return W().CdLookup() == Twnd_rv_Main::TCdLookup::Idle && !W().Splash(); }));
    Settle();

    const std::string lookingUp =
        "Information: A CD is being looked up at the CDDB site already, and its disc goes into "
        "the library that is open. ";
    const std::string ended = " again once that look-up has ended.";
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < progress.size(); ++i)
        for (const char* what : {"Choose New", "Choose Open", "Choose Append from File",
                                 "Choose the recent file", "Choose New", "Choose Open"})
            expected.push_back(lookingUp + what + ended);
    EXPECT_EQ(Told(), expected);
    EXPECT_TRUE(dialogs.CallsOf(TDialogKind::Open).empty());  // no file was asked for
    ASSERT_GE(progress.size(), 4u);
    EXPECT_EQ(progress.front(), "Querying CDDB...");
    EXPECT_EQ(progress.back(), "Reading from CDDB...");
    EXPECT_EQ(lastState, cddbEntryRead);
    EXPECT_EQ(W().Library().TrackCount(), tracks + 3);
    EXPECT_EQ(AlbumTracks(W().Library(), "The Artist", "The Album").size(), 3u);
    EXPECT_EQ(AlbumTracks(W().Library(), "Other", "Elsewhere").size(), 0u);

    // Once the look-up has ended the library is replaced as asked, the disc's tracks unsaved.
    const std::size_t told = Told().size();
    dialogs.AnswerButton(IDNO);
    recent->Click();
    EXPECT_EQ(W().Library().FileName(), otherFile);
    EXPECT_EQ(ArtistNames(), std::vector<std::string>{"Other"});
    EXPECT_EQ(Told(told), std::vector<std::string>{"Confirmation: Save changes?"});
}

TEST_F(CdImport, OnlyTheRootOfADriveHoldingAudioTakesTheCdRoad) {
    EXPECT_TRUE(IsCdDriveRoot("/dev/sr0"));
    EXPECT_TRUE(IsCdDriveRoot("/dev/sr0/"));
    EXPECT_FALSE(IsCdDriveRoot("/dev/sr1"));
    EXPECT_FALSE(IsCdDriveRoot("/dev"));
    drives_.Rewrite(
        "drive /dev/sr0\nmount /media/cdrom0\ntrack 1 00:02:00 data\nleadout 40:00:00\n");
    EXPECT_TRUE(IsCdDriveRoot("/media/cdrom0/"));
    EXPECT_FALSE(IsCdDriveRoot("/media/cdrom0/sub"));
    EXPECT_FALSE(W().DiscHasAudio("/media/cdrom0"));
    drives_.Rewrite("drive /dev/sr0\n");  // no disc
    EXPECT_FALSE(W().DiscHasAudio("/dev/sr0"));
    drives_.Rewrite(kDisc);
    EXPECT_TRUE(W().DiscHasAudio("/dev/sr0"));
}

TEST_F(CdImport, ADataDiscIsScannedAsFiles) {
    drives_.Rewrite("drive /dev/sr0\nmount " + tempRoot_.Path() +
                    "\ntrack 1 00:02:00 data\nleadout 40:00:00\n");
    const std::uint32_t tracks = W().Library().TrackCount();
    dialogs.AnswerFolder(tempRoot_.Path());
    W().mmScan->Click();
    ASSERT_TRUE(test::PumpUntil([&] { return !W().Scanning() && !W().Splash(); }));
    EXPECT_EQ(W().CdLookup(), Twnd_rv_Main::TCdLookup::Idle);
    EXPECT_EQ(W().Library().TrackCount(), tracks);
    EXPECT_TRUE(script.Shown.empty());
}

}  // namespace
}  // namespace rv
