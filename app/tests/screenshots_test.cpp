// Pictures of the main window with a library, of each dialog and of the About box at 100 % and
// 200 %, for a person to look at (PNG files beside the test program).

#include <gtest/gtest.h>

#include <filesystem>

#include "app/about_box.h"
#include "app/album_dialog.h"
#include "app/match_dialog.h"
#include "app/name_dialogs.h"
#include "app/tests/app_fixture.h"
#include "app/track_dialog.h"
#include "platform/framework/modal_script.h"
#include "platform/windows/window_image.h"

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

// The colour at a point of a control in the picture of its form.
TColor PixelOf(TControl* control, TPoint p, TCustomForm& form) {
    TBitmap picture = WindowImage(form.Handle(), 1);
    TPoint at = control->ClientToScreen(p);
    TRect window = GetWindowBounds(form.Handle());
    return picture.Pixel(at.X - window.Left, at.Y - window.Top);
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
    // The album picture's disc, below its hub.
    EXPECT_EQ(PixelOf(W().AlbumImage, {24, 40}, W()), RGB(214, 220, 226));
    W().RefreshTree(0, -1);
    W().UpdateCommands();
    Settle();
    Shoot(W().Handle(), "app_main_window_albums");
}

TEST_F(Screenshots, EachDialogAndTheAboutBox) {
    TModalScript script;
    std::vector<std::string> shot;
    auto take = [&](const std::string& name) {
        script.Then([&, name](TCustomForm& form) {
            Shoot(form.Handle(), name);
            shot.push_back(name);
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
    take("app_about_box");
    ShowAboutDlg(0, "");
    EXPECT_EQ(shot.size(), 6u);
}

}  // namespace
}  // namespace rv
