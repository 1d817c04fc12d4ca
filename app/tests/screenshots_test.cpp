// Pictures of the main window with a library, of each dialog and of the About box at 100 % and
// 200 %, for a person to look at (PNG files beside the test program), checked for what a person
// looks for: the texts put in are drawn, and the pictures are as fine as the screen.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/about_box.h"
#include "app/album_dialog.h"
#include "app/match_dialog.h"
#include "app/name_dialogs.h"
#include "app/prefs_dialog.h"
#include "app/splash.h"
#include "app/tests/app_fixture.h"
#include "app/tests/picture_checks.h"
#include "app/tests/view_checks.h"
#include "app/track_dialog.h"
#include "platform/framework/combo_box.h"
#include "platform/framework/edit.h"
#include "platform/framework/modal_script.h"
#include "platform/framework/status_bar.h"
#include "platform/windows/window_image.h"
#include "widgets/hand_cursors.h"

namespace rv {
namespace {

// Saves the window at both scales; the picture at 200 % has twice the pixels.
void Shoot(HWND wnd, const std::string& name) {
    for (double ratio : {1.0, 2.0}) {
        TBitmap picture = WindowImage(wnd, ratio);
        ASSERT_FALSE(picture.Empty()) << name;
        const std::string path =
            std::string(RV_ARTIFACT_DIR) + "/" + name + (ratio == 1 ? ".png" : "_200.png");
        ASSERT_TRUE(picture.SaveToFile(path)) << path;
        EXPECT_EQ(picture.PixelWidth(), int(picture.Width() * ratio));
        EXPECT_GT(std::filesystem::file_size(path), 2000u) << path;
    }
}

// Every label's caption and every field's text on the form is drawn in its place, at both
// scales; controls that their parents cut (a window too small for them) are left out.
void ExpectTextsDrawn(TCustomForm& form) {
    for (double ratio : {1.0, 2.0}) {
        TBitmap shot = WindowImage(form.Handle(), ratio);
        const std::string scale = ratio == 1 ? " at 100 %" : " at 200 %";
        std::function<void(TWinControl*, TRect)> walk = [&](TWinControl* parent, TRect shown) {
            for (int i = 0; i < parent->ControlCount(); ++i) {
                TControl* c = parent->Controls(i);
                if (!c->Visible()) continue;
                std::string text;
                TRect area = test::PlaceIn(c, form.Handle());
                if (IntersectRect(area, shown) != area) continue;
                bool selected = false;
                if (auto* label = dynamic_cast<TLabel*>(c)) {
                    text = label->Caption();
                } else if (auto* edit = dynamic_cast<TEdit*>(c)) {
                    text = edit->Text();
                    area = InflateRect(area, -3, -3);  // inside the field's frame
                    selected = edit->Focused() && edit->SelLength() > 0;
                } else if (auto* list = dynamic_cast<TComboBox*>(c)) {
                    text = list->Text();
                    area = InflateRect(area, -3, -3);
                    selected = list->Focused() && list->Style() == csDropDown;
                }
                // The field that has the keys as the form opens shows its text selected: on a
                // box as wide as the text, of neither the field's colour nor the font's.
                TColor ink = c->Font().Color;
                if (selected && !text.empty()) {
                    ink = test::MostOtherColourIn(shot, area, c->Color(), c->Font().Color);
                    EXPECT_NE(ink, clNone) << form.Caption() << ": " << text << scale;
                }
                auto expect = [&](const TRect& at, const std::string& what) {
                    int width = std::min(at.Width(), test::TextWidthIn(c->Font(), what));
                    test::ExpectText(shot, at, ink, what.size(), width,
                                     form.Caption() + ": " + what + scale);
                };
                if (!text.empty()) expect(area, text);
                if (auto* bar = dynamic_cast<TStatusBar*>(c))
                    for (int p = 0; p < bar->PanelCount(); ++p)
                        if (!bar->Panels(p)->Text().empty())
                            expect(OffsetRect(bar->PanelRect(p), area.Left, area.Top),
                                   bar->Panels(p)->Text());
                if (auto* w = dynamic_cast<TWinControl*>(c)) walk(w, area);
            }
        };
        walk(&form, test::PlaceIn(&form, form.Handle()));
    }
}

// A picture drawn by the program is made at 200 % for 200 %, not enlarged.
void ExpectFine(TCustomForm& form, TControl* picture) {
    TBitmap shot = WindowImage(form.Handle(), 2);
    EXPECT_GT(test::FineBlocks(shot, test::PlaceIn(picture, form.Handle())), 20) << picture->Name();
}

// The colour at a point of a control in the picture of its form.
TColor PixelOf(TControl* control, TPoint p, TCustomForm& form) {
    TBitmap picture = WindowImage(form.Handle(), 1);
    TRect at = test::PlaceIn(control, form.Handle());
    return picture.Pixel(at.Left + p.X, at.Top + p.Y);
}

// The texts of the views' rows on the screen are drawn, at both scales: `texts` of them.
void ExpectRowsDrawn(Twnd_rv_Main& window, std::initializer_list<TVirtualStringTree*> views,
                     int texts) {
    for (double ratio : {1.0, 2.0}) {
        const TBitmap shot = WindowImage(window.Handle(), ratio);
        int checked = 0;
        for (TVirtualStringTree* view : views)
            checked +=
                test::ExpectRowsDrawn(shot, view, window.Handle(),
                                      view->Name() + (ratio == 1 ? " at 100 %" : " at 200 %"));
        EXPECT_EQ(checked, texts);
    }
}

// The program's push buttons on the window (all but the preferences' "Get Sites", a plain button):
// the modern style with the pointing hand, 75 by 25 unless the caption needs more; in the
// picture, the caption whole, round corners that show the window behind and a face lighter at
// the top. Their count.
int ExpectDialogButtons(TCustomForm& form) {
    int buttons = 0;
    const TBitmap shot = WindowImage(form.Handle(), 1);
    std::function<void(TWinControl*)> walk = [&](TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            if (auto* w = dynamic_cast<TWinControl*>(c)) walk(w);
            auto* b = dynamic_cast<TLbButton*>(c);
            if (!b || b->Name() == "bSites") continue;
            ++buttons;
            const std::string what = form.Caption() + ": " + b->Caption();
            EXPECT_EQ(b->Style(), bsModern) << what;
            EXPECT_EQ(b->Cursor(), crHand) << what;
            EXPECT_EQ(b->Height(), 25) << what;
            // The button cuts a caption that leaves it less than 4 pixels at each side; wider
            // than 75 it is only by what the caption needs, with room for the round corners.
            const int caption = test::TextWidthIn(b->Font(), b->Caption());
            EXPECT_GE(b->Width(), std::max(75, caption + 8)) << what;
            if (b->Width() > 75) {
                EXPECT_LE(b->Width(), caption + 8 + 6) << what;
            }
            if (!b->Visible()) continue;
            const TRect at = test::PlaceIn(b, form.Handle());
            // In the picture, the caption is drawn whole.
            EXPECT_GE(test::InkIn(shot, InflateRect(at, -3, -3), b->Font().Color).span, caption - 3)
                << what;
            EXPECT_EQ(shot.Pixel(at.Left, at.Top), ColorToRGB(parent->Color())) << what;
            EXPECT_GT(test::ColourDistance(shot.Pixel(at.Left + 4, at.Top + 3),
                                           shot.Pixel(at.Left + 4, at.Top + at.Height() / 4 + 1)),
                      20)
                << what;
        }
    };
    walk(&form);
    return buttons;
}

using Screenshots = test::AppTest;

TEST_F(Screenshots, TheMainWindowWithALibrary) {
    test::FillLibrary(W().Library());
    W().Library().SetLibraryName("Jazz");
    W().Show();
    W().RefreshTree(0, 0);
    W().UpdateCommands();
    Settle();
    Shoot(W().Handle(), "app_main_window");
    EXPECT_EQ(ExpectDialogButtons(W()), 1);  // the album panel's Properties
    // The album picture's disc, below its hub, made at the screen's ratio.
    EXPECT_EQ(PixelOf(W().AlbumImage, {24, 40}, W()), RGB(214, 220, 226));
    ExpectFine(W(), W().AlbumImage);
    // The album header's texts; the artists with the open one's albums, and six columns of
    // three tracks.
    ExpectTextsDrawn(W());
    ExpectRowsDrawn(W(), {W().Tree, W().TrackList}, 5 + 3 * 6);
    W().RefreshTree(0, -1);
    W().UpdateCommands();
    Settle();
    Shoot(W().Handle(), "app_main_window_albums");
    ExpectRowsDrawn(W(), {W().Tree, W().AlbumList}, 3 + 2 * 5);  // the artists closed
    // The album list's media-type images, left of each title, drawn at 200 %.
    const TBitmap shot = WindowImage(W().Handle(), 2);
    const TRect window = GetWindowRect(W().Handle());
    int rows = 0;
    for (PVirtualNode n = W().AlbumList->GetFirst(); n; n = W().AlbumList->GetNext(n), ++rows) {
        const TRect text = W().AlbumList->GetDisplayRect(n, 0, true);
        const TPoint at = W().AlbumList->ClientToScreen({text.Left - 18, text.Top});
        const TRect image = Bounds(at.X - window.Left, at.Y - window.Top, 16, text.Height());
        EXPECT_GT(test::FineBlocks(shot, image), 10) << "row " << rows;
    }
    EXPECT_GT(rows, 0);
}

// A text drawn whole in `area`: its ink spans about the text's width (an ellipsis would end it
// short).
void ExpectWhole(const TBitmap& shot, const TRect& area, const TFont& font, TColor ink,
                 const std::string& text, const std::string& what) {
    const int width = test::TextWidthIn(font, text);
    const int span = test::InkIn(shot, area, ink).span;
    EXPECT_GE(span, width - 3) << what << ": " << text << " spans " << span << " of " << width;
}

TEST_F(Screenshots, ThreeDigitTrackNumbersAndSixDigitCountsReadWhole) {
    for (int number : {1, 9, 10, 99, 231, 255})
        W().Library().AddTrack(test::MakeTrack("Many", "Numbers", number,
                                               ("Track " + std::to_string(number)).c_str(), 60));
    W().Show();
    W().RefreshTree(0, 0);
    W().sb->Panels(0)->SetText(CountsText(100000, 123456, 999999));
    Settle();
    Shoot(W().Handle(), "app_main_window_numbers");
    TVirtualStringTree* list = W().TrackList;
    const TRect rows = test::RowsAreaIn(list, W().Handle());
    const TRect bar = test::PlaceIn(W().sb, W().Handle());
    for (double ratio : {1.0, 2.0}) {
        const std::string scale = ratio == 1 ? " at 100 %" : " at 200 %";
        const TBitmap shot = WindowImage(W().Handle(), ratio);
        int checked = 0;
        for (PVirtualNode n = list->GetFirst(); n; n = list->GetNext(n), ++checked) {
            const TRect cell = OffsetRect(list->GetDisplayRect(n, 0, false), rows.Left, rows.Top);
            const TColor ink =
                list->Selected(n) && list->Focused() ? clHighlightText : list->Font().Color;
            ExpectWhole(shot, cell, list->Font(), ink, list->GetText(n, 0), "#" + scale);
        }
        EXPECT_EQ(checked, 6);
        ExpectWhole(shot, OffsetRect(W().sb->PanelRect(0), bar.Left, bar.Top), W().sb->Font(),
                    W().sb->Font().Color, W().sb->Panels(0)->Text(), "counts" + scale);
    }
    // The design's widths where they are enough.
    EXPECT_GE(list->Header().Columns()[0].Width(), 25);
    EXPECT_GE(W().sb->Panels(0)->Width(), 225);
}

TEST_F(Screenshots, EachDialogAndTheAboutBox) {
    TModalScript script;
    std::vector<std::string> shot;
    int buttons = 0;
    auto take = [&](const std::string& name) {
        script.Then([&, name](TCustomForm& form) {
            Shoot(form.Handle(), name);
            ExpectTextsDrawn(form);
            if (auto* match = dynamic_cast<Tdlg_rv_Match*>(&form))
                for (double ratio : {1.0, 2.0})
                    test::ExpectListRowsDrawn(WindowImage(form.Handle(), ratio), match->List,
                                              form.Handle(),
                                              ratio == 1 ? "match at 100 %" : "match at 200 %");
            if (auto* about = dynamic_cast<TdlgAbout*>(&form)) {
                ExpectFine(form, about->Icon);
                ExpectFine(form, about->Image1);
            }
            shot.push_back(name);
            buttons += ExpectDialogButtons(form);
            form.ModalResult = mrCancel;
        });
    };
    take("app_track_dialog");
    TTrack track = test::MakeTrack("Davis, Miles", "Kind of Blue", 3, "Blue in Green", 337.5, 256);
    ExecuteTrackDlg("Track Properties", track);
    take("app_album_dialog");
    TAlbum album = W().Library().GetAlbumAt(0, 0);
    album.Artist = "Davis, Miles";
    album.Title = "Kind of Blue";
    album.Release = 1959;
    album.Genre = "Jazz";
    ExecuteAlbumDlg(album);
    take("app_artist_dialog");
    TArtist artist;
    artist.Name = "Davis, Miles";
    ExecuteArtistDlg(artist);
    take("app_library_dialog");
    std::string name = "Jazz";
    ExecutePropsDlg(name, 255);
    take("app_match_dialog");
    TMatchArray matches{};
    matches[0] = "jazz 0a0b0c0d Miles Davis / Kind of Blue";
    matches[1] = "misc 1a1b1c1d Miles Davis / Kind of Blue (Legacy Edition)";
    ExecuteMatchDlg(matches);
    take("app_prefs_dialog");
    TPreferences prefs;
    prefs.Site = StrToSite("gnudb.gnudb.org http 80 /~cddb/cddb.cgi N000.00 W000.00 ");
    prefs.Proxy = true;
    prefs.ProxyAddr = "proxy.example";
    prefs.ProxyPort = "3128";
    prefs.ProxyUser = "miles";
    ExecutePrefs(prefs);
    take("app_about_box");
    ShowAboutDlg(0, "");
    EXPECT_EQ(shot.size(), 7u);
    EXPECT_EQ(buttons, 6 * 2 + 1);  // with the album panel's and the progress window's, fifteen
}

TEST_F(Screenshots, TheProgressWindow) {
    W().Show();
    for (const bool stop : {true, false}) {
        W().ShowSplash(stop ? "Scanning..." : "Loading...", stop);
        Settle();
        Twnd_rv_Splash& splash = *W().Splash();
        if (stop) Shoot(splash.Handle(), "app_progress_window");
        ExpectTextsDrawn(splash);
        ExpectFine(splash, splash.Picture);
        EXPECT_EQ(ExpectDialogButtons(splash), 1);
        W().HideSplash();
    }
}

}  // namespace
}  // namespace rv
