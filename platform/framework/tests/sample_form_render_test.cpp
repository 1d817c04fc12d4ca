// Renders a window built like the program's main window, and a dialog, at 100 % and at 200 %,
// for a person to look at.

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "platform/framework/check_box.h"
#include "platform/framework/combo_box.h"
#include "platform/framework/edit.h"
#include "platform/framework/group_box.h"
#include "platform/framework/image.h"
#include "platform/framework/label.h"
#include "platform/framework/list_view.h"
#include "platform/framework/panel.h"
#include "platform/framework/splitter.h"
#include "platform/framework/status_bar.h"
#include "platform/graphics/internal/qt_graphics.h"
#include "platform/windows/internal/host_widget.h"
#include "platform/windows/tests/gui_app.h"

namespace rv {
namespace {

template <class T>
T* Put(TWinControl* parent, TRect bounds, TAlign align = alNone) {
    auto* c = new T(parent);
    c->SetParent(parent);
    c->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    c->SetAlign(align);
    return c;
}

TLabel* Text(TWinControl* parent, int x, int y, const std::string& caption) {
    auto* label = Put<TLabel>(parent, Bounds(x, y, 0, 0));
    label->SetCaption(caption);
    return label;
}

void AddMenu(TMenuItem* parent, std::initializer_list<std::pair<const char*, TShortCut>> items) {
    for (const auto& [caption, keys] : items) {
        auto* item = new TMenuItem(parent);
        item->SetCaption(caption);
        item->SetShortCut(keys);
        parent->Add(item);
    }
}

// Returns the album picture.
TImage* BuildMainWindow(TForm& form) {
    form.SetCaption("Lorvix Reelvault - [Jazz]");
    form.SetBounds(40, 40, 778, 512);
    auto* menu = new TMainMenu(&form);
    for (const char* title : {"&File", "&Edit", "&Tools", "&Help"})
        AddMenu(menu->Items(), {{title, 0}});
    AddMenu(menu->Items()->Items(0), {{"&New", ShortCut('N', ssCtrl)},
                                      {"&Open...", ShortCut('O', ssCtrl)},
                                      {"&Save", ShortCut('S', ssCtrl)}});
    form.SetMenu(menu);

    auto* toolBar = Put<TPanel>(&form, Bounds(0, 0, 0, 28), alTop);
    int x = 4;
    for (const char* caption : {"New", "Open", "Save", "Scan"}) {
        auto* button = Put<TPanel>(toolBar, Bounds(x, 2, 44, 24));
        button->SetCaption(caption);
        x += 46;
    }
    auto* status = Put<TStatusBar>(&form, Bounds(0, 0, 0, 19), alBottom);
    TStatusPanel* counts = status->AddPanel();
    counts->SetWidth(225);
    counts->SetAlignment(taCenter);
    counts->SetText("Artists: 2   Albums: 3   Tracks: 31");
    status->AddPanel()->SetText("/home/me/music/jazz.rvl");

    auto* area = Put<TPanel>(&form, {}, alClient);
    area->SetBevelOuter(bvNone);
    auto* tree = Put<TListView>(area, Bounds(0, 0, 231, 0), alLeft);
    tree->SetColor(TColor(3684381));
    tree->SetFontColor(clLime);
    tree->AddColumn("Artist", 200);
    for (const char* name : {"Coltrane, John", "Davis, Miles"}) tree->AddItem()->SetCaption(name);
    tree->SetItemIndex(1);
    auto* splitter = Put<TSplitter>(area, Bounds(231, 0, 3, 0), alLeft);
    (void)splitter;
    auto* listPanel = Put<TPanel>(area, {}, alClient);
    listPanel->SetBevelOuter(bvNone);
    auto* header = Put<TPanel>(listPanel, Bounds(0, 0, 0, 91), alTop);
    Text(header, 10, 8, "Davis, Miles")->SetFont([] {
        TFont f;
        f.Height = -16;
        f.Style = fsBold;
        return f;
    }());
    Text(header, 10, 32, "Kind of Blue");
    Text(header, 10, 52, "Release: 1959");
    Text(header, 160, 52, "Genre: Jazz");
    Text(header, 10, 70, "Time: 45:44");
    auto* picture = Put<TImage>(header, Bounds(480, 20, 48, 48));
    TBitmap cover(48, 48);
    cover.Canvas().Brush.Color = RGB(40, 60, 160);
    cover.Canvas().FillRect({0, 0, 48, 48});
    picture->SetPicture(cover);
    Text(header, 160, 70, "Media Type: AudioCD");
    auto* tracks = Put<TListView>(listPanel, {}, alClient);
    tracks->SetColor(TColor(3684381));
    tracks->SetFontColor(clAqua);
    tracks->AddColumn("#", 25);
    tracks->AddColumn("Track", 150);
    tracks->AddColumn("Time", 50, taRightJustify);
    tracks->AddColumn("Bitrate", 50, taRightJustify);
    tracks->AddColumn("Channel Mode", 90);
    tracks->AddColumn("Format", 150);
    const char* titles[] = {"So What", "Freddie Freeloader", "Blue in Green", "All Blues"};
    const char* times[] = {"09:22", "09:46", "05:37", "11:33"};
    for (int i = 0; i < 4; ++i) {
        TListItem* row = tracks->AddItem();
        row->SetCaption(std::to_string(i + 1));
        row->SetSubItems({titles[i], times[i], "256", "Joint Stereo", "MPEG 1 Layer III"});
    }
    tracks->SetItemIndex(2);
    return picture;
}

void BuildDialog(TForm& form) {
    form.SetCaption("Preferences");
    form.SetBorderStyle(bsDialog);
    form.SetClientSize(420, 330);
    Text(&form, 12, 14, "Site:");
    auto* sites = Put<TComboBox>(&form, Bounds(80, 10, 325, 21));
    sites->SetText("freedb.example http 80 /~cddb/cddb.cgi N000.00 W000.00");
    // The check box heads the group.
    auto* proxy = Put<TGroupBox>(&form, Bounds(12, 44, 395, 96));
    auto* use = Put<TCheckBox>(proxy, Bounds(10, 2, 120, 17));
    use->SetCaption("Proxy Server:");
    use->SetChecked(true);
    auto* server = Put<TEdit>(proxy, Bounds(10, 26, 250, 21));
    server->SetText("proxy.example");
    Text(proxy, 266, 30, ":");
    Put<TEdit>(proxy, Bounds(276, 26, 60, 21))->SetText("8080");
    Text(proxy, 10, 60, "Username:");
    Put<TEdit>(proxy, Bounds(80, 56, 100, 21))->SetText("me");
    Text(proxy, 190, 60, "Password:");
    auto* password = Put<TEdit>(proxy, Bounds(260, 56, 100, 21));
    password->SetPasswordChar('*');
    password->SetText("secret");
    Text(&form, 12, 150, "Found matches:");
    auto* matches = Put<TListView>(&form, Bounds(12, 168, 395, 150));
    matches->AddColumn("   ID", 75);
    matches->AddColumn("Title", 175);
    matches->AddColumn("Genre");
    matches->SetHideSelection(false);
    for (const char* line : {"0a0b0c0d|Miles Davis / Kind of Blue|jazz",
                             "1a1b1c1d|Miles Davis / Kind of Blue (Legacy)|misc"}) {
        std::string text = line;
        std::size_t a = text.find('|'), b = text.rfind('|');
        TListItem* row = matches->AddItem();
        row->SetCaption(text.substr(0, a));
        row->SetSubItems({text.substr(a + 1, b - a - 1), text.substr(b + 1)});
    }
    matches->SetItemIndex(0);
}

QImage Render(TForm& form, double ratio) {
    HostWidget* host = HostWidget::Find(form.Handle());
    QImage shot(int(host->width() * ratio), int(host->height() * ratio), QImage::Format_RGB32);
    shot.setDevicePixelRatio(ratio);
    shot.fill(Qt::magenta);
    host->render(&shot);
    return shot;
}

void Save(const QImage& shot, const std::string& name) {
    std::string path = std::string(RV_ARTIFACT_DIR) + "/" + name;
    ASSERT_TRUE(shot.save(QString::fromStdString(path)));
    EXPECT_GT(std::filesystem::file_size(path), 5000u);
}

TEST(SampleForms, MainWindowAndDialogAt100And200Percent) {
    test::App();
    TForm main(nullptr);
    TImage* picture = BuildMainWindow(main);
    main.Show();
    TForm dialog(nullptr);
    BuildDialog(dialog);
    dialog.Show();
    for (int i = 0; i < 3; ++i) test::App().ProcessMessages();

    for (double ratio : {1.0, 2.0}) {
        QImage window = Render(main, ratio);
        QImage box = Render(dialog, ratio);
        std::string suffix = ratio == 1 ? ".png" : "_200.png";
        Save(window, "sample_main_window" + suffix);
        Save(box, "sample_dialog" + suffix);
        // The album picture where the header has it; nothing left unpainted.
        TPoint middle = picture->ClientToScreen({24, 24});
        QPoint at = HostWidget::Find(main.Handle())->mapFromGlobal(QPoint(middle.X, middle.Y));
        EXPECT_EQ(FromQColor(window.pixelColor(at * ratio)), RGB(40, 60, 160));
        for (const QImage* image : {&window, &box})
            for (int y = 0; y < image->height(); y += 7)
                for (int x = 0; x < image->width(); x += 7)
                    ASSERT_NE(image->pixelColor(x, y), QColor(Qt::magenta)) << x << "," << y;
    }
}

}  // namespace
}  // namespace rv
