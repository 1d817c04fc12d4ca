// The program's windows as the desktop gets them: every dialog is a dialog of the main window,
// centred on it; windows land whole on the screen, also from a placement kept on a larger or
// other-scaled one; and without a display the program says so and ends.

#include <gtest/gtest.h>

#include "app/about_box.h"
#include "app/album_dialog.h"
#include "app/match_dialog.h"
#include "app/name_dialogs.h"
#include "app/tests/app_fixture.h"
#include "app/tests/picture_checks.h"
#include "app/tests/view_checks.h"
#include "app/track_dialog.h"
#include "platform/framework/modal_script.h"
#include "platform/registry/registry.h"
#include "platform/windows/screen_fit.h"
#include "platform/windows/screens.h"
#include "platform/windows/tests/toolkit_dialog_view.h"
#include "platform/windows/tests/toolkit_input.h"
#include "platform/windows/top_level_window.h"
#include "platform/windows/window_image.h"
#include "testsupport/process.h"

namespace rv {
namespace {

// The main window registered as the program's, as main() does.
class Windows : public test::AppTest {
protected:
    Windows() : before_(test::App().MainWindow()) { test::App().SetMainWindow(W().Handle()); }
    ~Windows() override { test::App().SetMainWindow(before_); }
    // The splitter dragged with the mouse so that its left edge comes to `to` (as far as it
    // goes).
    void DragSplitterTo(int to) {
        const HWND panel = W().Panel->Handle();
        const int y = W().Splitter->Top() + 100;
        test::SendToolkitMouse(panel, test::ToolkitMouse::Press, {W().Splitter->Left() + 1, y});
        test::SendToolkitMouse(panel, test::ToolkitMouse::Move,
                               {(W().Splitter->Left() + to) / 2, y});
        test::SendToolkitMouse(panel, test::ToolkitMouse::Move, {to + 1, y});
        test::SendToolkitMouse(panel, test::ToolkitMouse::Release, {to + 1, y});
        Settle();
    }

private:
    HWND before_;
};

TPoint Centre(const TRect& r) {
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

TEST_F(Windows, EveryDialogAndTheAboutBoxIsADialogOfTheMainWindowCentredOnIt) {
    const TRect work = ScreenWorkAreas().front();
    W().SetBounds(work.Left + 20, work.Top + 30, 700, 480);
    W().Show();
    Settle();
    struct Seen {
        std::string caption;
        bool dialog;
        HWND owner;
        TRect bounds;
    };
    std::vector<Seen> seen;
    TModalScript script;
    for (int i = 0; i < 6; ++i)
        script.Then([&](TCustomForm& f) {
            seen.push_back({f.Caption(), IsDialogWindow(f.Handle()), GetWindowOwner(f.Handle()),
                            f.BoundsRect()});
        });
    TTrack track;
    ExecuteTrackDlg("New Track", track);
    TAlbum album;
    ExecuteAlbumDlg(album);
    TArtist artist;
    ExecuteArtistDlg(artist);
    std::string name;
    ExecutePropsDlg(name, 255);
    ExecuteMatchDlg(TMatchArray{});
    ShowAboutDlg(0, "");
    ASSERT_EQ(seen.size(), 6u);
    const TPoint mainCentre = Centre(W().BoundsRect());
    for (const Seen& s : seen) {
        EXPECT_TRUE(s.dialog) << s.caption;
        EXPECT_EQ(s.owner, W().Handle()) << s.caption;
        TPoint centre = Centre(s.bounds);
        EXPECT_LE(std::abs(centre.X - mainCentre.X), 1) << s.caption;
        EXPECT_LE(std::abs(centre.Y - mainCentre.Y), 1) << s.caption;
    }
}

TEST_F(Windows, ThePlacementOfALargerOrOtherScaledScreenIsRestoredWholeOntoThisOne) {
    const TRect work = ScreenWorkAreas().front();
    struct Case {
        const char* what;
        TRect saved;
    } cases[] = {
        // Saved at 100 % on a 1600 x 1000 screen, far down the right.
        {"far down the right", Bounds(700, 400, 778, 512)},
        // Saved larger than this screen.
        {"larger", Bounds(50, 40, work.Width() + 400, work.Height() + 300)},
    };
    for (const Case& c : cases) {
        {
            TRegistry reg;
            reg.DeleteKey("SOFTWARE\\Lorvix\\Reelvault\\1.x");  // what the last window saved
            ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Lorvix\\Reelvault\\1.x", true));
            const TRect& r = c.saved;
            const std::string pos = std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
                                    std::to_string(r.Right) + "," + std::to_string(r.Bottom);
            reg.WriteString("NormPos(1600x1000)", pos);
            reg.WriteString("NormPos", pos);
            reg.WriteString("PixelsPerInch", std::to_string(ScreenPixelsPerInch()));
            reg.WriteString("ShowCmd", "1");
        }
        Twnd_rv_Main window(nullptr);
        window.Show();
        Settle();
        // Whole on the screen, with the frame the window manager put around it.
        const TRect shown = window.BoundsRect();
        const TRect frame = GetWindowFrameRect(window.Handle());
        const TRect framed{c.saved.Left - (shown.Left - frame.Left),
                           c.saved.Top - (shown.Top - frame.Top),
                           c.saved.Right + (frame.Right - shown.Right),
                           c.saved.Bottom + (frame.Bottom - shown.Bottom)};
        EXPECT_EQ(frame, FitOntoScreens(framed, {work})) << c.what;
        EXPECT_EQ(IntersectRect(frame, work), frame) << c.what;
        window.Hide();
    }
}

// With fresh settings, the main window and the file dialog of Open land whole, frame included,
// on the work area: also on small screens at 200 % (the case runs on such screens too).
TEST_F(Windows, TheMainWindowAndTheOpenDialogLandWholeOnTheWorkArea) {
    const TRect work = ScreenWorkAreas().front();
    W().Show();
    Settle();
    const TRect frame = GetWindowFrameRect(W().Handle());
    EXPECT_EQ(IntersectRect(frame, work), frame)
        << frame.Left << "," << frame.Top << " " << frame.Width() << "x" << frame.Height();

    TDialogService* scripted = SetDialogService(nullptr);
    test::ToolkitDialogView open;
    test::LookAtNextToolkitDialog(open, {"fileTypeCombo", "Cancel"});
    W().mmOpen->Click();
    Settle();
    SetDialogService(scripted);
    ASSERT_TRUE(open.seen);
    EXPECT_EQ(IntersectRect(open.frame, work), open.frame)
        << open.frame.Left << "," << open.frame.Top << " " << open.frame.Width() << "x"
        << open.frame.Height();
    // "Files of type" and Cancel are on the screen, inside the dialog.
    for (const auto& [part, at] : open.parts) {
        EXPECT_FALSE(at.IsEmpty()) << part;
        EXPECT_EQ(IntersectRect(at, open.frame), at) << part;
    }
}

TEST_F(Windows, AfterAResizeAndASplitterMoveThePanesShowTheirOwnColour) {
    ShowLibrary();  // the library area, nothing selected: the list side is the bare pane
    const TRect work = ScreenWorkAreas().front();
    W().SetBounds(work.Left, work.Top, 500, 380);
    Settle();
    W().SetBounds(work.Left, work.Top, 720, 560);
    Settle();
    W().TreePanel->SetWidth(150);  // where a drag of the splitter puts it
    Settle();
    // What the screen shows, as painted, not painted anew for the picture.
    TBitmap screen = ScreenImage(W().Handle());
    ASSERT_FALSE(screen.Empty());
    EXPECT_EQ(W().Splitter->Left(), 150);
    for (TControl* pane : std::initializer_list<TControl*>{W().Splitter, W().ListPanel}) {
        TRect r = test::PlaceIn(pane, W().Handle());
        EXPECT_GT(r.Width() * r.Height(), 0) << pane->Name();
        EXPECT_EQ(test::PixelsOtherThan(screen, r, pane->Color()), 0) << pane->Name();
    }
}

TEST_F(Windows, AfterAResizeAndSplitterMovesTheTreePaneShowsItsRowsOnItsColour) {
    ShowLibrary();
    W().RefreshTree(0, 0);  // the artists, one of them open, an album selected
    const TRect work = ScreenWorkAreas().front();
    W().SetBounds(work.Left, work.Top, 500, 380);
    Settle();
    W().SetBounds(work.Left, work.Top, 720, 560);
    Settle();
    // The splitter dragged with the mouse, to narrower and then wider than it was.
    for (int to : {120, 300}) DragSplitterTo(to);
    const TBitmap screen = ScreenImage(W().Handle());
    ASSERT_FALSE(screen.Empty());
    EXPECT_EQ(W().Splitter->Left(), 300);
    EXPECT_EQ(test::ExpectRowsDrawn(screen, W().Tree, W().Handle(), "tree"), 5);
    // Below the last row only the views' colour: nothing black, no line left from before.
    TRect below = test::RowsAreaIn(W().Tree, W().Handle());
    PVirtualNode lastRow = W().Tree->GetFirstVisible();
    while (PVirtualNode next = W().Tree->GetNextVisible(lastRow)) lastRow = next;
    const TRect last = W().Tree->GetDisplayRect(lastRow, NoColumn, false);
    below.Top += last.Bottom;
    EXPECT_GT(below.Height(), 100);
    EXPECT_EQ(test::PixelsOtherThan(screen, below, kViewBackground), 0);
}

// The album header's "Properties..." button is whole in the header and the window, whatever room
// the list side has: the window as it opens with fresh settings (on a small screen at 200 % too),
// the splitter dragged as far right as it goes, then back left. Where the header has room for
// them side by side, no text of the header runs under it; in a wide one it stands where designed.
TEST_F(Windows, TheAlbumHeadersButtonStaysWholeWhateverTheWidthOfTheListSide) {
    test::FillLibrary(W().Library());
    W().Show();
    W().RefreshTree(0, 0);  // an album: its header above its tracks
    Settle();
    const TRect work = ScreenWorkAreas().front();
    const std::string screen = std::to_string(work.Width()) + "x" + std::to_string(work.Height());
    auto expectWhole = [&](const std::string& when, bool textsBeside) {
        const TRect button = test::PlaceIn(W().bAlbumProps, W().Handle());
        const TRect header = test::PlaceIn(W().AlbumPanel, W().Handle());
        const TRect client = test::PlaceIn(W().Panel, W().Handle());
        const std::string what = when + " on " + screen;
        EXPECT_TRUE(W().bAlbumProps->Showing()) << what;
        EXPECT_EQ(IntersectRect(button, header), button)
            << what << ": button " << button.Left << ".." << button.Right << ", header "
            << header.Left << ".." << header.Right;
        EXPECT_EQ(IntersectRect(button, client), button) << what;
        for (int i = 0; textsBeside && i < W().AlbumPanel->ControlCount(); ++i) {
            auto* text = dynamic_cast<TLabel*>(W().AlbumPanel->Controls(i));
            if (!text) continue;
            EXPECT_TRUE(IntersectRect(test::PlaceIn(text, W().Handle()), button).IsEmpty())
                << what << ": " << text->Caption();
        }
    };
    expectWhole("as the window opens", true);
    const std::string picture =
        std::string(RV_ARTIFACT_DIR) + "/app_album_header_" + screen + "_200.png";
    EXPECT_TRUE(WindowImage(W().Handle(), 2).SaveToFile(picture)) << picture;

    DragSplitterTo(W().Panel->ClientWidth());
    EXPECT_GT(W().Splitter->Left(), 231);
    expectWhole("the splitter far right", false);
    DragSplitterTo(100);
    expectWhole("the splitter at the left", true);
    if (W().AlbumPanel->ClientWidth() >= 400 + W().bAlbumProps->Width() + 8) {
        EXPECT_EQ(W().bAlbumProps->Left(), 400);
        EXPECT_EQ(W().lMT->Left(), 200);
    }
}

TEST(Program, WithoutADisplayItSaysItCannotOpenOneAndEndsWithOne) {
    struct Case {
        std::vector<std::string> environment;
        std::string says;
    } cases[] = {
        {{"-u", "DISPLAY"},
         "reelvault: cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set\n"},
        {{"DISPLAY=:4097"}, "reelvault: cannot open the display :4097\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> argv = {"env", "-u", "QT_QPA_PLATFORM", "-u", "WAYLAND_DISPLAY"};
        argv.insert(argv.end(), c.environment.begin(), c.environment.end());
        argv.push_back(RV_PROGRAM);
        test::ProcessResult result = test::RunProcess(argv);
        EXPECT_EQ(result.exitCode, 1) << c.says;
        EXPECT_EQ(result.err, c.says);
        EXPECT_EQ(result.out, "");
    }
}

}  // namespace
}  // namespace rv
